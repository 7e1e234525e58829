#!/bin/sh
# The headless runner's command line: bad input is refused with a message and a non-zero
# status before anything runs; a seeded run with a fixed number of futures repeats exactly.
# Outputs never damage inputs or each other, and a failed output ends the run with a message
# and leaves no partial file.
# Usage: KartRunCli.sh PATH_TO_KARTRUN PATH_TO_BMPMASKS PATH_TO_BUILTIN_CIRCUIT
set -u
Run="$1" Masks="$2" Builtin="$3"
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
    --seconds --grid --no-collisions --no-refined --team --csv --frames --debug-level --threads \
    --simd; do
  expect 0 "$Option" --help
done
expect 2 "bogus" --bogus
expect 2 "'abc'" --moves abc
expect 2 "from 1 to 100" --karts 0
expect 2 "from 0.001 to 0.3" --friction 0.5
expect 2 "from 0 to 18446744073709551615" --seed -1
expect 2 "give --frames too" --debug-level 2
expect 2 "unexpected argument" some.bmp
expect 2 "from 1 to 256" --threads 0
expect 2 "scalar, sse2, avx2 or avx512, not 'avx1024'" --simd avx1024
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
# Any number of threads imagines the same futures.
expect 0 "#3 " --karts 3 --moves 3 --seed 5 --futures 300 --threads 1 --csv "$Dir/t1.csv"
expect 0 "#3 " --karts 3 --moves 3 --seed 5 --futures 300 --threads 3 --csv "$Dir/t3.csv"
if ! cmp -s "$Dir/t1.csv" "$Dir/t3.csv"; then
  echo "FAILED: one thread and three threads differ"
  Failures=$((Failures + 1))
fi
# So does every vector width this processor runs (a width it lacks is refused, saying so).
for Width in scalar sse2 avx2 avx512; do
  Out=$("$Run" --karts 3 --moves 3 --seed 5 --futures 300 --simd $Width --csv "$Dir/w.csv" 2>&1)
  case $? in
    0) cmp -s "$Dir/t1.csv" "$Dir/w.csv" || {
         echo "FAILED: --simd $Width differs from the other runs"
         Failures=$((Failures + 1))
       } ;;
    2) printf '%s' "$Out" | grep -q "cannot think in $Width lanes" || {
         echo "FAILED: --simd $Width refused without saying why: $Out"
         Failures=$((Failures + 1))
       } ;;
    *) echo "FAILED: --simd $Width -> $Out"
       Failures=$((Failures + 1)) ;;
  esac
done
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

fail() {
  echo "FAILED: $*"
  Failures=$((Failures + 1))
}

# More than one kart lines up on the starting grid unless asked to start piled up as "+" adds
# them: the distinct start points at move 0.
starts() {
  awk -F, 'NR == 1 { for (I = 1; I <= NF; I++) { if ($I == "POSX") X = I; if ($I == "POSY") Y = I } }
           NR > 1 && $1 == 0 { print $X "," $Y }' "$1" | sort -u | wc -l
}
expect 0 "#3 " --karts 3 --moves 1 --seed 5 --futures 1 --csv "$Dir/grid.csv"
expect 0 "#3 " --karts 3 --moves 1 --seed 5 --futures 1 --start pile --csv "$Dir/pile.csv"
[ "$(starts "$Dir/grid.csv")" -eq 3 ] || fail "the grid does not give each kart its place"
[ "$(starts "$Dir/pile.csv")" -eq 1 ] || fail "--start pile does not pile the karts up"
expect 2 "grid or pile, not 'line'" --start line

# empty DIR WHAT: nothing at all (no CSV, no frame, no temporary file) was left in DIR.
empty() {
  if [ -n "$(ls -A "$1")" ]; then fail "$2 left files behind: $(ls -A "$1" | tr '\n' ' ')"; fi
}

# Wide colour masks decode to the same colours, so the karts drive exactly the same.
"$Masks" "$Builtin" "$Dir/wide.bmp" 10 10 10 || fail "bmpmasks 10:10:10"
"$Masks" "$Builtin" "$Dir/narrow.bmp" 6 5 5 || fail "bmpmasks 6:5:5"
expect 0 "#1 " --circuit "$Builtin" --moves 20 --seed 3 --futures 1 --csv "$Dir/eight.csv"
expect 0 "#1 " --circuit "$Dir/wide.bmp" --moves 20 --seed 3 --futures 1 --csv "$Dir/wide.csv"
cmp -s "$Dir/eight.csv" "$Dir/wide.csv" || fail "the 10:10:10 circuit drives differently"
expect 0 " 0.0%" --circuit "$Dir/narrow.bmp" --moves 5 --seed 3 --futures 1

# A file-size limit (as a full disk would) stops the run at the first failed write.
mkdir "$Dir/full"
Out=$( (ulimit -f 8 && "$Run" --moves 300 --seed 1 --futures 1 --csv "$Dir/full/a.csv") 2>&1)
Got=$?
if [ "$Got" -ne 1 ] || ! printf '%s' "$Out" | grep -q "a.csv': File too large (at move" ||
    printf '%s' "$Out" | grep -q "move 300/300"; then
  fail "CSV on a full disk -> status $Got: $Out"
fi
empty "$Dir/full" "a CSV on a full disk"
Out=$( (ulimit -f 64 && "$Run" --moves 3 --seed 1 --futures 1 --csv "$Dir/full/a.csv" \
  --frames "$Dir/full/f") 2>&1)
Got=$?
if [ "$Got" -ne 1 ] || ! printf '%s' "$Out" | grep -q "f_0001.bmp\": File too large"; then
  fail "frames on a full disk -> status $Got: $Out"
fi
empty "$Dir/full" "a frame on a full disk"
expect 1 "missing-folder" --moves 2 --futures 1 --seed 1 --csv "$Dir/full/a.csv" \
  --frames "$Dir/missing-folder/f"
empty "$Dir/full" "a frame that cannot be saved"

# Standard output that cannot be written ends the run with a message: a full device of our own
# (root only; the system's is never named as an output).
if mknod "$Dir/full-device" c 1 7 2>"$Dir/quiet"; then
  for Args in "--moves 1 --futures 1" "--help"; do
    # shellcheck disable=SC2086
    "$Run" $Args > "$Dir/full-device" 2> "$Dir/err"
    Got=$?
    if [ "$Got" -ne 1 ] || ! grep -q "cannot write to standard output: No space left" "$Dir/err"
    then
      fail "kartrun $Args > full device -> status $Got: $(cat "$Dir/err")"
    fi
  done
else
  echo "skipped: a full standard output needs a device node of our own (mknod needs root)"
fi

# An output that names an input or another output is refused before anything runs.
mkdir "$Dir/clash"
cp "$Builtin" "$Dir/clash/c.bmp"
cp "$Builtin" "$Dir/clash/f_0002.bmp"
ln -s c.bmp "$Dir/clash/link.csv"
ln "$Dir/clash/c.bmp" "$Dir/clash/hard.csv"
expect 2 "is the circuit file" --circuit "$Dir/clash/c.bmp" --csv "$Dir/clash/c.bmp"
expect 2 "is the circuit file" --circuit "$Dir/clash/c.bmp" --csv "$Dir/clash/../clash/c.bmp"
expect 2 "is the circuit file" --circuit "$Dir/clash/c.bmp" --csv "$Dir/clash/link.csv"
expect 2 "is the circuit file" --circuit "$Dir/clash/c.bmp" --csv "$Dir/clash/hard.csv"
expect 2 "with frame 2" --circuit "$Dir/clash/f_0002.bmp" --frames "$Dir/clash/f" --moves 2
expect 2 "name of frame 12 of --frames" --csv "$Dir/clash/g_0012.bmp" --frames "$Dir/clash/g" \
  --moves 12
cmp -s "$Builtin" "$Dir/clash/c.bmp" || fail "the circuit was changed"
[ -z "$(ls "$Dir/clash" | grep -v -e '^c.bmp$' -e '^f_0002.bmp$' -e '.csv$')" ] ||
  fail "a refused run wrote: $(ls "$Dir/clash")"

# Names are taken as the system gives them; messages say what is really there.
Latin1=$(printf "$Dir/caf\351.bmp")
cp "$Builtin" "$Latin1"
expect 0 "#1 " --circuit "$Latin1" --moves 1 --futures 1
ln -s loop1 "$Dir/loop2"
ln -s loop2 "$Dir/loop1"
expect 1 "loop of symbolic links" --circuit "$Dir/loop1"
ln -s nowhere.bmp "$Dir/dangling.bmp"
expect 1 "symbolic link to a file that does not exist" --circuit "$Dir/dangling.bmp"
expect 1 "it does not start with \"BM\"" --circuit /proc/self/status
expect 1 "it is a character device, not a regular file" --circuit /dev/null
expect 1 "the folder '.*missing-folder' does not exist" --moves 1 --csv "$Dir/missing-folder/x.csv"

# A run whose moves take far longer than their budget says so once, before it starts; a run within
# its budget says nothing of the kind.
Out=$("$Run" --moves 2 --seed 1 --budget 1 --futures 20000 2>&1 >"$Dir/out.txt")
[ "$(printf '%s\n' "$Out" | grep -c "far beyond the budget of 1 ms: about .* for 2 moves")" -eq 1 ] ||
  fail "no warning before a long run: $Out"
Out=$("$Run" --moves 2 --seed 1 --futures 1 2>&1)
printf '%s' "$Out" | grep -q "far beyond" && fail "a warning before a short run: $Out"

[ "$Failures" -eq 0 ] && echo "all kartrun checks passed"
exit "$Failures"
