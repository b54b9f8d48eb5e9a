# The printer selection dialog: which installed queue of the target printer to use.
add_library(lm360r_printer_select STATIC
  ${CMAKE_CURRENT_LIST_DIR}/PrinterSelectMatch.cpp
  ${CMAKE_CURRENT_LIST_DIR}/Vexo_PrinterSelect.cpp
  ${PROJECT_SOURCE_DIR}/resources/PrinterSelect.ui)
set_target_properties(lm360r_printer_select PROPERTIES
  AUTOMOC ON
  AUTOUIC ON
  AUTOUIC_SEARCH_PATHS ${PROJECT_SOURCE_DIR}/resources)
target_include_directories(lm360r_printer_select PUBLIC ${PROJECT_SOURCE_DIR})
target_link_libraries(lm360r_printer_select
  PUBLIC lm360r_platform_printerlist Qt6::Widgets
  PRIVATE lm360r_platform_ui)
lm360r_project_target(lm360r_printer_select)
