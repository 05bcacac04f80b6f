# statusbar_add_test(NAME sources... [LIBS libs...])
# One QtTest executable per area, registered with CTest. Each test runs with the offscreen-safe
# environment the web engine needs as root on a machine without GPU.
function(statusbar_add_test name)
    cmake_parse_arguments(ARG "" "" "LIBS" ${ARGN})
    add_executable(${name} ${ARG_UNPARSED_ARGUMENTS})
    target_link_libraries(${name} PRIVATE Qt5::Test StatusBar::testsupport ${ARG_LIBS})
    statusbar_keep_modules_loaded(${name})
    add_test(NAME ${name} COMMAND ${name})
    set_tests_properties(${name} PROPERTIES
        TIMEOUT 300
        ENVIRONMENT "QTWEBENGINE_DISABLE_SANDBOX=1;QTWEBENGINE_CHROMIUM_FLAGS=--disable-gpu --disable-dev-shm-usage;QT_QPA_PLATFORM=xcb;QT_SCALE_FACTOR=1")
endfunction()
