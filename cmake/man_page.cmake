# pevo_man_page(TARGET NAME): the manual page of the command-line program TARGET, made by
# help2man from the program's own --help and --version when it is built, so that the page
# and the help never disagree. NAME is the one-line description of the page's NAME section.
# The page is installed, compressed, into share/man/man1 with the program.
find_program(PEVO_HELP2MAN help2man)
find_program(PEVO_GZIP gzip)

function(pevo_man_page target name)
    if(NOT PEVO_HELP2MAN OR NOT PEVO_GZIP)
        message(WARNING "help2man or gzip not found: no manual page for ${target}")
        return()
    endif()
    set(page ${CMAKE_CURRENT_BINARY_DIR}/${target}.1)
    add_custom_command(OUTPUT ${page}.gz
        COMMAND ${PEVO_HELP2MAN} --no-info --section=1 --name=${name} --output=${page}
                $<TARGET_FILE:${target}>
        COMMAND ${PEVO_GZIP} -9nf ${page}
        DEPENDS ${target}
        COMMENT "Making the manual page of ${target}"
        VERBATIM)
    add_custom_target(${target}-man ALL DEPENDS ${page}.gz)
    install(FILES ${page}.gz DESTINATION share/man/man1 COMPONENT host)
endfunction()
