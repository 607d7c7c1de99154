# The bundle: the program with everything it finds relative to its folder, laid out in
# <build>/bundle as the install step lays it out:
#   setuppilot, EnableDHCP, modemctl, res/<Language>/*.bmp, Docs/*.pdf, Acrobat/, Support/
# The bitmaps and documents are drawn by render-assets and render-docs into the same folder.
set(SETUPPILOT_BUNDLE_DIR ${CMAKE_BINARY_DIR}/bundle)

set_target_properties(setuppilot PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${SETUPPILOT_BUNDLE_DIR})

# The PDF reader installer and the support tool the home page starts come from bundle-files/,
# the documents from tools/render-docs, the bitmaps from tools/render-assets.
add_subdirectory(bundle-files)

# Installed as one folder, lib/setuppilot under the prefix (a program's private folder, not the
# architecture's library folder), with launchers in bin that start the wizard and modemctl in it:
# the programs find their files relative to their current directory.
include(GNUInstallDirs)
install(DIRECTORY ${SETUPPILOT_BUNDLE_DIR}/ DESTINATION ${SETUPPILOT_INSTALL_DIR}
        USE_SOURCE_PERMISSIONS PATTERN ".rendered" EXCLUDE)
foreach(launched_program setuppilot modemctl)
  configure_file(${CMAKE_CURRENT_LIST_DIR}/launcher.in
                 ${CMAKE_BINARY_DIR}/launchers/${launched_program} @ONLY)
  install(PROGRAMS ${CMAKE_BINARY_DIR}/launchers/${launched_program}
          DESTINATION ${CMAKE_INSTALL_BINDIR})
endforeach()
