#!/bin/bash
# SPDX-FileCopyrightText: 2026 The anglegrid-tools developers
# SPDX-License-Identifier: MIT
# Fetches musl for a Debian architecture from the host's archive, without
# root, into DEST: include/, lib/, COPYRIGHT (the copyright file it came
# with) and static-built-using (its Debian source).  The archive's musl-dev
# for ARCH, which cannot be installed beside the host's own, is unpacked;
# where there is none, the archive's musl source is built with TRIPLET-gcc.
# usage: fetch-musl.sh ARCH TRIPLET DEST
set -euo pipefail
arch=$1
triplet=$2
dest=$3
work=$dest.work
rm -rf "$dest" "$work"
mkdir -p "$work/lists/partial" "$work/cache/archives/partial" "$work/parts"
# A failed fetch leaves no musl.
trap '[ $? -eq 0 ] || rm -rf "$dest"; rm -rf "$work"' EXIT
cd "$work"

# The suites of the host's own archive, with lists and caches of their
# own, for ARCH alone; a command's output is shown only if it fails.
apt=(apt-get -q -o Dir::Etc::SourceList="$work/sources.list" -o Dir::Etc::SourceParts="$work/parts"
    -o Dir::State::Lists="$work/lists" -o Dir::Cache="$work/cache" -o Debug::NoLocking=1
    -o APT::Architectures::="$arch" -o Acquire::Languages=none)
quiet()
{
    "$@" >log 2>&1 || { cat log >&2; return 1; }
}
# shellcheck disable=SC2016 # apt's own format
apt-get indextargets --format '$(REPO_URI) $(RELEASE) $(COMPONENT)' 'Created-By: Packages' |
    sort -u >repositories
sed 's/^/deb /' repositories >sources.list
quiet "${apt[@]}" update

if "${apt[@]}" download "musl-dev:$arch" >log 2>&1; then
    dpkg-deb -x musl-dev_*.deb root
    lib=$(dirname root/usr/lib/*/libc.a)
    mkdir "$dest"
    mv "$lib" "$dest/lib"
    mv "root/usr/include/${lib##*/}" "$dest/include"
    cp root/usr/share/doc/musl-dev/copyright "$dest/COPYRIGHT"
    # shellcheck disable=SC2016 # dpkg's own format
    dpkg-deb -W --showformat='${source:Package} (= ${source:Version})\n' musl-dev_*.deb \
        >"$dest/static-built-using"
    exit
fi
echo "fetch-musl: the archive has no musl-dev for $arch: building its musl source" >&2
sed 's/^/deb-src /' repositories >>sources.list
quiet "${apt[@]}" update
quiet "${apt[@]}" source --download-only musl
# apt has checked the files against the archive's signed index; the .dsc's
# own signature needs a keyring that few hosts have.
quiet dpkg-source -x musl_*.dsc source
cd source
# Position-independent, for static-pie programs, and built from relative
# paths, so that no folder's name gets into libc.a.
quiet ./configure --target="$triplet" --prefix="$dest" --disable-shared --disable-wrapper \
    CROSS_COMPILE="$triplet-" CFLAGS="-O2 -fPIE"
quiet make -j"$(nproc)" install
cp debian/copyright "$dest/COPYRIGHT"
printf 'musl (= %s)\n' "$(dpkg-parsechangelog -S Version)" >"$dest/static-built-using"
