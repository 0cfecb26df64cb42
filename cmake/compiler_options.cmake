# Warnings and platform flags, in one interface target that every target of
# the project links.
add_library(tulvex_options INTERFACE)

target_compile_options(tulvex_options INTERFACE
  -Wall -Wextra -Wshadow -Wnon-virtual-dtor -Wformat=2 -Wno-missing-field-initializers)

if(WIN32)
  # Sources are UTF-8; the program's texts are GBK (code page 936).
  target_compile_options(tulvex_options INTERFACE -finput-charset=UTF-8 -fexec-charset=GBK)
  target_compile_definitions(tulvex_options INTERFACE
    WIN32_LEAN_AND_MEAN NOMINMAX _WIN32_WINNT=0x0501 WINVER=0x0501)
  # One self-contained executable: no MinGW runtime DLLs beside it.
  target_link_options(tulvex_options INTERFACE -static -static-libgcc -static-libstdc++)
endif()

if(TULVEX_SANITIZE)
  target_compile_options(tulvex_options INTERFACE
    -fsanitize=address,undefined -fno-sanitize-recover=undefined -fno-omit-frame-pointer)
  target_link_options(tulvex_options INTERFACE -fsanitize=address,undefined)
endif()

# Concurrent conversions are checked for data races under ThreadSanitizer,
# which cannot be combined with AddressSanitizer.
if(TULVEX_THREAD_SANITIZE)
  if(TULVEX_SANITIZE)
    message(FATAL_ERROR "TULVEX_THREAD_SANITIZE and TULVEX_SANITIZE exclude each other")
  endif()
  target_compile_options(tulvex_options INTERFACE -fsanitize=thread -fno-omit-frame-pointer)
  target_link_options(tulvex_options INTERFACE -fsanitize=thread)
endif()

if(TULVEX_FUZZ)
  # Everything the fuzz targets link is instrumented for coverage and checked
  # by the sanitizers; the targets themselves add -fsanitize=fuzzer.
  target_compile_options(tulvex_options INTERFACE
    -fsanitize=fuzzer-no-link,address,undefined -fno-sanitize-recover=undefined
    -fno-omit-frame-pointer)
  target_link_options(tulvex_options INTERFACE -fsanitize=address,undefined)
endif()
