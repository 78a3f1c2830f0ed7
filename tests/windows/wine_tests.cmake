# In cross builds every GoogleTest program runs under Wine (the toolchain's emulator);
# its tests carry the label `wine` unless the caller sets properties of its own.
function(gtest_discover_tests target)
    if("PROPERTIES" IN_LIST ARGN)
        _gtest_discover_tests(${target} ${ARGN})
    else()
        _gtest_discover_tests(${target} ${ARGN} PROPERTIES LABELS wine)
    endif()
endfunction()
