lm360r_add_test(exchange_alerts_test
  SOURCES ${CMAKE_CURRENT_LIST_DIR}/ExchangeAlertsTest.cpp
  LIBS lm360r_exchange_alerts GTest::gtest_main)
