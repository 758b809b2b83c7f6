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
    set(match "")
    foreach(row IN LISTS rows)
        string(REGEX REPLACE "[ \t]+" ";" row "${row}")
        list(GET row ${index} field)
        if(field STREQUAL value)
            set(match ${row})
        endif()
    endforeach()
    # Past the end of an empty match, each field is undefined: empty.
    foreach(name field IN ZIP_LISTS columns match)
        set(ARCH_${name} "${field}" PARENT_SCOPE)
    endforeach()
endfunction()
