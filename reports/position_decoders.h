// Decoders of the time, position and velocity reports: 0x41 (main-window
// time group), 0x42, 0x43, 0x4A, 0x56, 0x83, 0x84 (Velocity and Positioning),
// the 9-byte 0x4A reference altitude (2D Altitude dialog, reset test) and
// 0x8F-0B (Additional Timing Packets, and the main window's position and mode
// while the timing packets are not polled). A report of another length
// changes nothing.
#pragma once

#include <cstdint>

namespace halvix::reports {

struct DecoderContext;

void Report41Decoder(const DecoderContext& ctx, const std::uint8_t* payload, int length);
void Report42Decoder(const DecoderContext& ctx, const std::uint8_t* payload, int length);
void Report43Decoder(const DecoderContext& ctx, const std::uint8_t* payload, int length);
void Report4ADecoder(const DecoderContext& ctx, const std::uint8_t* payload, int length);
void Report4AAltitudeDecoder(const DecoderContext& ctx, const std::uint8_t* payload, int length);
void Report56Decoder(const DecoderContext& ctx, const std::uint8_t* payload, int length);
void Report83Decoder(const DecoderContext& ctx, const std::uint8_t* payload, int length);
void Report84Decoder(const DecoderContext& ctx, const std::uint8_t* payload, int length);
void Report8F0BDecoder(const DecoderContext& ctx, const std::uint8_t* payload, int length);

}  // namespace halvix::reports
