target_sources(halvix_core PRIVATE
  analysis/confidence.cpp
  analysis/phase_gaps.cpp
  analysis/sky_track.cpp
  analysis/timing_events.cpp
  analysis/stability.cpp
  analysis/stability_table.cpp
  analysis/timing_history.cpp
)
