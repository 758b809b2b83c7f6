# SPDX-FileCopyrightText: 2026 The anglegrid-tools developers
# SPDX-License-Identifier: MIT
# architecture(COLUMN VALUE): the row of architectures.txt whose COLUMN
# (debian, triplet, processor, rpm or qemu) is VALUE, as the variables
# ARCH_DEBIAN, ARCH_TRIPLET, ARCH_PROCESSOR, ARCH_RPM and ARCH_QEMU; all
# empty when no row matches.
function(architecture column value)
    set(columns DEBIAN TRIPLET PROCESSOR RPM QEMU)
    string(TOUPPER ${column} column)
    list(FIND columns ${column} index)
    file(STRINGS ${CMAKE_CURRENT_FUNCTION_LIST_DIR}/architectures.txt rows REGEX "^[^#]")
    foreach(name IN LISTS columns)
        set(ARCH_${name} "" PARENT_SCOPE)
    endforeach()
    foreach(row IN LISTS rows)
        string(REGEX REPLACE "[ \t]+" ";" fields "${row}")
        list(GET fields ${index} field)
        if(field STREQUAL value)
            foreach(name field IN ZIP_LISTS columns fields)
                set(ARCH_${name} ${field} PARENT_SCOPE)
            endforeach()
            return()
        endif()
    endforeach()
endfunction()
