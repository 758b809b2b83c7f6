#!/bin/bash
# SPDX-FileCopyrightText: 2026 The anglegrid-tools developers
# SPDX-License-Identifier: MIT
# The manual pages render without a single groff warning.
# usage: manpages.sh PAGE...
set -u
# shellcheck source=lib.sh
. "$(dirname "$0")/lib.sh"

for page in "$@"; do
    is "groff -man -ww $(basename "$page")" "" "$(groff -man -ww -z "$page" 2>&1)"
    # The page must carry every section a reader looks for.
    for section in NAME SYNOPSIS DESCRIPTION OPTIONS 'EXIT STATUS' EXAMPLES; do
        is "$(basename "$page"): section $section" 1 "$(grep -cx "\.SH \"\?$section\"\?" "$page")"
    done
done

finish
