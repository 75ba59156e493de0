// Cuts a recorded QLIP byte stream into packets the way the receive parser
// does, but tells every flaw it meets instead of dropping it quietly: bytes
// outside a frame, a frame broken by a DLE that neither doubles nor ends it,
// a frame longer than the parser takes, and a stream that ends inside a frame.
// Fed in pieces of any size; keeps one frame at most.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <string_view>

namespace halvix::recording {

// The longest payload the receive parser completes (id + payload = 512 bytes).
inline constexpr int kDeframeMaxPayload = 511;

enum class FrameFlaw { Stray, Broken, Overlong, CutShort };

class FrameSink {
 public:
  virtual ~FrameSink() = default;
  // A whole frame; offset is that of its opening DLE. The payload is valid
  // only during the call.
  virtual void packet(std::int64_t offset, int id, const std::uint8_t* payload, int length) = 0;
  // A flaw at the given offset; the text says what it is.
  virtual void problem(std::int64_t offset, FrameFlaw flaw, std::string_view reason) = 0;
};

class QlipDeframer {
 public:
  explicit QlipDeframer(FrameSink& sink) : sink_(sink) {}

  void feed(const std::uint8_t* data, std::size_t size);
  // End of the stream: reports a frame left open and pending stray bytes.
  void finish();
  // Bytes fed so far.
  std::int64_t offset() const { return offset_; }

 private:
  enum class State { Idle, IdleDle, InFrame, InFrameDle, Skip, SkipDle };
  void startFrame(std::int64_t at, std::uint8_t id);
  void stray(std::int64_t at, int count);
  void flushStray();

  FrameSink& sink_;
  State state_ = State::Idle;
  std::int64_t offset_ = 0;
  std::int64_t frameStart_ = 0;
  std::int64_t strayStart_ = 0;
  std::int64_t strayCount_ = 0;
  int id_ = 0;
  int length_ = 0;
  std::array<std::uint8_t, kDeframeMaxPayload> payload_{};
};

}  // namespace halvix::recording
