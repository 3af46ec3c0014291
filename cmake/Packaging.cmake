# Installation and the Debian package: the four programs, the desktop entry
# with its icon, and the manual pages of the command-line programs.
include(GNUInstallDirs)

set(_tv_programs tvcalc tvprog)
if(NOT WIN32)
  list(APPEND _tv_programs tvunit)
endif()
if(TV_BUILD_APP)
  list(PREPEND _tv_programs tvconfig)
endif()
install(TARGETS ${_tv_programs} RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
install(FILES ${PROJECT_SOURCE_DIR}/share/applications/tvconfig.desktop
        DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
install(FILES ${PROJECT_SOURCE_DIR}/share/icons/hicolor/scalable/apps/tvconfig.svg
        DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps)
install(FILES
          ${PROJECT_SOURCE_DIR}/docs/man/tvcalc.1
          ${PROJECT_SOURCE_DIR}/docs/man/tvprog.1
          ${PROJECT_SOURCE_DIR}/docs/man/tvunit.1
        DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)

set(CPACK_PACKAGE_NAME tvconfig)
set(CPACK_PACKAGE_VENDOR "tvconfig developers")
set(CPACK_PACKAGE_CONTACT "tvconfig developers <tvconfig@localhost>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY
    "Configurator for Tarvex local-oscillator units")
set(CPACK_PACKAGE_DESCRIPTION
    "Finds PLL counter ratios, builds the synthesizer's latch words, keeps eight memory\n"
    "channels, exports them as a C header and programs the unit over RS-232. With tvcalc\n"
    "(ratio finder and latch-word decoder), tvprog (programming from the command line)\n"
    "and tvunit (a simulated unit on a pseudo-terminal).")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION electronics)
# The window needs the Qt 6 Widgets libraries with a platform plugin, and the
# IPA Gothic fonts it asks for by name; the window and tvprog list the ports
# with Qt Serial Port. Where dpkg-shlibdeps is installed it adds
# the libraries with their versions; otherwise they are named here.
set(CPACK_DEBIAN_PACKAGE_DEPENDS "qt6-qpa-plugins, fonts-ipafont-gothic")
find_program(TV_DPKG_SHLIBDEPS dpkg-shlibdeps)
if(TV_DPKG_SHLIBDEPS)
  set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
else()
  string(PREPEND CPACK_DEBIAN_PACKAGE_DEPENDS "libqt6widgets6, libqt6gui6, libqt6serialport6, libqt6core6, ")
endif()
include(CPack)
