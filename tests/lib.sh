# shellcheck shell=bash disable=SC2034 # variables for the scripts that source this
# Helpers shared by the test scripts: a scratch folder, whole-output
# comparison, and a failure count that decides the script's exit status.

here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
golden=$here/golden
scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT
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

# What the project ships, relative to the installation prefix.
shipped_files()
{
    printf '%s\n' bin/anglegrid bin/orderflag \
        share/man/man1/anglegrid.1 share/man/man1/orderflag.1
}

finish()
{
    printf '%d passed, %d failed\n' $((checks - failures)) "$failures"
    [ "$failures" -eq 0 ]
}
