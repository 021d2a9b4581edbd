# SPDX-License-Identifier: MIT
cmake_minimum_required(VERSION 3.25)
# Fails when program code includes a header that exists only on POSIX systems: the program must
# build on Windows. Run as cmake -DSOURCE_DIR=<source tree> -P CheckPortableIncludes.cmake.
# Every folder is program code except the simulator, the tests, the benchmarks, the fuzzers and
# the test fakes (pseudo-terminals are theirs), and build folders.
set(posix_only "unistd\\.h|termios\\.h|fcntl\\.h|pty\\.h|poll\\.h|signal\\.h|csignal|dirent\\.h|dlfcn\\.h|pwd\\.h|grp\\.h|pthread\\.h|sys/[^>]+")
set(not_program "^(sim|tests|bench|fuzz|platform/fake|build[^/]*)/")
# Files that still include one, until they are moved to Qt's API.
set(known_exceptions)

file(GLOB_RECURSE sources RELATIVE "${SOURCE_DIR}" "${SOURCE_DIR}/*.cpp" "${SOURCE_DIR}/*.h")
set(offenders)
foreach(source IN LISTS sources)
    if(source MATCHES "${not_program}" OR source IN_LIST known_exceptions)
        continue()
    endif()
    file(STRINGS "${SOURCE_DIR}/${source}" includes REGEX "^[ \t]*#[ \t]*include[ \t]*<(${posix_only})>")
    foreach(line IN LISTS includes)
        string(STRIP "${line}" line)
        list(APPEND offenders "${source}: ${line}")
    endforeach()
endforeach()
if(offenders)
    list(JOIN offenders "\n  " report)
    message(FATAL_ERROR "POSIX-only headers in program code (use Qt's API instead):\n  ${report}")
endif()
list(LENGTH sources count)
message(STATUS "${count} files checked: no POSIX-only header in program code")
