# The Debian package: `cpack -G DEB` in the build directory writes
# toravel_<version>_<arch>.deb there. Library dependencies come from
# dpkg-shlibdeps; what the programs need without linking it is named here.
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME toravel)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_VENDOR "Торавель")
set(CPACK_PACKAGE_CONTACT "Торавель <dev@toravel.invalid>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "Slavic horoscope from the lunar day of a birth moment")
set(CPACK_PACKAGE_HOMEPAGE_URL "https://toravel.ru")
set(CPACK_RESOURCE_FILE_LICENSE ${PROJECT_SOURCE_DIR}/LICENSE)
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)

set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_MAINTAINER "${CPACK_PACKAGE_CONTACT}")
set(CPACK_DEBIAN_PACKAGE_SECTION misc)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
# The summary is the control file's first description line; this is the rest.
set(CPACK_DEBIAN_PACKAGE_DESCRIPTION
"Toravel draws up a Slavic horoscope for a birth moment. From the birth
date, time and place it computes the lunar day astronomically (the new
moons from an analytic theory of the Moon and the Sun, the moonrises over
the birthplace), places the period in one of the three worlds Prav, Yav
and Nav, writes a short report and shows pictures from its own database.
The program speaks Russian. The package holds the desktop application
toravel, the command-line programs toravel-cli (the report as text or
JSON) and toravel-pdf (the report as a PDF file) and their data files.")
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# The window's texts need fonts with Cyrillic letters; the standard buttons
# of the message boxes take their Russian texts from Qt's translations. The
# world atlas is the geonames library, loaded with dlopen (so dpkg-shlibdeps
# does not see it), with its Russian names from libgeonames-common; the
# place records are read in the layout of 0.3.0.
set(CPACK_DEBIAN_PACKAGE_DEPENDS
    "fonts-liberation, fonts-dejavu-core, libgeonames0 (>= 0.3.0), libgeonames-common")
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "qt6-translations-l10n")
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)

include(CPack)
