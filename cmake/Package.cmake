# cpack -G DEB (run in the build folder): a Debian package of the installed
# layout below /usr - the program and the three tools in lib/kasovka/ beside
# SetupDat/, Install.ini and help/, links to them in bin/, the desktop entry
# and its icon.
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME kasovka)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_VENDOR Kasovka)
set(CPACK_PACKAGE_CONTACT "Kasovka <podpora@kasovka.cz>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "Rozšířený peněžní deník pro účetní systém")
set(CPACK_PACKAGE_DESCRIPTION
  "Zásuvný modul účetního systému pro daňovou evidenci: rozšířený peněžní deník se sumačními skupinami, více sestav vedle sebe a export do sešitů Excelu 97-2003.")
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION misc)
set(CPACK_STRIP_FILES ON)
# Installed below /usr through DESTDIR, so that the desktop entry names the
# program's final path rather than the packing folder.
set(CPACK_SET_DESTDIR ON)
set(CPACK_INSTALL_PREFIX /usr)
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
# The libraries the executables link (Qt, SQLite, the C++ run time) come from
# dpkg-shlibdeps; what is loaded at run time is named here: Qt's platform
# plug-ins for the windows and Qt's Czech texts.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_DEPENDS "qt6-qpa-plugins, qt6-translations-l10n")
include(CPack)
