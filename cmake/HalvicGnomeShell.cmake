# The HUD's GNOME Shell extension: one logic file wrapped into two builds, for GNOME 43–44 (legacy
# imports) and GNOME 45 and later (an ES module), under two UUIDs whose Shell versions do not
# overlap, so a Shell runs only the one made for it. The names below are the one place the
# extension and the HUD's GNOME backend both take them from.
set(HALVIC_GNOME_INTERFACE org.halvic.HudShell)
set(HALVIC_GNOME_PATH /org/halvic/Hud)
set(HALVIC_GNOME_UUID_43 halvic-hud-43@halvic.org)
set(HALVIC_GNOME_UUID_45 halvic-hud@halvic.org)
set(HALVIC_GNOME_VERSIONS_43 "43 44")
set(HALVIC_GNOME_VERSIONS_45 "45 46 47 48")
set(HALVIC_GNOME_SOURCE ${CMAKE_SOURCE_DIR}/src/desktop/gnome/shell-extension)
set(HALVIC_GNOME_MAKE ${CMAKE_SOURCE_DIR}/cmake/HalvicGnomeExtension.cmake)

# The settings of one build for HalvicGnomeExtension.cmake, as `set()` lines; CALLER is the
# HUD's executable.
function(halvic_gnome_settings out build out_dir caller)
    set(${out} "set(SOURCE_DIR \"${HALVIC_GNOME_SOURCE}\")
        set(BUILD ${build})
        set(OUT_DIR \"${out_dir}\")
        set(UUID \"${HALVIC_GNOME_UUID_${build}}\")
        set(VERSIONS \"${HALVIC_GNOME_VERSIONS_${build}}\")
        set(INTERFACE ${HALVIC_GNOME_INTERFACE})
        set(OBJECT_PATH ${HALVIC_GNOME_PATH})
        set(CALLER \"${caller}\")" PARENT_SCOPE)
endfunction()

# The build tree's copies name the build tree's HUD: what the tests install into their Shell.
set(outputs)
foreach(build 43 45)
    set(dir ${CMAKE_BINARY_DIR}/data/gnome-shell/extensions/${HALVIC_GNOME_UUID_${build}})
    halvic_gnome_settings(settings ${build} ${dir} $<TARGET_FILE:halvic-hud>)
    file(GENERATE OUTPUT ${CMAKE_BINARY_DIR}/data/gnome-shell/make-${build}.cmake
        CONTENT "${settings}\ninclude(\"${HALVIC_GNOME_MAKE}\")\n")
    add_custom_command(OUTPUT ${dir}/extension.js ${dir}/metadata.json
        COMMAND ${CMAKE_COMMAND} -P ${CMAKE_BINARY_DIR}/data/gnome-shell/make-${build}.cmake
        DEPENDS ${HALVIC_GNOME_MAKE} ${CMAKE_BINARY_DIR}/data/gnome-shell/make-${build}.cmake
            ${HALVIC_GNOME_SOURCE}/extension-${build}.js.in ${HALVIC_GNOME_SOURCE}/halvic-shell.js
            ${HALVIC_GNOME_SOURCE}/metadata.json.in
        VERBATIM)
    list(APPEND outputs ${dir}/extension.js ${dir}/metadata.json)
endforeach()
add_custom_target(gnome_shell_extension ALL DEPENDS ${outputs})
