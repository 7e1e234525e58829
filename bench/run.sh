#!/usr/bin/env bash
# Builds the benchmarks in Release and runs the thinking benchmark between two runs of the bare
# loop (../shared/bench/limit_kernel.cpp), so that both are measured on the same machine at the
# same time: first in full at the widest vector width on every core, then the futures per move
# for every width this processor runs on 1 thread and on every core (THREADS lists other
# counts), printed as a table beside the bare loop. Extra arguments go to the full run (for
# example --memory-moves 0 to skip the long memory run).
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

# The mean futures per kart per move of 1, 5 and 20 karts in one quick run's output.
means() {
  sed -n 's/^futures per kart per move, 100 ms budget, \([0-9]*\) karts*.*: mean \([0-9]*\).*/\2/p' \
    "$1" | tr '\n' ' '
}
Rows=()
for Width in scalar sse2 avx2 avx512; do
  for T in ${THREADS:-1 $(nproc)}; do
    Out=$BUILD/bench_think_${Width}_$T.out
    echo "--- $Width, threads $T"
    if "$BUILD/bench/bench_think" --quick --simd "$Width" --threads "$T" > "$Out" 2>&1; then
      grep '^futures per kart' "$Out"
      Rows+=("$Width $T $(means "$Out")")
    else
      cat "$Out"
      Rows+=("$Width $T - - -")
    fi
  done
done

if [ -n "$KERNEL" ]; then
  echo "bare loop, after:"
  bare
  B2=$BARE
  Bare=$(awk -v a="$B1" -v b="$B2" 'BEGIN { printf "%.0f", (a + b) / 2 }')
  PROGRAM=$(sed -n 's/^futures per kart per move, 100 ms budget, 1 kart: mean \([0-9]*\).*/\1/p' \
    "$BUILD/bench_think.out")
  awk -v p="$PROGRAM" -v m="$Bare" 'BEGIN {
    printf "futures per 90 ms, program / bare loop: %d / %d = %.2f\n", p, m, p / m }'
  echo
  echo "Futures per kart per move (mean), 100 ms budget; the bare loop makes $Bare per 90 ms:"
  echo
  echo "| width | threads | 1 kart | 5 karts | 20 karts | 1 kart / bare loop |"
  echo "|---|---|---|---|---|---|"
  for Row in "${Rows[@]}"; do
    echo "$Row" | awk -v m="$Bare" '{
      r = $3 == "-" ? "-" : sprintf("%.1fx", $3 / m)
      printf "| %s | %s | %s | %s | %s | %s |\n", $1, $2, $3, $4, $5, r }'
  done
fi
