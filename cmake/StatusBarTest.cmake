# statusbar_add_test(NAME sources... [LIBS libs...])
# One QtTest executable per area, registered with CTest. Each test runs with the offscreen-safe
# environment the web engine needs as root on a machine without GPU.
set(STATUSBAR_TEST_ENVIRONMENT
    "QTWEBENGINE_DISABLE_SANDBOX=1;QTWEBENGINE_CHROMIUM_FLAGS=--disable-gpu --disable-dev-shm-usage;QT_QPA_PLATFORM=xcb;QT_SCALE_FACTOR=1")
function(statusbar_add_test name)
    cmake_parse_arguments(ARG "" "" "LIBS" ${ARGN})
    add_executable(${name} ${ARG_UNPARSED_ARGUMENTS})
    target_link_libraries(${name} PRIVATE Qt5::Test StatusBar::testsupport ${ARG_LIBS})
    statusbar_keep_modules_loaded(${name})
    add_test(NAME ${name} COMMAND ${name})
    set_tests_properties(${name} PROPERTIES TIMEOUT 300 ENVIRONMENT "${STATUSBAR_TEST_ENVIRONMENT}")
endfunction()

# statusbar_add_screen_test(NAME TARGET SCREEN [FUNCTION...])
# Runs test functions of TARGET again in an X server of their own whose one screen is SCREEN
# (e.g. 1366x768), for what depends on the screen's size; the suite's own server is larger.
find_program(STATUSBAR_XVFB_RUN xvfb-run)
function(statusbar_add_screen_test name target screen)
    if(NOT STATUSBAR_XVFB_RUN)
        message(WARNING "xvfb-run not found: ${name} is not registered (install xvfb and xauth)")
        return()
    endif()
    add_test(NAME ${name} COMMAND ${STATUSBAR_XVFB_RUN} -a -s "-screen 0 ${screen}x24" $<TARGET_FILE:${target}> ${ARGN})
    set_tests_properties(${name} PROPERTIES TIMEOUT 300 ENVIRONMENT "${STATUSBAR_TEST_ENVIRONMENT}")
endfunction()
