# The showcase: one window with every control of the library, the list
# filled by a worker through the commands, and a screenshot of it saved in
# the build folder (tests/controls/showcase/showcase.png).
add_executable(showcase_app programs/showcase_app.cpp)
target_link_libraries(showcase_app PRIVATE tulvex_controls tulvex_runtime tulvex_test_support comctl32)
tulvex_add_window_templates(showcase_app programs/showcase_window.tvw)
add_test(NAME control_showcase
  COMMAND ${CMAKE_CURRENT_SOURCE_DIR}/showcase_test.sh ${PROJECT_SOURCE_DIR}/scripts/wine-run.sh
          $<TARGET_FILE:showcase_app> ${CMAKE_CURRENT_BINARY_DIR}/showcase)
