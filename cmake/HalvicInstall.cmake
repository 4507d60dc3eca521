# Where `cmake --install` puts the HUD (binary in bin/, the rest under lib/ and share/), and the
# Debian package CPack makes of that tree (`cpack -G DEB` in the build folder).

# The application finds the QML plugins it loads on demand in <bindir>/../lib/halvic/qml.
set(HALVIC_INSTALL_QML_DIR lib/halvic/qml)

# Everything they link is a system library: no run path to rewrite.
set_target_properties(halvic-hud halvic_emailweb PROPERTIES INSTALL_RPATH "")
set(HALVIC_INSTALL_BIN_DIR bin)
install(TARGETS halvic-hud RUNTIME DESTINATION ${HALVIC_INSTALL_BIN_DIR})
install(TARGETS halvic_emailweb LIBRARY DESTINATION ${HALVIC_INSTALL_QML_DIR}/Halvic/EmailWeb)
install(FILES
    ${QT_QML_OUTPUT_DIRECTORY}/Halvic/EmailWeb/qmldir
    ${QT_QML_OUTPUT_DIRECTORY}/Halvic/EmailWeb/halvic_emailweb.qmltypes
    DESTINATION ${HALVIC_INSTALL_QML_DIR}/Halvic/EmailWeb)

set(HALVIC_DATA ${CMAKE_SOURCE_DIR}/data)
# KWin grants its fake input (the pointer hand gestures drive) to the program whose desktop
# entry names its real path in Exec=, so the entry names the binary where this install puts
# it: known only when installing (the package's /usr, or `cmake --install --prefix DIR`).
install(CODE "
  get_filename_component(prefix \"\${CMAKE_INSTALL_PREFIX}\" ABSOLUTE)
  set(HALVIC_EXEC \"\${prefix}/${HALVIC_INSTALL_BIN_DIR}/halvic-hud\")
  configure_file(\"${HALVIC_DATA}/halvic-hud.desktop.in\" \"${CMAKE_BINARY_DIR}/data/halvic-hud.desktop\" @ONLY)
  file(INSTALL \"${CMAKE_BINARY_DIR}/data/halvic-hud.desktop\" DESTINATION \"\${prefix}/share/applications\")
")
# The GNOME Shell extension, both builds, letting in the binary where this install puts it.
foreach(build 43 45)
  set(staged ${CMAKE_BINARY_DIR}/data/gnome-shell/install/${HALVIC_GNOME_UUID_${build}})
  halvic_gnome_settings(settings ${build} ${staged} "\${prefix}/${HALVIC_INSTALL_BIN_DIR}/halvic-hud")
  install(CODE "
    get_filename_component(prefix \"\${CMAKE_INSTALL_PREFIX}\" ABSOLUTE)
    ${settings}
    include(\"${HALVIC_GNOME_MAKE}\")
    file(INSTALL \"${staged}\" DESTINATION \"\${prefix}/share/gnome-shell/extensions\")
  ")
endforeach()
install(FILES ${HALVIC_DATA}/org.halvic.Hud.metainfo.xml DESTINATION share/metainfo)
install(FILES ${HALVIC_DATA}/halvic-hud.svg DESTINATION share/icons/hicolor/scalable/apps)
foreach(size 16 24 32 48 64 128 256)
  install(FILES ${HALVIC_DATA}/icons/${size}/halvic-hud.png DESTINATION share/icons/hicolor/${size}x${size}/apps)
endforeach()

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME halvic-hud)
set(CPACK_PACKAGE_VENDOR "The Halvic developers")
set(CPACK_PACKAGE_CONTACT "The Halvic developers <maintainers@users.noreply.c-seed-4f6c4bbb.example>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "Heads-up display for the Halvic voice assistant")
set(CPACK_DEBIAN_PACKAGE_DESCRIPTION
    "A small always-on-top glass panel, a tray menu and floating cards that start and\n\
watch the Halvic assistant's engine and show what it hears, says and finds.")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION utils)
# Shared libraries the binary and the plugin link are derived by dpkg-shlibdeps. What it
# cannot see is listed here: the QML modules the views import at run time, and the fonts that
# draw the symbols and emoji.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_DEPENDS
    "qml6-module-qtquick, qml6-module-qtquick-window, qml6-module-qtquick-controls, \
qml6-module-qtquick-layouts, qml6-module-qtquick-templates, qml6-module-qtquick-shapes, \
qml6-module-qtqml-workerscript, qml6-module-qtwebengine, fonts-material-design-icons-iconfont, \
fonts-noto-color-emoji")
# Opening files from popups; telling scripts from documents; Qt's own texts in the user's language.
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "xdg-utils, shared-mime-info, qt6-translations-l10n")
include(CPack)
