# The libusb backend against usbfs emulated by umockdev.
pkg_check_modules(UMOCKDEV REQUIRED IMPORTED_TARGET umockdev-1.0)

add_library(lm360r_usbfs_emulation STATIC ${CMAKE_CURRENT_LIST_DIR}/LibusbEmulatedDevice.cpp)
target_include_directories(lm360r_usbfs_emulation PUBLIC ${PROJECT_SOURCE_DIR})
target_link_libraries(lm360r_usbfs_emulation PUBLIC PkgConfig::UMOCKDEV)
lm360r_project_target(lm360r_usbfs_emulation)

# Without the preload libusb sees an empty bus; the tests check that they find their devices.
set(LM360R_UMOCKDEV_ENVIRONMENT LD_PRELOAD=libumockdev-preload.so.0)

lm360r_add_test(libusb_bus_test
  SOURCES ${CMAKE_CURRENT_LIST_DIR}/LibusbBusTest.cpp
  LIBS lm360r_libusb_bus lm360r_usbfs_emulation GTest::gtest_main
  ENVIRONMENT ${LM360R_UMOCKDEV_ENVIRONMENT})

lm360r_add_test(libusb_link_test
  SOURCES ${CMAKE_CURRENT_LIST_DIR}/LibusbLinkTest.cpp
  LIBS lm360r_link lm360r_libusb_bus lm360r_simulator lm360r_usbfs_emulation GTest::gtest_main
  ENVIRONMENT ${LM360R_UMOCKDEV_ENVIRONMENT})

# What gives the printer's kernel driver back: deferred signals and the ledger of detached drivers.
lm360r_add_test(libusb_release_tests
  SOURCES ${CMAKE_CURRENT_LIST_DIR}/SignalDeferralTest.cpp ${CMAKE_CURRENT_LIST_DIR}/DetachLedgerTest.cpp
  LIBS lm360r_libusb_bus GTest::gtest_main)
