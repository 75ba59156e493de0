target_sources(halvix_core PRIVATE
  analysis/sky_track.cpp
  analysis/stability.cpp
  analysis/timing_history.cpp
)
