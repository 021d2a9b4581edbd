# SPDX-License-Identifier: MIT
# Desktop integration and the Debian package. Next to the three programs (installed where they are
# defined) go the desktop entry, the scalable icon and a manual page for each program;
# `cpack -G DEB` in the build folder packs all of it as expander-config_<version>_<arch>.deb.
include(GNUInstallDirs)

set(EXPANDER_RESOURCES "${PROJECT_SOURCE_DIR}/resources")

install(FILES "${EXPANDER_RESOURCES}/expander-config.desktop"
        DESTINATION "${CMAKE_INSTALL_DATADIR}/applications")
install(FILES "${EXPANDER_RESOURCES}/expander-config.svg"
        DESTINATION "${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps")

# Manual pages, compressed as Debian installs them (gzip -9n: no name or time stamp inside, so
# the same page always gives the same bytes); plain when there is no gzip.
find_program(EXPANDER_GZIP gzip)
set(manual_pages expander-config.1 expander-sim.1 expander-cli.1)
set(installed_pages)
foreach(page IN LISTS manual_pages)
    if(EXPANDER_GZIP)
        set(compressed "${CMAKE_CURRENT_BINARY_DIR}/man/${page}.gz")
        add_custom_command(OUTPUT "${compressed}"
            COMMAND "${CMAKE_COMMAND}" -E make_directory "${CMAKE_CURRENT_BINARY_DIR}/man"
            COMMAND "${EXPANDER_GZIP}" -9nc "${EXPANDER_RESOURCES}/${page}" > "${compressed}"
            DEPENDS "${EXPANDER_RESOURCES}/${page}"
            COMMENT "Compressing the manual page ${page}"
            VERBATIM)
        list(APPEND installed_pages "${compressed}")
    else()
        list(APPEND installed_pages "${EXPANDER_RESOURCES}/${page}")
    endif()
endforeach()
add_custom_target(manual_pages ALL DEPENDS ${installed_pages})
install(FILES ${installed_pages} DESTINATION "${CMAKE_INSTALL_MANDIR}/man1")

# The licence and the history, where Debian looks for them: copyright as it is, the changelog
# compressed like the manual pages.
set(doc_dir "${CMAKE_INSTALL_DATADIR}/doc/${PROJECT_NAME}")
install(FILES "${EXPANDER_RESOURCES}/debian/copyright" DESTINATION "${doc_dir}")
if(EXPANDER_GZIP)
    set(changelog "${CMAKE_CURRENT_BINARY_DIR}/changelog.gz")
    add_custom_command(OUTPUT "${changelog}"
        COMMAND "${EXPANDER_GZIP}" -9nc "${EXPANDER_RESOURCES}/debian/changelog" > "${changelog}"
        DEPENDS "${EXPANDER_RESOURCES}/debian/changelog"
        COMMENT "Compressing the changelog"
        VERBATIM)
    add_custom_target(changelog ALL DEPENDS "${changelog}")
    install(FILES "${changelog}" DESTINATION "${doc_dir}")
else()
    install(FILES "${EXPANDER_RESOURCES}/debian/changelog" DESTINATION "${doc_dir}")
endif()

# The Debian package.
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME expander-config)
set(CPACK_PACKAGE_VENDOR "expander-config developers")
set(CPACK_PACKAGE_CONTACT "expander-config developers <expander-config@example.invalid>")
set(CPACK_PACKAGE_VERSION "${PROJECT_VERSION}")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "configuration and test tool for an eight-port serial expander")
# The long description, in lines short enough for package managers.
string(JOIN "\n" CPACK_PACKAGE_DESCRIPTION
    "A desktop tool (Qt 6, Chinese interface) for a serial-port expander with a main"
    "port cabled to the PC, eight extension ports (RS232, RS485 half or full duplex)"
    "and a network module. It writes and reads back the parameters of all eight"
    "ports, restores the factory settings, reads and writes the network parameters"
    "and forwards raw bytes to one extension port."
    "."
    "."
    "expander-cli does the same from scripts and production lines: it finds"
    "expanders, writes a profile to many at once, reads it back and compares it,"
    "and records each unit's result."
    "."
    "It comes with expander-sim, a simulated expander on pseudo-terminals, to try"
    "the programs without the hardware.")
set(CPACK_STRIP_FILES ON)
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION utils)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)

# What the programs load at run time besides the libraries they link: the SVG plugins for the
# window icon, the platform plugins, and a font with the Chinese characters of the interface.
set(runtime_depends "libqt6svg6 (>= 6.4)" qt6-qpa-plugins "fonts-noto-cjk | fonts-wqy-microhei")
# The libraries they link. dpkg-shlibdeps finds these, with the versions they need, from the
# binaries themselves; without it they are named here.
set(linked_depends "libqt6core6 (>= 6.4)" "libqt6gui6 (>= 6.4)" "libqt6widgets6 (>= 6.4)"
    "libqt6serialport6 (>= 6.4)")
find_program(EXPANDER_DPKG_SHLIBDEPS dpkg-shlibdeps)
if(EXPANDER_DPKG_SHLIBDEPS)
    set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
    set(package_depends ${runtime_depends})
else()
    set(package_depends ${linked_depends} ${runtime_depends})
endif()
list(JOIN package_depends ", " CPACK_DEBIAN_PACKAGE_DEPENDS)
# Qt's own texts (the message boxes' buttons) in Chinese; without them they read English.
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS qt6-translations-l10n)

include(CPack)
