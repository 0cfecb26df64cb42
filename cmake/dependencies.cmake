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

# The codecs of the newer formats, as Tulvex:: targets that hide the two
# worlds: natively Debian's shared libraries through pkg-config; on Windows the
# cross-built static archives, named in link order (a library before the ones
# it calls), since nothing resolves dependencies for static archives.
find_package(GIF 5 REQUIRED)
add_library(Tulvex::Gif INTERFACE IMPORTED GLOBAL)
target_link_libraries(Tulvex::Gif INTERFACE GIF::GIF)

if(NOT WIN32)
  find_package(PkgConfig REQUIRED)
endif()

# tulvex_codec_library(TARGET HEADER header MODULES pkg-config-module...
#                      ARCHIVES archive... [LINK target...])
function(tulvex_codec_library target)
  cmake_parse_arguments(ARG "" "HEADER" "MODULES;ARCHIVES;LINK" ${ARGN})
  string(MAKE_C_IDENTIFIER ${target} id)
  add_library(${target} INTERFACE IMPORTED GLOBAL)
  if(WIN32)
    find_path(${id}_INCLUDE_DIR ${ARG_HEADER} REQUIRED)
    set(archives)
    foreach(archive IN LISTS ARG_ARCHIVES)
      find_library(TULVEX_ARCHIVE_${archive} NAMES ${archive} REQUIRED)
      list(APPEND archives ${TULVEX_ARCHIVE_${archive}})
    endforeach()
    target_include_directories(${target} INTERFACE ${${id}_INCLUDE_DIR})
    target_link_libraries(${target} INTERFACE ${archives} ${ARG_LINK})
  else()
    pkg_check_modules(${id} REQUIRED IMPORTED_TARGET ${ARG_MODULES})
    target_link_libraries(${target} INTERFACE PkgConfig::${id})
  endif()
endfunction()

tulvex_codec_library(Tulvex::Lcms2 HEADER lcms2.h MODULES lcms2 ARCHIVES lcms2)
# WebP with its demux library, which finds the first frame of an animation
# (libwebp holds its sharpyuv part).
tulvex_codec_library(Tulvex::WebP HEADER webp/decode.h
  MODULES libwebp libwebpdemux ARCHIVES webpdemux webp)
# libheif with its HEVC (libde265) and AV1 (dav1d) decoders compiled in.
# libheif and libde265 are C++: whatever links them is linked as C++ (the
# static C++ runtime comes with tulvex_options), and libheif decodes tiles on
# threads.
if(WIN32)
  find_package(Threads REQUIRED)
endif()
tulvex_codec_library(Tulvex::Heif HEADER libheif/heif.h
  MODULES libheif ARCHIVES heif de265 dav1d LINK Threads::Threads)

# GoogleTest from Debian's source package, built with the project's flags.
if(NOT TULVEX_FUZZ)
  set(TULVEX_GOOGLETEST_SOURCE /usr/src/googletest CACHE PATH "GoogleTest sources")
  set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
  set(BUILD_GMOCK OFF CACHE BOOL "" FORCE)
  set(gtest_disable_pthreads OFF CACHE BOOL "" FORCE)
  add_subdirectory(${TULVEX_GOOGLETEST_SOURCE} ${CMAKE_BINARY_DIR}/googletest EXCLUDE_FROM_ALL)
endif()
