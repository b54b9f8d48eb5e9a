lm360r_add_test(usb_link_tests
  SOURCES
    ${CMAKE_CURRENT_LIST_DIR}/CUsbStringsTest.cpp
    ${CMAKE_CURRENT_LIST_DIR}/UsbOpenTest.cpp
    ${CMAKE_CURRENT_LIST_DIR}/UsbTransfersTest.cpp
    ${CMAKE_CURRENT_LIST_DIR}/CUsbTransactionsTest.cpp
  LIBS lm360r_link lm360r_simulator GTest::gtest_main)
