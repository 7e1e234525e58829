#!/usr/bin/env bash
# Installs what is missing, builds an optimised program and starts the window.
set -euo pipefail
cd "$(dirname "$0")/.."
bash tools/deps.sh
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=Release -DKARTS_BUILD_TESTS=OFF -DKARTS_BUILD_BENCH=OFF
cmake --build build
exec ./build/ui/kartsim
