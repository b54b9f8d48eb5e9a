# A private cupsd for tests of the installed-printer list; never the system's.
add_library(lm360r_private_cups_server STATIC ${CMAKE_CURRENT_LIST_DIR}/PrivateCupsServer.cpp)
target_include_directories(lm360r_private_cups_server PUBLIC ${PROJECT_SOURCE_DIR})
target_link_libraries(lm360r_private_cups_server PUBLIC Qt6::Core GTest::gtest)
lm360r_project_target(lm360r_private_cups_server)

lm360r_add_test(lm360r_printer_list_cups_test
  SOURCES ${CMAKE_CURRENT_LIST_DIR}/InstalledPrinterListCupsTest.cpp
  LIBS lm360r_platform_printerlist lm360r_private_cups_server lm360r_qt_test_main)
