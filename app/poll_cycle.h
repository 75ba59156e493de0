// The link poll cycle: every 200 ms tick ages the Tx/Rx lamps, runs the two
// start-up queries, reads and dispatches what has arrived, and sends one query
// of a six-phase round robin; once per round it ages the satellite rows and the
// report watchdogs. The windows are reached through PollCycleView.
#pragma once

#include <functional>

#include "link/serial_link.h"

namespace halvix::app {

class PollCycleView {
 public:
  virtual ~PollCycleView() = default;
  virtual bool txLampGreen() const = 0;
  virtual void greyTxLamp() = 0;
  virtual bool rxLampGreen() const = 0;
  virtual void greyRxLamp() = 0;
  // "Poll Timing Packets" is checked.
  virtual bool pollTimingPackets() const = 0;
  virtual void displayReset(bool withSatellites) = 0;
  virtual void timingPanelBlanking() = 0;
  virtual void ageSatelliteRows() = 0;
};

class PollCycle {
 public:
  static constexpr int kIntervalMs = 200;
  static constexpr int kPhases = 6;

  PollCycle(link::SerialLink& link, PollCycleView& view, link::SerialLink::PacketCallback dispatch,
            int& timeReportCountdown, int& timingReportCountdown);

  // One tick of the link timer (QLIPTimer). A tick that would start inside
  // another, or inside any read of the link (a modal box opened by a
  // decoder), returns at once.
  void tick();
  // Reads and dispatches what has arrived (also used by the display reset).
  void receive();

  int txLampLit = 0;
  int rxLampLit = 0;
  int startupCountdown = 5;
  int pollPhase = 0;

 private:
  void startupQueries();
  void roundRobin();
  void housekeeping();

  link::SerialLink& link_;
  PollCycleView& view_;
  link::SerialLink::PacketCallback dispatch_;
  int& timeReportCountdown_;
  int& timingReportCountdown_;
  bool inTick_ = false;
};

}  // namespace halvix::app
