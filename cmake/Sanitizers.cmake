# Sanitizer and fuzzing builds. Every target of the tree, the stand-in library
# and the tools included, is built with the same checks, so that a fault shows
# up wherever the faulty code runs.
#
#   TAVMO_SANITIZE=address,undefined   AddressSanitizer, LeakSanitizer, UBSan
#   TAVMO_SANITIZE=thread              ThreadSanitizer
#   TAVMO_FUZZ=ON                      coverage for libFuzzer with ASan and UBSan (clang only)
set(TAVMO_SANITIZE "" CACHE STRING "Sanitizers to build everything with, e.g. address,undefined or thread")
option(TAVMO_FUZZ "Build the libFuzzer targets in fuzz/ (clang)" OFF)

if(TAVMO_FUZZ)
  if(NOT CMAKE_CXX_COMPILER_ID STREQUAL "Clang")
    message(FATAL_ERROR "TAVMO_FUZZ needs clang (-DCMAKE_C_COMPILER=clang -DCMAKE_CXX_COMPILER=clang++)")
  endif()
  if(TAVMO_SANITIZE)
    message(FATAL_ERROR "TAVMO_FUZZ brings its own sanitizers; leave TAVMO_SANITIZE empty")
  endif()
  # The fuzz targets add -fsanitize=fuzzer when they link; the rest of the
  # tree only gets the coverage that guides the fuzzer.
  set(TAVMO_SANITIZER_FLAGS -fsanitize=fuzzer-no-link,address,undefined)
elseif(TAVMO_SANITIZE)
  if(NOT CMAKE_CXX_COMPILER_ID MATCHES "GNU|Clang" OR WIN32)
    message(FATAL_ERROR "TAVMO_SANITIZE needs GCC or clang on Linux")
  endif()
  # CI builds these trees from nothing: -O1 and line tables compile in about
  # half the time of -O2 -g, and reports still name every function and line.
  set(TAVMO_SANITIZER_FLAGS -fsanitize=${TAVMO_SANITIZE} -O1 -g1)
endif()

if(TAVMO_SANITIZER_FLAGS)
  # Undefined behaviour ends the program like any other finding instead of
  # scrolling past in a log; frame pointers give whole stacks in reports.
  list(APPEND TAVMO_SANITIZER_FLAGS -fno-sanitize-recover=all -fno-omit-frame-pointer)
  add_compile_options(${TAVMO_SANITIZER_FLAGS})
  add_link_options(${TAVMO_SANITIZER_FLAGS})
endif()
