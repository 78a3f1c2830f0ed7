# A plug-in's window tests: its editor in a real host window (tests/host's fixture), with
# the real pointer, driven through the built library `plugin` only. They need an X server
# (under Wine too) and xdotool, and run one at a time with the other window tests: they
# share the server's pointer.
function(pevo_window_tests target plugin test_source)
    set(host_dir ${PROJECT_SOURCE_DIR}/tests/host)
    add_executable(${target}
        ${test_source}
        ${host_dir}/host_window_fixture.cpp
        ${host_dir}/host_window_fixture.h
        ${host_dir}/pointer_gesture.cpp
        ${host_dir}/pointer_gesture.h
        ${host_dir}/test_host.cpp
        ${host_dir}/test_host.h
    )
    find_package(Threads REQUIRED)
    target_link_libraries(${target} PRIVATE
        pevo_plugin_loader pevo_host_window Threads::Threads GTest::gtest_main)
    target_compile_definitions(${target} PRIVATE
        "PEVO_PLUGIN_FILE_NAME=\"$<TARGET_FILE_NAME:${plugin}>\"")
    add_dependencies(${target} ${plugin})
    if(WIN32)
        set(labels wine)
    else()
        set(labels display)
    endif()
    gtest_discover_tests(${target}
        PROPERTIES ENVIRONMENT "PEVO_PLUGIN=$<TARGET_FILE:${plugin}>"
                   LABELS ${labels} RESOURCE_LOCK x_server
    )
endfunction()
