# The USB host interface, the tick counter, the link's pause and text conversion. Plain C++.
add_library(lm360r_platform_usb STATIC
  ${CMAKE_CURRENT_LIST_DIR}/Tick.cpp
  ${CMAKE_CURRENT_LIST_DIR}/TextConversion.cpp
  ${CMAKE_CURRENT_LIST_DIR}/InUseWait.cpp)
target_include_directories(lm360r_platform_usb PUBLIC ${PROJECT_SOURCE_DIR})
lm360r_project_target(lm360r_platform_usb)
