# Installation: the two programs, the desktop entry, the file types and the application icon, laid
# out where freedesktop desktops look for them under the prefix (for one user: ~/.local).
include(GNUInstallDirs)

install(TARGETS quillet-cli RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
if(TARGET quillet)
  install(TARGETS quillet RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
endif()

install(FILES ${CMAKE_SOURCE_DIR}/resources/quillet.desktop
        DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
# The database compiles packages by their file name, which names the owner.
install(FILES ${CMAKE_SOURCE_DIR}/resources/quillet-mime.xml
        DESTINATION ${CMAKE_INSTALL_DATADIR}/mime/packages RENAME quillet.xml)
install(FILES ${CMAKE_SOURCE_DIR}/resources/icons/quillet.svg
        DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps)

# The desktop entry must satisfy the desktop's own checker, and the type file must compile and map
# budgets and statements as intended.
find_program(QUILLET_DESKTOP_FILE_VALIDATE desktop-file-validate)
if(QUILLET_DESKTOP_FILE_VALIDATE)
  add_test(NAME desktop_entry
           COMMAND ${QUILLET_DESKTOP_FILE_VALIDATE} ${CMAKE_SOURCE_DIR}/resources/quillet.desktop)
  set_tests_properties(desktop_entry PROPERTIES LABELS desktop)
endif()
find_program(QUILLET_UPDATE_MIME_DATABASE update-mime-database)
if(QUILLET_UPDATE_MIME_DATABASE)
  add_test(NAME desktop_mime_types
           COMMAND sh -c "d=\"$(mktemp -d)\" && mkdir \"$d/packages\" && cp \"$0\" \"$d/packages/quillet.xml\" && \"$1\" \"$d\" && grep -qx '50:application/x-quillet:\\*.qlt' \"$d/globs2\" && grep -qx '60:application/x-ofx:\\*.ofx' \"$d/globs2\" && grep -qx '60:application/vnd.intu.qfx:\\*.qfx' \"$d/globs2\" && grep -qx '60:application/qif:\\*.qif' \"$d/globs2\"; s=$?; rm -rf \"$d\"; exit $s"
                   ${CMAKE_SOURCE_DIR}/resources/quillet-mime.xml ${QUILLET_UPDATE_MIME_DATABASE})
  set_tests_properties(desktop_mime_types PROPERTIES LABELS desktop)
endif()
