# Builds bitmap files into a target, each as the resource of its number, read back through
# loadSoftBitmap. Without files given, the editor's: every file of resources/bitmaps.
function(pevo_embed_bitmaps target)
    set(script ${CMAKE_CURRENT_FUNCTION_LIST_DIR}/embed_bitmaps_generate.cmake)
    if(ARGN)
        set(bitmaps ${ARGN})
        set(output ${CMAKE_CURRENT_BINARY_DIR}/${target}_bitmaps.cpp)
    else()
        pevo_bitmap_files(bitmaps)
        set(output ${CMAKE_CURRENT_BINARY_DIR}/embedded_bitmaps.cpp)
    endif()
    add_custom_command(
        OUTPUT ${output}
        COMMAND ${CMAKE_COMMAND} -DOUTPUT=${output} "-DINPUTS=${bitmaps}"
                -P ${script}
        DEPENDS ${bitmaps} ${script}
                ${PROJECT_SOURCE_DIR}/resources/bitmaps.cmake
        COMMENT "Embedding the editor bitmaps"
        VERBATIM)
    target_sources(${target} PRIVATE ${output})
endfunction()
