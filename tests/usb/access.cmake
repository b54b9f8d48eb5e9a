# The open of a printer the user may not open, on the simulated bus.
lm360r_add_test(link_access_refusal_test
  SOURCES ${CMAKE_CURRENT_LIST_DIR}/LinkAccessRefusalTest.cpp
  LIBS lm360r_link lm360r_simulator GTest::gtest_main)
