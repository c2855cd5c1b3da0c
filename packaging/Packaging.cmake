# `cpack -G DEB` in the build directory makes the Debian package: the installed files under /usr,
# dependencies from the libraries actually linked (dpkg-shlibdeps) and the plug-ins and data that
# are loaded at run time rather than linked.
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME qavex)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_CONTACT "The qavex developers <dev@qavex.org>")
set(CPACK_PACKAGE_VENDOR "The qavex developers")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "bookmark manager with automatic web login")
set(CPACK_PACKAGE_DESCRIPTION "qavex keeps web sites by category, with a remark for each and, when wanted,
the login data of a site. Opened in its own browser window, a site is logged
in to automatically. Its interface is in Chinese.")
set(CPACK_DEBIAN_PACKAGE_SECTION web)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_HOMEPAGE "https://qavex.org/")
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_DEPENDS "libqt6sql6-sqlite, libqt6sql6-psql, libqt6svg6, qt6-translations-l10n, publicsuffix")
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)
set(CPACK_STRIP_FILES ON)
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)

install(FILES ${CMAKE_CURRENT_LIST_DIR}/copyright DESTINATION share/doc/qavex)
# A package of our own making (native): its changelog is changelog.gz.
set(changelog ${CMAKE_BINARY_DIR}/changelog.gz)
execute_process(COMMAND gzip -9n -c ${CMAKE_CURRENT_LIST_DIR}/changelog OUTPUT_FILE ${changelog})
install(FILES ${changelog} DESTINATION share/doc/qavex)

include(CPack)
