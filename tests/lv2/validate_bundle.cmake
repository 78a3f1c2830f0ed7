# Runs lv2_validate (sord_validate with the LV2 schemas) over every Turtle file of BUNDLE;
# fails on a failing exit, on any error or warning, and unless it counts no errors.
file(GLOB turtle "${BUNDLE}/*.ttl")
if(NOT turtle)
    message(FATAL_ERROR "no Turtle in ${BUNDLE}")
endif()
execute_process(COMMAND lv2_validate ${turtle}
    RESULT_VARIABLE result OUTPUT_VARIABLE output ERROR_VARIABLE output)
if(NOT result EQUAL 0 OR output MATCHES "(error|warning):" OR
   NOT output MATCHES "Found 0 errors")
    message(FATAL_ERROR "lv2_validate (exit ${result}):\n${output}")
endif()
message(STATUS "lv2_validate: ${output}")
