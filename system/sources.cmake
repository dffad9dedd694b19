# The DLL sources of this subsystem (its pure text logic is in vlcore).
target_sources(VLRun32 PRIVATE
  ${CMAKE_CURRENT_LIST_DIR}/csidl_names.cpp
  ${CMAKE_CURRENT_LIST_DIR}/get_csidl.cpp
  ${CMAKE_CURRENT_LIST_DIR}/using_large_fonts.cpp
)
