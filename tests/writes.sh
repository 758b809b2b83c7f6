#!/bin/bash
# SPDX-FileCopyrightText: 2026 The anglegrid-tools developers
# SPDX-License-Identifier: MIT
# How a program's output reaches standard output: each line end is flushed
# at once, even into a pipe; output that cannot be written is reported with
# status 1; a program whose reader goes away dies quietly of SIGPIPE, as any
# filter does.
# usage: writes.sh NAME LINE_ENDS PROGRAM [ARGS...]
set -u
name=$1
line_ends=$2
prog=$3
shift 3
# shellcheck source=lib.sh
. "$(dirname "$0")/lib.sh"
what="$name $*"

# Into a pipe stdout is fully buffered, so only a flush at each line end
# gives one write per line end, each ending in a newline.
if have strace; then
    # A sanitizer build's leak check cannot run under a tracer (newer ones
    # abort); every other test checks for leaks.
    ASAN_OPTIONS="${ASAN_OPTIONS:+$ASAN_OPTIONS:}detect_leaks=0" \
        strace -f -qq -s 4096 -o "$scratch/trace" -e trace=write -e signal=none "${emulator[@]}" "$prog" "$@" |
        cat >/dev/null
    grep 'write(1,' "$scratch/trace" >"$scratch/writes"
    is "$what | cat: writes to stdout" "$line_ends" "$(wc -l <"$scratch/writes")"
    is "$what | cat: writes that end a line" "$line_ends" "$(grep -c '\\n", [0-9]*) *= ' "$scratch/writes")"
fi

run "$prog" "$@" >/dev/full 2>"$scratch/err"
is "$what >/dev/full: exit status" 1 $?
is "$what >/dev/full: message" "$name: write error: No space left on device" "$(cat "$scratch/err")"

run "$prog" "$@" >&- 2>"$scratch/err"
is "$what >&-: exit status" 1 $?
is "$what >&-: message" "$name: write error: Bad file descriptor" "$(cat "$scratch/err")"

is "$what | (closed): status, stderr" 141 "$(python3 "$here/spawn.py" closed "${emulator[@]}" "$prog" "$@")"

printf '1\n%s: write error: Broken pipe\n' "$name" >"$scratch/want"
python3 "$here/spawn.py" closed-ign "${emulator[@]}" "$prog" "$@" >"$scratch/out"
same "$what | (closed, SIGPIPE ignored)" "$scratch/want" "$scratch/out"

finish
