# The main window, its controller, texts and menus, and the command-file save: everything of the
# application but main(), so tests link the same code.
set(LM360R_APP_ID "io.github.lm360r.Settings" CACHE INTERNAL "Reverse-DNS name of the desktop application")

add_library(lm360r_app STATIC
  ${CMAKE_CURRENT_LIST_DIR}/Vexo_MainController.cpp
  ${CMAKE_CURRENT_LIST_DIR}/ControlsTitle.cpp
  ${CMAKE_CURRENT_LIST_DIR}/MenuTitles.cpp
  ${CMAKE_CURRENT_LIST_DIR}/SaveCommandFile.cpp
  ${CMAKE_CURRENT_LIST_DIR}/Vexo_OutPutFile.cpp
  ${CMAKE_CURRENT_LIST_DIR}/AtomicFile.cpp
  ${CMAKE_CURRENT_LIST_DIR}/ApplicationServices.cpp
  ${PROJECT_SOURCE_DIR}/resources/MainWindow.ui)
set_target_properties(lm360r_app PROPERTIES
  AUTOUIC ON
  AUTOUIC_SEARCH_PATHS ${PROJECT_SOURCE_DIR}/resources)
target_include_directories(lm360r_app PUBLIC ${PROJECT_SOURCE_DIR})
target_link_libraries(lm360r_app PUBLIC Qt6::Widgets lm360r_platform_ui lm360r_protocol lm360r_usbcom
                                        lm360r_progress lm360r_process_bus)
lm360r_project_target(lm360r_app)

add_executable(lm360r-settings ${CMAKE_CURRENT_LIST_DIR}/main.cpp)
target_compile_definitions(lm360r-settings PRIVATE LM360R_APP_ID="${LM360R_APP_ID}" LM360R_VERSION="${PROJECT_VERSION}")
target_link_libraries(lm360r-settings PRIVATE lm360r_app lm360r_translations)
lm360r_project_target(lm360r-settings)
install(TARGETS lm360r-settings RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
