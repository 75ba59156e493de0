// Decoders of the satellite reports: 0x5C (main satellite table and Tracking
// Status rows), 0x6D (selection list, DOPs and the table's colours), 0x5A
// (Raw Measurement Data), 0x5B (Satellite Ephemeris Status), 0x40 (Almanac
// Data) and 0x49 (Almanac Health Page), plus the ageing of silent table rows.
// A report of another length changes nothing.
#pragma once

#include "reports/decoder_context.h"

namespace halvix::reports {

GuiDecoder Report5CDecoder, Report6DDecoder, Report5ADecoder, Report5BDecoder, Report40Decoder,
    Report49Decoder;

// Once per poll round: rows whose reports stopped are blanked once, about 6 s
// after their last report 0x5C.
void AgeSatelliteRows(const DecoderContext& ctx);

}  // namespace halvix::reports
