# A product's plug-in library around its entry point (the product's source defining
# VSTPluginMain through createEffect), built next to the build root: the entry points are
# the only symbols that leave it. Windows: exported through the module-definition file,
# undecorated, and the load hook keeps the module handle. Elsewhere: `main` as an alias
# for older hosts, and a version script that also keeps the standard library's template
# instances inside.
function(pevo_plugin_library target entry_source)
    set(plugin_dir ${PROJECT_SOURCE_DIR}/plugin)
    add_library(${target} MODULE ${entry_source} ${plugin_dir}/vst_main.h)
    set_target_properties(${target} PROPERTIES
        PREFIX ""
        LIBRARY_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}
    )
    if(WIN32)
        target_compile_definitions(${target} PRIVATE PEVO_ENTRY=)
        target_sources(${target} PRIVATE ${plugin_dir}/dll_main_win32.cpp ${plugin_dir}/pevo.def)
        if(CMAKE_SIZEOF_VOID_P EQUAL 8)
            set_target_properties(${target} PROPERTIES OUTPUT_NAME ${target}64)
        endif()
    else()
        target_sources(${target} PRIVATE ${plugin_dir}/vst_main_alias.cpp)
        target_compile_definitions(${target} PRIVATE
            "PEVO_ENTRY=__attribute__((visibility(\"default\")))")
        # Clang links its sanitizer and coverage runtimes into programs only: an
        # instrumented plug-in leaves those symbols to the instrumented program that loads it.
        if((PEVO_SANITIZER OR PEVO_FUZZ) AND CMAKE_CXX_COMPILER_ID MATCHES "Clang")
            set(no_undefined "")
        else()
            set(no_undefined -Wl,--no-undefined)
        endif()
        target_link_options(${target} PRIVATE ${no_undefined}
            -Wl,--version-script=${plugin_dir}/exports.map)
        set_property(TARGET ${target} APPEND PROPERTY LINK_DEPENDS ${plugin_dir}/exports.map)
    endif()
endfunction()
