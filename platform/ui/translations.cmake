# Installs the translation catalogues (embedded by resources/) into an application.
add_library(lm360r_translations STATIC ${CMAKE_CURRENT_LIST_DIR}/Translations.cpp)
target_include_directories(lm360r_translations PUBLIC ${PROJECT_SOURCE_DIR})
target_link_libraries(lm360r_translations PUBLIC Qt6::Core lm360r_catalogues)
lm360r_project_target(lm360r_translations)
