# Where `cmake --install` puts the plug-ins, and the packages `cpack` makes.
#
# Linux: a user install (the default prefix, ~/.local) puts Pevo.so and PevoLoudness.so in
# ~/.vst, Pevo.clap in ~/.clap and the LV2 bundle pevo.lv2 in ~/.lv2, where hosts look,
# and pevo-host and pevo-loudness in ~/.local/bin; any other prefix, such as /usr for a
# system install or a Debian package, puts the VST 2 plug-ins in PREFIX/lib/vst, Pevo.clap
# in PREFIX/lib/clap, the LV2 bundle in PREFIX/lib/lv2 and the programs
# in PREFIX/bin. The folder is chosen when installing, so
# that `cmake --install --prefix` chooses it too, and ~ is the home of whoever installs,
# which need not be whoever configured the build. The licence, the changelog and the man
# pages go where Debian wants them.
#
# Windows: each build installs its two DLLs at the top of its tree and its Pevo.clap in a
# folder named after the processor (x86, x64), and the package of either build is one zip of
# all six files, made from both build folders.

set(CPACK_PACKAGE_NAME pevo)
set(CPACK_PACKAGE_VENDOR Quellmark)
set(CPACK_PACKAGE_CONTACT "Quellmark <pevo@quellmark.org>")
set(CPACK_STRIP_FILES ON)
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY
    "level and loudness meter VST 2 and CLAP plug-ins, and tools to meter files and measure loudness")

if(WIN32)
    install(TARGETS Pevo PevoLoudness LIBRARY DESTINATION . COMPONENT plugin)
    if(CMAKE_SIZEOF_VOID_P EQUAL 8)
        install(TARGETS PevoClap LIBRARY DESTINATION x64 COMPONENT plugin)
    else()
        install(TARGETS PevoClap LIBRARY DESTINATION x86 COMPONENT plugin)
    endif()
    set(PEVO_WINDOWS_BUILDS "${PROJECT_SOURCE_DIR}/build/win32;${PROJECT_SOURCE_DIR}/build/win64"
        CACHE STRING "The Windows build folders whose plug-ins the zip takes")
    set(CPACK_GENERATOR ZIP)
    set(CPACK_SYSTEM_NAME windows)
    set(CPACK_INSTALL_CMAKE_PROJECTS)
    foreach(tree IN LISTS PEVO_WINDOWS_BUILDS)
        list(APPEND CPACK_INSTALL_CMAKE_PROJECTS "${tree}" Pevo plugin /)
    endforeach()
else()
    install(CODE "set(pevo_strip \"${CMAKE_STRIP}\")" COMPONENT plugin)
    # The prefix configured for a user install, which stays one whoever runs the install.
    set(pevo_user_prefix "")
    if(CMAKE_INSTALL_PREFIX STREQUAL "$ENV{HOME}/.local")
        set(pevo_user_prefix "${CMAKE_INSTALL_PREFIX}")
    endif()
    install(CODE "set(pevo_user_prefix \"${pevo_user_prefix}\")" COMPONENT plugin)
    install(CODE "set(pevo_lv2_bundle \"${PEVO_LV2_BUNDLE}\")" COMPONENT plugin)
    install(CODE [[
        if((pevo_user_prefix AND CMAKE_INSTALL_PREFIX STREQUAL pevo_user_prefix) OR
           CMAKE_INSTALL_PREFIX STREQUAL "$ENV{HOME}/.local")
            set(pevo_vst_folder "$ENV{HOME}/.vst")
            set(pevo_clap_folder "$ENV{HOME}/.clap")
            set(pevo_lv2_folder "$ENV{HOME}/.lv2")
        else()
            set(pevo_vst_folder "${CMAKE_INSTALL_PREFIX}/lib/vst")
            set(pevo_clap_folder "${CMAKE_INSTALL_PREFIX}/lib/clap")
            set(pevo_lv2_folder "${CMAKE_INSTALL_PREFIX}/lib/lv2")
        endif()
        file(INSTALL DESTINATION "${pevo_lv2_folder}" TYPE DIRECTORY FILES "${pevo_lv2_bundle}"
             FILES_MATCHING PATTERN "*.ttl" PATTERN "*.so" PERMISSIONS OWNER_READ OWNER_WRITE
             GROUP_READ WORLD_READ)
        if(CMAKE_INSTALL_DO_STRIP AND pevo_strip)
            file(GLOB pevo_lv2_libraries "$ENV{DESTDIR}${pevo_lv2_folder}/pevo.lv2/*.so")
            foreach(pevo_library IN LISTS pevo_lv2_libraries)
                execute_process(COMMAND "${pevo_strip}" --strip-unneeded "${pevo_library}")
            endforeach()
        endif()
        foreach(pevo_module "$<TARGET_FILE:Pevo>" "$<TARGET_FILE:PevoLoudness>"
                            "$<TARGET_FILE:PevoClap>")
            set(pevo_folder "${pevo_vst_folder}")
            if(pevo_module MATCHES "[.]clap$")
                set(pevo_folder "${pevo_clap_folder}")
            endif()
            file(INSTALL DESTINATION "${pevo_folder}" TYPE MODULE FILES "${pevo_module}")
            if(CMAKE_INSTALL_DO_STRIP AND pevo_strip)
                get_filename_component(pevo_name "${pevo_module}" NAME)
                execute_process(COMMAND "${pevo_strip}" --strip-unneeded
                                        "$ENV{DESTDIR}${pevo_folder}/${pevo_name}")
            endif()
        endforeach()
    ]] COMPONENT plugin)
    set(pevo_changelog "${PROJECT_BINARY_DIR}/changelog.gz")
    add_custom_command(OUTPUT "${pevo_changelog}"
        COMMAND gzip -9 -n -c "${PROJECT_SOURCE_DIR}/tools/package/changelog" > "${pevo_changelog}"
        DEPENDS "${PROJECT_SOURCE_DIR}/tools/package/changelog")
    add_custom_target(pevo-changelog ALL DEPENDS "${pevo_changelog}")
    install(FILES tools/package/copyright "${pevo_changelog}"
            DESTINATION share/doc/pevo COMPONENT doc)
    set(CPACK_GENERATOR DEB)
    set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
    set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
    set(CPACK_DEBIAN_PACKAGE_SECTION sound)
    set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
    set(CPACK_DEBIAN_PACKAGE_HOMEPAGE "https://quellmark.org/pevo")
    set(CPACK_DEBIAN_PACKAGE_DESCRIPTION "\
Pevo measures the RMS, peak and held peak levels of two channels (left and
right, mid and side, or mono) and shows them in its editor; hosts read them as
parameters. Both meters come as VST 2 plug-ins and together in one CLAP
plug-in. pevo-host meters sound files through it, or through any VST 2
plug-in, from the command line; pevo-loudness measures their loudness (LUFS),
loudness range and true peak as EBU R 128 asks.")
endif()

include(CPack)
