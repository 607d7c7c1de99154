# What the desktop and the manual need beside the bundle: the menu entry, the program's icons,
# the AppStream data for software centres, the manual pages, and the modemctl launcher. All of
# it is named after SETUPPILOT_APP_ID.
include(GNUInstallDirs)

set(SETUPPILOT_DATA_DIR ${CMAKE_SOURCE_DIR}/data)
foreach(file ${SETUPPILOT_APP_ID}.desktop ${SETUPPILOT_APP_ID}.metainfo.xml)
  if(NOT EXISTS ${SETUPPILOT_DATA_DIR}/${file})
    message(FATAL_ERROR "data/${file} is missing: the desktop files are named after the "
                        "program's id, ${SETUPPILOT_APP_ID}")
  endif()
endforeach()
install(FILES ${SETUPPILOT_DATA_DIR}/${SETUPPILOT_APP_ID}.desktop
        DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
install(FILES ${SETUPPILOT_DATA_DIR}/${SETUPPILOT_APP_ID}.metainfo.xml
        DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)

# The icons in the icon theme's layout, drawn by render-assets like the rest of the artwork.
set(app_icons_dir ${CMAKE_BINARY_DIR}/icons)
set(app_icons ${app_icons_dir}/hicolor/scalable/apps/${SETUPPILOT_APP_ID}.svg)
foreach(size 48 128 256)
  list(APPEND app_icons ${app_icons_dir}/hicolor/${size}x${size}/apps/${SETUPPILOT_APP_ID}.png)
endforeach()
add_custom_command(
  OUTPUT ${app_icons}
  COMMAND render-assets --icons ${SETUPPILOT_APP_ID} ${app_icons_dir}
  DEPENDS render-assets
  COMMENT "Drawing the program's icons"
  VERBATIM)
add_custom_target(app_icons ALL DEPENDS ${app_icons})
install(DIRECTORY ${app_icons_dir}/hicolor DESTINATION ${CMAKE_INSTALL_DATADIR}/icons)

# The manual pages, written for scdoc. scdoc dates a page from SOURCE_DATE_EPOCH when it is set
# (scripts/package sets it to the last commit's time), else from the day it runs.
find_program(SCDOC scdoc REQUIRED)
set(man_pages)
foreach(page setuppilot.1 modemctl.1)
  set(source ${CMAKE_SOURCE_DIR}/docs/man/${page}.scd)
  set(output ${CMAKE_BINARY_DIR}/man/${page})
  add_custom_command(
    OUTPUT ${output}
    COMMAND ${CMAKE_COMMAND} -E make_directory ${CMAKE_BINARY_DIR}/man
    COMMAND sh -c "\"$0\" < \"$1\" > \"$2\"" ${SCDOC} ${source} ${output}
    DEPENDS ${source}
    COMMENT "Writing the manual page ${page}"
    VERBATIM)
  list(APPEND man_pages ${output})
endforeach()
add_custom_target(man_pages ALL DEPENDS ${man_pages})
install(FILES ${man_pages} DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
