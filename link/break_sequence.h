// The break sequence that brings the receiver's port and the PC's port to
// matching settings: BREAK raised and cleared, the receiver's "PR" port-settings
// line looked for, then set serial port sent and the PC line switched to match.
// Driven one step per 200 ms tick; windows, cursor and commands are reached
// through hooks so the sequence itself needs no widgets.
#pragma once

#include <QByteArray>
#include <functional>

#include "link/port_settings.h"
#include "link/serial_link.h"

namespace halvix::link {

// Reads the fields after the first ';' of a port-settings line into settings.
// Each value is stored as soon as it is parsed; a failure keeps the earlier ones.
bool ParsePortSettingsLine(const QByteArray& line, PortSettings& settings);

class BreakSequence {
 public:
  static constexpr int kStartCount = 12;
  static constexpr int kLineLength = 200;
  static constexpr std::int64_t kSettleBeforeSetMs = 3000;
  static constexpr std::int64_t kSettleAfterSetMs = 200;

  struct Hooks {
    std::function<void()> showSplash;
    std::function<void()> closeSplash;
    std::function<void(bool busy)> busyCursor;
    std::function<void()> stopBreakTimer;
    std::function<void()> startLinkTimer;
    std::function<void()> sendVersionRequest;                   // 0x1F
    std::function<void(const PortSettings&)> sendSetSerialPort;  // 0xBC
    std::function<void(const PortSettings&)> applyPortSettings;  // the PC follows
  };

  BreakSequence(SerialLink& link, Hooks hooks) : link_(link), hooks_(std::move(hooks)) {}

  // Arms a sequence; the caller then enables the break timer.
  void start(bool startup);
  // One tick of the break timer (TimerBreakTimer).
  void tick();
  void ApplyBreakSettings();

  int breakCountdown = kStartCount;
  bool startupBreak = true;
  PortSettings breakSettings{};
  QByteArray portSettingsLine;  // the last "PR" line seen

 private:
  void lookForPortSettingsLine();

  SerialLink& link_;
  Hooks hooks_;
  bool breakRaised_ = false;
};

}  // namespace halvix::link
