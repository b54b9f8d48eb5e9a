# The USB host on libusb-1.0.
add_library(lm360r_libusb_bus STATIC
  ${CMAKE_CURRENT_LIST_DIR}/LibusbBus.cpp
  ${CMAKE_CURRENT_LIST_DIR}/LibusbInterface.cpp
  ${CMAKE_CURRENT_LIST_DIR}/LibusbTransfers.cpp
  ${CMAKE_CURRENT_LIST_DIR}/LibusbClaim.cpp
  ${CMAKE_CURRENT_LIST_DIR}/DetachLedger.cpp
  ${CMAKE_CURRENT_LIST_DIR}/InterfaceSysfs.cpp
  ${CMAKE_CURRENT_LIST_DIR}/SignalDeferral.cpp)
target_include_directories(lm360r_libusb_bus PUBLIC ${PROJECT_SOURCE_DIR})
target_link_libraries(lm360r_libusb_bus PUBLIC lm360r_platform_usb PRIVATE PkgConfig::LIBUSB)
lm360r_project_target(lm360r_libusb_bus)

# Seat access to USB printers. udev reads packaged rules from /usr/lib/udev/rules.d and local ones
# from /etc/udev/rules.d; a prefix other than /usr gets the local place.
if(CMAKE_INSTALL_PREFIX STREQUAL "/usr")
  set(_lm360r_udev_default "lib/udev/rules.d")
else()
  set(_lm360r_udev_default "/etc/udev/rules.d")
endif()
set(LM360R_UDEV_RULES_DIR "${_lm360r_udev_default}" CACHE STRING "Where to install the udev rule for printer access")
install(FILES ${PROJECT_SOURCE_DIR}/resources/udev/70-lm360r-printer.rules DESTINATION ${LM360R_UDEV_RULES_DIR})
