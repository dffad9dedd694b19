# The 32-bit Windows build: VLRun32.dll, the command-line host, the test
# companions and the conformance tests, which CTest runs under Wine.

set(VL_WINEPREFIX ${PROJECT_BINARY_DIR}/wineprefix)
configure_file(cmake/wine-run.sh.in ${PROJECT_BINARY_DIR}/wine-run.sh @ONLY
               FILE_PERMISSIONS OWNER_READ OWNER_WRITE OWNER_EXECUTE GROUP_READ GROUP_EXECUTE
                                WORLD_READ WORLD_EXECUTE)
set(CMAKE_CROSSCOMPILING_EMULATOR ${PROJECT_BINARY_DIR}/wine-run.sh)

# Everything lands in one directory, so programs find the DLL beside them.
set(CMAKE_RUNTIME_OUTPUT_DIRECTORY ${PROJECT_BINARY_DIR}/bin)
set(CMAKE_LIBRARY_OUTPUT_DIRECTORY ${PROJECT_BINARY_DIR}/bin)
set(CMAKE_ARCHIVE_OUTPUT_DIRECTORY ${PROJECT_BINARY_DIR}/lib)

# The DLL carries no C++ runtime: no exceptions, no RTTI, no start-up code.
set(VL_DLL_COMPILE_OPTIONS -Wall -Wextra -fno-exceptions -fno-rtti
    -fno-asynchronous-unwind-tables -fno-ident -ffile-prefix-map=${PROJECT_SOURCE_DIR}=.)
target_compile_options(vlcore PRIVATE ${VL_DLL_COMPILE_OPTIONS})

# The version resource carries the project's version; nothing in it depends on
# the time or place of the build.
enable_language(RC)
set(VL_COMPANY "The VLRun32 developers")
set(VL_COPYRIGHT "Copyright (C) 2026 The VLRun32 developers")
configure_file(frame/version.rc.in ${PROJECT_BINARY_DIR}/version.rc @ONLY)

# Each subsystem folder lists its own sources in sources.cmake.
add_library(VLRun32 SHARED frame/VLRun32.def ${PROJECT_BINARY_DIR}/version.rc)
foreach(subsystem frame process companions settings paths system)
  include(${subsystem}/sources.cmake)
endforeach()
set_target_properties(VLRun32 PROPERTIES PREFIX "" OUTPUT_NAME VLRun32)
target_compile_options(VLRun32 PRIVATE ${VL_DLL_COMPILE_OPTIONS})
target_link_options(VLRun32 PRIVATE
  -nostdlib -Wl,--entry,_DllMain@12 -Wl,--enable-stdcall-fixup -s
  -Wl,--no-insert-timestamp -Wl,--disable-auto-import)
target_link_libraries(VLRun32 PRIVATE vlcore kernel32 user32 gdi32 shell32 msvcrt gcc)

# The import library for hosts linking the stack exports (the buffer exports
# are reached through GetProcAddress and include/VLRun32.h).
add_custom_command(OUTPUT ${CMAKE_ARCHIVE_OUTPUT_DIRECTORY}/libVLRun32.a
  COMMAND ${CMAKE_COMMAND} -E make_directory ${CMAKE_ARCHIVE_OUTPUT_DIRECTORY}
  COMMAND ${CMAKE_DLLTOOL} --kill-at --input-def ${PROJECT_SOURCE_DIR}/frame/VLRun32-imports.def
          --output-lib ${CMAKE_ARCHIVE_OUTPUT_DIRECTORY}/libVLRun32.a
  DEPENDS ${PROJECT_SOURCE_DIR}/frame/VLRun32-imports.def)
add_custom_target(VLRun32_imports ALL DEPENDS ${CMAKE_ARCHIVE_OUTPUT_DIRECTORY}/libVLRun32.a)

add_subdirectory(tools)
enable_testing()
add_subdirectory(tests)
