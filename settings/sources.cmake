# The DLL sources of this subsystem (its pure text logic is in vlcore).
target_sources(VLRun32 PRIVATE
  ${CMAKE_CURRENT_LIST_DIR}/put_ini.cpp
  ${CMAKE_CURRENT_LIST_DIR}/fixed_keys.cpp
)
