// Registers every report's pure layout on a dispatcher, with the display
// formatters the decoders apply to its fields, for the fuzz targets.
#pragma once

namespace halvix::link {
class ReportDispatcher;
}

namespace halvix::fuzz {

void RegisterEveryLayout(link::ReportDispatcher& dispatcher);

}  // namespace halvix::fuzz
