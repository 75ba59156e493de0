target_sources(halvix_gui PRIVATE
  commands/altitude_dialog.cpp
  commands/auto_out_dialog.cpp
  commands/brisel_port_a_out_dialog.cpp
  commands/brisel_survey_dialog.cpp
  commands/datum_dialog.cpp
  commands/default_dialog.cpp
  commands/gps_dialog.cpp
  commands/initial_pos_dialog.cpp
  commands/initial_time_dialog.cpp
  commands/nmea_dialog.cpp
  commands/packet_masks_dialog.cpp
  commands/self_survey_dialog.cpp
  commands/serial_dialog.cpp
  commands/sv_num_dialog.cpp
  commands/timing_out_dialog.cpp
)
