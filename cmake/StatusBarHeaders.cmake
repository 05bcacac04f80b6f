# statusbar_forward_headers(<prefix> <header>...)
#
# Writes a forwarding header ${STATUSBAR_INCLUDE_DIR}/<prefix>/<name> for each header, so that the
# sources include every project header as <prefix/name.h>, exactly as a terminal includes the
# installed headers. The real headers stay beside their sources.
set(STATUSBAR_INCLUDE_DIR ${PROJECT_BINARY_DIR}/include)

function(statusbar_forward_headers prefix)
    foreach(header IN LISTS ARGN)
        get_filename_component(absolute ${header} ABSOLUTE)
        get_filename_component(name ${header} NAME)
        file(CONFIGURE OUTPUT ${STATUSBAR_INCLUDE_DIR}/${prefix}/${name}
             CONTENT "#pragma once\n#include \"${absolute}\"\n" @ONLY)
    endforeach()
endfunction()
