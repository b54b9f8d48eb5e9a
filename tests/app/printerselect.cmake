lm360r_add_test(lm360r_printer_select_test
  SOURCES ${CMAKE_CURRENT_LIST_DIR}/PrinterSelectMatchTest.cpp
          ${CMAKE_CURRENT_LIST_DIR}/Vexo_PrinterSelectTest.cpp
  LIBS lm360r_printer_select lm360r_test_support lm360r_qt_test_main Qt6::Test)

# Against a private cupsd; its own binary, as the CUPS client keeps its first server.
lm360r_add_test(lm360r_printer_select_cups_test
  SOURCES ${CMAKE_CURRENT_LIST_DIR}/PrinterSelectCupsTest.cpp
  LIBS lm360r_printer_select lm360r_private_cups_server lm360r_test_support lm360r_qt_test_main)
