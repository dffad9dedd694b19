# The DLL sources of this subsystem (its pure text logic is in vlcore).
target_sources(VLRun32 PRIVATE
  ${CMAKE_CURRENT_LIST_DIR}/file_name_exports.cpp
  ${CMAKE_CURRENT_LIST_DIR}/temp_files.cpp
  ${CMAKE_CURRENT_LIST_DIR}/unquote_string.cpp
)
