target_sources(VLRun32 PRIVATE
  ${CMAKE_CURRENT_LIST_DIR}/dllmain.cpp
  ${CMAKE_CURRENT_LIST_DIR}/load_state.cpp
  ${CMAKE_CURRENT_LIST_DIR}/debug_exports.cpp
)
