#!/bin/bash
# SPDX-FileCopyrightText: 2026 The anglegrid-tools developers
# SPDX-License-Identifier: MIT
# Fetches musl for a Debian architecture from the host's Debian archive,
# without root, into DEST: DEST/include and DEST/lib (musl's headers,
# libc.a and start files), DEST/COPYRIGHT (the copyright file it came
# with) and DEST/static-built-using (its Debian source and version).  It
# takes the archive's musl-dev for ARCH, which cannot be installed beside
# the host's own, or, where the archive has none, builds the archive's musl
# source with the cross compiler TRIPLET-gcc.
# usage: fetch-musl.sh ARCH TRIPLET DEST
set -euo pipefail
arch=$1
triplet=$2
dest=$3

for tool in apt-get dpkg-deb dpkg-source; do
    if ! command -v $tool >/dev/null; then
        echo "fetch-musl: $tool is not installed: no musl is fetched" >&2
        exit 1
    fi
done
work=$dest.work
rm -rf "$dest" "$work"
mkdir -p "$work/lists/partial" "$work/cache/archives/partial" "$work/parts"
# What a failed fetch leaves is no musl.
cleanup()
{
    local status=$?
    rm -rf "$work"
    [ "$status" -eq 0 ] || rm -rf "$dest"
}
trap cleanup EXIT
cd "$work"

# The suites and components of the host's own archive, as apt knows them,
# with lists and caches of their own, for ARCH only.
# shellcheck disable=SC2016 # apt's own format
mapfile -t repositories < <(apt-get indextargets --format '$(REPO_URI) $(RELEASE) $(COMPONENT)' \
    'Created-By: Packages' | sort -u)
if [ ${#repositories[@]} -eq 0 ]; then
    echo "fetch-musl: apt knows no archive (run apt-get update first)" >&2
    exit 1
fi
apt=(apt-get -q -o Dir::Etc::SourceList="$work/sources.list" -o Dir::Etc::SourceParts="$work/parts"
    -o Dir::State::Lists="$work/lists" -o Dir::Cache="$work/cache" -o Debug::NoLocking=1
    -o APT::Architectures::="$arch" -o Acquire::Languages=none)
# update TYPE...: the lists of the host's archive, for these kinds of entry.
update()
{
    local type repository
    for type in "$@"; do
        for repository in "${repositories[@]}"; do
            echo "$type $repository"
        done
    done >sources.list
    "${apt[@]}" update >update.log 2>&1 || { cat update.log >&2; return 1; }
}

update deb
if "${apt[@]}" download "musl-dev:$arch" >download.log 2>&1; then
    package=$(echo musl-dev_*.deb)
    dpkg-deb -x "$package" root
    lib=$(dirname root/usr/lib/*/libc.a)
    mkdir -p "$dest"
    mv "$lib" "$dest/lib"
    mv "root/usr/include/${lib##*/}" "$dest/include"
    cp root/usr/share/doc/musl-dev/copyright "$dest/COPYRIGHT"
    # shellcheck disable=SC2016 # dpkg's own format
    dpkg-deb --show --showformat='${source:Package} (= ${source:Version})\n' "$package" \
        >"$dest/static-built-using"
else
    echo "fetch-musl: the archive has no musl-dev for $arch: building its musl source" >&2
    update deb deb-src
    "${apt[@]}" source --download-only musl >download.log 2>&1 || { cat download.log >&2; exit 1; }
    # apt has checked the files against the archive's signed index; the
    # .dsc's own signature needs a keyring that hosts seldom have.
    dpkg-source -x musl_*.dsc source >unpack.log 2>&1 || { cat unpack.log >&2; exit 1; }
    # Position-independent, for static-pie programs; built from relative
    # paths, so that no folder's name gets into libc.a.
    (
        cd source
        ./configure --target="$triplet" --prefix="$dest" --disable-shared --disable-wrapper \
            CROSS_COMPILE="$triplet-" CC="$triplet-gcc" CFLAGS="-O2 -fPIE" >build.log
        make -j"$(nproc)" install >>build.log 2>&1 || { tail -20 build.log >&2; exit 1; }
    )
    cp source/debian/copyright "$dest/COPYRIGHT"
    printf 'musl (= %s)\n' "$(dpkg-parsechangelog -l source/debian/changelog -S Version)" \
        >"$dest/static-built-using"
fi
