# In cross builds every GoogleTest program runs under Wine (the toolchain's emulator);
# its tests carry the label `wine`, unless the caller gives labels of its own.
function(gtest_discover_tests target)
    set(args ${ARGN})
    list(FIND args PROPERTIES properties)
    if(properties EQUAL -1)
        list(APPEND args PROPERTIES LABELS wine)
    else()
        # A later LABELS pair of the caller's replaces this one.
        math(EXPR properties "${properties} + 1")
        list(INSERT args ${properties} LABELS wine)
    endif()
    _gtest_discover_tests(${target} ${args})
endfunction()
