# -DSTATUSBAR_SANITIZE=address builds everything with AddressSanitizer and UndefinedBehaviorSanitizer
# (undefined behaviour stops the program as a memory error does); -DSTATUSBAR_SANITIZE=thread with
# ThreadSanitizer. scripts/run-sanitizers.sh configures, builds and runs the suite either way.
set(STATUSBAR_SANITIZE "" CACHE STRING "Sanitizer to build with: empty, address (with undefined) or thread")
set_property(CACHE STATUSBAR_SANITIZE PROPERTY STRINGS "" address thread)
if(STATUSBAR_SANITIZE STREQUAL "address")
    set(STATUSBAR_SANITIZER_FLAGS -fsanitize=address,undefined -fno-sanitize-recover=all)
elseif(STATUSBAR_SANITIZE STREQUAL "thread")
    set(STATUSBAR_SANITIZER_FLAGS -fsanitize=thread)
elseif(STATUSBAR_SANITIZE)
    message(FATAL_ERROR "STATUSBAR_SANITIZE is \"${STATUSBAR_SANITIZE}\"; it must be empty, address or thread")
endif()
if(STATUSBAR_SANITIZER_FLAGS)
    add_compile_options(${STATUSBAR_SANITIZER_FLAGS} -fno-omit-frame-pointer)
    add_link_options(${STATUSBAR_SANITIZER_FLAGS})
endif()

# -DSTATUSBAR_FUZZ=ON (Clang only) instruments everything for libFuzzer's coverage and builds the
# fuzz targets in fuzz/; scripts/run-fuzz.sh configures it together with the address sanitizer.
option(STATUSBAR_FUZZ "Build the libFuzzer targets for the settings file readers (Clang)" OFF)
if(STATUSBAR_FUZZ)
    add_compile_options(-fsanitize=fuzzer-no-link)
endif()

# statusbar_keep_modules_loaded(target): in an AddressSanitizer build, libraries stay loaded until the
# program's leak check (see keepmodulesloaded.cpp); elsewhere it does nothing.
if(STATUSBAR_SANITIZE STREQUAL "address")
    add_library(statusbar_keepmodules OBJECT ${CMAKE_CURRENT_LIST_DIR}/keepmodulesloaded.cpp)
endif()
function(statusbar_keep_modules_loaded target)
    if(TARGET statusbar_keepmodules)
        target_link_libraries(${target} PRIVATE statusbar_keepmodules)
    endif()
endfunction()
