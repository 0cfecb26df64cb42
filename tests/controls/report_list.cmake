# The report list, the thread, shell and folder commands: rules tested in
# process, and a small application on the runtime with a report list, run as
# a child process for creation, commands, events, a worker and the folder
# dialog. It registers the list type itself.
add_executable(report_list_app programs/report_list_app.cpp programs/window_thread_idle.cpp)
target_link_libraries(report_list_app PRIVATE tulvex_controls tulvex_runtime tulvex_test_support comctl32)
tulvex_add_window_templates(report_list_app programs/report_list_window.tvw)

tulvex_add_gtest(report_list_tests
  SOURCES command_rules_test.cpp report_list_test.cpp
  LIBRARIES tulvex_controls tulvex_runtime comctl32)
add_dependencies(report_list_tests report_list_app)
target_compile_definitions(report_list_tests PRIVATE TULVEX_REPORT_LIST_APP="Z:$<TARGET_FILE:report_list_app>")

# A program the shell-command tests open through the shell.
add_executable(opened_marker programs/opened_marker.cpp)
target_link_libraries(opened_marker PRIVATE tulvex_options)
add_dependencies(report_list_tests opened_marker)
target_compile_definitions(report_list_tests PRIVATE TULVEX_OPENED_MARKER="Z:$<TARGET_FILE:opened_marker>")
