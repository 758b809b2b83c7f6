# SPDX-FileCopyrightText: 2026 The anglegrid-tools developers
# SPDX-License-Identifier: MIT
# Static programs link musl, whose start-up does next to nothing: the one
# in MUSL_SYSROOT; else, native, the one whose folders the musl-gcc
# wrapper's specs file names; else, cross-built, the target's, fetched from
# the host's Debian archive.  Sets LINKAGE once musl links, MUSL_VERSION,
# MUSL_COPYRIGHT, MUSL_STATIC_BUILT_USING and GCC_RUNTIME_VERSION.
set(MUSL_SYSROOT "" CACHE PATH
    "A musl of your own for the static programs: its prefix, with include/ and lib/")
set(MUSL_COPYRIGHT "" CACHE FILEPATH
    "musl's copyright file, where configure does not find the one that came with it")

set(root ${MUSL_SYSROOT})
if(NOT root AND NOT CMAKE_CROSSCOMPILING)
    # Looked up afresh each time: musl may have been installed or removed
    # since the last configure.
    unset(MUSL_GCC CACHE)
    find_program(MUSL_GCC musl-gcc PATHS /usr/lib/musl/bin /usr/local/musl/bin)
    if(MUSL_GCC)
        file(READ ${MUSL_GCC} specs)
        string(REGEX MATCH "-specs[= ]\"?([^\" \n]+)" specs "${specs}")
        if(EXISTS "${CMAKE_MATCH_1}")
            file(READ "${CMAKE_MATCH_1}" specs)
            string(REGEX MATCH "-isystem ([^ %\n]+).*-L([^ %\n]+)" specs "${specs}")
            set(include ${CMAKE_MATCH_1})
            set(lib ${CMAKE_MATCH_2})
        endif()
    endif()
elseif(NOT root AND CROSS_ARCH)
    # The fetch moves a complete musl into place, or leaves none.  The
    # compiler's triplet is the table's, under any toolchain file.
    architecture(debian "${CROSS_ARCH}")
    if(NOT ARCH_TRIPLET)
        message(FATAL_ERROR "CROSS_ARCH: '${CROSS_ARCH}' is not in cmake/architectures.txt")
    endif()
    set(root ${PROJECT_BINARY_DIR}/musl)
    if(NOT IS_DIRECTORY ${root})
        # A stalled archive must not stall configure: 15 minutes at most,
        # where a fetch takes seconds and a build from source a minute.
        message(STATUS "Fetching musl for ${CROSS_ARCH} into ${root}")
        execute_process(
            COMMAND ${CMAKE_CURRENT_LIST_DIR}/fetch-musl.sh ${CROSS_ARCH} ${ARCH_TRIPLET} ${root}
            TIMEOUT 900 RESULT_VARIABLE fetched)
        if(NOT fetched EQUAL 0)
            message(STATUS "Fetching musl for ${CROSS_ARCH} failed: ${fetched}")
        endif()
    endif()
endif()
if(root)
    set(include ${root}/include)
    set(lib ${root}/lib)
endif()

# GCC's start and end files and runtime, which clang links too.
foreach(file IN ITEMS crtbeginS.o crtendS.o libgcc.a libgcc_eh.a)
    execute_process(COMMAND ${CMAKE_CXX_COMPILER} -print-file-name=${file}
        OUTPUT_VARIABLE ${file} OUTPUT_STRIP_TRAILING_WHITESPACE)
endforeach()
string(REGEX REPLACE ".*/([^/]+)/libgcc\\.a$" "\\1" GCC_RUNTIME_VERSION "${libgcc.a}")

# Checked afresh each time, since the musl or the compiler may have changed.
unset(MUSL_LINKS CACHE)
if(EXISTS "${lib}/libc.a" AND EXISTS "${lib}/rcrt1.o")
    # Static position-independent, spelt out, since some cross compilers
    # ignore -static-pie: start files, the program, the libraries in a group
    # (libgcc on armhf calls back into libc), end files.
    add_library(musl INTERFACE IMPORTED)
    target_include_directories(musl INTERFACE ${include})
    target_compile_options(musl INTERFACE -nostdinc)
    target_link_options(musl INTERFACE -nostdlib -pie LINKER:-static,--no-dynamic-linker,-z,text
        ${lib}/rcrt1.o ${lib}/crti.o ${crtbeginS.o})
    target_link_libraries(musl INTERFACE -Wl,--start-group ${lib}/libc.a ${libgcc.a} ${libgcc_eh.a}
        -Wl,--end-group ${crtendS.o} ${lib}/crtn.o)
    # Compiled position-independent, as the programs are, also where the
    # compiler does not build so by default.
    set(CMAKE_REQUIRED_LIBRARIES musl)
    set(CMAKE_POSITION_INDEPENDENT_CODE ON)
    check_cxx_source_compiles("#include <stdio.h>\nint main() { return puts(\"\"); }" MUSL_LINKS)
    unset(CMAKE_POSITION_INDEPENDENT_CODE)
    unset(CMAKE_REQUIRED_LIBRARIES)
endif()
if(NOT MUSL_LINKS)
    # What would help, before the one thing that always does, a musl of
    # one's own: a cross build cannot use the host's musl-gcc; where the
    # table knows its processor (ARCH_DEBIAN), configure can fetch Debian's
    # musl for it.
    set(how "")
    if(CROSS_ARCH)
        set(how "on a Debian host, install apt and dpkg-dev, which fetch it, or ")
    elseif(NOT CMAKE_CROSSCOMPILING)
        set(how "install musl-gcc (Debian: apt-get install musl-tools), or ")
    elseif(ARCH_DEBIAN)
        string(CONCAT how "where Debian's archive can be reached, set CROSS_ARCH=${ARCH_DEBIAN}, "
            "whose musl configure fetches, or ")
    endif()
    string(CONCAT how "No musl for ${CMAKE_SYSTEM_PROCESSOR} links, so the programs are linked "
        "dynamically and start several times slower.  For static programs, ${how}"
        "set MUSL_SYSROOT to a musl built for ${CMAKE_SYSTEM_PROCESSOR}")
    if(STRICT)
        message(FATAL_ERROR
            "ANGLEGRID_TOOLS_STRICT is set, where a static build must not fall back: ${how}")
    endif()
    message(WARNING "${how}")
    return()
endif()
set(LINKAGE static-pie)
target_link_libraries(tool_options INTERFACE musl)
file(STRINGS ${lib}/libc.a MUSL_VERSION REGEX "^[0-9]+\\.[0-9]+\\.[0-9]+$" LIMIT_COUNT 1)

# The copyright file and the Debian source: the sysroot's; else, where dpkg
# owns libc.a, the package's; else the distribution's copyright file.
find_program(DPKG_QUERY dpkg-query)
if(DPKG_QUERY AND NOT root)
    execute_process(COMMAND ${DPKG_QUERY} -S ${lib}/libc.a OUTPUT_VARIABLE owner ERROR_QUIET)
    string(REGEX REPLACE ":.*" "" owner "${owner}")
endif()
if(owner)
    execute_process(COMMAND ${DPKG_QUERY} -W "-f=\${source:Package} (= \${source:Version})"
        ${owner} OUTPUT_VARIABLE MUSL_STATIC_BUILT_USING)
    set(found /usr/share/doc/${owner}/copyright)
elseif(root)
    set(found ${root}/COPYRIGHT)
    if(EXISTS ${root}/static-built-using)
        file(STRINGS ${root}/static-built-using MUSL_STATIC_BUILT_USING)
    endif()
else()
    file(GLOB found /usr/share/doc/musl*/copyright /usr/share/licenses/musl*/COPYRIGHT)
endif()
if(NOT MUSL_COPYRIGHT) # else named by whoever configures
    list(POP_FRONT found MUSL_COPYRIGHT)
endif()
if(NOT EXISTS "${MUSL_COPYRIGHT}")
    message(FATAL_ERROR "musl's copyright file, which each package of static programs carries, "
        "is not found: set MUSL_COPYRIGHT (musl's source has it as COPYRIGHT)")
endif()
message(STATUS "The programs are linked static-pie with musl ${MUSL_VERSION} (${lib}) "
    "and the runtime of GCC ${GCC_RUNTIME_VERSION}")
