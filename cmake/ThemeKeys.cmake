# The resource keys the module's code names, for the theme check of CUiResource: a theme that lacks
# one is refused. Included, it offers statusbar_theme_key_sources() for the build's dependencies; run
# as a script (cmake -DSOURCE_DIR=<repo> -DOUTPUT=<file> -P ThemeKeys.cmake) it writes the keys as
# C string literals, one a line, and leaves the file alone when they have not changed.
set(STATUSBAR_THEME_KEY_PATTERN "\"(clr|fnt|img|tc_img|tc_siz|tc_clr|tc_fnt|ic_clr)_[A-Za-z0-9_]+\"")

function(statusbar_theme_key_sources out source_dir)
    set(patterns)
    foreach(folder host statusbar items diagnostics companions)
        list(APPEND patterns ${source_dir}/${folder}/*.cpp ${source_dir}/${folder}/*.h)
    endforeach()
    if(CMAKE_SCRIPT_MODE_FILE)
        file(GLOB_RECURSE sources ${patterns})
    else()
        file(GLOB_RECURSE sources CONFIGURE_DEPENDS ${patterns}) # a new source file reconfigures
    endif()
    set(${out} ${sources} PARENT_SCOPE)
endfunction()

if(CMAKE_SCRIPT_MODE_FILE)
    statusbar_theme_key_sources(sources ${SOURCE_DIR})
    set(keys)
    foreach(source ${sources})
        file(READ ${source} text)
        string(REGEX MATCHALL "${STATUSBAR_THEME_KEY_PATTERN}" found "${text}")
        list(APPEND keys ${found})
    endforeach()
    list(REMOVE_DUPLICATES keys)
    list(SORT keys)
    list(JOIN keys ",\n" content)
    file(CONFIGURE OUTPUT ${OUTPUT} CONTENT "${content}\n" @ONLY)
endif()
