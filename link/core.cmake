target_sources(halvix_core PRIVATE
  link/break_sequence.cpp
  link/clock.cpp
  link/field_codec.cpp
  link/port_discovery.cpp
  link/port_settings.cpp
  link/qt_serial_device.cpp
  link/report_dispatcher.cpp
  link/serial_link.cpp
)
