# The USB host on libusb-1.0.
add_library(lm360r_libusb_bus STATIC
  ${CMAKE_CURRENT_LIST_DIR}/LibusbBus.cpp
  ${CMAKE_CURRENT_LIST_DIR}/LibusbInterface.cpp
  ${CMAKE_CURRENT_LIST_DIR}/LibusbTransfers.cpp)
target_include_directories(lm360r_libusb_bus PUBLIC ${PROJECT_SOURCE_DIR})
target_link_libraries(lm360r_libusb_bus PUBLIC lm360r_platform_usb PRIVATE PkgConfig::LIBUSB)
lm360r_project_target(lm360r_libusb_bus)
