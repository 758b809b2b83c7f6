# SPDX-FileCopyrightText: 2026 The anglegrid-tools developers
# SPDX-License-Identifier: MIT
# Cross-building with Debian's cross compilers, for the architecture that
# the cache variable CROSS_ARCH names (Debian's name, e.g. arm64): the
# compiler, the C library's folder and the emulator the tests run the
# programs under (qemu-user) all follow from its row in architectures.txt.
include(${CMAKE_CURRENT_LIST_DIR}/architectures.cmake)
# try_compile projects read this file again, and need the name too.
list(APPEND CMAKE_TRY_COMPILE_PLATFORM_VARIABLES CROSS_ARCH)
architecture(debian "${CROSS_ARCH}")
if(NOT ARCH_TRIPLET)
    message(FATAL_ERROR
        "CROSS_ARCH: '${CROSS_ARCH}' is not in ${CMAKE_CURRENT_LIST_DIR}/architectures.txt")
endif()

set(CMAKE_SYSTEM_NAME Linux)
set(CMAKE_SYSTEM_PROCESSOR ${ARCH_PROCESSOR})
set(CMAKE_CXX_COMPILER ${ARCH_TRIPLET}-g++)

# -L lets a dynamically linked build find the target's C library.
find_program(QEMU_${ARCH_QEMU} qemu-${ARCH_QEMU} REQUIRED)
set(CMAKE_CROSSCOMPILING_EMULATOR ${QEMU_${ARCH_QEMU}} -L /usr/${ARCH_TRIPLET})
