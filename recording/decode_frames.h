// halvix-decode's frame reader: the link's deframer with a sink, which tells
// every flaw it meets (bytes outside a frame, a frame broken by a DLE that
// neither doubles nor ends it, a frame longer than the parser takes, a stream
// that ends inside a frame) instead of dropping it quietly.
#pragma once

#include <cstddef>
#include <cstdint>

#include "link/framing.h"

namespace halvix::recording {

inline constexpr int kDeframeMaxPayload = link::kMaxFramePayload;

using link::FrameFlaw;
using link::FrameSink;
using QlipDeframer = link::Deframer;

// A reader of a whole recording: its bytes go in through feed(), and come back
// through the reader's packet() and problem(), which counts what it meets.
class FrameReader : public FrameSink {
 public:
  void feed(const std::uint8_t* data, std::size_t size) { deframer_.feed(data, size); }
  std::int64_t problems() const { return problems_; }

 protected:
  QlipDeframer deframer_{*this};
  std::int64_t problems_ = 0;
};

}  // namespace halvix::recording
