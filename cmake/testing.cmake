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
# process start costs about a second, the executable is one test.
function(tulvex_add_gtest name)
  cmake_parse_arguments(ARG "" "" "SOURCES;LIBRARIES" ${ARGN})
  add_executable(${name} ${ARG_SOURCES})
  target_link_libraries(${name} PRIVATE ${ARG_LIBRARIES} tulvex_test_support GTest::gtest)
  if(WIN32)
    add_test(NAME ${name} COMMAND ${name} --gtest_color=no)
  else()
    gtest_discover_tests(${name} DISCOVERY_MODE PRE_TEST)
  endif()
endfunction()
