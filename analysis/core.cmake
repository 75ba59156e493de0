target_sources(halvix_core PRIVATE
  analysis/confidence.cpp
  analysis/sky_track.cpp
  analysis/stability.cpp
  analysis/timing_history.cpp
)
