#!/bin/sh
# The sweep's gathering script: two hand-made summaries, one with a value the other lacks, give
# one CSV row each, in folder order, with nested values under dotted names; no summary at all is
# an error.
# Usage: GatherSummaries.sh PATH_TO_GATHER_SUMMARIES_PY
set -u
Script="$1"
Dir=$(mktemp -d)
trap 'rm -rf "$Dir"' EXIT
mkdir -p "$Dir/sweep/seed-2" "$Dir/sweep/seed-1" "$Dir/empty"
cat >"$Dir/sweep/seed-1/summary.json" <<'JSON'
{"seed": 1, "moves": 600, "karts": [{"distance": 812.5, "offRoad": 0.01}], "team": false}
JSON
cat >"$Dir/sweep/seed-2/summary.json" <<'JSON'
{"seed": 2, "moves": 600, "karts": [{"distance": 790.25, "offRoad": 0.0, "laps": 3}],
 "team": true, "circuit": "a, \"quoted\" name"}
JSON
cat >"$Dir/want.csv" <<EOF2
run,seed,moves,karts.0.distance,karts.0.offRoad,team,karts.0.laps,circuit
$Dir/sweep/seed-1,1,600,812.5,0.01,false,,
$Dir/sweep/seed-2,2,600,790.25,0.0,true,3,"a, ""quoted"" name"
EOF2
Failures=0
python3 "$Script" "$Dir/sweep" >"$Dir/got.csv" || { echo "FAILED: the script failed"; Failures=1; }
if ! cmp -s "$Dir/want.csv" "$Dir/got.csv"; then
  echo "FAILED: the table differs:"
  diff "$Dir/want.csv" "$Dir/got.csv"
  Failures=$((Failures + 1))
fi
if python3 "$Script" "$Dir/empty" >/dev/null 2>&1; then
  echo "FAILED: folders without summaries passed"
  Failures=$((Failures + 1))
fi
echo '{"seed": ' >"$Dir/empty/summary.json"
if python3 "$Script" "$Dir/empty" >/dev/null 2>&1; then
  echo "FAILED: a cut summary passed"
  Failures=$((Failures + 1))
fi
[ "$Failures" -eq 0 ] && echo "gathering checked"
exit "$Failures"
