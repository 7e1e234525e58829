#!/usr/bin/env bash
# What thinking buys: sweeps of kartrun over the futures per move, the futures' horizon, the
# end-point grid and racing the lap direction, several seeds each, one run per core with GNU
# parallel; then gathers every run's summary.json into one table and draws the plots.
#
# Usage: bash tools/study.sh [FOLDER] [quick]
#   FOLDER  where the runs, the table (runs.csv) and the plots go (default: study)
#   quick   fewer seeds, futures and moves: a check of the machinery in a few minutes
# SEEDS, FUTURES, KART_MOVES, FIELD_FUTURES, FIELD_MOVES, HELD_FUTURES, HELD_MOST and HELD_SEEDS
# override the sweeps' lists and lengths.
set -euo pipefail
cd "$(dirname "$0")/.."
OUT=${1:-study}
MODE=${2:-full}

# GNU parallel runs the sweep, matplotlib draws the plots: installed when missing (Debian's
# python3, which has them, whatever python3 comes first in PATH).
missing=()
for p in parallel python3-matplotlib; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
if ((${#missing[@]})); then
  echo "Installing: ${missing[*]}"
  DEBIAN_FRONTEND=noninteractive apt-get install -y -qq --no-install-recommends "${missing[@]}"
fi
bash tools/deps.sh
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=Release -DKARTS_BUILD_TESTS=OFF \
  -DKARTS_BUILD_BENCH=OFF > /dev/null
cmake --build build --target kartrun
K=$PWD/build/tools/kartrun

if [ "$MODE" = quick ]; then
  SEEDS=${SEEDS:-"1 2"}
  FUTURES=${FUTURES:-"250 1000"}
  KART_MOVES=${KART_MOVES:-300}
  FIELD_MOVES=${FIELD_MOVES:-150}
  FIELD_FUTURES=${FIELD_FUTURES:-"250"}
  HELD_FUTURES=${HELD_FUTURES:-"1000"}
  HELD_MOST=${HELD_MOST:-4000}
  HELD_SEEDS=${HELD_SEEDS:-"1"}
else
  SEEDS=${SEEDS:-"1 2 3 4"}
  FUTURES=${FUTURES:-"250 1000 4000 16000 100000"}
  KART_MOVES=${KART_MOVES:-1200}
  FIELD_MOVES=${FIELD_MOVES:-600}
  FIELD_FUTURES=${FIELD_FUTURES:-"250 1000"}
  HELD_FUTURES=${HELD_FUTURES:-"4000 16000"}
  HELD_MOST=${HELD_MOST:-100000}
  HELD_SEEDS=${HELD_SEEDS:-"1 2"}
fi
mkdir -p "$OUT"
# One command per run. Each thinks on one thread, so that the runs side by side do not slow each
# other down; the futures are fixed, so every run repeats exactly whatever the machine. A run
# whose summary is there already is not run again.
run() {  # name moves seed futures seconds grid karts [more options]
  local name=$1
  [ -f "$OUT/$name/summary.json" ] && return
  echo "$K --threads 1 --start grid --moves $2 --seed $3 --futures $4 --seconds $5 --grid $6" \
    "--karts $7 ${*:8} --report $OUT/$name > $OUT/$name.log 2>&1"
}
jobs() {
  for seed in $SEEDS; do
    for race in off on; do
      local r=""
      [ $race = on ] && r=--race-direction
      for f in $FUTURES; do run "kart-f$f-s10-g10-$race-seed$seed" "$KART_MOVES" "$seed" "$f" 10 10 1 $r; done
      # The horizon and the end-point grid, at a middle number of futures.
      for s in 3 5 15; do run "kart-f4000-s$s-g10-$race-seed$seed" "$KART_MOVES" "$seed" 4000 "$s" 10 1 $r; done
      # The end-point grid held where it is put instead of following the distinct futures.
      for g in 5 10 20; do
        run "kart-f4000-s10-fixedg$g-$race-seed$seed" "$KART_MOVES" "$seed" 4000 10 "$g" 1 $r --fixed-grid
      done
      for f in $FIELD_FUTURES; do run "field-f$f-$race-seed$seed" "$FIELD_MOVES" "$seed" "$f" 10 10 20 $r; done
    done
    # The race preset: the lap direction with the grid held at 10 px, over the futures.
    for f in $HELD_FUTURES; do
      run "kart-f$f-s10-fixedg10-on-seed$seed" "$KART_MOVES" "$seed" "$f" 10 10 1 --race-direction \
        --fixed-grid
    done
  done
  # The preset at the most futures is the dearest run: on the first HELD_SEEDS seeds only.
  for seed in $HELD_SEEDS; do
    run "kart-f$HELD_MOST-s10-fixedg10-on-seed$seed" "$KART_MOVES" "$seed" "$HELD_MOST" 10 10 1 \
      --race-direction --fixed-grid
  done
}
jobs | sort -u | parallel --jobs 100% --joblog "$OUT/joblog"
/usr/bin/python3 tools/gather_summaries.py "$OUT" > "$OUT/runs.csv"
/usr/bin/python3 tools/plot_study.py "$OUT/runs.csv" "$OUT"
echo "study: the table is $OUT/runs.csv, the plots $OUT/*.png"
