#include "app/poll_cycle.h"

#include "commands/catalogue.h"

namespace halvix::app {

PollCycle::PollCycle(link::SerialLink& link, PollCycleView& view,
                     link::SerialLink::PacketCallback dispatch, int& timeReportCountdown,
                     int& timingReportCountdown)
    : link_(link),
      view_(view),
      dispatch_(std::move(dispatch)),
      timeReportCountdown_(timeReportCountdown),
      timingReportCountdown_(timingReportCountdown) {}

void PollCycle::tick() {
  // Inside another tick, or inside the display reset's read: a decoder's box
  // is open and its loop delivers this tick.
  if (inTick_ || link_.reading()) return;
  inTick_ = true;

  // A lamp lit since the previous tick is greyed at the start of the next one.
  if (txLampLit) {
    view_.greyTxLamp();
    txLampLit = 0;
  }
  if (rxLampLit) {
    view_.greyRxLamp();
    rxLampLit = 0;
  }
  if (view_.txLampGreen()) txLampLit = 1;
  if (view_.rxLampGreen()) rxLampLit = 1;

  startupQueries();
  receive();
  roundRobin();
  inTick_ = false;
}

void PollCycle::receive() { link_.PollPort(dispatch_, false); }

void PollCycle::startupQueries() {
  if (startupCountdown > 3) {
    --startupCountdown;
  } else if (startupCountdown == 3) {
    commands::SoftwareVersionRequest1F(link_);
    --startupCountdown;
  } else if (startupCountdown == 2) {
    commands::ProductionParametersRequest8E42(link_);
    startupCountdown = 0;
  } else if (startupCountdown == 0) {
    startupCountdown = -1;
  }
}

void PollCycle::roundRobin() {
  pollPhase = (pollPhase + 1) % kPhases;
  const bool timing = view_.pollTimingPackets();
  switch (pollPhase) {
    case 0: commands::SvSelectionRequest24(link_); break;
    case 1: commands::TrackingStatusRequest3C(link_); break;
    case 2: housekeeping(); break;
    case 3:
      if (timing) commands::TimingPacketRequest8EAB(link_, commands::kTimingRequestBoth);
      else commands::TimeRequest21(link_);
      break;
    case 4:
      if (timing) commands::TimingPacketRequest8EAB(link_, commands::kTimingRequestBoth);
      else commands::HealthRequest26(link_);
      break;
    case 5:
      if (!timing) commands::ComprehensiveTimeRequest8E0B(link_);
      break;
    default: break;
  }
}

void PollCycle::housekeeping() {
  view_.ageSatelliteRows();
  // Only the step to exactly 0 blanks; the counters then fall on without effect.
  if (--timeReportCountdown_ == 0) {
    view_.displayReset(false);
    if (!view_.pollTimingPackets()) view_.timingPanelBlanking();
  }
  if (--timingReportCountdown_ == 0 && !view_.pollTimingPackets()) view_.timingPanelBlanking();
}

}  // namespace halvix::app
