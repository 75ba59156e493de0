#include "recording/decode_frames.h"

#include <algorithm>
#include <charconv>
#include <cstring>

namespace halvix::recording {

namespace {

constexpr std::uint8_t kDle = 0x10;
constexpr std::uint8_t kEtx = 0x03;

}  // namespace

void QlipDeframer::startFrame(std::int64_t at, std::uint8_t id) {
  flushStray();
  frameStart_ = at;
  id_ = id;
  length_ = 0;
  state_ = State::InFrame;
}

void QlipDeframer::stray(std::int64_t at, int count) {
  if (strayCount_ == 0) strayStart_ = at;
  strayCount_ += count;
}

void QlipDeframer::flushStray() {
  if (strayCount_ == 0) return;
  char text[64];
  auto r = std::to_chars(text, text + 32, strayCount_);
  const std::string_view tail = strayCount_ == 1 ? " byte outside a frame" : " bytes outside a frame";
  const std::size_t n = static_cast<std::size_t>(r.ptr - text);
  tail.copy(text + n, tail.size());
  sink_.problem(strayStart_, FrameFlaw::Stray, std::string_view(text, n + tail.size()));
  strayCount_ = 0;
}

void QlipDeframer::feed(const std::uint8_t* data, std::size_t size) {
  for (std::size_t k = 0; k < size; ++k, ++offset_) {
    const std::uint8_t b = data[k];
    switch (state_) {
      case State::Idle:
        if (b == kDle) {
          state_ = State::IdleDle;
        } else {
          stray(offset_, 1);
        }
        break;
      case State::IdleDle:
        if (b == kDle || b == kEtx) {
          // DLE DLE or DLE ETX cannot open a frame.
          stray(offset_ - 1, 2);
          state_ = State::Idle;
        } else {
          startFrame(offset_ - 1, b);
        }
        break;
      case State::InFrame:
        if (b != kDle && length_ < kDeframeMaxPayload) {
          // The bulk of a frame: copy up to the next DLE at once.
          const std::size_t room = static_cast<std::size_t>(kDeframeMaxPayload - length_);
          const std::size_t left = std::min(size - k, room);
          const void* dle = std::memchr(data + k, kDle, left);
          const std::size_t n = dle != nullptr ? static_cast<std::size_t>(static_cast<const std::uint8_t*>(dle) - (data + k)) : left;
          std::memcpy(payload_.data() + length_, data + k, n);
          length_ += static_cast<int>(n);
          k += n - 1;
          offset_ += static_cast<std::int64_t>(n) - 1;
        } else if (b == kDle) {
          state_ = State::InFrameDle;
        } else if (length_ == kDeframeMaxPayload) {
          sink_.problem(frameStart_, FrameFlaw::Overlong, "frame over 512 bytes");
          state_ = State::Skip;
        } else {
          payload_[static_cast<std::size_t>(length_++)] = b;
        }
        break;
      case State::InFrameDle:
        if (b == kEtx) {
          sink_.packet(frameStart_, id_, payload_.data(), length_);
          state_ = State::Idle;
        } else if (b != kDle) {
          sink_.problem(frameStart_, FrameFlaw::Broken, "frame broken by a DLE that neither doubles nor ends it");
          startFrame(offset_ - 1, b);
        } else if (length_ == kDeframeMaxPayload) {
          sink_.problem(frameStart_, FrameFlaw::Overlong, "frame over 512 bytes");
          state_ = State::Skip;
        } else {
          payload_[static_cast<std::size_t>(length_++)] = kDle;
          state_ = State::InFrame;
        }
        break;
      case State::Skip:
        if (b == kDle) state_ = State::SkipDle;
        break;
      case State::SkipDle:
        if (b == kEtx) {
          state_ = State::Idle;
        } else if (b == kDle) {
          state_ = State::Skip;
        } else {
          startFrame(offset_ - 1, b);
        }
        break;
    }
  }
}

void QlipDeframer::finish() {
  switch (state_) {
    case State::Idle:
      break;
    case State::IdleDle:
      stray(offset_ - 1, 1);
      break;
    case State::InFrame:
    case State::InFrameDle:
      flushStray();
      sink_.problem(frameStart_, FrameFlaw::CutShort, "stream cut short inside a frame");
      break;
    case State::Skip:
    case State::SkipDle:
      // The over-long frame has been reported already.
      break;
  }
  flushStray();
  state_ = State::Idle;
}

}  // namespace halvix::recording
