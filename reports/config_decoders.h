// Decoders of the configuration reports: each writes the receiver's settings
// into the controls of the dialog that asked (setting a control as the
// operator would, so its handlers run), and some also into the reset test's
// read-back fields. A report of the wrong length changes nothing. Controls of
// a dialog that does not have them yet are skipped.
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
