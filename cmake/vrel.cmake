# Shared build settings. Every library is one folder whose sources are picked up by glob,
# so adding a file never needs an edit here.

# Sources are UTF-8. Japanese narrow literals become Shift-JIS through the ".."_sj literal of
# platform/sjis_literal.h, not through an execution character set, so g++ and clang build the same bytes.
set(VREL_COMMON_OPTIONS -Wall -Wextra -finput-charset=UTF-8)
if(CMAKE_SYSTEM_PROCESSOR MATCHES "x86_64|AMD64")
  set(VREL_X86 ON)
endif()

if(VREL_SANITIZE)
  set(VREL_SAN_FLAGS -fsanitize=address,undefined -fno-omit-frame-pointer -fno-sanitize-recover=undefined)
  add_compile_options(${VREL_SAN_FLAGS})
  add_link_options(${VREL_SAN_FLAGS})
endif()

if(VREL_FUZZ)
  if(NOT CMAKE_CXX_COMPILER_ID STREQUAL "Clang")
    message(FATAL_ERROR "VREL_FUZZ needs clang: CC=clang CXX=clang++ cmake ... -DVREL_FUZZ=ON")
  endif()
  # Everything carries coverage counters; only the fuzz targets link libFuzzer's main.
  set(VREL_FUZZ_FLAGS -fsanitize=fuzzer-no-link,address,undefined -fno-omit-frame-pointer
                      -fno-sanitize-recover=undefined)
  add_compile_options(${VREL_FUZZ_FLAGS})
  add_link_options(-fsanitize=address,undefined)
endif()

# vrel_library(NAME DIR [DEPS ...]): a static library of every .cpp below DIR.
function(vrel_library name)
  cmake_parse_arguments(ARG "" "" "DEPS" ${ARGN})
  file(GLOB_RECURSE srcs CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/*.cpp ${CMAKE_CURRENT_SOURCE_DIR}/*.h)
  add_library(${name} STATIC ${srcs})
  target_include_directories(${name} PUBLIC ${PROJECT_SOURCE_DIR})
  target_compile_options(${name} PRIVATE ${VREL_COMMON_OPTIONS})
  target_link_libraries(${name} PUBLIC ${ARG_DEPS})
endfunction()

# Test code is most of what the build compiles, and optimising it buys nothing: the libraries under
# test keep the build type's optimisation, the tests' own files are compiled without it, with line
# tables only (backtraces keep their lines). Under the sanitizers the libraries are instrumented and
# the tests' own files are not: the sanitizers watch the code under test, and the test programs still
# link and run with them.
set(VREL_TEST_OPTIONS -O0 -g1)
if(VREL_SANITIZE)
  list(APPEND VREL_TEST_OPTIONS -fno-sanitize=all)
endif()

# vrel_test_headers(TARGET): the headers every test file includes, parsed once per program.
function(vrel_test_headers name)
  target_precompile_headers(${name} PRIVATE
    <gtest/gtest.h> <gmock/gmock.h>
    <algorithm> <array> <cstdint> <cstring> <filesystem> <functional> <memory> <span> <string>
    <string_view> <vector>)
endfunction()

# vrel_test(NAME DIR [OWN_ALLOCATOR] LIBS...): one GoogleTest program of every .cpp below tests/DIR.
# OWN_ALLOCATOR leaves the small-block pool out, for a program that replaces the global allocation
# operators itself.
function(vrel_test name dir)
  cmake_parse_arguments(ARG "OWN_ALLOCATOR" "" "" ${ARGN})
  file(GLOB_RECURSE srcs CONFIGURE_DEPENDS ${PROJECT_SOURCE_DIR}/tests/${dir}/*.cpp)
  if(NOT srcs)
    return()
  endif()
  add_executable(${name} ${srcs} ${PROJECT_SOURCE_DIR}/tests/test_main.cpp)
  target_compile_options(${name} PRIVATE ${VREL_COMMON_OPTIONS} ${VREL_TEST_OPTIONS})
  vrel_test_headers(${name})
  target_include_directories(${name} PRIVATE ${PROJECT_SOURCE_DIR} ${PROJECT_SOURCE_DIR}/tests)
  target_link_libraries(${name} PRIVATE ${ARG_UNPARSED_ARGUMENTS} GTest::gtest GTest::gmock)
  if(NOT ARG_OWN_ALLOCATOR)
    target_link_libraries(${name} PRIVATE vrel_pool_hook)
  endif()
  target_compile_definitions(${name} PRIVATE VREL_TEST_DATA="${PROJECT_SOURCE_DIR}/tests/data"
                                             VREL_BINARY_DIR="${PROJECT_BINARY_DIR}")
  add_test(NAME ${name} COMMAND ${name} --gtest_brief=1)
  set_tests_properties(${name} PROPERTIES ENVIRONMENT
    "QT_QPA_PLATFORM=offscreen;SDL_AUDIODRIVER=dummy;LSAN_OPTIONS=suppressions=${PROJECT_SOURCE_DIR}/tests/lsan.supp;ASAN_OPTIONS=detect_leaks=1")
endfunction()
