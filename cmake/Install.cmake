# Installation: the two programs, the desktop entry, the file types and the application icon, laid
# out as the freedesktop specifications expect under the prefix (for one user: ~/.local).
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
