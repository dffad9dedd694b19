# Native (host) build of the pure text core: unit tests under the sanitizers.

option(VL_SANITIZE "Build the core and its native tests with ASan and UBSan" ON)

# The core goes into a DLL without exceptions, RTTI or the C++ runtime; build
# it the same way here so that nothing of those creeps in.
target_compile_options(vlcore PRIVATE -fno-exceptions -fno-rtti)

set(VL_SANITIZER_FLAGS -fsanitize=address,undefined -fno-sanitize-recover=all -fno-omit-frame-pointer)
if(VL_SANITIZE)
  target_compile_options(vlcore PRIVATE ${VL_SANITIZER_FLAGS})
  target_link_options(vlcore INTERFACE ${VL_SANITIZER_FLAGS})
endif()

# GoogleTest from the distribution's sources, built only for what links it.
set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
set(BUILD_GMOCK OFF CACHE BOOL "" FORCE)
add_subdirectory(/usr/src/googletest ${CMAKE_BINARY_DIR}/googletest EXCLUDE_FROM_ALL)

enable_testing()

file(GLOB VL_NATIVE_TEST_SOURCES CONFIGURE_DEPENDS ${PROJECT_SOURCE_DIR}/tests/native/*.cpp)
add_executable(vl_native_tests ${VL_NATIVE_TEST_SOURCES})
target_compile_options(vl_native_tests PRIVATE -Wall -Wextra)
if(VL_SANITIZE)
  target_compile_options(vl_native_tests PRIVATE ${VL_SANITIZER_FLAGS})
  target_link_options(vl_native_tests PRIVATE ${VL_SANITIZER_FLAGS})
endif()
target_link_libraries(vl_native_tests PRIVATE vlcore GTest::gtest_main)

add_test(NAME vl_native_tests COMMAND vl_native_tests)
set_tests_properties(vl_native_tests PROPERTIES TIMEOUT 120)

# Fuzz targets (libFuzzer, clang only) for the core's entry points: each
# tests/fuzz/fuzz_*.cpp is one target, built with the core's sources under the
# fuzzer, ASan and UBSan. tests/fuzz/run-fuzzers.sh builds and runs
# them in build/fuzz.
option(VL_FUZZ "Require the fuzz targets (configure with CC=clang CXX=clang++)" OFF)
set(VL_FUZZ_SECONDS 30 CACHE STRING "Seconds that each fuzz target runs as a CTest test")

if(CMAKE_CXX_COMPILER_ID MATCHES "Clang")
  include(CheckCXXSourceCompiles)
  set(CMAKE_REQUIRED_FLAGS -fsanitize=fuzzer)
  set(CMAKE_REQUIRED_LINK_OPTIONS -fsanitize=fuzzer)
  check_cxx_source_compiles([[
    #include <cstddef>
    #include <cstdint>
    extern "C" int LLVMFuzzerTestOneInput(const uint8_t*, size_t) { return 0; }
  ]] VL_HAVE_LIBFUZZER)
  unset(CMAKE_REQUIRED_FLAGS)
  unset(CMAKE_REQUIRED_LINK_OPTIONS)
endif()

if(VL_HAVE_LIBFUZZER)
  set(VL_FUZZ_FLAGS -fsanitize=fuzzer,address,undefined -fno-sanitize-recover=all -fno-omit-frame-pointer -g)
  set(VL_FUZZ_SEEDS ${CMAKE_BINARY_DIR}/fuzz-seeds)
  get_target_property(VL_CORE_SOURCES vlcore SOURCES)

  # The core's sources, compiled once under the fuzzer and the sanitizers.
  add_library(vlcore_fuzz OBJECT ${VL_CORE_SOURCES})
  target_include_directories(vlcore_fuzz PUBLIC ${PROJECT_SOURCE_DIR})
  target_compile_options(vlcore_fuzz PRIVATE -Wall -Wextra ${VL_FUZZ_FLAGS})

  # Seed inputs, written from the shared case tables at build time.
  add_executable(vl_fuzz_make_seeds tests/fuzz/make_seeds.cpp)
  target_include_directories(vl_fuzz_make_seeds PRIVATE ${PROJECT_SOURCE_DIR})
  add_custom_command(OUTPUT ${VL_FUZZ_SEEDS}/.stamp
    COMMAND ${CMAKE_COMMAND} -E rm -rf ${VL_FUZZ_SEEDS}
    COMMAND vl_fuzz_make_seeds ${VL_FUZZ_SEEDS}
    COMMAND ${CMAKE_COMMAND} -E touch ${VL_FUZZ_SEEDS}/.stamp
    DEPENDS vl_fuzz_make_seeds
    COMMENT "Writing the fuzz seed inputs")
  add_custom_target(vl_fuzz ALL DEPENDS ${VL_FUZZ_SEEDS}/.stamp)

  math(EXPR VL_FUZZ_TIMEOUT "${VL_FUZZ_SECONDS} + 90")
  file(GLOB VL_FUZZ_SOURCES CONFIGURE_DEPENDS ${PROJECT_SOURCE_DIR}/tests/fuzz/fuzz_*.cpp)
  foreach(source ${VL_FUZZ_SOURCES})
    get_filename_component(target ${source} NAME_WE)
    add_executable(${target} ${source})
    target_link_libraries(${target} PRIVATE vlcore_fuzz)
    target_compile_options(${target} PRIVATE -Wall -Wextra ${VL_FUZZ_FLAGS})
    target_link_options(${target} PRIVATE ${VL_FUZZ_FLAGS})
    add_dependencies(vl_fuzz ${target})

    # New inputs go to a scratch corpus; the seeds are only read.
    set(corpus ${CMAKE_BINARY_DIR}/fuzz-corpus/${target})
    file(MAKE_DIRECTORY ${corpus} ${CMAKE_BINARY_DIR}/fuzz-findings)
    add_test(NAME ${target}
      COMMAND ${target} -max_total_time=${VL_FUZZ_SECONDS} -timeout=10
              -artifact_prefix=${CMAKE_BINARY_DIR}/fuzz-findings/${target}-
              ${corpus} ${VL_FUZZ_SEEDS}/${target})
    set_tests_properties(${target} PROPERTIES TIMEOUT ${VL_FUZZ_TIMEOUT} LABELS fuzz)
  endforeach()
elseif(VL_FUZZ)
  message(FATAL_ERROR "VL_FUZZ needs clang and its libFuzzer runtime: configure with CC=clang CXX=clang++")
endif()
