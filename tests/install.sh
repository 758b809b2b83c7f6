#!/bin/bash
# SPDX-FileCopyrightText: 2026 The anglegrid-tools developers
# SPDX-License-Identifier: MIT
# What "cmake --install" puts where: both programs, linked and hardened as
# the build says, both manual pages, the licence and, for static programs,
# the notice of what they contain.  The installed programs must run.
# usage: install.sh CMAKE BUILD_DIR static-pie|dynamic FORTIFIED(1|0) COMPILER_ID OBJDUMP
#            MUSL_COPYRIGHT   (the last three may be empty; the copyright file is a static build's)
set -u
cmake=$1
build=$2
linkage=$3
fortified=$4
compiler=$5
objdump=$6
musl_copyright=${7:-}
# shellcheck source=lib.sh
. "$(dirname "$0")/lib.sh"

"$cmake" --install "$build" --prefix "$scratch/prefix" >/dev/null || fail "cmake --install"
(cd "$scratch/prefix" && find . -type f | sed 's|^\./||' | sort) >"$scratch/files"
notice=
[ -z "$musl_copyright" ] || notice=share/doc/anglegrid-tools/THIRD-PARTY-NOTICES
shipped_files share/doc/anglegrid-tools/LICENSE $notice >"$scratch/want"
same "installed files" "$scratch/want" "$scratch/files"
[ -z "$notice" ] || has_notice "installed notice" "$scratch/prefix/$notice" "$musl_copyright"

# What the ELF headers say: the kind of file (DYN is position-independent),
# whether it asks for the dynamic loader, RELRO, immediate binding and
# whether the stack is executable.
case $linkage in
static-pie) want="DYN loader=no relro now stack=RW" ;;
*) want="DYN loader=yes relro now stack=RW" ;;
esac
for prog in anglegrid orderflag; do
    have readelf || break
    file=$scratch/prefix/bin/$prog
    if ! { readelf -hlW "$file" && readelf -dW "$file"; } >"$scratch/elf"; then
        fail "readelf $prog"
        continue
    fi
    loader=no
    grep -q 'program interpreter' "$scratch/elf" && loader=yes
    got="$(awk '$1 == "Type:" { print $2 }' "$scratch/elf") loader=$loader"
    grep -q 'GNU_RELRO' "$scratch/elf" && got+=" relro"
    grep -Eq '\(FLAGS\).*BIND_NOW|\(FLAGS_1\).*NOW' "$scratch/elf" && got+=" now"
    got+=" stack=$(awk '$1 == "GNU_STACK" { print $(NF - 1) }' "$scratch/elf")"
    is "$prog: ELF headers for a $linkage link" "$want" "$got"
done

# The stack protector guards anglegrid's main, where GCC keeps an array on
# the stack (clang keeps none there, so nothing to guard); glibc's
# fortified printf checks its format at run time.
objdump=${objdump:-objdump}
if [ "$compiler" = GNU ] && have "$objdump"; then
    "$objdump" -d "$scratch/prefix/bin/anglegrid" >"$scratch/code" || fail "$objdump -d anglegrid"
    awk '/^[0-9a-f]+ <main>:$/ { on = 1; next } on && /^$/ { exit } on' "$scratch/code" \
        >"$scratch/main"
    # A call into the PLT is named after its entry, never an offset into
    # one, unless objdump misreads the PLT (binutils 2.44 with arm64's BTI).
    if ! grep -q '<__stack_chk_fail' "$scratch/main" && grep -q '@plt+0x' "$scratch/main"; then
        skip "anglegrid: main's stack guard: $objdump misnames the PLT entries that main calls"
    else
        is "anglegrid: main checks its stack guard" yes \
            "$(grep -q '<__stack_chk_fail' "$scratch/main" && echo yes)"
    fi
fi
if [ "$fortified" = 1 ] && have readelf; then
    readelf --dyn-syms -W "$scratch/prefix/bin/anglegrid" >"$scratch/symbols" ||
        fail "readelf --dyn-syms anglegrid"
    is "anglegrid: fortified printf" 1 "$(grep -c ' __printf_chk' "$scratch/symbols")"
fi

# At run time, in the program's own address space as it exits: loaded at a
# new address each run, nothing both writable and executable, and the RELRO
# segment read-only where the C library makes it so (glibc's loader does,
# musl's static start does not).  An emulator's address space is its own.
# Where the kernel refuses the tracer (some containers, yama's ptrace_scope
# 3), there is no address space to look at: skipped, never passed.
if [ ${#emulator[@]} -eq 0 ]; then
    prog=$scratch/prefix/bin/anglegrid
    for run in 1 2; do
        python3 "$here/spawn.py" at-exit "$prog" >"$scratch/maps.$run" 2>"$scratch/err"
        traced[run]=$?
        base[run]=$(awk -v prog="$prog" '$6 == prog { print $1; exit }' "$scratch/maps.$run" |
            cut -d- -f1)
    done
    if [ "${traced[1]}" = 77 ]; then
        skip "anglegrid's address space at exit: $(cat "$scratch/err")"
    elif [ "${traced[1]} ${traced[2]}" != "0 0" ]; then
        is "anglegrid traced to its exit, twice: exit statuses" "0 0" \
            "${traced[*]}: $(cat "$scratch/err")"
    else
        if [ "$(cat /proc/sys/kernel/randomize_va_space)" != 0 ]; then
            is "anglegrid: loaded at a new address each run" yes \
                "$([ -n "${base[1]}" ] && [ "${base[1]}" != "${base[2]}" ] && echo yes)"
        else
            printf 'skipped: this kernel does not randomise addresses\n'
        fi
        is "anglegrid: mappings both writable and executable" "" \
            "$(awk '$2 ~ /w.x/' "$scratch/maps.1")"
        if [ "$linkage" = dynamic ] && have readelf; then
            # The mapping that holds the segment's first byte, whatever the
            # page size.
            relro=$((0x${base[1]} + $(readelf -lW "$prog" | awk '$1 == "GNU_RELRO" { print $3 }')))
            mode=
            while read -r range perms _; do
                if [ $((0x${range%-*})) -le $relro ] && [ $relro -lt $((0x${range#*-})) ]; then
                    mode=$perms
                fi
            done < <(grep -E '^[0-9a-f]+-[0-9a-f]+ ' "$scratch/maps.1")
            is "anglegrid: the RELRO segment at run time" r--p "$mode"
        fi
    fi
fi

run "$scratch/prefix/bin/anglegrid" -t >"$scratch/out"
same "installed anglegrid -t" "$golden/anglegrid-truncated" "$scratch/out"
is "installed orderflag 5 3" 1 "$(run "$scratch/prefix/bin/orderflag" 5 3)"

finish
