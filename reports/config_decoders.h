// Decoders of the configuration reports: each hands the receiver's settings
// to the dialog that asked (which sets its controls as the operator would, so
// their handlers run), and some also to the reset test's read-back fields. A
// report of the wrong length changes nothing.
#pragma once

#include <cstdint>

namespace halvix::reports {

struct DecoderContext;

void Report4FDecoder(const DecoderContext& ctx, const std::uint8_t* payload, int length);
void Report55Decoder(const DecoderContext& ctx, const std::uint8_t* payload, int length);
void Report7BDecoder(const DecoderContext& ctx, const std::uint8_t* payload, int length);
void ReportBBDecoder(const DecoderContext& ctx, const std::uint8_t* payload, int length);
void ReportBCDecoder(const DecoderContext& ctx, const std::uint8_t* payload, int length);
void Report8F15Decoder(const DecoderContext& ctx, const std::uint8_t* payload, int length);
void Report8F4ADecoder(const DecoderContext& ctx, const std::uint8_t* payload, int length);
void Report8F4BDecoder(const DecoderContext& ctx, const std::uint8_t* payload, int length);
void Report8F4DDecoder(const DecoderContext& ctx, const std::uint8_t* payload, int length);
void Report8F4EDecoder(const DecoderContext& ctx, const std::uint8_t* payload, int length);
void Report8F4FDecoder(const DecoderContext& ctx, const std::uint8_t* payload, int length);
void Report8FA5Decoder(const DecoderContext& ctx, const std::uint8_t* payload, int length);
void Report8FA9Decoder(const DecoderContext& ctx, const std::uint8_t* payload, int length);

}  // namespace halvix::reports
