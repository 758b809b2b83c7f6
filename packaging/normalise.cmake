# SPDX-FileCopyrightText: 2026 The anglegrid-tools developers
# SPDX-License-Identifier: MIT
# Run by cpack after it writes each package and before it checksums it.
# What the packager's uid, umask and file system leaked into the bytes is
# put right here, so that whoever builds a commit gets the same packages.
foreach(package IN LISTS CPACK_PACKAGE_FILES)
    if(package MATCHES "\\.tar\\.gz$")
        # The archive generator records the packager as the owner of every
        # entry (root unpacks it so, and that user could then replace the
        # programs), and adds entries in the order the folder lists them.
        # Written again from the same staging folder: owned by root, sorted.
        # The modes are already right (permissions.cmake ran before).
        set(mtime)
        if(NOT "$ENV{SOURCE_DATE_EPOCH}" STREQUAL "")
            set(mtime --mtime=@$ENV{SOURCE_DATE_EPOCH})
        endif()
        get_filename_component(top "${CPACK_TEMPORARY_DIRECTORY}" NAME)
        execute_process(
            COMMAND ${TAR_PROGRAM} --create --format=gnu --sort=name --owner=0 --group=0
                --numeric-owner ${mtime} --directory=${CPACK_TOPLEVEL_DIRECTORY} ${top}
            COMMAND ${GZIP_PROGRAM} -9n
            OUTPUT_FILE ${package}
            COMMAND_ERROR_IS_FATAL ANY)
    elseif(package MATCHES "\\.deb$")
        # The outer ar members (debian-binary, control, data) take their mode
        # from the umask; dpkg writes them 0644.  Each 60-byte member header
        # holds the mode at byte 40 and the size at byte 48.
        file(SIZE ${package} size)
        set(header 8) # after "!<arch>\n"
        while(header LESS size)
            file(READ ${package} fields OFFSET ${header} LIMIT 60)
            string(SUBSTRING "${fields}" 48 10 length)
            string(STRIP "${length}" length)
            math(EXPR mode "${header} + 40")
            execute_process(COMMAND printf 100644
                COMMAND dd of=${package} bs=1 seek=${mode} conv=notrunc status=none
                COMMAND_ERROR_IS_FATAL ANY)
            # Members start on even offsets.
            math(EXPR header "${header} + 60 + ${length} + ${length} % 2")
        endwhile()
    endif()
endforeach()
