#!/usr/bin/env bash
# Builds the benchmarks in Release and runs the thinking benchmark between two runs of the bare
# loop (../shared/bench/limit_kernel.cpp), so that both are measured on the same machine at the
# same time: first on every core, then on one thread (THREADS lists other counts). Extra
# arguments go to bench_think (for example --memory-moves 0 to skip the long memory run).
set -euo pipefail
cd "$(dirname "$0")/.."
BUILD=${BUILD_DIR:-build-perf}
cmake -S . -B "$BUILD" -G Ninja -DCMAKE_BUILD_TYPE=Release > /dev/null
cmake --build "$BUILD" -j2 --target bench_think
KERNEL=$BUILD/bench/limit_kernel
if [ -f ../shared/bench/limit_kernel.cpp ]; then
  cmake --build "$BUILD" -j2 --target limit_kernel
else
  echo "run.sh: ../shared/bench/limit_kernel.cpp not found; no bare loop to compare with"
  KERNEL=
fi

# Prints the bare loop's line and keeps its futures per 90 ms in BARE.
bare() {
  local Line
  Line=$("$KERNEL")
  echo "$Line"
  BARE=$(echo "$Line" | sed -n 's/.*futures_per_90ms=\([0-9.]*\).*/\1/p')
}
if [ -n "$KERNEL" ]; then
  echo "bare loop, before:"
  bare
  B1=$BARE
fi
"$BUILD/bench/bench_think" "$@" | tee "$BUILD/bench_think.out"
for T in ${THREADS:-1}; do
  echo "--- threads $T"
  "$BUILD/bench/bench_think" --memory-moves 0 --threads "$T" "$@" | grep '^futures per kart' |
    tee "$BUILD/bench_think_$T.out"
done
if [ -n "$KERNEL" ]; then
  echo "bare loop, after:"
  bare
  B2=$BARE
  PROGRAM=$(sed -n 's/^futures per kart per move, 100 ms budget, 1 kart: mean \([0-9]*\).*/\1/p' \
    "$BUILD/bench_think.out")
  awk -v p="$PROGRAM" -v a="$B1" -v b="$B2" 'BEGIN {
    m = (a + b) / 2
    printf "futures per 90 ms, program / bare loop: %d / %.0f = %.2f\n", p, m, p / m }'
  echo "futures per kart per move (mean), 100 ms budget; bare loop $(awk -v a="$B1" -v b="$B2" \
    'BEGIN { printf "%.0f", (a + b) / 2 }') per 90 ms:"
  for F in "$BUILD/bench_think.out" "$BUILD"/bench_think_*.out; do
    sed -n 's/^futures per kart per move, 100 ms budget, \([0-9]*\) karts*.*: mean \([0-9]*\).*/\1 \2/p' \
      "$F" | tr '\n' ' ' | awk -v f="$(basename "$F")" '{ printf "  %-22s 1 kart %6d   5 karts %6d   20 karts %6d\n", f, $2, $4, $6 }'
  done
fi
