// Decoders of the reports that describe the receiver itself: software version
// (0x45) to the status bar and Product Info, health (0x46) to the main
// window's status, the set-time reply (0x4E), the EEPROM segment status and
// the developer's fatal-error texts (0x5F), and the manufacturing and
// production parameters (0x8F-41, 0x8F-42), the latter choosing the receiver type.
#pragma once

#include "reports/decoder_context.h"

namespace halvix::reports {

GuiDecoder Report45Decoder, Report46Decoder, Report4EDecoder, Report5F11Decoder, Report8F41Decoder,
    Report8F42Decoder;
// Routed so that it is not taken for an unknown report; nothing is shown.
GuiDecoder Report4BDecoder;
// Reached only in developer mode (the dispatcher drops it otherwise).
GuiDecoder Report5FDiagnosticDecoder;

}  // namespace halvix::reports
