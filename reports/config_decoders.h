// Decoders of the configuration reports: each hands the receiver's settings
// to the dialog that asked (which sets its controls as the operator would, so
// their handlers run), and some also to the reset test's read-back fields. A
// report of the wrong length changes nothing.
#pragma once

#include "reports/decoder_context.h"

namespace halvix::reports {

GuiDecoder Report4FDecoder, Report55Decoder, Report7BDecoder, ReportBBDecoder, ReportBCDecoder;
GuiDecoder Report8F15Decoder, Report8F4ADecoder, Report8F4BDecoder, Report8F4DDecoder, Report8F4EDecoder,
    Report8F4FDecoder, Report8FA5Decoder, Report8FA9Decoder;

}  // namespace halvix::reports
