# The install and the Debian package as users and lintian meet them. Run by ctest:
#   cmake -DBUILD=<build tree> -DSCRATCH=<empty folder> -DMODE=<home|package> -P package_test.cmake
#   home     a user install run with another HOME than at configure time puts both VST 2
#            plug-ins in that HOME's ~/.vst, Pevo.clap in its ~/.clap and the LV2 bundle in
#            its ~/.lv2 (installed under DESTDIR, so nothing leaves SCRATCH)
#   package  the .deb passes lintian without errors and carries the licence, the
#            changelog, the plug-ins, the LV2 bundle, both tools and their man pages
file(REMOVE_RECURSE "${SCRATCH}")
file(MAKE_DIRECTORY "${SCRATCH}")

function(run)
    execute_process(COMMAND ${ARGN} RESULT_VARIABLE status OUTPUT_VARIABLE out
                    ERROR_VARIABLE out)
    if(NOT status EQUAL 0)
        message(FATAL_ERROR "${ARGN} failed (${status}):\n${out}")
    endif()
    set(out "${out}" PARENT_SCOPE)
endfunction()

if(MODE STREQUAL "home")
    run(${CMAKE_COMMAND} -E env HOME=/home/another DESTDIR=${SCRATCH}
        ${CMAKE_COMMAND} --install ${BUILD} --component plugin)
    file(GLOB_RECURSE installed RELATIVE "${SCRATCH}" "${SCRATCH}/*")
    set(bundle home/another/.lv2/pevo.lv2)
    set(wanted "home/another/.clap/Pevo.clap;${bundle}/manifest.ttl"
               "${bundle}/pevo_level_meter.ttl;${bundle}/pevo_loudness_meter.ttl"
               "${bundle}/pevo_lv2.so;${bundle}/pevo_lv2_ui.so"
               "home/another/.vst/Pevo.so;home/another/.vst/PevoLoudness.so")
    if(NOT installed STREQUAL wanted)
        message(FATAL_ERROR "installed ${installed}, not ${wanted}")
    endif()
elseif(MODE STREQUAL "package")
    run(cpack --config ${BUILD}/CPackConfig.cmake -B ${SCRATCH})
    file(GLOB package "${SCRATCH}/*.deb")
    run(dpkg-deb --contents ${package})
    foreach(wanted usr/share/doc/pevo/copyright usr/share/doc/pevo/changelog.gz
                   usr/share/man/man1/pevo-host.1.gz usr/share/man/man1/pevo-loudness.1.gz
                   usr/lib/vst/Pevo.so usr/lib/vst/PevoLoudness.so usr/lib/clap/Pevo.clap
                   usr/lib/lv2/pevo.lv2/manifest.ttl usr/lib/lv2/pevo.lv2/pevo_lv2.so
                   usr/lib/lv2/pevo.lv2/pevo_lv2_ui.so usr/bin/pevo-host
                   usr/bin/pevo-loudness)
        if(NOT out MATCHES "\\./${wanted}\n")
            message(FATAL_ERROR "the package lacks ${wanted}:\n${out}")
        endif()
    endforeach()
    run(lintian --fail-on error ${package})
    message(STATUS "lintian:\n${out}")
else()
    message(FATAL_ERROR "unknown MODE ${MODE}")
endif()
