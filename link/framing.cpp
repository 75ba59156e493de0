#include "link/framing.h"

#include <algorithm>
#include <charconv>
#include <cstring>

namespace halvix::link {

int FramedSize(std::uint8_t id, const std::uint8_t* payload, int length) {
  int size = 4 + (id == kDle ? 1 : 0);  // DLE id at the start, DLE ETX at the end
  for (int i = 0; i < length; ++i) size += payload[i] == kDle ? 2 : 1;
  return size;
}

int EncodeFrame(std::uint8_t id, const std::uint8_t* payload, int length, std::uint8_t* out) {
  int n = 0;
  out[n++] = kDle;
  if (id == kDle) out[n++] = kDle;
  out[n++] = id;
  for (int i = 0; i < length; ++i) {
    if (payload[i] == kDle) out[n++] = kDle;
    out[n++] = payload[i];
  }
  out[n++] = kDle;
  out[n++] = kEtx;
  return n;
}

void Deframer::stray(std::int64_t at, int count) {
  if (strayCount_ == 0) strayStart_ = at;
  strayCount_ += count;
}

void Deframer::flushStray() {
  if (strayCount_ == 0) return;
  if (sink_ != nullptr) {
    char text[64];
    auto r = std::to_chars(text, text + 32, strayCount_);
    const std::string_view tail = strayCount_ == 1 ? " byte outside a frame" : " bytes outside a frame";
    const std::size_t n = static_cast<std::size_t>(r.ptr - text);
    tail.copy(text + n, tail.size());
    sink_->problem(strayStart_, FrameFlaw::Stray, std::string_view(text, n + tail.size()));
  }
  strayCount_ = 0;
}

void Deframer::problem(FrameFlaw flaw, std::string_view reason) {
  if (sink_ != nullptr) sink_->problem(frameStart_, flaw, reason);
}

void Deframer::reset() {
  state_ = State::Idle;
  ready_ = false;
  length_ = 0;
  strayCount_ = 0;
}

std::size_t Deframer::take(const std::uint8_t* data, std::size_t size) {
  ready_ = false;
  // The loop works on locals: a byte stored into the payload may alias any
  // member, so members would be reloaded and stored again around every byte.
  State state = state_;
  int length = length_;
  const std::int64_t base = offset_;
  std::uint8_t* const payload = payload_.data();
  std::size_t k = 0;
  // A frame opens at the DLE before its id.
  const auto open = [&](std::uint8_t id) {
    if (strayCount_ != 0) flushStray();
    frameStart_ = base + static_cast<std::int64_t>(k) - 1;
    id_ = id;
    length = 0;
    state = State::InFrame;
  };
  while (k < size) {
    const std::uint8_t b = data[k];
    switch (state) {
      case State::Idle:
        if (b == kDle) {
          state = State::IdleDle;
        } else {
          stray(base + static_cast<std::int64_t>(k), 1);
        }
        break;
      case State::IdleDle:
        if (b == kDle || b == kEtx) {
          // DLE DLE or DLE ETX cannot open a frame.
          stray(base + static_cast<std::int64_t>(k) - 1, 2);
          state = State::Idle;
        } else {
          open(b);
        }
        break;
      case State::InFrame:
        if (b != kDle && length < kMaxFramePayload) {
          // The bulk of a frame: copy up to the next DLE at once.
          const std::size_t room = static_cast<std::size_t>(kMaxFramePayload - length);
          const std::size_t left = std::min(size - k, room);
          const void* dle = std::memchr(data + k, kDle, left);
          const std::size_t n =
              dle != nullptr ? static_cast<std::size_t>(static_cast<const std::uint8_t*>(dle) - (data + k)) : left;
          std::memcpy(payload + length, data + k, n);
          length += static_cast<int>(n);
          k += n;
          continue;
        }
        if (b == kDle) {
          state = State::InFrameDle;
        } else {
          problem(FrameFlaw::Overlong, "frame over 512 bytes");
          state = State::Skip;
        }
        break;
      case State::InFrameDle:
        if (b == kEtx) {
          ready_ = true;
          state_ = State::Idle;
          length_ = length;
          offset_ = base + static_cast<std::int64_t>(k) + 1;
          return k + 1;
        }
        if (b != kDle) {
          problem(FrameFlaw::Broken, "frame broken by a DLE that neither doubles nor ends it");
          open(b);
        } else if (length == kMaxFramePayload) {
          problem(FrameFlaw::Overlong, "frame over 512 bytes");
          state = State::Skip;
        } else {
          payload[length++] = kDle;
          state = State::InFrame;
        }
        break;
      case State::Skip:
        if (b == kDle) state = State::SkipDle;
        break;
      case State::SkipDle:
        if (b == kEtx) {
          state = State::Idle;
        } else if (b == kDle) {
          state = State::Skip;
        } else {
          open(b);
        }
        break;
    }
    ++k;
  }
  state_ = state;
  length_ = length;
  offset_ = base + static_cast<std::int64_t>(size);
  return size;
}

void Deframer::feed(const std::uint8_t* data, std::size_t size) {
  while (size > 0) {
    const std::size_t n = take(data, size);
    if (ready_ && sink_ != nullptr) sink_->packet(frameStart_, id_, payload_.data(), length_);
    data += n;
    size -= n;
  }
}

void Deframer::finish() {
  switch (state_) {
    case State::Idle:
      break;
    case State::IdleDle:
      stray(offset_ - 1, 1);
      break;
    case State::InFrame:
    case State::InFrameDle:
      flushStray();
      problem(FrameFlaw::CutShort, "stream cut short inside a frame");
      break;
    case State::Skip:
    case State::SkipDle:
      // The over-long frame has been reported already.
      break;
  }
  flushStray();
  state_ = State::Idle;
}

}  // namespace halvix::link
