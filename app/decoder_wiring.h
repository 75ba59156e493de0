// Binds every report kind of the registry to its GUI decoder, by key, on the
// main window's dispatcher, and hands the decoders what they show reports in
// (the windows, the display state, the prompts, the link, the PC clock
// transfer). Runs once at start-up, after all windows exist and before the
// first poll tick.
#pragma once

#include <QString>
#include <cstdint>
#include <span>
#include <string_view>

namespace halvix::reports {
struct DecoderContext;
}

namespace halvix::app {

struct AppContext;
struct Windows;

struct GuiDecoderBinding {
  std::string_view key;  // the report kind's key in the registry ("8F-AB")
  void (*decoder)(const reports::DecoderContext&, const std::uint8_t* payload, int length);
};

// The GUI decoder of every routed report kind.
std::span<const GuiDecoderBinding> GuiDecoderBindings();

// What is wrong between the registry and a binding table: routed kinds with
// no GUI decoder, and bindings to no routed kind. Empty when they match.
QString DecoderBindingProblems(std::span<const GuiDecoderBinding> bindings);

void WireDecoders(Windows& windows, AppContext& context);

}  // namespace halvix::app
