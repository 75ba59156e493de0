// The receiver control actions of the main menus: the confirmed resets, the
// self-survey restart, saving all configuration segments and reverting one or
// all of them to defaults. Each asks the operator first and does nothing on
// No or Cancel. Resets and reverts that return the receiver's serial port to
// its defaults move the PC's port along, so the link keeps talking.
#pragma once

#include <cstdint>
#include <functional>

#include "link/port_settings.h"

namespace halvix::link {
class Clock;
class SerialLink;
}  // namespace halvix::link

namespace halvix::platform {
class OperatorPrompts;
}

namespace halvix::tools {

// Segment numbers of the revert segment command.
inline constexpr std::uint8_t kSerialPortSegment = 4;
// Pause between a revert that resets the serial settings and the PC line change.
inline constexpr int kRevertSettleMs = 200;

// The receiver's factory line: 9600 baud, 8 data bits, odd parity, 1 stop bit, QLIP.
link::PortSettings FactoryPortSettings();

struct ControlHooks {
  // The main window's display reset; withSatellites also blanks the SV rows.
  std::function<void(bool withSatellites)> displayReset;
  // Sets the PC's port and shows the settings in the status bar.
  std::function<int(const link::PortSettings&)> applyPortSettings;
};

class ControlActions {
 public:
  ControlActions(link::SerialLink& link, link::Clock& clock, platform::OperatorPrompts& prompts,
                 ControlHooks hooks);

  void ColdReset();
  void WarmReset();
  void FactoryResetAll();
  void FactoryResetNavigation();
  void FactoryResetConfiguration();
  void RestartSelfSurvey();
  void SaveAllSegments();
  void DefaultAllSegments();

  // The Revert Segment confirmation; true on OK.
  bool ConfirmRevertSegment();
  // Sends revert segment; the serial segment and all segments also reset the
  // PC port after the settle pause.
  void RevertSegment(std::uint8_t segment);

 private:
  bool confirm(const QString& title, const QString& text);
  bool confirmSegments(const QString& title, const QString& text);
  // Reset command 0x1E, the display reset, and the factory line when asked.
  void resetWith(std::uint8_t mode, bool portToFactory);
  // The three factory resets: "Reset receiver?" with text, then the reset on OK.
  void factoryReset(const QString& text, std::uint8_t mode, bool toFactoryLine);
  void portToFactory();

  link::SerialLink& link_;
  link::Clock& clock_;
  platform::OperatorPrompts& prompts_;
  ControlHooks hooks_;
};

}  // namespace halvix::tools
