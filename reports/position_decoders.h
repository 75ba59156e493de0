// Decoders of the time, position and velocity reports: 0x41 (main-window
// time group), 0x42, 0x43, 0x4A, 0x56, 0x83, 0x84 (Velocity and Positioning),
// the 9-byte 0x4A reference altitude (2D Altitude dialog, reset test) and
// 0x8F-0B (Additional Timing Packets, and the main window's position and mode
// while the timing packets are not polled). A report of another length
// changes nothing.
#pragma once

#include "reports/decoder_context.h"

namespace halvix::reports {

GuiDecoder Report41Decoder, Report42Decoder, Report43Decoder, Report4ADecoder, Report4AAltitudeDecoder;
GuiDecoder Report56Decoder, Report83Decoder, Report84Decoder, Report8F0BDecoder;

}  // namespace halvix::reports
