# The user interface on Qt Widgets: page framework, pages, controls, the platform services and
# the program itself. Included from src/CMakeLists.txt after the core library.
find_package(Qt6 REQUIRED COMPONENTS Widgets)

# Dialog templates, string table and link cursor.
if(NOT TARGET setuppilot_res)
  add_subdirectory(res)
endif()

add_library(setuppilot_ui STATIC
  controls/HoverButton.cpp
  controls/LaunchUrl.cpp
  controls/LinkCursor.cpp
  platform/MessageBoxService.cpp
  platform/ShellService.cpp
  wizard/FinishPage.cpp
  wizard/GuidePage1.cpp
  wizard/GuidePage2.cpp
  wizard/GuidePage3.cpp
  wizard/HomePage.cpp
  wizard/ModemFoundPage.cpp
  wizard/ResourcePath.cpp
  wizard/WizardContext.cpp
  wizard/WizardMessage.cpp
  wizard/WizardPage.cpp
  app/SetupPilotApp.cpp
  app/WizardFlow.cpp
)
set_target_properties(setuppilot_ui PROPERTIES AUTOMOC ON)
target_include_directories(setuppilot_ui PUBLIC ${CMAKE_CURRENT_SOURCE_DIR})
# GIO answers which application the desktop has for a document or a web address.
find_package(PkgConfig REQUIRED)
pkg_check_modules(GIO REQUIRED IMPORTED_TARGET gio-2.0)
target_link_libraries(setuppilot_ui PUBLIC setuppilot_core setuppilot_res Qt6::Widgets
  PRIVATE PkgConfig::GIO)

add_executable(setuppilot app/main.cpp)
target_link_libraries(setuppilot PRIVATE setuppilot_ui)
# The name of the desktop entry, the icons and the AppStream data (cmake/Desktop.cmake).
target_compile_definitions(setuppilot PRIVATE SETUPPILOT_APP_ID="${SETUPPILOT_APP_ID}")

# The form pages and the progress pages add their sources to setuppilot_ui from their own folders.
foreach(area account wireless progress)
  if(EXISTS ${CMAKE_CURRENT_SOURCE_DIR}/${area}/ui.cmake)
    include(${area}/ui.cmake)
  endif()
endforeach()
