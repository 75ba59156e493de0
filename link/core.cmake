target_sources(halvix_core PRIVATE
  link/break_sequence.cpp
  link/clock.cpp
  link/field_codec.cpp
  link/framing.cpp
  link/network_port.cpp
  link/port_discovery.cpp
  link/port_settings.cpp
  link/qt_serial_device.cpp
  link/report_dispatcher.cpp
  link/report_routes.cpp
  link/rfc2217_device.cpp
  link/serial_link.cpp
  link/tcp_device.cpp
  link/telnet_codec.cpp
)
