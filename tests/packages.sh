#!/bin/bash
# The tarball and the Debian package each hold both programs and both
# manual pages, under a name and version a package manager understands.
# usage: packages.sh BUILD_DIR VERSION
set -u
build=$1
version=$2
# shellcheck source=lib.sh
. "$(dirname "$0")/lib.sh"

for generator in TGZ DEB; do
    cpack -G "$generator" -B "$scratch" --config "$build/CPackConfig.cmake" >/dev/null ||
        fail "cpack -G $generator"
done

tarball=$scratch/anglegrid-tools-$version-Linux.tar.gz
tar -tzf "$tarball" | grep -v '/$' | sed 's|^[^/]*/||' | sort >"$scratch/files"
shipped_files >"$scratch/want"
same "files in the tarball" "$scratch/want" "$scratch/files"

# The packaged programs are stripped; they must still work.
tar -xzf "$tarball" -C "$scratch"
"$scratch/anglegrid-tools-$version-Linux/bin/anglegrid" >"$scratch/out"
same "packaged anglegrid" "$golden/anglegrid-table" "$scratch/out"

deb=$scratch/anglegrid-tools_${version}_$(dpkg --print-architecture).deb
dpkg-deb -c "$deb" | awk '{ print $6 }' | grep -v '/$' | sort >"$scratch/files"
sed 's|^|./usr/|' "$scratch/want" >"$scratch/want-deb"
same "files in the Debian package" "$scratch/want-deb" "$scratch/files"
is "Debian package name" anglegrid-tools "$(dpkg-deb -f "$deb" Package)"
is "Debian package version" "$version" "$(dpkg-deb -f "$deb" Version)"
is "Debian package section" utils "$(dpkg-deb -f "$deb" Section)"

finish
