# The office's Debian package (`make package`, or `cpack -G DEB` in a build folder): what `cmake --install`
# puts under /usr, with the libraries' packages found by dpkg-shlibdeps and the run-time packages the
# programs load without linking them (SQL and platform plugins, ODBC drivers, fonts, backup tools).
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME parcelon)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_VENDOR "Parcelon developers")
set(CPACK_PACKAGE_CONTACT "${PARCELON_MAINTAINER}")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
# Binaries without their debugging sections: the package is for workstations.
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION misc)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_DEPENDS
  "qt6-qpa-plugins, libqt6sql6-sqlite, libqt6sql6-psql, libqt6sql6-odbc, unixodbc, libsqliteodbc, odbc-postgresql, postgresql-client, fontconfig, fonts-liberation")
set(CPACK_DEBIAN_PACKAGE_DESCRIPTION "land register of a divisional land office
Parcelon keeps the land owners of a divisional land office and the state
lands they hold under permits and grants: permit changes, transfers,
divisions and successions, searches and the office's reports, with users,
permissions and daily backups.
.
Its records live in one database behind the ODBC data source named land: an
SQLite file on one workstation or a PostgreSQL server shared by several.
parcelon-setup makes the register and the data source.")
set(CPACK_DEBIAN_PACKAGE_CONTROL_EXTRA
  ${PROJECT_SOURCE_DIR}/packaging/debian/postinst ${PROJECT_SOURCE_DIR}/packaging/debian/postrm)
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)
# cpack packs what the build made and builds nothing itself (its install step would otherwise build every
# test first): `make package` builds the programs and manual pages, `make test` everything.
set(CMAKE_SKIP_INSTALL_ALL_DEPENDENCY ON)
include(CPack)
