// Decoders of the satellite reports: 0x5C (main satellite table and Tracking
// Status rows), 0x6D (selection list, DOPs and the table's colours), 0x5A
// (Raw Measurement Data), 0x5B (Satellite Ephemeris Status), 0x40 (Almanac
// Data) and 0x49 (Almanac Health Page), plus the ageing of silent table rows.
// A report of another length changes nothing.
#pragma once

#include <cstdint>

namespace halvix::reports {

struct DecoderContext;

void Report5CDecoder(const DecoderContext& ctx, const std::uint8_t* payload, int length);
void Report6DDecoder(const DecoderContext& ctx, const std::uint8_t* payload, int length);
void Report5ADecoder(const DecoderContext& ctx, const std::uint8_t* payload, int length);
void Report5BDecoder(const DecoderContext& ctx, const std::uint8_t* payload, int length);
void Report40Decoder(const DecoderContext& ctx, const std::uint8_t* payload, int length);
void Report49Decoder(const DecoderContext& ctx, const std::uint8_t* payload, int length);

// Once per poll round: rows whose reports stopped are blanked once, about 6 s
// after their last report 0x5C.
void AgeSatelliteRows(const DecoderContext& ctx);

}  // namespace halvix::reports
