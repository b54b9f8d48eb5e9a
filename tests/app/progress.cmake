lm360r_add_test(progress_panel_test
  SOURCES ${CMAKE_CURRENT_LIST_DIR}/Vexo_ProgressTest.cpp
  LIBS lm360r_progress lm360r_qt_test_main)
