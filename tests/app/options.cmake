# The program's own command line, run as users run it.
add_test(NAME app_command_line_options COMMAND ${CMAKE_CURRENT_LIST_DIR}/options.sh $<TARGET_FILE:lm360r-settings>)
