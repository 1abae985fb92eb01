# The Debian package, made by CPack's DEB generator (scripts/package runs it on
# a Release build). Runtime dependencies come from the binaries (dpkg-shlibdeps).

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME sirelo)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_VENDOR "Sirelo developers")
set(CPACK_PACKAGE_CONTACT "Sirelo developers <developers@sirelo.example.org>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "desktop film finder for magnet links and online-play pages")
# Read here rather than named as CPACK_PACKAGE_DESCRIPTION_FILE, whose text CPack
# escapes for XML ("system&apos;s"); CPack puts the summary line in front.
file(READ ${PROJECT_SOURCE_DIR}/data/debian/description CPACK_DEBIAN_PACKAGE_DESCRIPTION)
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
# Directories the install creates get 0755 whatever the builder's umask.
set(CPACK_INSTALL_DEFAULT_DIRECTORY_PERMISSIONS
    OWNER_READ OWNER_WRITE OWNER_EXECUTE GROUP_READ GROUP_EXECUTE WORLD_READ WORLD_EXECUTE)

set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_MAINTAINER ${CPACK_PACKAGE_CONTACT})
set(CPACK_DEBIAN_PACKAGE_SECTION net)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_HOMEPAGE https://sirelo.example.org/)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# Opening magnet links and web pages goes through xdg-open; the toolkit's own
# texts (message-box buttons, edit-box menus) read Chinese with Qt's translations.
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "xdg-utils, qt6-translations-l10n")
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)

include(CPack)
