#!/bin/bash
# What "cmake --install" puts where: both programs, linked as the build
# says, and both manual pages.  The installed programs must run.
# usage: install.sh BUILD_DIR static|dynamic
set -u
build=$1
linkage=$2
# shellcheck source=lib.sh
. "$(dirname "$0")/lib.sh"

cmake --install "$build" --prefix "$scratch/prefix" >/dev/null || fail "cmake --install"
(cd "$scratch/prefix" && find . -type f | sed 's|^\./||' | sort) >"$scratch/files"
shipped_files >"$scratch/want"
same "installed files" "$scratch/want" "$scratch/files"

for prog in anglegrid orderflag; do
    readelf -lW "$scratch/prefix/bin/$prog" >"$scratch/elf" || fail "readelf $prog"
    if grep -q 'program interpreter' "$scratch/elf"; then
        is "$prog is linked" "$linkage" dynamic
    else
        is "$prog is linked" "$linkage" static
    fi
done

"$scratch/prefix/bin/anglegrid" -t >"$scratch/out"
same "installed anglegrid -t" "$golden/anglegrid-truncated" "$scratch/out"
is "installed orderflag 5 3" 1 "$("$scratch/prefix/bin/orderflag" 5 3)"

finish
