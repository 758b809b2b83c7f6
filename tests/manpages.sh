#!/bin/bash
# SPDX-FileCopyrightText: 2026 The anglegrid-tools developers
# SPDX-License-Identifier: MIT
# The manual pages, as the build makes them, render without a single groff
# warning and name the project's version.
# usage: manpages.sh VERSION PAGE...
set -u
version=$1
shift
# shellcheck source=lib.sh
. "$(dirname "$0")/lib.sh"

for page in "$@"; do
    is "groff -man -ww $(basename "$page")" "" "$(groff -man -ww -z "$page" 2>&1)"
    is "$(basename "$page"): version" "anglegrid-tools $version" \
        "$(awk '$1 == ".TH" { split($0, field, "\""); print field[2] }' "$page")"
    # The page must carry every section a reader looks for.
    for section in NAME SYNOPSIS DESCRIPTION OPTIONS 'EXIT STATUS' EXAMPLES; do
        is "$(basename "$page"): section $section" 1 "$(grep -cx "\.SH \"\?$section\"\?" "$page")"
    done
done

finish
