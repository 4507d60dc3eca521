# The HUD's translations. translations/halvic.ts is the template with every text the sources
# mark for translation (qsTr in QML, tr and QCoreApplication::translate in C++);
# translations/halvic_<lang>.ts are the translations, kept in the tree. The build turns them,
# and a pseudo translation made from the template (en_XA: every text visibly transformed, for
# finding texts that stay untranslated), into .qm files embedded in the application.
#
# `cmake --build build --target update_translations` runs lupdate over src/ and brings the
# template and every translation up to date with the sources.
find_package(Qt6 REQUIRED COMPONENTS LinguistTools)

set(HALVIC_TRANSLATIONS_DIR ${CMAKE_SOURCE_DIR}/translations)
file(GLOB HALVIC_TS_FILES ${HALVIC_TRANSLATIONS_DIR}/halvic_*.ts)
# lupdate's options, shared by the update target and the test that checks the template is current.
set(HALVIC_LUPDATE_OPTIONS -recursive -no-obsolete -locations none -extensions cpp,h,qml)

add_custom_target(update_translations
  COMMAND Qt6::lupdate ${HALVIC_LUPDATE_OPTIONS} ${CMAKE_SOURCE_DIR}/src
          -ts ${HALVIC_TRANSLATIONS_DIR}/halvic.ts ${HALVIC_TS_FILES}
  WORKING_DIRECTORY ${CMAKE_SOURCE_DIR}
  COMMENT "Updating the translations from the sources"
  VERBATIM)

# halvic_add_translations(target): the .qm files of every translation, and the pseudo one,
# embedded in `target` under :/i18n.
function(halvic_add_translations target)
  set(pseudo_ts ${CMAKE_CURRENT_BINARY_DIR}/halvic_en_XA.ts)
  add_custom_command(OUTPUT ${pseudo_ts}
    COMMAND python3 ${HALVIC_TRANSLATIONS_DIR}/pseudo.py ${HALVIC_TRANSLATIONS_DIR}/halvic.ts ${pseudo_ts}
    DEPENDS ${HALVIC_TRANSLATIONS_DIR}/halvic.ts ${HALVIC_TRANSLATIONS_DIR}/pseudo.py
    VERBATIM)
  set(qm_files "")
  foreach(ts ${HALVIC_TS_FILES} ${pseudo_ts})
    get_filename_component(name ${ts} NAME_WLE)
    set(qm ${CMAKE_CURRENT_BINARY_DIR}/i18n/${name}.qm)
    add_custom_command(OUTPUT ${qm}
      COMMAND Qt6::lrelease -silent ${ts} -qm ${qm}
      DEPENDS ${ts} Qt6::lrelease
      VERBATIM)
    list(APPEND qm_files ${qm})
  endforeach()
  qt_add_resources(${target} "translations" PREFIX "/i18n" BASE ${CMAKE_CURRENT_BINARY_DIR}/i18n FILES ${qm_files})
endfunction()
