#!/bin/bash
# SPDX-FileCopyrightText: 2026 The anglegrid-tools developers
# SPDX-License-Identifier: MIT
# What "cmake --install" puts where: both programs, linked and hardened as
# the build says, both manual pages, the licence and, for programs that
# contain glibc, the notice of what they contain.  The installed programs
# must run.
# usage: install.sh BUILD_DIR static-pie|static|dynamic [GLIBC_VERSION]
set -u
build=$1
linkage=$2
glibc=${3:-}
# shellcheck source=lib.sh
. "$(dirname "$0")/lib.sh"

cmake --install "$build" --prefix "$scratch/prefix" >/dev/null || fail "cmake --install"
(cd "$scratch/prefix" && find . -type f | sed 's|^\./||' | sort) >"$scratch/files"
notice=
[ -z "$glibc" ] || notice=share/doc/anglegrid-tools/THIRD-PARTY-NOTICES
shipped_files share/doc/anglegrid-tools/LICENSE $notice >"$scratch/want"
same "installed files" "$scratch/want" "$scratch/files"

# What the ELF headers say: the kind of file (DYN is position-independent),
# whether it asks for the dynamic loader, RELRO, immediate binding and
# whether the stack is executable.
case $linkage in
static-pie) want="DYN loader=no relro now stack=RW" ;;
static) want="EXEC loader=no relro stack=RW" ;;
*) want="DYN loader=yes relro now stack=RW" ;;
esac
for prog in anglegrid orderflag; do
    file=$scratch/prefix/bin/$prog
    { readelf -hlW "$file" && readelf -dW "$file"; } >"$scratch/elf" ||
        fail "readelf $prog"
    loader=no
    grep -q 'program interpreter' "$scratch/elf" && loader=yes
    got="$(awk '$1 == "Type:" { print $2 }' "$scratch/elf") loader=$loader"
    grep -q 'GNU_RELRO' "$scratch/elf" && got+=" relro"
    grep -Eq '\(FLAGS\).*BIND_NOW|\(FLAGS_1\).*NOW' "$scratch/elf" && got+=" now"
    got+=" stack=$(awk '$1 == "GNU_STACK" { print $(NF - 1) }' "$scratch/elf")"
    is "$prog: ELF headers for a $linkage link" "$want" "$got"
done

run "$scratch/prefix/bin/anglegrid" -t >"$scratch/out"
same "installed anglegrid -t" "$golden/anglegrid-truncated" "$scratch/out"
is "installed orderflag 5 3" 1 "$(run "$scratch/prefix/bin/orderflag" 5 3)"

finish
