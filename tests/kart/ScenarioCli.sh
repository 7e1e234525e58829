#!/bin/sh
# kartrun with scenarios: a run kept at move 100 and taken up again writes, for the next 50
# moves, the very CSV rows that the uninterrupted run writes; bad files and clashing options are
# refused before anything runs.
# Usage: ScenarioCli.sh PATH_TO_KARTRUN PATH_TO_SCENARIO_CORPUS
set -u
Run="$1" Corpus="$2"
Dir=$(mktemp -d)
trap 'rm -rf "$Dir"' EXIT
Failures=0
fail() {
  echo "FAILED: $*"
  Failures=$((Failures + 1))
}

Race="--seed 42 --futures 200 --seconds 3 --karts 2"
"$Run" $Race --moves 150 --csv "$Dir/whole.csv" >"$Dir/log" 2>&1 || fail "the whole run"
"$Run" $Race --moves 100 --save-scenario "$Dir/at100.json" >"$Dir/log" 2>&1 || fail "the kept run"
"$Run" --scenario "$Dir/at100.json" --moves 50 --csv "$Dir/taken-up.csv" \
  --save-scenario "$Dir/at150.json" >"$Dir/log" 2>&1 || fail "the run taken up"
# The header, then the rows of moves 100 to 150.
{ head -n 1 "$Dir/whole.csv"; awk -F, 'NR > 1 && $1 >= 100' "$Dir/whole.csv"; } >"$Dir/last50.csv"
[ "$(wc -l <"$Dir/last50.csv")" -eq 103 ] || fail "the whole run's last rows are missing"
cmp "$Dir/last50.csv" "$Dir/taken-up.csv" || fail "the run taken up differs from the whole run"
grep -q '"move": 150' "$Dir/at150.json" || fail "the scenario written at the end is not at move 150"

# expect STATUS PATTERN ARGS...
expect() {
  Want=$1 Pattern=$2
  shift 2
  Out=$("$Run" "$@" 2>&1)
  Got=$?
  if [ "$Got" -ne "$Want" ] || ! printf '%s' "$Out" | grep -q -e "$Pattern"; then
    fail "kartrun $* -> status $Got (wanted $Want): $Out"
  fi
}
expect 0 "--scenario" --help
expect 0 "--save-scenario" --help
expect 2 "cannot be given with --scenario" --scenario "$Dir/at100.json" --seed 3
expect 2 "cannot be given with --scenario" --scenario "$Dir/at100.json" --karts 3
expect 1 "version 2 is newer" --scenario "$Corpus/newer-version.json" --moves 1
expect 1 "circuit.bmp" --scenario "$Corpus/picture-cut.json" --moves 1
expect 1 "No such file" --scenario "$Dir/missing.json" --moves 1
cp "$Dir/at100.json" "$Dir/keep.json"
expect 2 "" --scenario "$Dir/keep.json" --save-scenario "$Dir/keep.json" --moves 1
cmp -s "$Dir/at100.json" "$Dir/keep.json" || fail "a refused run changed its scenario"


# Every pair of inputs and outputs is compared, and the message names both options.
expect 2 "--laps '.*keep.json' is the scenario file" --scenario "$Dir/keep.json" \
  --laps "$Dir/keep.json" --moves 1
expect 2 "--laps '.*x.json' and --save-scenario '.*x.json' name the same file" --moves 1 \
  --laps "$Dir/x.json" --save-scenario "$Dir/../$(basename "$Dir")/x.json"
expect 2 "--csv '.*x.json' and --save-scenario '.*x.json' name the same file" --moves 1 \
  --csv "$Dir/x.json" --save-scenario "$Dir/x.json"
cmp -s "$Dir/at100.json" "$Dir/keep.json" || fail "a refused run changed its scenario"
# An output that cannot be written is found before the run, and nothing else is written.
expect 1 "the folder '.*nofolder' does not exist" --moves 1 --csv "$Dir/late.csv" \
  --laps "$Dir/late-laps.csv" --save-scenario "$Dir/nofolder/x.json"
[ ! -e "$Dir/late.csv" ] && [ ! -e "$Dir/late-laps.csv" ] || fail "a refused run wrote its CSV"
# A FIFO is refused at once instead of waiting for a writer.
mkfifo "$Dir/fifo.json"
Out=$(timeout 20 "$Run" --scenario "$Dir/fifo.json" --moves 1 2>&1)
Got=$?
[ "$Got" -eq 1 ] && printf '%s' "$Out" | grep -q "it is a FIFO, not a regular file" ||
  fail "--scenario on a FIFO -> status $Got: $Out"

# Move numbers are 64-bit in the CSV; a run past the most a race counts is refused.
sed 's/"move": 100,/"move": 2147483646,/' "$Dir/at100.json" >"$Dir/late-move.json"
expect 0 "#2 " --scenario "$Dir/late-move.json" --moves 3 --csv "$Dir/late-move.csv"
[ "$(cut -d, -f1 "$Dir/late-move.csv" | sort -u | tr '\n' ' ')" = \
  "2147483646 2147483647 2147483648 2147483649 move " ] ||
  fail "the move numbers wrapped: $(cut -d, -f1 "$Dir/late-move.csv" | sort -u | tr '\n' ' ')"
sed 's/"move": 100,/"move": 1099511627774,/' "$Dir/at100.json" >"$Dir/last-move.json"
expect 2 "past move 1099511627776" --scenario "$Dir/last-move.json" --moves 5

[ "$Failures" -eq 0 ] && echo "all scenario checks passed"
exit "$Failures"
