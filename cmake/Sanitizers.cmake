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
