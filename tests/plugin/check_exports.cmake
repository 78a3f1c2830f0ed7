# Fails unless the plug-in library exports exactly its entry points: the two VST 2 ones, or
# those given as EXPECTED (a sorted list).
# Usage: cmake -DNM=<nm> -DLIBRARY=<Pevo.so> [-DEXPECTED=<names>] -P check_exports.cmake
if(NOT DEFINED EXPECTED)
    set(EXPECTED "VSTPluginMain;main")
endif()
execute_process(COMMAND ${NM} -D --defined-only ${LIBRARY}
    OUTPUT_VARIABLE listing RESULT_VARIABLE status)
if(NOT status EQUAL 0)
    message(FATAL_ERROR "${NM} failed on ${LIBRARY}")
endif()
string(REGEX MATCHALL "[^\n]+" lines "${listing}")
set(names "")
foreach(line IN LISTS lines)
    string(REGEX REPLACE "^.* " "" name "${line}")
    list(APPEND names ${name})
endforeach()
list(SORT names)
if(NOT names STREQUAL EXPECTED)
    message(FATAL_ERROR "exported: ${names}; expected exactly ${EXPECTED}")
endif()
