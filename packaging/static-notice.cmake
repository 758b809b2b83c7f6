# SPDX-FileCopyrightText: 2026 The anglegrid-tools developers
# SPDX-License-Identifier: MIT
# Static programs contain the C library and the GCC runtime, which come
# under licences of their own: the packages say so, give the LGPL and name
# the C library's source package, which Debian's statically linked
# packages also declare in a Built-Using field.  Which packages provided
# libc.a and libstdc++.a is asked of dpkg at configure time.
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
set(lgpl /usr/share/common-licenses/LGPL-2.1)
if(NOT LINKAGE STREQUAL dynamic)
    find_program(DPKG_QUERY dpkg-query)
    if(DPKG_QUERY)
        debian_package_of(libc.a LIBC)
        debian_package_of(libstdc++.a GCC)
    endif()
    if(NOT LIBC_GLIBC OR NOT GCC_SOURCE OR NOT EXISTS ${lgpl})
        message(WARNING "dpkg cannot tell which packages provided the static C library "
            "and C++ runtime: the packages will not declare them")
    else()
        set(DEBIAN_BUILT_USING "${LIBC_SOURCE} (= ${LIBC_SOURCE_VERSION})")
        # The tarball and the RPM carry the notice with the licence's text.
        set(LGPL_TEXT "Its text follows this notice.")
        configure_file(static-notice.in notice @ONLY)
        file(READ ${lgpl} text)
        file(READ ${CMAKE_CURRENT_BINARY_DIR}/notice notice)
        file(WRITE ${CMAKE_CURRENT_BINARY_DIR}/THIRD-PARTY-NOTICES
            "${notice}\n${text}")
        install(FILES ${CMAKE_CURRENT_BINARY_DIR}/THIRD-PARTY-NOTICES
            DESTINATION ${CMAKE_INSTALL_DOCDIR} COMPONENT license)
        install(FILES ${CMAKE_CURRENT_BINARY_DIR}/THIRD-PARTY-NOTICES
            DESTINATION ${CMAKE_INSTALL_DATADIR}/licenses/${PROJECT_NAME}
            COMPONENT rpm EXCLUDE_FROM_ALL)
        # The Debian copyright file points to the system's copy instead, as
        # Debian's own do, in a comment of its header paragraph.
        set(LGPL_TEXT "On Debian systems its text\nis in ${lgpl}.")
        configure_file(static-notice.in notice @ONLY)
        file(READ ${CMAKE_CURRENT_BINARY_DIR}/notice notice)
        string(REGEX REPLACE "\n$" "" notice "${notice}")
        string(REPLACE "\n\n" "\n.\n" notice "${notice}")
        string(REPLACE "\n" "\n " notice "${notice}")
        set(COPYRIGHT_COMMENT "Comment:\n ${notice}\n")
    endif()
endif()
