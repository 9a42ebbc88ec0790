# The Debian package (`cpack -G DEB` in build/, or scripts/package.sh). Its dependencies come from
# the shared libraries the programs link, plus the display plugins Qt loads at run time.
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME lexivar)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_CONTACT "Équipe Lexivar <lexivar@example.org>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "fiches terminologiques anglais-français d'une équipe")
set(CPACK_PACKAGE_DESCRIPTION
    "Lexivar est l'outil de bureau avec lequel une petite équipe de traducteurs
et de terminologues bâtit et consulte des fiches terminologiques bilingues
anglais-français, dans une base de données chiffrée partagée. Le paquet
contient le programme, qui vit dans la zone de notification, et lexivar-admin,
qui crée, convertit, exporte et importe les bases.")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION text)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# libpq is loaded at run time, when a team works on a server: shlibdeps cannot see it.
set(CPACK_DEBIAN_PACKAGE_DEPENDS "qt6-qpa-plugins, libpq5")
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)
include(CPack)
