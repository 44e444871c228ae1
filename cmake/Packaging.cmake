# Installation of the panel and the monitor, and the Debian package built from
# it with CPack (`cpack` in the build folder gives tovrana_<version>_<arch>.deb).
include(GNUInstallDirs)

install(TARGETS tovrana tovrana-monitor RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
install(FILES ${PROJECT_SOURCE_DIR}/packaging/tovrana.desktop
        DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
install(FILES ${PROJECT_SOURCE_DIR}/resources/tovrana.png
        DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/256x256/apps)

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME tovrana)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_VENDOR "Tovrana")
set(CPACK_PACKAGE_CONTACT "Tovrana developers <support@tovrana.example>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "Panel of push buttons that send bytes to serial equipment")
set(CPACK_PACKAGE_DESCRIPTION
    "Tovrana turns a window into a panel of push buttons; each button sends a configured\n"
    "string of bytes out of one of four serial outputs. An administrator prepares the\n"
    "panel in one INI file and can lock it for operators. tovrana-monitor stands in for\n"
    "serial equipment when none is at hand.")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION utils)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# The X11 platform plugin is loaded at run time, so the library scan misses it.
set(CPACK_DEBIAN_PACKAGE_DEPENDS "qt6-qpa-plugins")
include(CPack)
