target_sources(halvix_core PRIVATE
  app/command_line.cpp
  app/operator_prompts.cpp
  app/port_choice.cpp
)
target_sources(halvix_gui PRIVATE
  app/comm_dialog.cpp
  app/main_window.cpp
  app/program.cpp
  app/splash_window.cpp
  app/widget_prompts.cpp
  app/window_set.cpp
)
