# The headless decoder of QLIP recordings: widget-free, over halvix_core.
target_sources(halvix_core PRIVATE
  tools/decode_reports.cpp
  tools/decode_output.cpp
  tools/decode_text_writer.cpp
  tools/decode_csv_writer.cpp
  tools/decode_json_writer.cpp
  tools/replay_device.cpp
  tools/stream_time.cpp
  tools/decode_stability.cpp
  tools/decode_events.cpp
)

add_executable(halvix-decode tools/decode_main.cpp)
target_link_libraries(halvix-decode PRIVATE halvix_core)
halvix_warnings(halvix-decode)
