# Every target of the project links tarq_project_options: the language level, strict warnings
# and, in the sanitizer builds, their instrumentation. Nothing is set through global flags.
add_library(tarq_project_options INTERFACE)
target_compile_features(tarq_project_options INTERFACE cxx_std_20)

# Standard C++ (-std=c++20, not the compiler's gnu++20 dialect) for every target defined so far in
# the calling directory; each CMakeLists.txt that defines targets calls it last.
function(tarq_standard_language_only)
  get_property(targets DIRECTORY PROPERTY BUILDSYSTEM_TARGETS)
  foreach(target IN LISTS targets)
    set_property(TARGET ${target} PROPERTY CXX_EXTENSIONS OFF)
  endforeach()
endfunction()

# Also handed to the tests that compile the macOS sources with clang.
set(TARQ_WARNING_FLAGS
  -Wall -Wextra -Wshadow -Wnon-virtual-dtor -Wcast-align
  -Woverloaded-virtual -Wconversion -Wsign-conversion -Wformat=2)
# On in every preset and in CI; off by default, so that a newer compiler's new warnings do not
# stop someone building the program from its sources.
if(TARQ_WERROR)
  list(APPEND TARQ_WARNING_FLAGS -Werror)
endif()
target_compile_options(tarq_project_options INTERFACE
  ${TARQ_WARNING_FLAGS}
  # Objective-C++ headers use C casts in their macros; our own C++ does not.
  $<$<COMPILE_LANGUAGE:CXX>:-Wold-style-cast>)

# GCC 12 at -O3 reports std::string concatenation as an overlapping memcpy (GCC bug 105651).
if(CMAKE_CXX_COMPILER_ID STREQUAL "GNU" AND CMAKE_CXX_COMPILER_VERSION VERSION_LESS 13)
  target_compile_options(tarq_project_options INTERFACE -Wno-restrict)
endif()

if(TARQ_SANITIZE)
  set(tarq_sanitizer_flags -fsanitize=address,undefined -fno-sanitize-recover=all
      -fno-omit-frame-pointer)
  target_compile_options(tarq_project_options INTERFACE ${tarq_sanitizer_flags})
  target_link_options(tarq_project_options INTERFACE ${tarq_sanitizer_flags})
endif()

# The thread build: every thread of the pass, the runner and the window checked for data races.
if(TARQ_THREAD_SANITIZE)
  set(tarq_thread_sanitizer_flags -fsanitize=thread -fno-omit-frame-pointer)
  target_compile_options(tarq_project_options INTERFACE ${tarq_thread_sanitizer_flags})
  target_link_options(tarq_project_options INTERFACE ${tarq_thread_sanitizer_flags})
endif()

# The fuzz build: every library is instrumented for libFuzzer's coverage and checked by both
# sanitizers; the fuzz targets add libFuzzer's driver.
if(TARQ_FUZZ)
  set(tarq_fuzz_flags -fsanitize=fuzzer-no-link,address,undefined -fno-sanitize-recover=all
      -fno-omit-frame-pointer)
  target_compile_options(tarq_project_options INTERFACE ${tarq_fuzz_flags})
  target_link_options(tarq_project_options INTERFACE ${tarq_fuzz_flags})
endif()

# The programs a pass starts (tarq-validate, the stand-in profiler) start lean on Linux: loading
# and relocating libstdc++ and libgcc_s took most of a start's time (0.8 of 1.4 ms for
# tarq-validate --version here); linked in, only what the program uses is mapped. The sanitizer
# builds keep them shared, so that their runtimes see every allocation.
set(TARQ_LEAN_START_OPTIONS "")
set(TARQ_LEAN_START OFF)
if(NOT APPLE AND NOT TARQ_SANITIZE AND NOT TARQ_THREAD_SANITIZE AND NOT TARQ_FUZZ)
  set(TARQ_LEAN_START ON)
  set(TARQ_LEAN_START_OPTIONS -static-libstdc++ -static-libgcc)
endif()
