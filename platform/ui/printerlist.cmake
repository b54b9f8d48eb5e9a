# The installed print queues with their make-and-model types, from Qt's print support (CUPS).
add_library(lm360r_platform_printerlist STATIC ${CMAKE_CURRENT_LIST_DIR}/PrinterList.cpp)
target_include_directories(lm360r_platform_printerlist PUBLIC ${PROJECT_SOURCE_DIR})
target_link_libraries(lm360r_platform_printerlist PUBLIC Qt6::Core PRIVATE Qt6::PrintSupport)
lm360r_project_target(lm360r_platform_printerlist)
