#!/bin/sh
# Every kind of kartrun output against every kind of special target, each made here in a
# temporary folder (device nodes with mknod, a FIFO, a link to standard output, a folder, a
# missing folder, a full 8 KiB tmpfs): no node is ever replaced, and no run says 0 with nothing
# written. Prints one line per case (the table of what happens), then the failures.
# Usage: OutputTargetsCli.sh PATH_TO_KARTRUN
set -u
Run="$1"
Dir=$(mktemp -d)
Mounted=
cleanup() {
  [ -n "$Mounted" ] && umount "$Dir/tmpfs"
  rm -rf "$Dir"
}
trap cleanup EXIT
Failures=0
fail() {
  echo "FAILED: $*"
  Failures=$((Failures + 1))
}
Race="--moves 3 --futures 1 --seed 1"

# Special nodes need root: without it those cases are skipped, saying so.
Root=yes
if ! mknod "$Dir/probe" c 1 3 2>"$Dir/quiet"; then
  Root=
  echo "skipped: device nodes and tmpfs need root (mknod failed)"
fi
rm -f "$Dir/probe"

# fresh: a new case folder with the special nodes in it, as $Case/TARGET for each kind.
fresh() {
  Case=$(mktemp -d "$Dir/case.XXXXXX")
  mkfifo "$Case/fifo"
  mkdir "$Case/folder"
  : > "$Case/folder/notes.txt"
  ln -s /proc/self/fd/1 "$Case/stdout"
  if [ -n "$Root" ]; then
    mknod "$Case/null" c 1 3
    mknod "$Case/full" c 1 7
  fi
}

# kind PATH: what the path is, without following a link.
kind() { stat -c %F "$1" 2>"$Dir/quiet" || echo missing; }

# run OPTION TARGET EXTRA...: kartrun with OPTION TARGET; keeps the status in Got and the
# messages in $Case/err, standard output in $Case/out.
run() {
  RunOption=$1 RunTarget=$2
  shift 2
  # shellcheck disable=SC2086
  timeout 120 "$Run" $Race "$RunOption" "$RunTarget" "$@" >"$Case/out" 2>"$Case/err"
  Got=$?
}

# expect CASE STATUS PATTERN: the status and a message matching PATTERN on standard error.
expect() {
  Name=$1 Want=$2 Pattern=$3
  printf '%-48s status %s: %s\n' "$Name" "$Got" "$(grep kartrun: "$Case/err" | tail -n 1)"
  if [ "$Got" -ne "$Want" ] || ! grep -q -e "$Pattern" "$Case/err"; then
    fail "$Name -> status $Got (wanted $Want, /$Pattern/): $(cat "$Case/err")"
  fi
}

# same CASE PATH KIND: the node is still what it was.
same() { [ "$(kind "$2")" = "$3" ] || fail "$1: $2 is now $(kind "$2"), not $3"; }

# What a file output holds first: its header.
for Output in csv laps save-scenario; do
  case $Output in
    csv) Head=move,kart ;;
    laps) Head=kart,lap ;;
    save-scenario) Head=kart-scenario ;;
  esac
  if [ -n "$Root" ]; then
    fresh
    run "--$Output" "$Case/null"
    expect "--$Output own null device" 0 "move 3/3"
    same "--$Output null" "$Case/null" "character special file"
    fresh
    run "--$Output" "$Case/full"
    expect "--$Output own full device" 1 "No space left on device"
    same "--$Output full" "$Case/full" "character special file"
  fi
  fresh
  cat "$Case/fifo" >"$Case/read" &
  run "--$Output" "$Case/fifo"
  wait
  expect "--$Output FIFO with a reader" 0 "move 3/3"
  grep -q "$Head" "$Case/read" || fail "--$Output: the FIFO's reader got nothing"
  same "--$Output fifo" "$Case/fifo" "fifo"
  fresh
  run "--$Output" "$Case/stdout"
  expect "--$Output link to standard output (a file)" 0 "^#1 "
  grep -q "$Head" "$Case/out" || fail "--$Output: nothing reached standard output's file"
  same "--$Output link" "$Case/stdout" "symbolic link"
  fresh
  run "--$Output" "$Case/folder"
  expect "--$Output folder" 1 "it is a folder"
  same "--$Output folder" "$Case/folder/notes.txt" "regular empty file"
  fresh
  run "--$Output" "$Case/missing/x"
  expect "--$Output missing folder" 1 "the folder '.*missing' does not exist"
  same "--$Output missing" "$Case/missing" missing
done

# Frames are only ever files: a frame name taken by anything else is refused before the run.
fresh
for Target in fifo folder null; do
  [ "$Target" = null ] && [ -z "$Root" ] && continue
  mkdir "$Case/$Target.f"
  if [ "$Target" = folder ]; then mkdir "$Case/$Target.f/f_0002.bmp"; else
    mv "$Case/$Target" "$Case/$Target.f/f_0002.bmp"; fi
  Before=$(kind "$Case/$Target.f/f_0002.bmp")
  run --frames "$Case/$Target.f/f"
  expect "--frames, frame 2 is a $Target" 1 "f_0002.bmp' is a"
  same "--frames $Target" "$Case/$Target.f/f_0002.bmp" "$Before"
  [ "$(ls "$Case/$Target.f")" = f_0002.bmp ] || fail "--frames $Target wrote: $(ls "$Case/$Target.f")"
done
ln -s "$Case/stdout" "$Case/g_0001.bmp"
run --frames "$Case/g"
expect "--frames, frame 1 links to standard output" 2 "standard output is written to"
run --frames "$Case/missing/f"
expect "--frames missing folder" 1 "the folder '.*missing' does not exist"

# The report is a folder made whole beside its name: anything else there is refused.
for Target in fifo stdout null; do
  [ "$Target" = null ] && [ -z "$Root" ] && continue
  fresh
  Before=$(kind "$Case/$Target")
  run --report "$Case/$Target"
  expect "--report names a $Target" 1 "not a folder"
  same "--report $Target" "$Case/$Target" "$Before"
done
fresh
run --report "$Case/folder"
expect "--report folder holding another file" 1 "notes.txt"
same "--report folder" "$Case/folder/notes.txt" "regular empty file"
run --report "$Case/missing/deeper/report"
expect "--report in missing folders (made)" 0 "move 3/3"
[ -s "$Case/missing/deeper/report/summary.json" ] || fail "--report: no summary.json"
# A rerun that fails at its end (the laps cannot be written) leaves the earlier report whole.
if [ -n "$Root" ]; then
  echo earlier >"$Case/missing/deeper/report/speed.png"
  run --report "$Case/missing/deeper/report" --laps "$Case/full"
  expect "--report rerun failing at the end" 1 "No space left on device"
  [ "$(cat "$Case/missing/deeper/report/speed.png")" = earlier ] ||
    fail "a failed rerun changed the report"
  [ "$(ls -A "$Case/missing/deeper")" = report ] ||
    fail "a failed rerun left: $(ls -A "$Case/missing/deeper")"
fi

# A full 8 KiB tmpfs: every output fails with the system's reason and leaves nothing there.
if [ -n "$Root" ] && mkdir "$Dir/tmpfs" && mount -t tmpfs -o size=8k tmpfs "$Dir/tmpfs" 2>"$Dir/quiet";
then
  Mounted=yes
  dd if=/dev/zero of="$Dir/tmpfs/filler" bs=1024 2>"$Dir/quiet"
  for Output in csv laps save-scenario frames report; do
    fresh
    run "--$Output" "$Dir/tmpfs/out"
    expect "--$Output on a full 8 KiB tmpfs" 1 "No space left on device"
    [ "$(ls -A "$Dir/tmpfs")" = filler ] || fail "--$Output left: $(ls -A "$Dir/tmpfs")"
  done
else
  echo "skipped: the full tmpfs needs root and a mount that is allowed here"
fi

[ "$Failures" -eq 0 ] && echo "all output target checks passed"
exit "$Failures"
