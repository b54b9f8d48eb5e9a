# Dialogs and localized lookup: the desktop services the application's classes use.
add_library(lm360r_platform_ui STATIC
  ${CMAKE_CURRENT_LIST_DIR}/Dialogs.cpp
  ${CMAKE_CURRENT_LIST_DIR}/QtDialogs.cpp
  ${CMAKE_CURRENT_LIST_DIR}/Localized.cpp)
target_include_directories(lm360r_platform_ui PUBLIC ${PROJECT_SOURCE_DIR})
target_link_libraries(lm360r_platform_ui PUBLIC Qt6::Widgets)
lm360r_project_target(lm360r_platform_ui)
