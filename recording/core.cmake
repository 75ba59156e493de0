# The QLIP recorder, the replay device, stream time and the headless decoder of
# recordings: widget-free, over halvix_core.
target_sources(halvix_core PRIVATE
  recording/qlip_recorder.cpp
  recording/decode_reports.cpp
  recording/decode_output.cpp
  recording/decode_text_writer.cpp
  recording/decode_csv_writer.cpp
  recording/decode_json_writer.cpp
  recording/replay_device.cpp
  recording/stream_time.cpp
  recording/decode_stability.cpp
  recording/decode_events.cpp
)

add_executable(halvix-decode recording/decode_main.cpp)
target_link_libraries(halvix-decode PRIVATE halvix_core)
halvix_warnings(halvix-decode)
