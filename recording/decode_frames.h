// halvix-decode's frame reader: the link's deframer with a sink, which tells
// every flaw it meets (bytes outside a frame, a frame broken by a DLE that
// neither doubles nor ends it, a frame longer than the parser takes, a stream
// that ends inside a frame) instead of dropping it quietly.
#pragma once

#include "link/framing.h"

namespace halvix::recording {

inline constexpr int kDeframeMaxPayload = link::kMaxFramePayload;

using link::FrameFlaw;
using link::FrameSink;
using QlipDeframer = link::Deframer;

}  // namespace halvix::recording
