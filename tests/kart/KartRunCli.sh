#!/bin/sh
# The headless runner's command line: bad input is refused with a message and a non-zero
# status before anything runs; a seeded run with a fixed number of futures repeats exactly.
# Usage: KartRunCli.sh PATH_TO_KARTRUN
set -u
Run="$1"
Dir=$(mktemp -d)
trap 'rm -rf "$Dir"' EXIT
Failures=0

# expect STATUS PATTERN ARGS...: the runner exits with STATUS and its output matches PATTERN.
expect() {
  Want=$1 Pattern=$2
  shift 2
  Out=$("$Run" "$@" 2>&1)
  Got=$?
  if [ "$Got" -ne "$Want" ] || ! printf '%s' "$Out" | grep -q -e "$Pattern"; then
    echo "FAILED: kartrun $* -> status $Got (wanted $Want), output:"
    printf '%s\n' "$Out"
    Failures=$((Failures + 1))
  fi
}

for Option in --circuit --karts --moves --seed --futures --budget --friction --side-friction \
    --seconds --grid --no-collisions --no-refined --team --csv --frames --debug-level; do
  expect 0 "$Option" --help
done
expect 2 "bogus" --bogus
expect 2 "'abc'" --moves abc
expect 2 "from 1 to 100" --karts 0
expect 2 "from 0.001 to 0.3" --friction 0.5
expect 2 "from 0 to 18446744073709551615" --seed -1
expect 2 "give --frames too" --debug-level 2
expect 2 "unexpected argument" some.bmp
expect 1 "does not exist" --circuit "$Dir/missing.bmp"
printf 'not a picture' > "$Dir/text.bmp"
expect 1 "text.bmp" --circuit "$Dir/text.bmp"
expect 1 "missing-folder" --moves 1 --futures 1 --seed 1 --frames "$Dir/missing-folder/f"

# A seeded run with fixed futures repeats exactly; frames are numbered from 1.
expect 0 "#2 " --karts 2 --moves 3 --seed 5 --futures 1 --csv "$Dir/a.csv" \
  --frames "$Dir/f" --debug-level 2
expect 0 "#2 " --karts 2 --moves 3 --seed 5 --futures 1 --csv "$Dir/b.csv"
if ! cmp -s "$Dir/a.csv" "$Dir/b.csv"; then
  echo "FAILED: two runs with the same seed differ"
  Failures=$((Failures + 1))
fi
if [ "$(wc -l < "$Dir/a.csv")" -ne 9 ]; then  # header, then moves 0..3 for 2 karts
  echo "FAILED: the CSV has $(wc -l < "$Dir/a.csv") lines, not 9"
  Failures=$((Failures + 1))
fi
for N in 0001 0002 0003; do
  if [ ! -s "$Dir/f_$N.bmp" ]; then
    echo "FAILED: frame f_$N.bmp missing"
    Failures=$((Failures + 1))
  fi
done

[ "$Failures" -eq 0 ] && echo "all kartrun checks passed"
exit "$Failures"
