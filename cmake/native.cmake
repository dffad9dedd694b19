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

# Fuzz targets (libFuzzer, clang only) for the core's entry points go here.
