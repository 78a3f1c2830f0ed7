# pevo_man_page(TARGET [SUMMARY text] [COMPONENT component])
#
# A section 1 manual page for the command-line tool TARGET, made by help2man from the
# text the tool itself prints for --help and --version, so the two never disagree. SUMMARY
# is the page's one-line description. The page is built with the tool and installed,
# compressed as Debian wants it, into share/man/man1 (with the tool's COMPONENT, if given).
# The target pevo-man-pages builds every tool's page.
find_program(PEVO_HELP2MAN help2man)
if(NOT TARGET pevo-man-pages)
    add_custom_target(pevo-man-pages ALL)
endif()

function(pevo_man_page target)
    cmake_parse_arguments(PARSE_ARGV 1 arg "" "SUMMARY;COMPONENT" "")
    if(NOT PEVO_HELP2MAN)
        message(WARNING "help2man is missing: ${target} gets no manual page")
        return()
    endif()
    if(NOT arg_SUMMARY)
        set(arg_SUMMARY "a tool of the Pevo level meter")
    endif()
    set(page "${CMAKE_CURRENT_BINARY_DIR}/${target}.1")
    add_custom_command(OUTPUT "${page}.gz"
        COMMAND "${PEVO_HELP2MAN}" --no-info --section 1 --name "${arg_SUMMARY}"
                --output "${page}" "$<TARGET_FILE:${target}>"
        COMMAND gzip -9 -n -f "${page}"
        DEPENDS ${target}
        COMMENT "Writing the manual page of ${target}"
        VERBATIM)
    add_custom_target(${target}-man-page ALL DEPENDS "${page}.gz")
    add_dependencies(pevo-man-pages ${target}-man-page)
    set(component)
    if(arg_COMPONENT)
        set(component COMPONENT ${arg_COMPONENT})
    endif()
    install(FILES "${page}.gz" DESTINATION share/man/man1 ${component})
endfunction()
