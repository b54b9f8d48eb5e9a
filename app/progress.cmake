# The shared progress panel: its window comes from resources/Progress.ui.
add_library(lm360r_progress STATIC ${CMAKE_CURRENT_LIST_DIR}/Vexo_Progress.cpp)
target_include_directories(lm360r_progress PUBLIC ${PROJECT_SOURCE_DIR})
target_link_libraries(lm360r_progress PUBLIC lm360r_platform_ui Qt6::Widgets)
set_target_properties(lm360r_progress PROPERTIES AUTOUIC ON
                                                 AUTOUIC_SEARCH_PATHS ${PROJECT_SOURCE_DIR}/resources)
lm360r_project_target(lm360r_progress)
