# End-to-end tests: a driver in its own process starts the program and uses
# it through its windows (clicks, keys, the system dialogs), reading the job
# list and the files it writes. The driver is first checked against a plain
# Win32 stand-in with the same window layout, so that a fault of the driver
# is told apart from a fault of the program.
file(GLOB APP_DRIVER_SOURCES CONFIGURE_DEPENDS ${CMAKE_CURRENT_LIST_DIR}/driver/*.cpp)
add_library(tulvex_app_driver STATIC ${APP_DRIVER_SOURCES})
target_link_libraries(tulvex_app_driver PUBLIC tulvex_test_support PRIVATE PNG::PNG comctl32 gdi32)

add_executable(layout_stand_in WIN32 ${CMAKE_CURRENT_LIST_DIR}/programs/layout_stand_in.cpp)
target_link_libraries(layout_stand_in PRIVATE tulvex_options comctl32 comdlg32 shell32 ole32)

set(APP_SCREENSHOTS ${PROJECT_BINARY_DIR}/screenshots)
tulvex_program_path(APP_SCREENSHOTS_PATH ${APP_SCREENSHOTS})
file(MAKE_DIRECTORY ${APP_SCREENSHOTS})

tulvex_add_gtest(app_driver_tests SOURCES ${CMAKE_CURRENT_LIST_DIR}/driver_check_test.cpp
  LIBRARIES tulvex_app_driver)
add_dependencies(app_driver_tests layout_stand_in)
target_compile_definitions(app_driver_tests PRIVATE
  TULVEX_LAYOUT_STAND_IN="Z:$<TARGET_FILE:layout_stand_in>"
  TULVEX_SCREENSHOTS_DIR="${APP_SCREENSHOTS_PATH}")
if(WIN32)
  set_tests_properties(app_driver_tests PROPERTIES RUN_SERIAL TRUE TIMEOUT 300)
endif()

# The program itself, driven end to end.
tulvex_add_gtest(app_end_to_end_tests
  SOURCES ${CMAKE_CURRENT_LIST_DIR}/job_list_end_to_end_test.cpp
          ${CMAKE_CURRENT_LIST_DIR}/conversion_end_to_end_test.cpp
          ${CMAKE_CURRENT_LIST_DIR}/look_end_to_end_test.cpp
          ${CMAKE_CURRENT_LIST_DIR}/jobs_end_to_end_test.cpp
  LIBRARIES tulvex_app_driver shlwapi)
add_dependencies(app_end_to_end_tests Tulvex)
set(APP_PROGRAM "Z:$<TARGET_FILE:Tulvex>")
target_compile_definitions(app_end_to_end_tests PRIVATE
  TULVEX_PROGRAM="${APP_PROGRAM}" TULVEX_SCREENSHOTS_DIR="${APP_SCREENSHOTS_PATH}")
set_tests_properties(app_end_to_end_tests PROPERTIES RUN_SERIAL TRUE TIMEOUT 1800)

# The run script's driver on machines without a display (scripts/run.sh).
add_executable(sample_run_driver ${CMAKE_CURRENT_LIST_DIR}/programs/sample_run_driver.cpp)
target_link_libraries(sample_run_driver PRIVATE tulvex_app_driver)
