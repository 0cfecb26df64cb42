# The button group: the owner-drawn button, the hyperlink, the transparent
# label and the popup-menu component. The record and helper tests run in the
# test process; the behaviour tests run programs/buttons_app as a child with
# its own window template.
add_executable(buttons_app programs/buttons_app.cpp programs/screen_pixels.cpp programs/window_thread_idle.cpp)
target_link_libraries(buttons_app PRIVATE tulvex_controls tulvex_runtime tulvex_test_support)
tulvex_add_window_templates(buttons_app programs/buttons_window.tvw)

tulvex_add_gtest(button_tests
  SOURCES button_records_test.cpp buttons_test.cpp
  LIBRARIES tulvex_controls tulvex_runtime)
add_dependencies(button_tests buttons_app)
target_compile_definitions(button_tests PRIVATE
  TULVEX_BUTTONS_APP="Z:$<TARGET_FILE:buttons_app>"
  TULVEX_BUTTONS_SCREENSHOT="Z:${CMAKE_CURRENT_BINARY_DIR}/buttons_screenshot.bmp")
