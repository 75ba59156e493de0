// Registers every report decoder with the main window's dispatcher and hands
// the decoders what they show reports in (the windows, the display state, the
// prompts, the link, the PC clock transfer). Runs once at start-up, after all
// windows exist and before the first poll tick.
#pragma once

namespace halvix::app {

struct AppContext;
struct Windows;

void WireDecoders(Windows& windows, AppContext& context);

}  // namespace halvix::app
