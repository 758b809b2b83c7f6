#!/bin/bash
# SPDX-FileCopyrightText: 2026 The anglegrid-tools developers
# SPDX-License-Identifier: MIT
# The manual pages, as the build makes them, render without a single groff
# warning and name the project's version and the date of its source.
# usage: manpages.sh VERSION SOURCE_DATE_EPOCH CONFIGURE_DATE PAGE...
# With no epoch the pages carry the day of configure, which may be before
# the day the tests run.
set -u
version=$1
epoch=$2
date=$3
shift 3
# shellcheck source=lib.sh
. "$(dirname "$0")/lib.sh"
[ -z "$epoch" ] || date=$(date -u -d "@$epoch" +%F)

for page in "$@"; do
    if have groff; then
        warnings=$(groff -man -ww -z "$page" 2>&1)
        is "groff -man -ww $(basename "$page"): exit status and warnings" "0 " "$? $warnings"
    fi
    is "$(basename "$page"): date and version" "$date anglegrid-tools $version" \
        "$(awk '$1 == ".TH" { split($0, field, "\""); print $4, field[2] }' "$page")"
    # The page must carry every section a reader looks for.
    for section in NAME SYNOPSIS DESCRIPTION OPTIONS 'EXIT STATUS' EXAMPLES; do
        is "$(basename "$page"): section $section" 1 "$(grep -cx "\.SH \"\?$section\"\?" "$page")"
    done
done

finish
