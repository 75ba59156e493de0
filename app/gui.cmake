target_sources(halvix_gui PRIVATE
  app/comm_dialog.cpp
  app/decoder_wiring.cpp
  app/main_menu.cpp
  app/main_view.cpp
  app/main_window.cpp
  app/program.cpp
  app/receiver_types.cpp
  app/replay_bar.cpp
  app/splash_window.cpp
  app/window_set.cpp
)
