target_sources(VLRun32 PRIVATE
  ${CMAKE_CURRENT_LIST_DIR}/run_process.cpp
  ${CMAKE_CURRENT_LIST_DIR}/run_associated_file.cpp
)
