target_sources(halvix_core PRIVATE
  sim/simulated_device.cpp
)
