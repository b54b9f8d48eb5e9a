# The bus this process uses: the simulated printer when LM360R_USB=simulated, else the real host.
add_library(lm360r_process_bus STATIC ${CMAKE_CURRENT_LIST_DIR}/ProcessUsbBus.cpp)
target_link_libraries(lm360r_process_bus PUBLIC lm360r_platform_usb PRIVATE lm360r_real_usb_bus lm360r_simulator)
lm360r_project_target(lm360r_process_bus)
