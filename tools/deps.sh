#!/usr/bin/env bash
# Installs, with apt-get, whichever of the packages the build and the tests need is missing.
set -euo pipefail
# qt6-charts-dev draws the charts; its CMake files need libqt6opengl6-dev, which Debian 12's
# package does not pull in itself.
packages=(build-essential cmake ninja-build qt6-base-dev libgl-dev qt6-charts-dev libqt6opengl6-dev
          libgtest-dev libgmock-dev libbenchmark-dev clang-format xvfb xauth python3)
missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
if ((${#missing[@]})); then
  echo "Installing: ${missing[*]}"
  export DEBIAN_FRONTEND=noninteractive
  apt-get update -qq
  apt-get install -y -qq --no-install-recommends "${missing[@]}"
fi
