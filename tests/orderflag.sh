#!/bin/bash
# SPDX-FileCopyrightText: 2026 The anglegrid-tools developers
# SPDX-License-Identifier: MIT
# orderflag's flag for each kind of number word the C library reads, and
# its usage error.
# usage: orderflag.sh PROGRAM
set -u
prog=$1
# shellcheck source=lib.sh
. "$(dirname "$0")/lib.sh"
tab=$'\t'

# Each row: the expected flag, then the arguments, separated by '|'.
while IFS='|' read -r -a row; do
    want=${row[0]}
    args=("${row[@]:1}")
    what="orderflag$(printf " '%s'" "${args[@]}")"
    run "$prog" "${args[@]}" >"$scratch/out" 2>"$scratch/err"
    is "$what: exit status" 0 $?
    printf '%s\n' "$want" >"$scratch/want"
    same "$what" "$scratch/want" "$scratch/out"
    is "$what: stderr" "" "$(cat "$scratch/err")"
done <<EOF_CASES
1|5|3
0|3|5
1|4|4
1|4|4.0
1|4|+4
1|-0|0
0|-1|-0.5
0|-5|3
1|1.00000000000000001|1
0|1|1.0000000000000002
1|.5|0.5
1|5.|5
1|abc|0
1|0|abc
0|-1|abc
1||0
0||1
1|--5|0
0|-+5|1
1|12abc|12
0|12abc|13
0|1e|2
0|1,5|1.5
1| 7|7
1|${tab}7|7
0|  -8|-7
1|1e3|999
0|1e3|1001
1|0x10|15
0|0x10|17
1|0X1p4|16
0|0x1.8p1|3.5
1|0x|0
1|nan|1
1|1|nan
1|nan|nan
1|-nan|0
1|NAN(12)|1
0|-inf|inf
1|inf|1e308
1|INFINITY|inf
0|-Infinity|-1e308
1|1e400|1e308
0|-1e400|-1e308
1|1e400|inf
1|1e-400|0
1|0|1e-400
0|1e-400|1e-320
0|4.9e-324|1e-323
1|5|3|9
0|3|5|9|9
EOF_CASES

# Too few arguments: a usage line on stderr, nothing on stdout, status 2,
# also when stdout is closed, since nothing was to be written there.
echo 'usage: orderflag FIRST SECOND' >"$scratch/usage"
usage_error()
{
    local what
    what="orderflag$(printf " '%s'" "$@")"
    run "$prog" "$@" >"$scratch/out" 2>"$scratch/err"
    is "$what: exit status" 2 $?
    same "$what: stderr" "$scratch/usage" "$scratch/err"
    is "$what: stdout" "" "$(cat "$scratch/out")"
    run "$prog" "$@" >&- 2>"$scratch/err"
    is "$what >&-: exit status" 2 $?
    same "$what >&-: stderr" "$scratch/usage" "$scratch/err"
}
usage_error
usage_error 5
usage_error ''
run_noargs "$prog" >"$scratch/out" 2>"$scratch/err"
is "empty argument vector: exit status" 2 $?
same "empty argument vector: stderr" "$scratch/usage" "$scratch/err"

finish
