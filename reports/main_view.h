// What the report decoders show in the main window, as typed values: the
// time, position, timing-output, mode/status and minor-alarm groups, the
// satellite table, the firmware version and the receiver type the production
// report names. The main window implements it; the decoders never see its
// controls.
#pragma once

#include <QString>
#include <cstdint>

#include "reports/satellite_layouts.h"

namespace halvix::reports {

// The time group as a report gives it.
struct MainTime {
  QString timeOfWeek;
  QString week;
  QString utcOffset;
  QString time;
  QString date;
  QString scale;  // "GPS" or "UTC"
};

// The timing-output group of report 0x8F-AC.
struct MainTimingOutputs {
  QString survey;  // self-survey progress, "%d%%"
  double ppsOffset = 0;
  double oscillatorOffset = 0;
  double quantizationError = 0;
  bool ppsGenerated = false;
};

class MainView {
 public:
  virtual ~MainView() = default;

  // "Poll Timing Packets" is checked: the timing packets feed the window.
  virtual bool pollTimingPackets() const = 0;

  // The time group; hint names the report that filled it.
  virtual void showTime(const MainTime& time, const QString& hint) = 0;
  // Latitude and longitude in degrees (decimal or deg/min/sec as the
  // operator chose), altitude in metres.
  virtual void showPosition(double latitudeDeg, double longitudeDeg, double altitude,
                            const QString& hint) = 0;
  virtual void showTimingOutputs(const MainTimingOutputs& outputs) = 0;
  // Every lamp of the minor-alarm group from the alarm word.
  virtual void showMinorAlarms(std::uint16_t alarms) = 0;
  virtual void showMode(const QString& mode) = 0;
  virtual void showStatus(const QString& status, const QString& hint) = 0;

  // One row of the satellite table (0..11) and its colour.
  virtual void showSatelliteRow(int row, const QString& satellite, const QString& signal,
                                SvColour colour) = 0;
  // A row whose satellite has not been reported for a while.
  virtual void showIdleSatelliteRow(int row) = 0;

  virtual void showFirmwareVersion(const QString& version) = 0;
  // The receiver type named by the production report (codes as the Control
  // menu's receiver types; others apply nothing).
  virtual void applyReceiverType(int type) = 0;
};

}  // namespace halvix::reports
