# The seams every folder may use: operator prompts, settings store, the PC's clock.
target_sources(halvix_core PRIVATE
  platform/calendar.cpp
  platform/gps_time.cpp
  platform/operator_prompts.cpp
  platform/settings_store.cpp
  platform/system_clock.cpp
)
# Setting the PC clock is the one platform call of the system-clock seam.
halvix_platform_source(halvix_core platform/system_clock)
# The help lookup also tries the manual of the source tree the program was built from.
set_property(SOURCE platform/operator_prompts.cpp APPEND PROPERTY
  COMPILE_DEFINITIONS HALVIX_SOURCE_DIR="${CMAKE_CURRENT_SOURCE_DIR}")
