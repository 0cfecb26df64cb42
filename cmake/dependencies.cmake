# The codec libraries: Debian's -dev packages natively, the project's own
# static cross-build (scripts/build-windows-deps.sh) for Windows.
if(WIN32)
  # Link the static archives only.
  set(CMAKE_FIND_LIBRARY_SUFFIXES .a)
endif()

find_package(ZLIB REQUIRED)
find_package(JPEG REQUIRED)
find_package(PNG REQUIRED)
find_package(TIFF REQUIRED)

if(WIN32)
  # A static libtiff needs its codecs named after it.
  set_property(TARGET TIFF::TIFF APPEND PROPERTY INTERFACE_LINK_LIBRARIES JPEG::JPEG ZLIB::ZLIB)
endif()

# GoogleTest from Debian's source package, built with the project's flags.
if(NOT TULVEX_FUZZ)
  set(TULVEX_GOOGLETEST_SOURCE /usr/src/googletest CACHE PATH "GoogleTest sources")
  set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
  set(BUILD_GMOCK OFF CACHE BOOL "" FORCE)
  set(gtest_disable_pthreads OFF CACHE BOOL "" FORCE)
  add_subdirectory(${TULVEX_GOOGLETEST_SOURCE} ${CMAKE_BINARY_DIR}/googletest EXCLUDE_FROM_ALL)
endif()
