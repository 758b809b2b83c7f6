#!/bin/bash
# SPDX-FileCopyrightText: 2026 The anglegrid-tools developers
# SPDX-License-Identifier: MIT
# Fetches musl for a Debian architecture from the host's archive, without
# root, into DEST: include/, lib/, COPYRIGHT (the copyright file it came
# with) and static-built-using (its Debian source).  The archive's musl-dev
# for ARCH, which cannot be installed beside the host's own, is unpacked;
# where there is none, the archive's musl source is built with TRIPLET-gcc.
# DEST appears complete, or not at all.
# usage: fetch-musl.sh ARCH TRIPLET DEST
set -euo pipefail
arch=$1
triplet=$2
dest=$3
work=$dest.work
rm -rf "$dest" "$work"
mkdir -p "$work/lists/partial" "$work/cache/archives/partial" "$work/parts" "$work/musl"
trap 'rm -rf "$work"' EXIT
trap 'exit 143' TERM INT
cd "$work"

# The host's own repositories as it lists them, each with its key
# (Signed-By), but with lists and caches of their own, for ARCH alone.
list=
parts=
eval "$(apt-config shell list Dir::Etc::sourcelist/f parts Dir::Etc::sourceparts/d)"
options=(-q -o Dir::State::Lists="$work/lists" -o Dir::Cache="$work/cache" -o Debug::NoLocking=1
    -o APT::Architectures::="$arch" -o Acquire::Languages=none)
# quiet COMMAND...: its output is shown only if it fails.
quiet()
{
    "$@" >log 2>&1 || { cat log >&2; return 1; }
}
# update: the lists, for ARCH.  An index that cannot be fetched (a mirror in
# the middle of a sync, a repository out of reach) is reported, not fatal:
# what counts is whether the archive still has what is needed, and apt-get
# update exits 0 or not whichever index failed.
update()
{
    apt-get "${options[@]}" update >log 2>&1 || true
    if grep -E '^(E:|W: (Failed to fetch|Some index files failed))' log >failed; then
        sed 's/^/fetch-musl: warning: /' failed >&2
    fi
}
# not_found WHAT: where an index failed, WHAT may be missing only because
# it could not be fetched.
not_found()
{
    if [ -s failed ]; then
        echo "fetch-musl: the archive cannot be reached: $1 is not found and an index failed" >&2
        exit 1
    fi
}
update

if apt-cache "${options[@]}" show "musl-dev:$arch" >/dev/null 2>&1; then
    quiet apt-get "${options[@]}" download "musl-dev:$arch"
    dpkg-deb -x musl-dev_*.deb root
    lib=$(dirname root/usr/lib/*/libc.a)
    mv "$lib" musl/lib
    mv "root/usr/include/${lib##*/}" musl/include
    cp root/usr/share/doc/musl-dev/copyright musl/COPYRIGHT
    # shellcheck disable=SC2016 # dpkg's own format
    dpkg-deb -W --showformat='${source:Package} (= ${source:Version})\n' musl-dev_*.deb \
        >musl/static-built-using
else
    not_found "musl-dev for $arch"
    echo "fetch-musl: the archive has no musl-dev for $arch: building its musl source" >&2
    # The same repositories' sources: one-line entries and deb822 files
    # alike, each keeping its options and key.
    for file in "$list" "$parts"*.list "$parts"*.sources; do
        [ -f "$file" ] || continue
        case $file in
        *.sources) sed 's/^Types:.*/Types: deb-src/' "$file" ;;
        *) sed -n 's/^\([[:space:]]*\)deb\([[:space:]]\)/\1deb-src\2/p' "$file" ;;
        esac >"parts/${file##*/}"
    done
    options+=(-o Dir::Etc::SourceList=/dev/null -o Dir::Etc::SourceParts="$work/parts")
    update
    if ! apt-get "${options[@]}" source --download-only musl >log 2>&1; then
        not_found "musl's source"
        cat log >&2
        exit 1
    fi
    # apt has checked the files against the archive's signed index; the
    # .dsc's own signature needs a keyring that few hosts have.
    quiet dpkg-source -x musl_*.dsc source
    cd source
    # With the target's compiler, whatever CC says; position-independent,
    # for static-pie programs; from relative paths, so that no folder's
    # name gets into libc.a.
    quiet ./configure --target="$triplet" --prefix="$work/musl" --disable-shared --disable-wrapper \
        CC="$triplet-gcc" CROSS_COMPILE="$triplet-" CFLAGS="-O2 -fPIE"
    quiet make -j"$(nproc)" install
    cp debian/copyright "$work/musl/COPYRIGHT"
    printf 'musl (= %s)\n' "$(dpkg-parsechangelog -S Version)" >"$work/musl/static-built-using"
    cd "$work"
fi
mv musl "$dest"
