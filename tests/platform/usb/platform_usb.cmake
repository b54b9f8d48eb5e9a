lm360r_add_test(platform_usb_tests
  SOURCES ${CMAKE_CURRENT_LIST_DIR}/TickTest.cpp ${CMAKE_CURRENT_LIST_DIR}/TextConversionTest.cpp
  LIBS lm360r_platform_usb GTest::gtest_main)

# The process bus is chosen once, from the environment, so the simulated choice gets a process of its
# own; the test sets the variables itself before the first use.
lm360r_add_test(process_bus_simulated_tests
  SOURCES ${CMAKE_CURRENT_LIST_DIR}/ProcessBusSimulatedTest.cpp
  LIBS lm360r_link lm360r_process_bus GTest::gtest_main)
