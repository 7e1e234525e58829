#!/usr/bin/env bash
# The lane kernels built for AVX2 and AVX-512 must define no code outside their own namespace:
# the linker keeps one copy of every inline function or template, and a copy built for AVX-512
# would crash the rest of the program on a processor without it.
# Usage: LaneSymbols.sh OBJECT...
set -euo pipefail
Checked=0
Failed=0
for Object in "$@"; do
  case "$Object" in
    *ULanesAvx2.cpp.o | *ULanesAvx512.cpp.o) ;;
    *) continue ;;
  esac
  Checked=$((Checked + 1))
  # Functions that other objects could bind to: defined, and not local to this object.
  Shared=$(readelf -sW "$Object" | awk '$4 == "FUNC" && $5 != "LOCAL" && $7 != "UND" { print $8 }' |
    c++filt | grep -v '^KartLanes[A-Za-z0-9]*::' || true)
  if [ -n "$Shared" ]; then
    echo "$Object shares code with the rest of the program:"
    echo "$Shared"
    Failed=1
  fi
done
if [ "$Checked" -ne 2 ]; then
  echo "expected the AVX2 and AVX-512 kernels among the objects, found $Checked"
  exit 1
fi
exit $Failed
