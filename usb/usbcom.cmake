# Which alert a failed exchange calls for: plain C++, shared by the application and the command line.
add_library(lm360r_exchange_alerts STATIC ${CMAKE_CURRENT_LIST_DIR}/ExchangeAlerts.cpp)
target_include_directories(lm360r_exchange_alerts PUBLIC ${PROJECT_SOURCE_DIR})
lm360r_project_target(lm360r_exchange_alerts)

# The settings object of the main window. Unlike the rest of the link it borrows Qt widgets.
add_library(lm360r_usbcom STATIC
  ${CMAKE_CURRENT_LIST_DIR}/CUsbCom.cpp
  ${CMAKE_CURRENT_LIST_DIR}/CUsbComTransactions.cpp
  ${CMAKE_CURRENT_LIST_DIR}/CUsbComExchange.cpp
  ${CMAKE_CURRENT_LIST_DIR}/CUsbComShow.cpp)
target_include_directories(lm360r_usbcom PUBLIC ${PROJECT_SOURCE_DIR})
target_link_libraries(lm360r_usbcom PUBLIC lm360r_link lm360r_process_bus lm360r_exchange_alerts
                                            lm360r_protocol lm360r_platform_ui Qt6::Widgets)
lm360r_project_target(lm360r_usbcom)
