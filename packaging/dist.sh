#!/bin/bash
# SPDX-FileCopyrightText: 2026 The anglegrid-tools developers
# SPDX-License-Identifier: MIT
# The source release: the committed files of HEAD as NAME-VERSION.tar.gz,
# the same bytes from any clone, folder, umask, time zone or day, and
# written only once the unpacked tarball has configured, built and passed
# every test on its own.
# usage: dist.sh CMAKE SOURCE_DIR WORK_DIR OUTPUT_DIR NAME VERSION
set -euo pipefail
cmake=$1
src=$2
work=$3
out=$4
base=$5-$6

cd "$src"
if [ "$(git rev-parse --show-toplevel 2>/dev/null)" != "$(pwd -P)" ]; then
    echo "dist: $src is not a git checkout; a source release is made from one" >&2
    exit 1
fi
git update-index -q --refresh
if ! git diff-index --quiet HEAD --; then
    echo "dist: tracked files have uncommitted changes, which the tarball of HEAD would not hold;" \
        "commit or stash them" >&2
    exit 1
fi

# git archive gives every entry owner 0/0 and the commit's time; its modes
# follow tar.umask, set here rather than taken from the caller's.  gzip -n
# keeps the name and time out of the header.
rm -rf "$work"
mkdir -p "$work/check"
git -c tar.umask=0022 archive --format=tar --prefix="$base/" HEAD | gzip -9n >"$work/$base.tar.gz"

# distcheck: a file that the build or the tests need but git does not
# hold shows up here, before anything is released.  Built as the test
# preset builds, warnings as errors, but without presets, which CMake has
# only from 3.25.
tar -xzf "$work/$base.tar.gz" -C "$work/check"
check=$work/check/$base
if ! { "$cmake" -S "$check" -B "$check/build" --no-warn-unused-cli -DCMAKE_BUILD_TYPE=Release \
    -DCMAKE_COMPILE_WARNING_AS_ERROR=ON && "$cmake" --build "$check/build" &&
    "$cmake" --build "$check/build" --target test; }; then
    echo "dist: $base.tar.gz, unpacked, does not build and pass its tests; nothing written" >&2
    exit 1
fi

mkdir -p "$out"
mv "$work/$base.tar.gz" "$out/"
(cd "$out" && sha256sum "$base.tar.gz" >"$base.tar.gz.sha256")
rm -rf "$work"
echo "dist: wrote $out/$base.tar.gz and its .sha256"
