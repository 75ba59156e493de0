target_sources(halvix_core PRIVATE
  app/command_line.cpp
  app/gps_time.cpp
  app/poll_cycle.cpp
  app/operator_prompts.cpp
  app/port_choice.cpp
)
