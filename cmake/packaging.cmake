# What an install adds beside the programs, and the Debian package
# (cd build && cpack -G DEB). The programs, the .desktop file and the icons
# are installed by their own folders.

install(FILES ${PROJECT_SOURCE_DIR}/lang/en.LNG ${PROJECT_SOURCE_DIR}/lang/pl.LNG
        DESTINATION ${CMAKE_INSTALL_DATADIR}/plumgr/lang)

# Manual pages are installed compressed, as Debian keeps them.
find_program(GZIP_PROGRAM gzip REQUIRED)
set(manual ${CMAKE_CURRENT_BINARY_DIR}/plumgr-cli.1.gz)
add_custom_command(
  OUTPUT ${manual}
  COMMAND ${GZIP_PROGRAM} -9 -n -c ${PROJECT_SOURCE_DIR}/doc/plumgr-cli.1 > ${manual}
  DEPENDS ${PROJECT_SOURCE_DIR}/doc/plumgr-cli.1
  VERBATIM)
add_custom_target(manual_pages ALL DEPENDS ${manual})
install(FILES ${manual} DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME plumgr)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_CONTACT "plumgr maintainers <plumgr@localhost>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "PC manager of an electronic cash register's PLU table and settings")
set(CPACK_PACKAGE_DESCRIPTION
    "Keeps the register's PLU table, departments, deposit prices, fast-sale buttons,\n"
    "parameters, VAT rates and receipt header in data file sets, and moves them to and\n"
    "from the register over a serial line: the desktop program plumgr, the command\n"
    "line plumgr-cli and the simulated register ecrsim.")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION utils)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
# The shared libraries the programs link decide the dependencies.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
include(CPack)
