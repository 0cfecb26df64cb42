# Test helpers shared by the test folders.
include(GoogleTest)

# A path as the test program sees it: under Wine the Unix file system is
# drive Z:.
function(tulvex_program_path out path)
  if(WIN32)
    set(${out} "Z:${path}" PARENT_SCOPE)
  else()
    set(${out} "${path}" PARENT_SCOPE)
  endif()
endfunction()

# tulvex_add_gtest(NAME source... LIBRARIES lib...)
# Natively every test case is a CTest test of its own; under Wine, where a
# process start costs about a second, the executable is one test, and a case
# skipped inside it would pass unseen. So every run writes its XML report to
# test-reports/ of the build folder, where scripts/test.sh counts the skips.
function(tulvex_add_gtest name)
  cmake_parse_arguments(ARG "" "" "SOURCES;LIBRARIES" ${ARGN})
  add_executable(${name} ${ARG_SOURCES})
  target_link_libraries(${name} PRIVATE ${ARG_LIBRARIES} tulvex_test_support GTest::gtest)
  tulvex_program_path(reports ${CMAKE_BINARY_DIR}/test-reports)
  if(WIN32)
    add_test(NAME ${name} COMMAND ${name} --gtest_color=no --gtest_output=xml:${reports}/${name}.xml)
  else()
    gtest_discover_tests(${name} DISCOVERY_MODE PRE_TEST XML_OUTPUT_DIR ${reports})
  endif()
endfunction()
