# SPDX-License-Identifier: MIT
# What a Windows program carries inside its .exe: the icon (drawn from the SVG at build time by
# rsvg-convert and packed by icotool), version information and a manifest (per-monitor DPI
# awareness, the UTF-8 code page). expander_windows_resources(TARGET DESCRIPTION) adds them.
set(EXPANDER_WINDOWS_DIR "${PROJECT_SOURCE_DIR}/resources/windows")
set(EXPANDER_ICO "${PROJECT_BINARY_DIR}/windows/expander-config.ico")

find_program(EXPANDER_RSVG_CONVERT rsvg-convert REQUIRED)
find_program(EXPANDER_ICOTOOL icotool REQUIRED)
set(icon_sizes 16 24 32 48 64 256)
set(icon_commands)
set(icon_pngs)
foreach(size IN LISTS icon_sizes)
    set(png "${PROJECT_BINARY_DIR}/windows/icon-${size}.png")
    list(APPEND icon_commands COMMAND "${EXPANDER_RSVG_CONVERT}" -w ${size} -h ${size}
         -o "${png}" "${PROJECT_SOURCE_DIR}/resources/expander-config.svg")
    list(APPEND icon_pngs "${png}")
endforeach()
# The 256-pixel image stays PNG inside the .ico, as Windows expects of that size.
list(POP_BACK icon_pngs large_png)
add_custom_command(OUTPUT "${EXPANDER_ICO}"
    COMMAND "${CMAKE_COMMAND}" -E make_directory "${PROJECT_BINARY_DIR}/windows"
    ${icon_commands}
    COMMAND "${EXPANDER_ICOTOOL}" -c -o "${EXPANDER_ICO}" ${icon_pngs} -r "${large_png}"
    DEPENDS "${PROJECT_SOURCE_DIR}/resources/expander-config.svg"
    COMMENT "Drawing the Windows icon from the SVG"
    VERBATIM)
add_custom_target(windows_icon DEPENDS "${EXPANDER_ICO}")

function(expander_windows_resources target description)
    set(EXPANDER_WIN_NAME "${target}")
    set(EXPANDER_WIN_DESCRIPTION "${description}")
    set(EXPANDER_WIN_VERSION "${PROJECT_VERSION_MAJOR}.${PROJECT_VERSION_MINOR}.${PROJECT_VERSION_PATCH}.0")
    set(EXPANDER_WIN_VERSION_COMMAS "${PROJECT_VERSION_MAJOR},${PROJECT_VERSION_MINOR},${PROJECT_VERSION_PATCH},0")
    set(EXPANDER_WIN_ICON "${EXPANDER_ICO}")
    set(out "${PROJECT_BINARY_DIR}/windows/${target}")
    set(EXPANDER_WIN_MANIFEST "${out}.manifest")
    configure_file("${EXPANDER_WINDOWS_DIR}/expander.manifest.in" "${out}.manifest" @ONLY)
    configure_file("${EXPANDER_WINDOWS_DIR}/expander.rc.in" "${out}.rc" @ONLY)
    set_source_files_properties("${out}.rc" TARGET_DIRECTORY ${target} PROPERTIES OBJECT_DEPENDS "${EXPANDER_ICO};${out}.manifest")
    target_sources(${target} PRIVATE "${out}.rc")
    add_dependencies(${target} windows_icon)
endfunction()
