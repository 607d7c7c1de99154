# The wireless settings page.
target_sources(setuppilot_ui PRIVATE
  ${CMAKE_CURRENT_LIST_DIR}/WirelessPage.cpp
  ${CMAKE_CURRENT_LIST_DIR}/WirelessPage.h
)
