#include "sim/framing.h"

namespace halvix::sim {

Bytes EncodeFrame(std::uint8_t id, const Bytes& payload) {
  Bytes frame;
  frame.reserve(payload.size() + 8);
  frame.push_back(kDle);
  auto put = [&frame](std::uint8_t b) {
    if (b == kDle) frame.push_back(kDle);
    frame.push_back(b);
  };
  put(id);
  for (std::uint8_t b : payload) put(b);
  frame.push_back(kDle);
  frame.push_back(kEtx);
  return frame;
}

void FrameDecoder::reset() {
  state_ = State::Hunting;
  packet_.payload.clear();
}

bool FrameDecoder::feed(std::uint8_t b) {
  switch (state_) {
    case State::Hunting:
      if (b == kDle) state_ = State::StartDle;
      return false;
    case State::StartDle:
      if (b == kDle || b == kEtx) {
        // A stuffed DLE or a frame end: the tail of a frame whose start was missed.
        state_ = State::Hunting;
        return false;
      }
      begin(b);
      return false;
    case State::InPacket:
      if (b == kDle) {
        state_ = State::InPacketDle;
      } else {
        append(b);
      }
      return false;
    case State::InPacketDle:
      if (b == kDle) {
        state_ = State::InPacket;
        append(kDle);
        return false;
      }
      if (b == kEtx) {
        state_ = State::Hunting;
        return true;
      }
      begin(b);
      return false;
  }
  return false;
}

void FrameDecoder::begin(std::uint8_t id) {
  packet_.id = id;
  packet_.payload.clear();
  state_ = State::InPacket;
}

void FrameDecoder::append(std::uint8_t b) {
  if (packet_.payload.size() < kMaxPayload) {
    packet_.payload.push_back(b);
  } else {
    reset();
  }
}

}  // namespace halvix::sim
