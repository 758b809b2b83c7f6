# shellcheck shell=bash disable=SC2034 # variables for the scripts that source this
# SPDX-FileCopyrightText: 2026 The anglegrid-tools developers
# SPDX-License-Identifier: MIT
# Helpers shared by the test scripts: a scratch folder, whole-output
# comparison, and a failure count that decides the script's exit status.

# The tools whose output the scripts read speak the C locale, whatever the
# build's (readelf's headings, sort's order, date's names).
export LC_ALL=C
here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
golden=$here/golden
scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT
# Stopped by the time limit: still clean up.
trap 'exit 124' TERM INT
failures=0
checks=0

fail()
{
    printf 'FAIL: %s\n' "$*"
    failures=$((failures + 1))
}

# same WHAT EXPECTED-FILE ACTUAL-FILE: byte-for-byte, with a diff on failure.
same()
{
    checks=$((checks + 1))
    if ! cmp -s "$2" "$3"; then
        fail "$1: output differs from $(basename "$2")"
        diff -u "$2" "$3" | cat -A | head -20
    fi
}

# is WHAT EXPECTED ACTUAL: two strings, e.g. exit statuses.
is()
{
    checks=$((checks + 1))
    [ "$2" = "$3" ] || fail "$1: expected '$2', got '$3'"
}

# What every package ships, relative to the installation prefix, and the
# files named as arguments: sorted, one a line.
shipped_files()
{
    printf '%s\n' bin/anglegrid bin/orderflag \
        share/man/man1/anglegrid.1.gz share/man/man1/orderflag.1.gz "$@" | sort
}

# has_notice WHAT NOTICE MUSL_COPYRIGHT: the notice of a static build holds
# musl's copyright file whole and the GCC runtime's exception.
has_notice()
{
    local text
    text=$(<"$2")
    is "$1: musl's copyright file, whole" yes "$([[ $text == *"$(<"$3")"* ]] && echo yes)"
    is "$1: the GCC Runtime Library Exception" 1 \
        "$(grep -c '^GCC RUNTIME LIBRARY EXCEPTION$' <<<"$text")"
}

# skip WHY: a check that cannot run here is skipped with a note; with
# ANGLEGRID_TOOLS_STRICT=1, as CI sets it, it fails.
skip()
{
    if [ "${ANGLEGRID_TOOLS_STRICT:-}" = 1 ]; then
        fail "$*"
    else
        printf 'skipped: %s\n' "$*"
    fi
}

# have TOOL: whether TOOL is installed; if not, its check is skipped.
have()
{
    command -v "$1" >/dev/null && return 0
    skip "$1 is not installed"
    return 1
}

# Programs built for another machine run through the emulator that the
# build names (qemu-user), given as TEST_EMULATOR; native ones run directly.
read -r -a emulator <<<"${TEST_EMULATOR:-}"

# run PROGRAM [ARGS...]
run()
{
    "${emulator[@]}" "$@"
}

# run_as NAME PROGRAM [ARGS...]: with NAME as the program's first word.
# exec -a would rename the emulator, which has its own option for this.
run_as()
{
    local name=$1
    shift
    if [ ${#emulator[@]} -gt 0 ]; then
        "${emulator[@]}" -0 "$name" "$@"
    else
        (exec -a "$name" "$@")
    fi
}

# run_noargs PROGRAM: with an empty argument vector.  An emulator cannot
# start a program so; it gets the one empty word this kernel passes instead.
run_noargs()
{
    if [ ${#emulator[@]} -gt 0 ]; then
        run_as '' "$1"
    else
        python3 "$here/spawn.py" noargs "$1"
    fi
}

finish()
{
    printf '%d passed, %d failed\n' $((checks - failures)) "$failures"
    [ "$failures" -eq 0 ]
}
