# Writes one build of the GNOME Shell extension (run with cmake -P, or included at install time):
# OUT_DIR/extension.js, the wrapper of BUILD (43 or 45) from SOURCE_DIR with the shared logic
# inside, and OUT_DIR/metadata.json, naming CALLER as the one executable the extension lets call
# it and VERSIONS (space-separated) as the Shell versions it runs on.
foreach(name SOURCE_DIR BUILD OUT_DIR UUID VERSIONS INTERFACE OBJECT_PATH CALLER)
    if(NOT DEFINED ${name})
        message(FATAL_ERROR "HalvicGnomeExtension.cmake: ${name} is not set")
    endif()
endforeach()
set(HALVIC_GNOME_INTERFACE ${INTERFACE})
set(HALVIC_GNOME_PATH ${OBJECT_PATH})
set(HALVIC_GNOME_UUID ${UUID})
string(REPLACE " " "\", \"" HALVIC_GNOME_SHELL_VERSIONS "\"${VERSIONS}\"")
# The caller goes into a JSON string: an install prefix may hold a backslash or a quote.
string(REPLACE "\\" "\\\\" HALVIC_GNOME_CALLER "${CALLER}")
string(REPLACE "\"" "\\\"" HALVIC_GNOME_CALLER "${HALVIC_GNOME_CALLER}")
configure_file(${SOURCE_DIR}/halvic-shell.js ${OUT_DIR}/logic.js.part @ONLY)
file(READ ${OUT_DIR}/logic.js.part HALVIC_GNOME_LOGIC)
file(REMOVE ${OUT_DIR}/logic.js.part)
configure_file(${SOURCE_DIR}/extension-${BUILD}.js.in ${OUT_DIR}/extension.js @ONLY)
configure_file(${SOURCE_DIR}/metadata.json.in ${OUT_DIR}/metadata.json @ONLY)
