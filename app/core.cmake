target_sources(halvix_core PRIVATE
  app/command_line.cpp
  app/ntp_setting.cpp
  app/gps_time.cpp
  app/operator_prompts.cpp
  app/port_choice.cpp
  app/settings_store.cpp
  app/system_clock.cpp
)
# Setting the PC clock is the one platform call of the system-clock seam.
if(WIN32)
  target_sources(halvix_core PRIVATE app/system_clock_windows.cpp)
else()
  target_sources(halvix_core PRIVATE app/system_clock_posix.cpp)
endif()
# The help lookup also tries the manual of the source tree the program was built from.
set_property(SOURCE app/operator_prompts.cpp APPEND PROPERTY
  COMPILE_DEFINITIONS HALVIX_SOURCE_DIR="${CMAKE_CURRENT_SOURCE_DIR}")
