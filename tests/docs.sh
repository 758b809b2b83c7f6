#!/bin/bash
# SPDX-FileCopyrightText: 2026 The anglegrid-tools developers
# SPDX-License-Identifier: MIT
# The project's Markdown files: every relative link, images included,
# points at a file that exists, and a link to a heading (#anchor) at a
# heading that exists, named as forges name them, so that moving a file or
# a section cannot break a link silently; and only the changelog names a
# release, so that a release that changes project() and the changelog
# leaves no document behind.
# usage: docs.sh SOURCE_DIR VERSION
set -u
top=$1
version=$2
# shellcheck source=lib.sh
. "$(dirname "$0")/lib.sh"

# anchors FILE: the anchor of each heading, outside code blocks: lower
# case, without punctuation, blanks as hyphens, and -1, -2... on repeats.
anchors()
{
    awk '/^```/ { code = !code; next }
        !code && /^#+ / {
            h = tolower($0)
            sub(/^#+ +/, "", h)
            gsub(/[^a-z0-9 _-]/, "", h)
            gsub(/ /, "-", h)
            n = seen[h]++
            print (n ? h "-" n : h)
        }' "$1"
}

mapfile -t pages < <(cd "$top" &&
    find . \( -name build -o -name '.?*' \) -prune -o -name '*.md' -print | sort)
is "Markdown files in $top: none found" 0 "$([ ${#pages[@]} -gt 0 ]; echo $?)"
for page in "${pages[@]}"; do
    page=${page#./}
    dir=$(dirname "$top/$page")
    # Link targets outside code blocks: ](target)
    awk '/^```/ { code = !code; next } !code' "$top/$page" |
        grep -o '\]([^)]*)' | sed 's/^](//; s/)$//' >"$scratch/targets"
    while read -r target; do
        case $target in
        *:*) continue ;; # https:, mailto: and the like
        esac
        path=${target%%#*}
        file=$dir/${path:-$(basename "$page")}
        checks=$((checks + 1))
        if [ ! -e "$file" ]; then
            fail "$page: link to $target: no such file"
        elif [ "$path" != "$target" ] && ! grep -qxF "${target#*#}" <<<"$(anchors "$file")"; then
            fail "$page: link to $target: no such heading"
        fi
    done <"$scratch/targets"
    # This version, or a package or release named with any version.
    [ "$page" = CHANGELOG.md ] ||
        is "$page: a release's version (write VERSION)" "" \
            "$(grep -nE "(^|[^0-9.])${version//./\\.}([^0-9]|$)|anglegrid-tools[-_][0-9]" \
                "$top/$page")"
done

finish
