# SPDX-License-Identifier: MIT
# The Windows package: the two programs with the Qt libraries and plugins they load, Qt's Chinese
# texts for the standard buttons, the MinGW runtime, the licence and a read-me, as a portable zip
# (`cpack -G ZIP`) and an NSIS installer (`cpack -G NSIS`): per-machine, a Start-menu entry under
# the program's Chinese name, an uninstaller, silent with /S.
get_target_property(qt_core_dll Qt6::Core IMPORTED_LOCATION_RELEASE)
if(NOT qt_core_dll)
    get_target_property(qt_core_dll Qt6::Core IMPORTED_LOCATION)
endif()
get_filename_component(qt_bin "${qt_core_dll}" DIRECTORY)
get_filename_component(qt_prefix "${qt_bin}" DIRECTORY)

foreach(module Core Gui Widgets SerialPort Svg)
    install(FILES "${qt_bin}/Qt6${module}.dll" DESTINATION bin)
endforeach()
# Beside the programs Qt finds its plugins by itself, wherever the folder is unpacked.
install(FILES "${qt_prefix}/plugins/platforms/qwindows.dll" DESTINATION bin/platforms)
install(FILES "${qt_prefix}/plugins/styles/qwindowsvistastyle.dll" DESTINATION bin/styles)
install(FILES "${qt_prefix}/plugins/imageformats/qsvg.dll" "${qt_prefix}/plugins/imageformats/qico.dll"
        DESTINATION bin/imageformats)
install(FILES "${qt_prefix}/plugins/iconengines/qsvgicon.dll" DESTINATION bin/iconengines)
# Qt looks for its translations under the prefix this file names: the package's own folder.
file(WRITE "${PROJECT_BINARY_DIR}/windows/qt.conf" "[Paths]\nPrefix = ..\n")
install(FILES "${PROJECT_BINARY_DIR}/windows/qt.conf" DESTINATION bin)
find_file(EXPANDER_QTBASE_ZH qtbase_zh_CN.qm
          PATHS /usr/share/qt6/translations "${qt_prefix}/translations" NO_DEFAULT_PATH NO_CMAKE_FIND_ROOT_PATH)
if(EXPANDER_QTBASE_ZH)
    install(FILES "${EXPANDER_QTBASE_ZH}" DESTINATION translations)
else()
    message(WARNING "qtbase_zh_CN.qm not found (qt6-translations-l10n): the standard buttons will read English")
endif()

# The compiler's runtime: the C++ library, its exception support and POSIX threads.
foreach(dll libstdc++-6.dll libgcc_s_seh-1.dll libwinpthread-1.dll)
    execute_process(COMMAND "${CMAKE_CXX_COMPILER}" -print-file-name=${dll}
                    OUTPUT_VARIABLE runtime_dll OUTPUT_STRIP_TRAILING_WHITESPACE)
    if(NOT IS_ABSOLUTE "${runtime_dll}")
        find_file(runtime_dll_${dll} ${dll} PATHS /usr/x86_64-w64-mingw32/lib NO_CMAKE_FIND_ROOT_PATH)
        set(runtime_dll "${runtime_dll_${dll}}")
    endif()
    # Debian's copies keep their symbols (libstdc++ is 23 MB with them, 2 MB without).
    set(stripped "${PROJECT_BINARY_DIR}/windows/runtime/${dll}")
    if("${runtime_dll}" IS_NEWER_THAN "${stripped}")
        file(COPY "${runtime_dll}" DESTINATION "${PROJECT_BINARY_DIR}/windows/runtime")
        execute_process(COMMAND "${CMAKE_STRIP}" --strip-unneeded "${stripped}")
    endif()
    install(FILES "${stripped}" DESTINATION bin)
endforeach()

install(FILES "${PROJECT_SOURCE_DIR}/LICENSE" DESTINATION . RENAME LICENSE.txt)
install(FILES "${PROJECT_SOURCE_DIR}/resources/windows/README.txt" DESTINATION .)

set(CPACK_PACKAGE_NAME expander-config)
set(CPACK_PACKAGE_VENDOR "expander-config developers")
set(CPACK_PACKAGE_VERSION "${PROJECT_VERSION}")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "Configuration and test tool for an eight-port serial expander")
set(CPACK_PACKAGE_FILE_NAME "expander-config-${PROJECT_VERSION}-win64")
set(CPACK_PACKAGE_INSTALL_DIRECTORY expander-config)
set(CPACK_PACKAGE_INSTALL_REGISTRY_KEY expander-config)
set(CPACK_RESOURCE_FILE_LICENSE "${PROJECT_SOURCE_DIR}/LICENSE")
set(CPACK_STRIP_FILES ON)
# The Start-menu entry bears the name the window's caption shows.
set(CPACK_PACKAGE_EXECUTABLES expander-config "八口串口扩展器配置工具")
set(CPACK_NSIS_PACKAGE_NAME "八口串口扩展器配置工具 ${PROJECT_VERSION}")
set(CPACK_NSIS_DISPLAY_NAME "八口串口扩展器配置工具")
set(CPACK_NSIS_INSTALL_ROOT "$PROGRAMFILES64")
set(CPACK_NSIS_MUI_ICON "${EXPANDER_ICO}")
set(CPACK_NSIS_MUI_UNIICON "${EXPANDER_ICO}")
set(CPACK_NSIS_INSTALLED_ICON_NAME "bin\\\\expander-config.exe")
set(CPACK_NSIS_MANIFEST_DPI_AWARE ON)
set(CPACK_NSIS_ENABLE_UNINSTALL_BEFORE_INSTALL ON)
# A 64-bit installer (what a 64-bit Windows expects, and all that Wine without its 32-bit half
# runs), in Unicode for the Chinese names.
set(CPACK_NSIS_DEFINES "Target amd64-unicode")
# The installer's name says what it is: expander-config-<version>-win64-setup.exe.
set(CPACK_PROJECT_CONFIG_FILE "${PROJECT_BINARY_DIR}/windows/CPackProject.cmake")
file(WRITE "${CPACK_PROJECT_CONFIG_FILE}"
     "if(CPACK_GENERATOR STREQUAL \"NSIS\")\n  set(CPACK_PACKAGE_FILE_NAME \"${CPACK_PACKAGE_FILE_NAME}-setup\")\nendif()\n")
set(CPACK_GENERATOR "ZIP;NSIS")
include(CPack)
