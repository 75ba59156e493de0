# halvix-monitor: Qt Core, Network and HttpServer only (SerialPort through
# halvix_core); no Qt GUI or Widgets.
find_package(Qt6 6.4 REQUIRED COMPONENTS Network HttpServer)
find_package(tomlplusplus REQUIRED)

add_library(halvix_monitor STATIC
  monitor/daily_recorder.cpp
  monitor/exposition.cpp
  monitor/http_endpoints.cpp
  monitor/monitor.cpp
  monitor/monitor_config.cpp
  monitor/port_device.cpp
  monitor/receiver_state.cpp
)
halvix_platform_source(halvix_monitor monitor/termination_signals)
target_link_libraries(halvix_monitor PUBLIC halvix_core Qt6::Core Qt6::Network Qt6::HttpServer
                      tomlplusplus::tomlplusplus)
halvix_warnings(halvix_monitor)

add_executable(halvix-monitor monitor/main.cpp)
target_link_libraries(halvix-monitor PRIVATE halvix_monitor)
halvix_warnings(halvix-monitor)
