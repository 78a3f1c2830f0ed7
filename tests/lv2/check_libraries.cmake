# The bundle's two libraries as a host machine meets them: each exports its entry point
# alone, and the UI library holds none of the meters' processing.
# Usage: cmake -DNM=<nm> -DPLUGINS=<pevo_lv2.so> -DPANELS=<pevo_lv2_ui.so> -P check_libraries.cmake
function(exported library wanted)
    execute_process(COMMAND ${NM} -D --defined-only ${library}
        OUTPUT_VARIABLE listing RESULT_VARIABLE status)
    string(REGEX MATCHALL "[^ \n]+\n" names "${listing}")
    string(REPLACE "\n" "" names "${names}")
    if(NOT status EQUAL 0 OR NOT names STREQUAL "${wanted}")
        message(FATAL_ERROR "${library} exports '${names}', not ${wanted}")
    endif()
endfunction()
exported(${PLUGINS} lv2_descriptor)
exported(${PANELS} lv2ui_descriptor)

execute_process(COMMAND ${NM} -C ${PANELS} OUTPUT_VARIABLE listing RESULT_VARIABLE status)
# Code only: a constant that a build keeps as a symbol of its own is no processing.
string(REGEX MATCHALL "[^\n]* [TtWw] [^\n]*(MeterEngine|Detector|LoudnessMeter|KWeighting|TruePeak|ADelay|LoudnessEffect)::[^\n]*"
       processing "${listing}")
if(NOT status EQUAL 0 OR processing)
    message(FATAL_ERROR "the UI library holds processing:\n${processing}")
endif()
