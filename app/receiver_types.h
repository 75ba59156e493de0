// Receiver types: applying one reconfigures the main window's menus, the
// minor-alarm group and the width/output, serial and packet-mask controls of
// three configuration windows in one step. Also the "Poll Timing Packets"
// toggle, whose check mark follows the stored NTP setting.
#pragma once

#include <QString>

namespace halvix::app {

class TForm_Main;

// Type codes, as the menu handlers and the production report pass them.
enum ReceiverTypeCode : int {
  kNoReceiverType = 0,
  kCorvel = 1,
  kCorvelNorden = 2,
  kCorvelPellam = 3,
  kCorvelCvl2 = 4,
  kBrisel = 5,
};

inline const QString kNtpQuestionTitle = QStringLiteral("NTP?");
inline const QString kNtpQuestion =
    QStringLiteral("Are you using the Corvel with Network Timing Protocol (NTP)?");
inline const QString kPollingWarning = QStringLiteral(
    "The Primary and Supplemental timing packets are not used by NTP. If you have an NTP server "
    "connected to port A of the receiver, selecting this option may result in data overruns and "
    "degraded performance.  Proceed?");

// Applies the type; any code outside 1..5 applies nothing.
void ApplyReceiverType(TForm_Main& main, int type);

// The "Poll Timing Packets" menu handler: switching polling on asks first;
// the choice is stored and the display reset without the satellite rows.
void TogglePollTimingPackets(TForm_Main& main);

}  // namespace halvix::app
