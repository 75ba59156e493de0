// What the report decoders reach when they show a report: every window, the
// receiver display state, the operator prompts, the link (for queries) and
// the calls into other features. One instance, handed to the decoders when
// they are registered; it lives as long as the windows.
#pragma once

#include <functional>

#include "reports/display_state.h"
#include "reports/readback_fields.h"

namespace halvix::link {
class SerialLink;
}
namespace halvix::platform {
class OperatorPrompts;
}
namespace halvix::app {
class TForm_Main;
struct Windows;
}  // namespace halvix::app

namespace halvix::reports {

struct SupplementalTiming;
struct TrackingStatus;
struct SatelliteSelection;

struct DecoderContext {
  app::Windows& windows;
  DisplayState& display;
  platform::OperatorPrompts& prompts;
  link::SerialLink& link;
  // The reset test's read-back fields, written by the configuration decoders.
  reports::ReadBackFields& readBack;

  // The PC clock transfer: GPS seconds and the UTC offset in seconds.
  std::function<void(double gpsSeconds, float utcOffset)> setPcClockFromGps;
  // The reset test's wait for usable satellites (report 0x8F-AC, alarm bit 3 clear).
  std::function<void()> nextTrackingReset;
  // The reset test's read-back of the 2D reference altitude (report 0x4A, 9 bytes).
  std::function<void(float altitude)> referenceAltitude;
  // The reset test's counts of the receiver's fatal errors and exceptions
  // (report 0x5F, developer mode). HOOK: set once the diagnostics test has them.
  std::function<void()> appFatalError;
  std::function<void()> appFatalException;
  // The Charts window's history: every supplemental timing report, tracking
  // status and satellite selection, whatever the window shows.
  std::function<void(const SupplementalTiming&)> chartTiming;
  std::function<void(const TrackingStatus&)> chartTracking;
  std::function<void(const SatelliteSelection&)> chartSelection;

  app::TForm_Main& main() const;
  // "Poll Timing Packets" is checked: the timing packets feed the main window.
  bool pollTimingPackets() const;
};

}  // namespace halvix::reports
