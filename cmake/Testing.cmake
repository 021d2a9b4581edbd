# SPDX-License-Identifier: MIT
# expander_add_test(NAME SOURCES... LIBS ...): one test executable per tested unit or core.
# Tests run on the offscreen platform so that none needs a display.
set(EXPANDER_TEST_ENVIRONMENT "QT_QPA_PLATFORM=offscreen;QT_LOGGING_RULES=qt.qpa.*=false")
# A Windows build's tests run under Wine, which keeps the host's QT_ variables from Windows
# programs and hands them WINEQT_ ones as QT_.
if(WIN32 AND CMAKE_CROSSCOMPILING)
    list(APPEND EXPANDER_TEST_ENVIRONMENT "WINEQT_QPA_PLATFORM=offscreen")
endif()

function(expander_add_test name)
    cmake_parse_arguments(ARG "" "TIMEOUT" "SOURCES;LIBS;LABELS" ${ARGN})
    add_executable(${name} ${ARG_SOURCES})
    target_link_libraries(${name} PRIVATE Qt6::Test ${ARG_LIBS})
    add_test(NAME ${name} COMMAND ${name})
    if(NOT ARG_TIMEOUT)
        set(ARG_TIMEOUT 120)
    endif()
    set_tests_properties(${name} PROPERTIES
        TIMEOUT ${ARG_TIMEOUT}
        LABELS "${ARG_LABELS}"
        ENVIRONMENT "${EXPANDER_TEST_ENVIRONMENT}")
endfunction()
