#!/bin/bash
# SPDX-FileCopyrightText: 2026 The anglegrid-tools developers
# SPDX-License-Identifier: MIT
# anglegrid's whole output for each kind of command line, byte for byte,
# with its exit status and whether anything went to standard error.
# usage: anglegrid.sh PROGRAM
set -u
prog=$1
# shellcheck source=lib.sh
. "$(dirname "$0")/lib.sh"

# Each row: the golden file stdout must match, whether stderr holds getopt's
# diagnostic, then the arguments.  The program is called as "anglegrid".
while read -r want diag args; do
    read -r -a argv <<<"$args"
    what="anglegrid $args"
    run_as anglegrid "$prog" "${argv[@]}" >"$scratch/out" 2>"$scratch/err"
    is "$what: exit status" 0 $?
    same "$what" "$golden/anglegrid-$want" "$scratch/out"
    if [ "$diag" = diag ]; then
        is "$what: getopt's diagnostic" 1 "$(grep -c "^anglegrid: .*option" "$scratch/err")"
    else
        is "$what: stderr" "" "$(cat "$scratch/err")"
    fi
done <<'EOF_CASES'
table      none
table      none  foo bar
table      none  -
table      none  -- -h
table      none  foo -- -x -q
table      none  foo -- -t
truncated  none  -t
truncated  none  -tt
truncated  none  -t -t foo
truncated  none  foo -t
help       none  -h
help       none  -?
help       none  -th
help       none  -t -h
help       none  -h -t
help       none  -hx
help       none  foo -h
example    none  -x
example    none  -t -x
example    none  -x -t
example    none  -xh
help       diag  -q
help       diag  -tq
help       diag  -qx
help       diag  --help
EOF_CASES

# With POSIXLY_CORRECT set, glibc's getopt stops at the first other word,
# as GNU tools do, and musl's still permutes; the loader tells which C
# library runs the program (a static one is linked with musl).
want=
if have readelf; then
    headers=$(readelf -lW "$prog") || fail "readelf -lW $prog"
    case $(sed -n 's/.*program interpreter: \(.*\)]$/\1/p' <<<"$headers") in
    */ld-linux*) want=table ;;
    '' | */ld-musl*) want=truncated ;;
    esac
fi
if [ -n "$want" ]; then
    POSIXLY_CORRECT=1 run "$prog" foo -t >"$scratch/out"
    same "POSIXLY_CORRECT=1 anglegrid foo -t" "$golden/anglegrid-$want" "$scratch/out"
fi

# The screens show the invocation name exactly as the program received it.
for name in /usr/local/bin/anglegrid ./anglegrid 'my grid'; do
    for screen in help:-h example:-x; do
        sed "s|anglegrid|$name|" "$golden/anglegrid-${screen%:*}" >"$scratch/want"
        run_as "$name" "$prog" "${screen#*:}" >"$scratch/out"
        same "called as '$name' ${screen#*:}" "$scratch/want" "$scratch/out"
    done
done

# On a terminal stdout is line-buffered rather than block-buffered; the
# bytes must not change.  Where no terminal can be opened (a root without
# /dev/pts), there is nothing to compare: skipped, never passed.  Any other
# failure of spawn.py (a traceback, a missing emulator) shows on stderr.
for screen in table:'' truncated:-t help:-h; do
    python3 "$here/spawn.py" tty "${emulator[@]}" "$prog" ${screen#*:} \
        >"$scratch/out" 2>"$scratch/err"
    status=$?
    if [ $status = 77 ]; then
        skip "on a terminal: $(cat "$scratch/err")"
        break
    fi
    is "on a terminal: ${screen#*:}: exit status and stderr" "0 " "$status $(cat "$scratch/err")"
    sed "s|anglegrid|$prog|" "$golden/anglegrid-${screen%:*}" >"$scratch/want"
    same "on a terminal: ${screen#*:}" "$scratch/want" "$scratch/out"
done

# No name to show: the program's own name stands in.
for screen in help:-h example:-x; do
    run_as '' "$prog" "${screen#*:}" >"$scratch/out"
    same "called with an empty name ${screen#*:}" "$golden/anglegrid-${screen%:*}" "$scratch/out"
done

# An empty argument vector: no name to show, no options to read.
run_noargs "$prog" >"$scratch/out" 2>"$scratch/err"
is "empty argument vector: exit status" 0 $?
same "empty argument vector" "$golden/anglegrid-table" "$scratch/out"
is "empty argument vector: stderr" "" "$(cat "$scratch/err")"

# The README's figure is drawn from this output and must not drift from it.
{ run "$prog" && run "$prog" -t; } | python3 "$here/../doc/sectors.py" >"$scratch/svg"
same "doc/sectors.svg drawn from the program's output" "$here/../doc/sectors.svg" "$scratch/svg"

finish
