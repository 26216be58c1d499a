# The Debian package: `cpack -G DEB` in the build folder writes kavero_<version>_<arch>.deb
# holding the install tree under /usr.

# One name for the desktop entry, the AppStream component and the icon: the program's web
# address turned around.
set(KAVERO_APP_ID org.example.kavero)
file(STRINGS ${PROJECT_SOURCE_DIR}/src/app/product_info.h _kavero_web REGEX "kWebAddress = \"")
string(REGEX REPLACE ".*kWebAddress = \"([^\"]*)\".*" "\\1" KAVERO_WEB_ADDRESS "${_kavero_web}")

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME kavero)
set(CPACK_PACKAGE_VENDOR "The KAVERO developers")
set(CPACK_PACKAGE_CONTACT "The KAVERO developers <developers@kavero.example.org>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "move Microsoft Access tables into MySQL or MariaDB")
# Lines as the control file wants them, at most 80 characters.
string(JOIN "\n" CPACK_PACKAGE_DESCRIPTION
  "KAVERO moves one Microsoft Access table, its design and on request its records,"
  "into MySQL or MariaDB. It reads .mdb and .accdb files with its own reader, without"
  "Access or Windows, and writes the table script to a file, runs it with the records"
  "over an ODBC data source, or writes PHP or ASP pages that do it on a web host."
  "kavero is the Qt desktop program, kavero-cli the same commands for scripts.")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
# The build keeps its debugging information; the package does not need it.
set(CPACK_STRIP_FILES ON)

set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION database)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_HOMEPAGE ${KAVERO_WEB_ADDRESS})
# The libraries the programs link (Qt, unixODBC, the C++ runtime) are found by dpkg-shlibdeps.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# The MariaDB ODBC driver is loaded by unixODBC only when a data source names it, so no link
# shows it. Without a driver the direct copy cannot run, while the script and the web pages
# still can, and any other MySQL ODBC driver does the same work: recommended, not required.
# xdg-open opens the web help and the written pages in the browser.
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "odbc-mariadb, xdg-utils")
# isql tries a data source by hand; the MariaDB client runs a script kavero-cli wrote.
set(CPACK_DEBIAN_PACKAGE_SUGGESTS "unixodbc, mariadb-client")
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)

include(CPack)
