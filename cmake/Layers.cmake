# SPDX-License-Identifier: MIT
# Each target states the headers it offers. A library's headers appear, under their usual
# "folder/Header.h" names, in a folder of its own in the build tree (as symbolic links to the
# sources), and that folder is the library's PUBLIC include path. A target therefore finds its own
# headers and those of the libraries it links, and nothing else: a layer that includes a header of
# a layer above it, or of one it does not link, fails to build. Every header must be listed among
# its target's sources.
#
# Where symbolic links cannot be made (a Windows host) the project root is the include path
# instead, and the check is left to the builds on other hosts.

function(expander_offer_headers target)
    get_target_property(type ${target} TYPE)
    set(scope PUBLIC)
    if(type STREQUAL "EXECUTABLE")
        set(scope PRIVATE)
    endif()
    if(CMAKE_HOST_WIN32)
        target_include_directories(${target} ${scope} ${PROJECT_SOURCE_DIR})
        return()
    endif()
    get_target_property(sources ${target} SOURCES)
    get_target_property(folder ${target} SOURCE_DIR)
    set(view ${CMAKE_BINARY_DIR}/headers/${target})
    file(REMOVE_RECURSE ${view})
    foreach(source IN LISTS sources)
        if(NOT source MATCHES "\\.h$")
            continue()
        endif()
        cmake_path(ABSOLUTE_PATH source BASE_DIRECTORY ${folder} OUTPUT_VARIABLE header)
        cmake_path(RELATIVE_PATH header BASE_DIRECTORY ${PROJECT_SOURCE_DIR} OUTPUT_VARIABLE name)
        cmake_path(GET name PARENT_PATH parent)
        file(MAKE_DIRECTORY ${view}/${parent})
        file(CREATE_LINK ${header} ${view}/${name} SYMBOLIC)
    endforeach()
    target_include_directories(${target} ${scope} ${view})
endfunction()
