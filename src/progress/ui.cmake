# The three progress pages and their workers. Included from src/ui.cmake.
target_sources(setuppilot_ui PRIVATE
  ${CMAKE_CURRENT_LIST_DIR}/../platform/WorkerThread.cpp
  ${CMAKE_CURRENT_LIST_DIR}/ApplyPage.cpp
  ${CMAKE_CURRENT_LIST_DIR}/DetectPage.cpp
  ${CMAKE_CURRENT_LIST_DIR}/InternetTestPage.cpp
  ${CMAKE_CURRENT_LIST_DIR}/ProgressFill.cpp
  ${CMAKE_CURRENT_LIST_DIR}/ProgressRun.cpp
  ${CMAKE_CURRENT_LIST_DIR}/ProgressSettings.cpp
)
target_link_libraries(setuppilot_ui PUBLIC setuppilot_detection)
