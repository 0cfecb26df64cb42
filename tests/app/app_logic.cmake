# The program's logic without its window: run plan and row scheduling, the
# jobs, settings location, folder scan rules, dialog answers and drops, the
# files the run and the view action look at, and the web addresses the
# window template repeats.
tulvex_program_path(TULVEX_APP_SOURCE_PATH ${PROJECT_SOURCE_DIR}/app)
tulvex_add_gtest(app_logic_test
  SOURCES
    ${CMAKE_CURRENT_LIST_DIR}/conversion_plan_test.cpp
    ${CMAKE_CURRENT_LIST_DIR}/row_schedule_test.cpp
    ${CMAKE_CURRENT_LIST_DIR}/job_board_test.cpp
    ${CMAKE_CURRENT_LIST_DIR}/file_rules_test.cpp
    ${CMAKE_CURRENT_LIST_DIR}/settings_store_test.cpp
    ${CMAKE_CURRENT_LIST_DIR}/folder_scan_test.cpp
    ${CMAKE_CURRENT_LIST_DIR}/job_input_test.cpp
    ${CMAKE_CURRENT_LIST_DIR}/web_addresses_test.cpp
  LIBRARIES tulvex_app_logic)
target_compile_definitions(app_logic_test PRIVATE TULVEX_APP_SOURCE_DIR="${TULVEX_APP_SOURCE_PATH}")
