# halvic_add_qml_module(target URI uri [QML_FILES files...] [SINGLETONS files...]
#                       [SOURCES files...] [LIBS targets...])
# A static library that is also a QML module, in the layout Qt's tools expect. Every QML
# module of the project is made here, so the work-arounds below live in one place.
function(halvic_add_qml_module target)
  cmake_parse_arguments(M "" "URI" "QML_FILES;SINGLETONS;SOURCES;LIBS" ${ARGN})
  if(M_SINGLETONS)
    set_source_files_properties(${M_SINGLETONS} PROPERTIES QT_QML_SINGLETON_TYPE TRUE)
  endif()
  qt_add_library(${target} STATIC)
  qt_add_qml_module(${target}
    URI ${M_URI}
    VERSION 1.0
    QML_FILES ${M_QML_FILES} ${M_SINGLETONS}
    SOURCES ${M_SOURCES}
    # Linted by scripts/lint-qml.sh with the project's own settings instead of per target.
    NO_LINT
  )
  target_include_directories(${target} PUBLIC ${CMAKE_CURRENT_SOURCE_DIR})
  target_link_libraries(${target} PUBLIC ${M_LIBS})
  if(M_QML_FILES OR M_SINGLETONS)
    # Qt 6.4.2's qmlcachegen, compiling bindings to C++, loops forever on lookups of our
    # singletons; byte code only. Closest upstream report: QTBUG-107542 ("qmlcachegen
    # infinite loop with certain statements").
    set_target_properties(${target} PROPERTIES QT_QMLCACHEGEN_ARGUMENTS "--only-bytecode")
  endif()
endfunction()

# halvic_add_card(name [QML_FILES files...] [SOURCES files...] [LIBS targets...])
# One card's folder: the library halvic_<name> and its QML module Halvic.Cards.<Name>.
function(halvic_add_card name)
  cmake_parse_arguments(C "" "" "QML_FILES;SOURCES;LIBS" ${ARGN})
  string(SUBSTRING ${name} 0 1 first)
  string(TOUPPER ${first} first)
  string(SUBSTRING ${name} 1 -1 rest)
  halvic_add_qml_module(halvic_${name}
    URI Halvic.Cards.${first}${rest}
    QML_FILES ${C_QML_FILES}
    SOURCES ${C_SOURCES}
    LIBS halvic_cards ${C_LIBS}
  )
  # The application links every card and imports its QML plugin (see src/app).
  set_property(GLOBAL APPEND PROPERTY HALVIC_CARDS halvic_${name})
  set_property(GLOBAL APPEND PROPERTY HALVIC_CARD_PLUGINS "Halvic_Cards_${first}${rest}Plugin")
endfunction()
