#!/bin/bash
# A program whose output cannot be written says so and exits 1; one whose
# reader goes away dies quietly of SIGPIPE, as any filter does.
# usage: write_errors.sh NAME PROGRAM [ARGS...]
set -u
name=$1
prog=$2
shift 2
# shellcheck source=lib.sh
. "$(dirname "$0")/lib.sh"
what="$name $*"

"$prog" "$@" >/dev/full 2>"$scratch/err"
is "$what >/dev/full: exit status" 1 $?
is "$what >/dev/full: message" "$name: write error: No space left on device" "$(cat "$scratch/err")"

"$prog" "$@" >&- 2>"$scratch/err"
is "$what >&-: exit status" 1 $?
is "$what >&-: message" "$name: write error: Bad file descriptor" "$(cat "$scratch/err")"

is "$what | (closed): status, stderr" 141 "$(python3 "$here/spawn.py" closed "$prog" "$@")"

printf '1\n%s: write error: Broken pipe\n' "$name" >"$scratch/want"
python3 "$here/spawn.py" closed-ign "$prog" "$@" >"$scratch/out"
same "$what | (closed, SIGPIPE ignored)" "$scratch/want" "$scratch/out"

finish
