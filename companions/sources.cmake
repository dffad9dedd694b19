# The DLL sources of this subsystem (its pure text logic is in vlcore).
target_sources(VLRun32 PRIVATE
  ${CMAKE_CURRENT_LIST_DIR}/pro_check_txa.cpp
  ${CMAKE_CURRENT_LIST_DIR}/reporter_select_layout.cpp
)
# The support address in the selector's failure message (a build setting).
set_source_files_properties(${CMAKE_CURRENT_LIST_DIR}/reporter_select_layout.cpp PROPERTIES
  COMPILE_DEFINITIONS "VL_SUPPORT_CONTACT=\"${VL_SUPPORT_CONTACT}\"")
