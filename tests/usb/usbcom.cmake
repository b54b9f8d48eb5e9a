lm360r_add_test(exchange_alerts_test
  SOURCES ${CMAKE_CURRENT_LIST_DIR}/ExchangeAlertsTest.cpp
  LIBS lm360r_exchange_alerts GTest::gtest_main)

lm360r_add_test(usbcom_test
  SOURCES ${CMAKE_CURRENT_LIST_DIR}/CUsbComShowTest.cpp
          ${CMAKE_CURRENT_LIST_DIR}/CUsbComTransactionsTest.cpp
          ${CMAKE_CURRENT_LIST_DIR}/CUsbComExchangeTest.cpp
  LIBS lm360r_usbcom lm360r_simulator lm360r_test_support lm360r_qt_test_main)
