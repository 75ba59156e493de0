// QLIP framing, written once for the link, the recorder and the decoder:
// DLE id payload DLE ETX with every DLE of the id and payload doubled, and the
// deframer that cuts a byte stream back into packets. The deframer hunts for
// DLE id, drops what lies outside a frame and a frame longer than the parser
// takes, and, given a sink, tells every such flaw instead of dropping it
// quietly. Fed in pieces of any size; keeps one frame at most.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <string_view>

namespace halvix::link {

inline constexpr std::uint8_t kDle = 0x10;
inline constexpr std::uint8_t kEtx = 0x03;

// The longest payload a frame carries (id + payload = 512 bytes).
inline constexpr int kMaxFramePayload = 511;
// DLE, id and payload with every byte a doubled DLE, DLE ETX.
inline constexpr int kMaxFrameSize = 3 + 2 * (1 + kMaxFramePayload);

// The bytes the frame of id and payload takes on the line.
int FramedSize(std::uint8_t id, const std::uint8_t* payload, int length);
// Writes the frame into out, which has room for FramedSize bytes (at most
// kMaxFrameSize for a payload of kMaxFramePayload); returns its size.
int EncodeFrame(std::uint8_t id, const std::uint8_t* payload, int length, std::uint8_t* out);

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

class Deframer {
 public:
  // Without a sink only take() delivers packets and flaws go unreported.
  explicit Deframer(FrameSink* sink = nullptr) : sink_(sink) {}
  explicit Deframer(FrameSink& sink) : sink_(&sink) {}

  // Consumes data up to and including the byte that completes a packet, or
  // all of it; returns the count consumed. After a completed packet ready()
  // holds until the next call, and id(), payload() and length() describe it.
  std::size_t take(const std::uint8_t* data, std::size_t size);
  // Consumes all of data, handing each packet to the sink.
  void feed(const std::uint8_t* data, std::size_t size);
  // End of the stream: reports a frame left open and pending stray bytes.
  void finish();
  // Forgets a partly received frame (input was dropped in between).
  void reset();

  bool ready() const { return ready_; }
  int id() const { return id_; }
  const std::uint8_t* payload() const { return payload_.data(); }
  int length() const { return length_; }
  // Bytes consumed so far.
  std::int64_t offset() const { return offset_; }

 private:
  enum class State { Idle, IdleDle, InFrame, InFrameDle, Skip, SkipDle };
  void stray(std::int64_t at, int count);
  void flushStray();
  void problem(FrameFlaw flaw, std::string_view reason);

  FrameSink* sink_;
  State state_ = State::Idle;
  bool ready_ = false;
  std::int64_t offset_ = 0;
  std::int64_t frameStart_ = 0;
  std::int64_t strayStart_ = 0;
  std::int64_t strayCount_ = 0;
  int id_ = 0;
  int length_ = 0;
  std::array<std::uint8_t, kMaxFramePayload> payload_{};
};

}  // namespace halvix::link
