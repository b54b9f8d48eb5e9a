# The printer link: discovery and open, pipe transfers, the link's own transactions. Plain C++.
add_library(lm360r_link STATIC
  ${CMAKE_CURRENT_LIST_DIR}/CUsbStrings.cpp
  ${CMAKE_CURRENT_LIST_DIR}/CUsbOpen.cpp
  ${CMAKE_CURRENT_LIST_DIR}/CUsbTransfers.cpp
  ${CMAKE_CURRENT_LIST_DIR}/CUsbTransactions.cpp)
target_include_directories(lm360r_link PUBLIC ${PROJECT_SOURCE_DIR})
target_link_libraries(lm360r_link PUBLIC lm360r_protocol lm360r_platform_usb PRIVATE lm360r_process_bus)
lm360r_project_target(lm360r_link)
