target_sources(halvix_gui PRIVATE
  tools/about_window.cpp
  tools/alm_health_window.cpp
  tools/alm_window.cpp
  tools/almanac_data_window.cpp
  tools/diagnostics_window.cpp
  tools/eeprom_window.cpp
  tools/emblem.cpp
  tools/log_qlip_window.cpp
  tools/message_window.cpp
)
