target_sources(halvix_core PRIVATE
  tools/almanac_file.cpp
  tools/almanac_transfer.cpp
  tools/control_actions.cpp
  tools/diagnostics_reset_cycle.cpp
  tools/diagnostics_segment_check.cpp
)
