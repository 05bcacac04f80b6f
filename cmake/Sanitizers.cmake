# -DSTATUSBAR_SANITIZE=thread|address builds everything with that sanitizer.
set(STATUSBAR_SANITIZE "" CACHE STRING "Sanitizer to build with: empty, thread or address")
if(STATUSBAR_SANITIZE)
    add_compile_options(-fsanitize=${STATUSBAR_SANITIZE} -fno-omit-frame-pointer)
    add_link_options(-fsanitize=${STATUSBAR_SANITIZE})
endif()
