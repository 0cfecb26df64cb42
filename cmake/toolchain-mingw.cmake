# Shared part of the MinGW-w64 cross toolchains (posix threads). The
# architecture files set TOOLCHAIN_PREFIX and CMAKE_SYSTEM_PROCESSOR first.
set(CMAKE_SYSTEM_NAME Windows)

set(CMAKE_C_COMPILER   ${TOOLCHAIN_PREFIX}-gcc-posix)
set(CMAKE_CXX_COMPILER ${TOOLCHAIN_PREFIX}-g++-posix)
set(CMAKE_RC_COMPILER  ${TOOLCHAIN_PREFIX}-windres)

# The static codec libraries that scripts/build-windows-deps.sh cross-builds,
# one cache per architecture; TULVEX_DEPS_CACHE moves the cache for both.
if(DEFINED ENV{TULVEX_DEPS_CACHE})
  set(TULVEX_DEPS_ROOT $ENV{TULVEX_DEPS_CACHE})
else()
  set(TULVEX_DEPS_ROOT /var/cache/tulvex/windows-deps)
endif()
set(TULVEX_WINDOWS_DEPS ${TULVEX_DEPS_ROOT}/${TOOLCHAIN_PREFIX}/current CACHE PATH
    "Prefix of the cross-built codec libraries")
set(CMAKE_FIND_ROOT_PATH ${TULVEX_WINDOWS_DEPS} /usr/${TOOLCHAIN_PREFIX})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)
