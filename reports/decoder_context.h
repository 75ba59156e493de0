// What the report decoders reach when they show a report: the main window's
// view, the windows they fill, the receiver display state, the operator
// prompts, the link (for queries) and the calls into other features. One
// instance, handed to the decoders when they are registered; it lives as long
// as the windows.
#pragma once

#include <cstdint>
#include <functional>
#include <optional>

#include "reports/display_state.h"
#include "reports/readback_fields.h"

namespace halvix::link {
class SerialLink;
}
namespace halvix::platform {
class OperatorPrompts;
}
namespace halvix::commands {
class TForm_Altitude;
class TForm_AutoOut;
class TForm_BriselPortAOut;
class TForm_BriselSurvey;
class TForm_Datum;
class TForm_GPS;
class TForm_InitialTime;
class TForm_NMEA;
class TForm_PacketMasks;
class TForm_SelfSurvey;
class TForm_Serial;
class TForm_TimingOut;
}  // namespace halvix::commands
namespace halvix::tools {
class TForm_AlmanacData;
class TForm_AlmHealth;
class TForm_EEPROM;
class TForm_Message;
}  // namespace halvix::tools

namespace halvix::reports {

class MainView;
class TForm_AddTiming;
class TForm_EphemStat;
class TForm_Product;
class TForm_RawMeas;
class TForm_Track;
class TForm_UTCParam;
class TForm_VelPos;
struct SupplementalTiming;
struct TrackingStatus;
struct SatelliteSelection;

// The windows the decoders show reports in; all are set before the first report.
struct DecoderWindows {
  MainView* main = nullptr;
  TForm_VelPos* velPos = nullptr;
  TForm_AddTiming* addTiming = nullptr;
  TForm_Product* product = nullptr;
  TForm_RawMeas* rawMeas = nullptr;
  TForm_EphemStat* ephemStat = nullptr;
  TForm_Track* track = nullptr;
  TForm_UTCParam* utcParam = nullptr;
  commands::TForm_Altitude* altitude = nullptr;
  commands::TForm_AutoOut* autoOut = nullptr;
  commands::TForm_BriselPortAOut* briselPortAOut = nullptr;
  commands::TForm_BriselSurvey* briselSurvey = nullptr;
  commands::TForm_Datum* datum = nullptr;
  commands::TForm_GPS* gps = nullptr;
  commands::TForm_InitialTime* initialTime = nullptr;
  commands::TForm_NMEA* nmea = nullptr;
  commands::TForm_PacketMasks* packetMasks = nullptr;
  commands::TForm_SelfSurvey* selfSurvey = nullptr;
  commands::TForm_Serial* serial = nullptr;
  commands::TForm_TimingOut* timingOut = nullptr;
  tools::TForm_AlmanacData* almanacData = nullptr;
  tools::TForm_AlmHealth* almHealth = nullptr;
  tools::TForm_EEPROM* eeprom = nullptr;
  tools::TForm_Message* message = nullptr;
};

struct DecoderContext {
  DecoderWindows windows;
  DisplayState& display;
  platform::OperatorPrompts& prompts;
  link::SerialLink& link;
  // The reset test's read-back fields, written by the configuration decoders.
  reports::ReadBackFields& readBack;
  // Developer mode: the long version report shows its build hour.
  bool developerMode = false;

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

  MainView& main() const { return *windows.main; }
  // "Poll Timing Packets" is checked: the timing packets feed the main window.
  bool pollTimingPackets() const;
};

// Every GUI decoder: a report's payload, shown through the context.
using GuiDecoder = void(const DecoderContext& ctx, const std::uint8_t* payload, int length);

// Hands a decoded report to a window's entry point; a report that did not
// decode (a wrong length) changes nothing.
template <typename Window, typename Report>
void ShowIn(Window* window, void (Window::*show)(const Report&), const std::optional<Report>& report) {
  if (report) (window->*show)(*report);
}

}  // namespace halvix::reports
