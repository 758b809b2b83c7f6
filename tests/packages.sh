#!/bin/bash
# SPDX-FileCopyrightText: 2026 The anglegrid-tools developers
# SPDX-License-Identifier: MIT
# The tarball, the Debian package and the RPM: named for the version and
# the architecture, each with a checksum that matches, holding what the
# package manager expects, and clean under the distributions' checkers.
# usage: packages.sh CPACK BUILD_DIR VERSION PROCESSOR DEBIAN_ARCH RPM_ARCH
#            MUSL_COPYRIGHT STATIC_BUILT_USING   (the last two are a static build's, else empty)
set -u
cpack=$1
build=$2
version=$3
processor=$4
debian_arch=$5
rpm_arch=$6
musl_copyright=${7:-}
static_built_using=${8:-}
# shellcheck source=lib.sh
. "$(dirname "$0")/lib.sh"

name=anglegrid-tools
tarball=$name-$version-Linux-$processor.tar.gz
deb=${name}_${version}_$debian_arch.deb
rpm=$name-$version-1.$rpm_arch.rpm
generators="TGZ;DEB"
packages=("$tarball" "$deb")
if have rpmbuild; then
    generators+=";RPM"
    packages+=("$rpm")
fi
# Packages carry the source time, never the build time, so that the same
# commit gives the same bytes; and a packager's strict umask must not make
# their folders unreadable to others (lintian and rpmlint check below).
epoch=1700000000
umask 077
SOURCE_DATE_EPOCH=$epoch "$cpack" -G "$generators" -B "$scratch" \
    --config "$build/CPackConfig.cmake" >"$scratch/log" 2>&1 ||
    fail "cpack -G $generators: $(cat "$scratch/log")"
umask 022
export TZ=UTC
stamp=$(date -d @$epoch '+%F %T')
is "time stamps in the tarball" "$stamp" \
    "$(tar --full-time -tvzf "$scratch/$tarball" | awk '{ print $4, $5 }' | sort -u)"
for package in "${packages[@]}"; do
    (cd "$scratch" && sha256sum --quiet -c "$package.sha256") >/dev/null 2>&1
    is "$package: checksum file" 0 $?
done

# Unpacked by root, the files must belong to root, whoever packaged them.
is "owners in the tarball" 0/0 \
    "$(tar --numeric-owner -tvzf "$scratch/$tarball" | awk '{ print $2 }' | sort -u)"
is "modes of the Debian package's members" rw-r--r-- \
    "$(ar tv "$scratch/$deb" | awk '{ print $1 }' | sort -u)"

# Static programs carry the notice of what they contain in each package.
notice=
[ -z "$musl_copyright" ] || notice=THIRD-PARTY-NOTICES

tar -tzf "$scratch/$tarball" | grep -v '/$' | sed 's|^[^/]*/||' | sort >"$scratch/files"
shipped_files share/doc/$name/LICENSE ${notice:+share/doc/$name/$notice} >"$scratch/want"
same "files in the tarball" "$scratch/want" "$scratch/files"
if [ -n "$notice" ]; then
    tar -xOzf "$scratch/$tarball" --wildcards "*/$notice" >"$scratch/notice"
    has_notice "the tarball's notice" "$scratch/notice" "$musl_copyright"
fi

# The packaged programs are stripped; they must still work, and a program
# built for another machine runs only under that machine's emulator.
tar -xzf "$scratch/$tarball" -C "$scratch"
run "$scratch/${tarball%.tar.gz}/bin/anglegrid" >"$scratch/out"
same "anglegrid from the tarball" "$golden/anglegrid-table" "$scratch/out"

if have dpkg-deb; then
    is "time stamps in the Debian package" "$stamp" \
        "$(dpkg-deb --fsys-tarfile "$scratch/$deb" | tar --full-time -tv |
            awk '{ print $4, $5 }' | sort -u)"
    dpkg-deb -x "$scratch/$deb" "$scratch/deb"
    run "$scratch/deb/usr/bin/anglegrid" >"$scratch/out"
    same "anglegrid from the Debian package" "$golden/anglegrid-table" "$scratch/out"

    dpkg-deb -c "$scratch/$deb" | awk '{ print $6 }' | grep -v '/$' | sed 's|^\./usr/||' \
        >"$scratch/files"
    shipped_files share/doc/$name/copyright share/doc/$name/changelog.gz \
        share/lintian/overrides/$name >"$scratch/want"
    same "files in the Debian package" "$scratch/want" "$scratch/files"
    for field in Package:$name Version:$version Section:utils Architecture:$debian_arch; do
        is "Debian package ${field%%:*}" "${field#*:}" \
            "$(dpkg-deb -f "$scratch/$deb" "${field%%:*}")"
    done
    # The copyright file holds the notice as the comment of its header
    # paragraph, and the field names musl's Debian source where dpkg told
    # it; nothing asks for musl's source to be kept, so no Built-Using.
    copyright=$scratch/deb/usr/share/doc/$name/copyright
    awk '/^Comment:/ { on = 1; next } on && !/^ / { exit } on' "$copyright" |
        sed 's/^ //; s/^\.$//' >"$scratch/comment"
    if [ -n "$notice" ]; then
        same "copyright: the comment" "$scratch/notice" "$scratch/comment"
    else
        is "copyright without a notice: comment" "" "$(cat "$scratch/comment")"
    fi
    is "Static-Built-Using" "$static_built_using" \
        "$(dpkg-deb -f "$scratch/$deb" Static-Built-Using)"
    is "Built-Using" "" "$(dpkg-deb -f "$scratch/$deb" Built-Using)"
fi
if have lintian; then
    # lintian leaves cache files in TMPDIR: in the scratch folder they go
    # with it.
    TMPDIR=$scratch lintian "$scratch/$deb" >"$scratch/lintian" 2>&1
    status=$?
    is "lintian: exit status" 0 $status
    [ $status -eq 0 ] || cat "$scratch/lintian"
    is "lintian: errors and warnings" "" "$(grep -E '^[EW]:' "$scratch/lintian")"
fi

if [ -e "$scratch/$rpm" ]; then
    rpm -qp --qf '[%{filemodes:perms} %{filenames}\n]' "$scratch/$rpm" 2>/dev/null |
        awk '!/^d/ { sub("^/usr/", "", $2); print $2 }' | sort >"$scratch/files"
    shipped_files share/licenses/$name/LICENSE ${notice:+share/licenses/$name/$notice} \
        >"$scratch/want"
    same "files in the RPM" "$scratch/want" "$scratch/files"
    if [ -n "$notice" ]; then
        is "RPM: the notice is a licence file" /usr/share/licenses/$name/$notice \
            "$(rpm -qpL "$scratch/$rpm" 2>/dev/null | grep -F "$notice")"
    fi
    if have rpm2archive; then
        mkdir "$scratch/rpm"
        rpm2archive - <"$scratch/$rpm" | tar -xz -C "$scratch/rpm"
        run "$scratch/rpm/usr/bin/anglegrid" >"$scratch/out"
        same "anglegrid from the RPM" "$golden/anglegrid-table" "$scratch/out"
        [ -z "$notice" ] || same "the RPM's notice" "$scratch/notice" \
            "$scratch/rpm/usr/share/licenses/$name/$notice"
    fi
    is "RPM name, version, architecture, licence, build time" \
        "$name $version-1 $rpm_arch MIT $epoch" "$(rpm -qp 2>/dev/null \
            --qf '%{name} %{version}-%{release} %{arch} %{license} %{buildtime}' "$scratch/$rpm")"
    if have rpmlint; then
        # Our filters, whichever of them apply to this build and rpmlint.
        rpmlint --ignore-unused-rpmlintrc -r "$here/../packaging/rpmlintrc" "$scratch/$rpm" \
            >"$scratch/rpmlint" 2>&1
        is "rpmlint: exit status, errors and warnings" "0 0 errors, 0 warnings" \
            "$? $(grep -o '[0-9]* errors, [0-9]* warnings' "$scratch/rpmlint")"
    fi
fi

finish
