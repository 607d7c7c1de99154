# The account pages (ISP choice, WAN addresses, PPP account) and the address control they use.
target_sources(setuppilot_ui PRIVATE
  ${CMAKE_CURRENT_LIST_DIR}/AccountPageSupport.cpp
  ${CMAKE_CURRENT_LIST_DIR}/IspPage.cpp
  ${CMAKE_CURRENT_LIST_DIR}/PppPage.cpp
  ${CMAKE_CURRENT_LIST_DIR}/WanIpPage.cpp
  ${CMAKE_CURRENT_LIST_DIR}/../controls/IpAddressEdit.cpp
)
