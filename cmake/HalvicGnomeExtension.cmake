# Writes one build of the GNOME Shell extension (run with cmake -P): OUT_DIR/extension.js, the
# WRAPPER with the LOGIC inside, and OUT_DIR/metadata.json, naming CALLER as the one executable
# the extension lets call it.
foreach(name WRAPPER LOGIC METADATA OUT_DIR UUID VERSIONS INTERFACE OBJECT_PATH CALLER)
    if(NOT DEFINED ${name})
        message(FATAL_ERROR "HalvicGnomeExtension.cmake: ${name} is not set")
    endif()
endforeach()
set(HALVIC_GNOME_INTERFACE ${INTERFACE})
set(HALVIC_GNOME_PATH ${OBJECT_PATH})
set(HALVIC_GNOME_UUID ${UUID})
set(HALVIC_GNOME_SHELL_VERSIONS ${VERSIONS})
set(HALVIC_GNOME_CALLER ${CALLER})
configure_file(${LOGIC} ${OUT_DIR}/logic.js.part @ONLY)
file(READ ${OUT_DIR}/logic.js.part HALVIC_GNOME_LOGIC)
file(REMOVE ${OUT_DIR}/logic.js.part)
configure_file(${WRAPPER} ${OUT_DIR}/extension.js @ONLY)
configure_file(${METADATA} ${OUT_DIR}/metadata.json @ONLY)
