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
# sends each line as soon as it is whole.  Every write (writev, for musl)
# must end a line, and there must be one at least for each line end; a C
# library may send a line's leading newline on its own before it has found
# that stdout is a pipe.
# Where the kernel or an emulator refuses the tracer (qemu-user, gVisor,
# some containers), there are no writes to count: skipped, never passed.
if have strace; then
    # A sanitizer build's leak check cannot run under a tracer (newer ones
    # abort); every other test checks for leaks.
    ASAN_OPTIONS="${ASAN_OPTIONS:+$ASAN_OPTIONS:}detect_leaks=0" \
        strace -f -qq -s 4096 -o "$scratch/trace" -e trace=write,writev -e signal=none \
        "${emulator[@]}" "$prog" "$@" 2>"$scratch/strace" | cat >/dev/null
    traced=${PIPESTATUS[0]}
    if [ "$traced" != 0 ] && grep -qi ptrace "$scratch/strace"; then
        skip "$what | cat: strace cannot trace here: $(head -n 1 "$scratch/strace")"
    else
        is "$what | cat: strace's exit status and stderr" "0 " "$traced $(cat "$scratch/strace")"
        # A writev's empty pieces are left out, so that its data ends where
        # its last piece does.
        grep -E '^([0-9]+ +)?writev?\(1,' "$scratch/trace" |
            sed -E 's/(, )?\{iov_base=(""|NULL), iov_len=0\}//g; s/\[, /[/' >"$scratch/writes"
        writes=$(wc -l <"$scratch/writes")
        is "$what | cat: writes to stdout that end a line" "$writes" \
            "$(grep -Ec '\\n"(, iov_len=[0-9]+\}\])?, [0-9]+\) += [0-9]+$' "$scratch/writes")"
        is "$what | cat: one write at least for each of $line_ends line ends" yes \
            "$([ "$writes" -ge "$line_ends" ] && echo yes || echo "$writes writes")"
    fi
fi

run "$prog" "$@" >/dev/full 2>"$scratch/err"
is "$what >/dev/full: exit status" 1 $?
is "$what >/dev/full: message" "$name: write error: No space left on device" "$(cat "$scratch/err")"

run "$prog" "$@" >&- 2>"$scratch/err"
is "$what >&-: exit status" 1 $?
is "$what >&-: message" "$name: write error: Bad file descriptor" "$(cat "$scratch/err")"

is "$what | (closed): status, stderr" 141 \
    "$(python3 "$here/spawn.py" closed "${emulator[@]}" "$prog" "$@")"

printf '1\n%s: write error: Broken pipe\n' "$name" >"$scratch/want"
python3 "$here/spawn.py" closed-ign "${emulator[@]}" "$prog" "$@" >"$scratch/out"
same "$what | (closed, SIGPIPE ignored)" "$scratch/want" "$scratch/out"

finish
