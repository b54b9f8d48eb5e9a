# The machine's USB host behind CreateRealUsbBus(): libusb.
add_library(lm360r_real_usb_bus STATIC ${CMAKE_CURRENT_LIST_DIR}/LibusbRealBus.cpp)
target_link_libraries(lm360r_real_usb_bus PUBLIC lm360r_platform_usb PRIVATE lm360r_libusb_bus)
lm360r_project_target(lm360r_real_usb_bus)
