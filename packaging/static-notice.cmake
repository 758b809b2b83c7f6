# SPDX-FileCopyrightText: 2026 The anglegrid-tools developers
# SPDX-License-Identifier: MIT
# Static programs contain the C library and the GCC runtime, which come
# under licences of their own: every package says so, gives the LGPL and
# says where the C library's source is, whatever host built it.  Which
# versions are linked in is asked of the compiler's own headers, so that a
# cross build names the target's C library.  Where dpkg can say which
# packages provided libc.a and libstdc++.a, the notice names them and the
# .deb declares the C library's source in a Built-Using field, as Debian's
# own statically linked packages do.
function(debian_package_of library prefix)
    execute_process(COMMAND ${CMAKE_CXX_COMPILER} -print-file-name=${library}
        OUTPUT_VARIABLE path OUTPUT_STRIP_TRAILING_WHITESPACE)
    file(REAL_PATH "${path}" path)
    execute_process(COMMAND ${DPKG_QUERY} -S ${path}
        OUTPUT_VARIABLE owner OUTPUT_STRIP_TRAILING_WHITESPACE ERROR_QUIET)
    string(REGEX REPLACE "[,:] .*" "" owner "${owner}")
    execute_process(COMMAND ${DPKG_QUERY} -W
            [=[-f=${binary:Package};${Version};${source:Package};${source:Version};${Built-Using}]=]
            ${owner}
        OUTPUT_VARIABLE fields ERROR_QUIET)
    list(LENGTH fields found)
    if(NOT found EQUAL 5)
        return()
    endif()
    list(POP_FRONT fields package version source source_version built_using)
    string(REGEX REPLACE ":.*" "" package "${package}")
    set(${prefix}_PACKAGE ${package} PARENT_SCOPE)
    set(${prefix}_VERSION ${version} PARENT_SCOPE)
    set(${prefix}_SOURCE ${source} PARENT_SCOPE)
    set(${prefix}_SOURCE_VERSION ${source_version} PARENT_SCOPE)
    # A cross C library's package is built from glibc's source by another
    # source package, and names the glibc it used in its own Built-Using.
    if(source STREQUAL glibc)
        set(${prefix}_GLIBC ${source_version} PARENT_SCOPE)
    elseif(built_using MATCHES "(^|, )glibc \\(= ([^)]+)\\)")
        set(${prefix}_GLIBC ${CMAKE_MATCH_2} PARENT_SCOPE)
    endif()
endfunction()

set(COPYRIGHT_COMMENT)
set(DEBIAN_BUILT_USING)
set(GLIBC_VERSION)
set(THIRD_PARTY_NOTICES)
if(NOT LINKAGE STREQUAL dynamic)
    # The macros that the C library and the C++ runtime define in the
    # headers the programs include.
    file(WRITE ${CMAKE_CURRENT_BINARY_DIR}/libraries.cpp "#include <cstdio>\n")
    separate_arguments(flags UNIX_COMMAND "${CMAKE_CXX_FLAGS}")
    execute_process(COMMAND ${CMAKE_CXX_COMPILER} ${flags} -E -dM libraries.cpp
        WORKING_DIRECTORY ${CMAKE_CURRENT_BINARY_DIR}
        OUTPUT_VARIABLE macros ERROR_QUIET)
    foreach(macro IN ITEMS __GLIBC__ __GLIBC_MINOR__ _GLIBCXX_RELEASE)
        string(REGEX MATCH "#define ${macro} ([0-9]+)" found "${macros}")
        set(${macro} ${CMAKE_MATCH_1})
    endforeach()
    set(GCC_RUNTIME_VERSION ${_GLIBCXX_RELEASE})
    if(CMAKE_CXX_COMPILER_ID STREQUAL GNU)
        set(GCC_RUNTIME_VERSION ${CMAKE_CXX_COMPILER_VERSION})
    endif()
    if(__GLIBC__ STREQUAL "" OR __GLIBC_MINOR__ STREQUAL "")
        message(STATUS "The C library is not glibc (its headers do not define __GLIBC__): "
            "the packages carry no notice of the libraries in the static programs")
    else()
        set(GLIBC_VERSION ${__GLIBC__}.${__GLIBC_MINOR__})
        message(STATUS "The static programs contain glibc ${GLIBC_VERSION} "
            "and the runtime of GCC ${GCC_RUNTIME_VERSION}")
    endif()
endif()

if(GLIBC_VERSION)
    find_program(DPKG_QUERY dpkg-query)
    if(DPKG_QUERY)
        debian_package_of(libc.a LIBC)
        debian_package_of(libstdc++.a GCC)
    endif()
    if(LIBC_GLIBC AND GCC_SOURCE)
        set(DEBIAN_BUILT_USING "${LIBC_SOURCE} (= ${LIBC_SOURCE_VERSION})")
        set(LIBC_ORIGIN "linked from ${LIBC_PACKAGE} ${LIBC_VERSION}
(source package ${LIBC_SOURCE} ${LIBC_SOURCE_VERSION})")
        set(LIBC_CORRESPONDING_SOURCE "Debian's source package glibc, version
${LIBC_GLIBC}, which Debian keeps for every version it has released:
  apt-get source glibc=${LIBC_GLIBC}")
        set(GCC_ORIGIN ",
linked from ${GCC_PACKAGE} ${GCC_VERSION} (source package ${GCC_SOURCE}),")
        set(GCC_TEXTS "On Debian systems the licence's text is in
/usr/share/common-licenses/GPL-3; the exception's text comes with the
source package ${GCC_SOURCE}.")
    else()
        # Without dpkg, the host's distribution and glibc's own release.
        cmake_host_system_information(RESULT distribution QUERY DISTRIB_PRETTY_NAME)
        if(distribution STREQUAL "")
            set(distribution "the build host's distribution")
        endif()
        message(STATUS "dpkg cannot tell which packages provided the static C library and "
            "C++ runtime: the packages name glibc's own release and ${distribution}")
        set(LIBC_ORIGIN "the C library of
${distribution}")
        set(LIBC_CORRESPONDING_SOURCE "glibc ${GLIBC_VERSION} as the GNU project released it,
  https://ftp.gnu.org/gnu/glibc/glibc-${GLIBC_VERSION}.tar.xz
with the changes, if any, that ${distribution} made to it,
which it publishes as the source of its glibc package.")
        set(GCC_ORIGIN "")
        set(GCC_TEXTS "The texts of both come with GCC's source.")
    endif()

    # The tarball and the RPM carry the notice with the LGPL's text, from
    # the project's own copy, so that no host file is needed.
    set(LGPL_TEXT "Its text follows this notice.")
    configure_file(static-notice.in notice @ONLY)
    file(READ ${CMAKE_CURRENT_BINARY_DIR}/notice notice)
    file(READ ${CMAKE_CURRENT_SOURCE_DIR}/COPYING.LGPL-2.1 text)
    set(THIRD_PARTY_NOTICES ${CMAKE_CURRENT_BINARY_DIR}/THIRD-PARTY-NOTICES)
    file(WRITE ${THIRD_PARTY_NOTICES} "${notice}\n${text}")
    install(FILES ${THIRD_PARTY_NOTICES} DESTINATION ${CMAKE_INSTALL_DOCDIR} COMPONENT license)
    install(FILES ${THIRD_PARTY_NOTICES}
        DESTINATION ${CMAKE_INSTALL_DATADIR}/licenses/${PROJECT_NAME}
        COMPONENT rpm EXCLUDE_FROM_ALL)
    # The Debian copyright file points to Debian's copy instead, as
    # Debian's own do, in a comment of its header paragraph.
    set(LGPL_TEXT "On Debian systems its text\nis in /usr/share/common-licenses/LGPL-2.1.")
    configure_file(static-notice.in notice @ONLY)
    file(READ ${CMAKE_CURRENT_BINARY_DIR}/notice notice)
    string(REGEX REPLACE "\n$" "" notice "${notice}")
    string(REPLACE "\n\n" "\n.\n" notice "${notice}")
    string(REPLACE "\n" "\n " notice "${notice}")
    set(COPYRIGHT_COMMENT "Comment:\n ${notice}\n")
endif()
