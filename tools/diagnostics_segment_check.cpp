#include "tools/diagnostics_segment_check.h"

#include <system_error>

#include "commands/catalogue.h"

namespace halvix::tools {

ReadBackValues Snapshot(const reports::ReadBackFields& f) {
  return ReadBackValues{f.refAltitude.load(),   f.datumIndex.load(),    f.portAParity.load(),
                        f.portBParity.load(),   f.ppsOutputMode.load(), f.surveyLength.load(),
                        f.nmeaInterval.load()};
}

QString SegmentCheckText(const ReadBackValues& v, int testPort) {
  QString lines;
  if (static_cast<int>(v.refAltitude) == 100)
    lines += QStringLiteral(" Receiver Configuration:  Reference Altitude = 100.0\r\n");
  if (v.datumIndex == 5) lines += QStringLiteral(" I/O Options:             Datum Index = 5\r\n");
  if (testPort == 0 && v.portAParity == 0)
    lines += QStringLiteral(" Serial Port Settings:    PortA Parity = none\r\n");
  if (v.ppsOutputMode == 2)
    lines += QStringLiteral(" Timing Outputs:          Output Options = Always\r\n");
  if (v.surveyLength == 100)
    lines += QStringLiteral(" Self Survey Config:      Survey Limit = 100.0\r\n");
  if (v.nmeaInterval == 10)
    lines += QStringLiteral(" NMEA Configuration:      Output Interval = 10\r\n");
  if (lines.isEmpty()) return QStringLiteral("All segments returned to default:\r\n");
  return QStringLiteral("Some segments not returned to default:\r\n") + lines;
}

SegmentCheckOutcome RunSegmentCheck(link::SerialLink& link, reports::ReadBackFields& f, int testPort,
                                    const std::atomic<bool>& stop) {
  using Kind = SegmentCheckOutcome::Kind;
  f.clear();
  const auto port = static_cast<std::uint8_t>(testPort);
  // Each query goes out only while its value is missing; the serial port
  // report answers for either port, so one parity is enough.
  const struct {
    bool (*missing)(const reports::ReadBackFields&);
    void (*query)(link::SerialLink&, std::uint8_t);
  } queries[] = {
      {[](const reports::ReadBackFields& r) { return r.refAltitude < 0.0f; },
       [](link::SerialLink& l, std::uint8_t) { commands::AltitudeRequest2A(l); }},
      {[](const reports::ReadBackFields& r) { return r.datumIndex < 0; },
       [](link::SerialLink& l, std::uint8_t) { commands::DatumRequest8E15(l); }},
      {[](const reports::ReadBackFields& r) { return r.portAParity < 0 && r.portBParity < 0; },
       [](link::SerialLink& l, std::uint8_t p) { commands::SerialPortRequestBC(l, p); }},
      {[](const reports::ReadBackFields& r) { return r.ppsOutputMode < 0; },
       [](link::SerialLink& l, std::uint8_t) { commands::PpsOutputRequest8E4E(l); }},
      {[](const reports::ReadBackFields& r) { return r.surveyLength < 0; },
       [](link::SerialLink& l, std::uint8_t) { commands::SelfSurveyParametersRequest8EA9(l); }},
      {[](const reports::ReadBackFields& r) { return r.nmeaInterval < 0; },
       [](link::SerialLink& l, std::uint8_t) { commands::NmeaOutputRequest7A(l); }},
  };
  for (int round = 1;; ++round) {
    bool anyMissing = false;
    for (const auto& q : queries) {
      if (stop) return {Kind::Stopped, {}};
      if (!q.missing(f)) continue;
      anyMissing = true;
      q.query(link, port);
    }
    if (!anyMissing) break;
    if (stop) return {Kind::Stopped, {}};
    link.clock().sleepMs(SegmentCheckWorker::kRoundPauseMs);
    if (round >= SegmentCheckWorker::kMaxRounds) return {Kind::NotRetrieved, {}};
  }
  return {Kind::Result, SegmentCheckText(Snapshot(f), testPort)};
}

bool SegmentCheckWorker::start(link::SerialLink& link, reports::ReadBackFields& fields, int testPort,
                               Done done) {
  stop();
  stop_ = false;
  finished_ = false;
  link_ = &link;
  link.CancelHandovers(false);
  try {
    thread_ = std::thread([this, &link, &fields, testPort, done = std::move(done)] {
      const SegmentCheckOutcome outcome = RunSegmentCheck(link, fields, testPort, stop_);
      finished_ = true;
      if (outcome.kind != SegmentCheckOutcome::Kind::Stopped && done) done(outcome);
    });
  } catch (const std::system_error&) {
    finished_ = true;
    return false;
  }
  return true;
}

void SegmentCheckWorker::stop() {
  stop_ = true;
  // A query waiting for the link's thread (this one) would never be written.
  if (link_ != nullptr && thread_.joinable()) link_->CancelHandovers(true);
  if (thread_.joinable()) thread_.join();
  finished_ = true;
}

}  // namespace halvix::tools
