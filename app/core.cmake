target_sources(halvix_core PRIVATE
  app/command_line.cpp
  app/ntp_setting.cpp
  app/port_choice.cpp
)
