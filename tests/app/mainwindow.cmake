lm360r_add_test(app_mainwindow_tests
  SOURCES
    ${CMAKE_CURRENT_LIST_DIR}/ControllerTest.cpp
    ${CMAKE_CURRENT_LIST_DIR}/MenuTitlesTest.cpp
    ${CMAKE_CURRENT_LIST_DIR}/SaveFlowTest.cpp
    ${CMAKE_CURRENT_LIST_DIR}/TranslationsTest.cpp
  LIBS lm360r_app lm360r_translations lm360r_test_support lm360r_qt_test_main)
target_include_directories(app_mainwindow_tests PRIVATE ${PROJECT_SOURCE_DIR})

lm360r_add_test(app_application_tests
  SOURCES ${CMAKE_CURRENT_LIST_DIR}/ApplicationTest.cpp
  LIBS lm360r_app lm360r_simulator lm360r_translations lm360r_test_support lm360r_qt_test_main)
target_include_directories(app_application_tests PRIVATE ${PROJECT_SOURCE_DIR})
