# SPDX-FileCopyrightText: 2026 The anglegrid-tools developers
# SPDX-License-Identifier: MIT
# Static programs are linked with musl, whose start-up does next to nothing
# (glibc's probes the processor dozens of times, and each probe traps to the
# hypervisor of a virtual machine): musl's headers, its libc.a and its start
# files for static position-independent programs, and GCC's runtime, which
# the compiler may call; nothing of the C++ runtime.  The musl is, first
# found first:
# - the one in MUSL_SYSROOT, a folder with include/ and lib/;
# - natively, the one whose folders the musl-gcc wrapper's specs file names;
# - cross-built, the target's musl-dev from the host's Debian archive, or
#   the archive's musl source built for it, fetched into the build tree.
# Sets LINKAGE to static-pie and links the musl target into tool_options;
# sets MUSL_VERSION, MUSL_COPYRIGHT (the copyright file that came with that
# musl), MUSL_STATIC_BUILT_USING (its Debian source, where dpkg can tell)
# and GCC_RUNTIME_VERSION.  Without a musl that links, LINKAGE stays dynamic.
set(MUSL_SYSROOT "" CACHE PATH "A musl of your own to link the static programs with: its prefix, with include/ and lib/")
set(MUSL_COPYRIGHT "" CACHE FILEPATH "musl's copyright file, if configure does not find the one that came with it")

set(musl_root ${MUSL_SYSROOT})
set(MUSL_STATIC_BUILT_USING)
if(NOT musl_root AND NOT CMAKE_CROSSCOMPILING)
    find_program(MUSL_GCC musl-gcc PATHS /usr/lib/musl/bin /usr/local/musl/bin)
    if(MUSL_GCC)
        file(STRINGS ${MUSL_GCC} wrapper REGEX "-specs")
        string(REGEX MATCH "-specs[= ]\"?([^\" ]+)" found "${wrapper}")
        if(EXISTS "${CMAKE_MATCH_1}")
            file(READ ${CMAKE_MATCH_1} specs)
            string(REGEX MATCH "-isystem ([^ %\n]+)" found "${specs}")
            set(musl_include ${CMAKE_MATCH_1})
            string(REGEX MATCH "-L([^ %\n]+)" found "${specs}")
            set(musl_lib ${CMAKE_MATCH_1})
        endif()
    endif()
elseif(NOT musl_root AND CROSS_ARCH)
    set(musl_root ${PROJECT_BINARY_DIR}/musl)
    if(NOT EXISTS ${musl_root}/lib/libc.a)
        message(STATUS "Fetching musl for ${CROSS_ARCH} into ${musl_root}")
        execute_process(COMMAND ${CMAKE_CURRENT_LIST_DIR}/fetch-musl.sh
            ${CROSS_ARCH} ${ARCH_TRIPLET} ${musl_root})
    endif()
endif()
if(musl_root)
    set(musl_include ${musl_root}/include)
    set(musl_lib ${musl_root}/lib)
    if(EXISTS ${musl_root}/static-built-using)
        file(STRINGS ${musl_root}/static-built-using MUSL_STATIC_BUILT_USING)
    endif()
endif()

# The rest of the link comes from the compiler: GCC's own start and end
# files and runtime, which clang uses too.
foreach(file IN ITEMS crtbeginS.o crtendS.o libgcc.a libgcc_eh.a)
    execute_process(COMMAND ${CMAKE_CXX_COMPILER} -print-file-name=${file}
        OUTPUT_VARIABLE path OUTPUT_STRIP_TRAILING_WHITESPACE)
    string(MAKE_C_IDENTIFIER ${file} name)
    set(${name} ${path})
endforeach()
get_filename_component(GCC_RUNTIME_VERSION "${libgcc_a}" DIRECTORY)
get_filename_component(GCC_RUNTIME_VERSION "${GCC_RUNTIME_VERSION}" NAME)

if(EXISTS "${musl_lib}/libc.a" AND EXISTS "${musl_lib}/rcrt1.o")
    # Static position-independent, spelt out: some cross compilers ignore
    # -static-pie.  Objects are linked in this order: start files, the
    # program, the libraries (libgcc on armhf calls back into libc), end files.
    add_library(musl INTERFACE IMPORTED)
    target_include_directories(musl INTERFACE ${musl_include})
    target_compile_options(musl INTERFACE -nostdinc)
    target_link_options(musl INTERFACE -nostdlib -pie LINKER:-static,--no-dynamic-linker,-z,text
        ${musl_lib}/rcrt1.o ${musl_lib}/crti.o ${crtbeginS_o})
    target_link_libraries(musl INTERFACE -Wl,--start-group ${musl_lib}/libc.a ${libgcc_a}
        ${libgcc_eh_a} -Wl,--end-group ${crtendS_o} ${musl_lib}/crtn.o)
    set(CMAKE_REQUIRED_LIBRARIES musl)
    check_cxx_source_compiles([[
        #include <getopt.h>
        #include <math.h>
        #include <stdio.h>
        int main(int argc, char **argv) {
            return getopt_long(argc, argv, "", nullptr, nullptr) + printf("%f", atan(argc)) < 0;
        }]] MUSL_LINKS)
    unset(CMAKE_REQUIRED_LIBRARIES)
endif()
if(NOT MUSL_LINKS)
    set(how "install musl and its musl-gcc wrapper (Debian and Ubuntu: apt-get install musl-tools)")
    if(CROSS_ARCH)
        set(how "on a Debian host, install apt-get and dpkg-dev, which fetch the target's musl")
    endif()
    set(how "No musl for ${CMAKE_SYSTEM_PROCESSOR} that links: the programs are linked dynamically "
        "against the system's C library and start several times slower.  For static programs, "
        "${how}, or name a musl with -DMUSL_SYSROOT=DIR")
    if(NOT "$ENV{CI}" STREQUAL "")
        message(FATAL_ERROR "CI is set, where a static build must not fall back: ${how}")
    endif()
    message(WARNING ${how})
    return()
endif()
set(LINKAGE static-pie)
target_link_libraries(tool_options INTERFACE musl)

# musl keeps its version in libc.a as a string of its own.
file(STRINGS ${musl_lib}/libc.a MUSL_VERSION REGEX "^[0-9]+\\.[0-9]+\\.[0-9]+$" LIMIT_COUNT 1)

# Its copyright file: where dpkg owns libc.a, the package's own, which also
# names the source for the .deb; otherwise the sysroot's or the
# distribution's.
if(NOT MUSL_COPYRIGHT AND NOT musl_root)
    find_program(DPKG_QUERY dpkg-query)
    file(REAL_PATH ${musl_lib}/libc.a libc)
    if(DPKG_QUERY)
        execute_process(COMMAND ${DPKG_QUERY} -S ${libc}
            OUTPUT_VARIABLE owner OUTPUT_STRIP_TRAILING_WHITESPACE ERROR_QUIET)
        string(REGEX REPLACE ":.*" "" owner "${owner}")
    endif()
    if(owner)
        execute_process(COMMAND ${DPKG_QUERY} -W "-f=\${source:Package} (= \${source:Version})"
            ${owner} OUTPUT_VARIABLE MUSL_STATIC_BUILT_USING ERROR_QUIET)
        set(MUSL_COPYRIGHT /usr/share/doc/${owner}/copyright)
    else()
        file(GLOB MUSL_COPYRIGHT /usr/share/doc/musl*/copyright /usr/share/licenses/musl*/COPYRIGHT)
        list(POP_FRONT MUSL_COPYRIGHT MUSL_COPYRIGHT)
    endif()
elseif(NOT MUSL_COPYRIGHT)
    set(MUSL_COPYRIGHT ${musl_root}/COPYRIGHT)
endif()
if(NOT EXISTS "${MUSL_COPYRIGHT}")
    message(FATAL_ERROR "musl's copyright file, which every package of static programs must carry, "
        "was not found: name it with -DMUSL_COPYRIGHT=FILE (musl's source has it as COPYRIGHT)")
endif()
message(STATUS "The programs are linked static-pie with musl ${MUSL_VERSION} (${musl_lib}) "
    "and the runtime of GCC ${GCC_RUNTIME_VERSION}")
