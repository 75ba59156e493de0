target_sources(halvix_core PRIVATE
  tools/control_actions.cpp
)
