// Decoders of the reports that describe the receiver itself: software version
// (0x45) to the status bar and Product Info, health (0x46) to the main
// window's status, the set-time reply (0x4E), the EEPROM segment status and
// the developer's fatal-error texts (0x5F), and the manufacturing and
// production parameters (0x8F-41, 0x8F-42), the latter choosing the receiver type.
#pragma once

#include <cstdint>

namespace halvix::reports {

struct DecoderContext;

void Report45Decoder(const DecoderContext& ctx, const std::uint8_t* payload, int length);
void Report46Decoder(const DecoderContext& ctx, const std::uint8_t* payload, int length);
// Routed so that it is not taken for an unknown report; nothing is shown.
void Report4BDecoder(const DecoderContext& ctx, const std::uint8_t* payload, int length);
void Report4EDecoder(const DecoderContext& ctx, const std::uint8_t* payload, int length);
void Report5F11Decoder(const DecoderContext& ctx, const std::uint8_t* payload, int length);
// Reached only in developer mode (the dispatcher drops it otherwise).
void Report5FDiagnosticDecoder(const DecoderContext& ctx, const std::uint8_t* payload, int length);
void Report8F41Decoder(const DecoderContext& ctx, const std::uint8_t* payload, int length);
void Report8F42Decoder(const DecoderContext& ctx, const std::uint8_t* payload, int length);

}  // namespace halvix::reports
