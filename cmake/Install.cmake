# What `cmake --install` lays out: the programs, the menu entry, the icon in the hicolor theme,
# Qt's French texts and the manual pages.
include(GNUInstallDirs)

install(TARGETS lexivar lexivar-admin RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
install(FILES ${PROJECT_SOURCE_DIR}/packaging/lexivar.desktop
        DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)

set(LEXIVAR_ICON_TREE ${PROJECT_BINARY_DIR}/icons)
add_custom_command(
    OUTPUT ${LEXIVAR_ICON_TREE}/hicolor/256x256/apps/lexivar.png
    COMMAND lexivar-icons ${LEXIVAR_ICON_TREE}
    DEPENDS lexivar-icons
    COMMENT "Icônes du thème hicolor")
add_custom_target(lexivar_icons ALL DEPENDS ${LEXIVAR_ICON_TREE}/hicolor/256x256/apps/lexivar.png)
install(DIRECTORY ${LEXIVAR_ICON_TREE}/hicolor DESTINATION ${CMAKE_INSTALL_DATADIR}/icons)

# The copy the program loads first (see main.cpp), so an install under any prefix speaks French.
find_file(LEXIVAR_QTBASE_FR qtbase_fr.qm
    PATHS ${QT6_INSTALL_PREFIX}/${QT6_INSTALL_TRANSLATIONS} /usr/share/qt6/translations
    NO_DEFAULT_PATH REQUIRED)
install(FILES ${LEXIVAR_QTBASE_FR} DESTINATION ${CMAKE_INSTALL_DATADIR}/lexivar/translations)

# Manual pages and the package's documentation, compressed as Debian wants them.
set(LEXIVAR_DOC_OUT ${PROJECT_BINARY_DIR}/packaging)
set(LEXIVAR_GZIPPED)
foreach(page lexivar.1 lexivar-admin.1 changelog)
    configure_file(${PROJECT_SOURCE_DIR}/packaging/${page} ${LEXIVAR_DOC_OUT}/${page} @ONLY)
    add_custom_command(
        OUTPUT ${LEXIVAR_DOC_OUT}/${page}.gz
        COMMAND gzip -9nf -k ${LEXIVAR_DOC_OUT}/${page}
        DEPENDS ${LEXIVAR_DOC_OUT}/${page})
    list(APPEND LEXIVAR_GZIPPED ${LEXIVAR_DOC_OUT}/${page}.gz)
endforeach()
add_custom_target(lexivar_docs ALL DEPENDS ${LEXIVAR_GZIPPED})
install(FILES ${LEXIVAR_DOC_OUT}/lexivar.1.gz ${LEXIVAR_DOC_OUT}/lexivar-admin.1.gz
        DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
install(FILES ${PROJECT_SOURCE_DIR}/packaging/copyright
        DESTINATION ${CMAKE_INSTALL_DATADIR}/doc/lexivar)
install(FILES ${LEXIVAR_DOC_OUT}/changelog.gz DESTINATION ${CMAKE_INSTALL_DATADIR}/doc/lexivar)
