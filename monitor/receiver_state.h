// What the monitor knows of one receiver: its last timing, satellite and
// version reports decoded with the report layouts, the stability of its PPS
// phase, and its counters. Fed by its session as an observer; read by the
// exposition and the JSON view.
#pragma once

#include <QString>
#include <array>
#include <cstdint>
#include <map>
#include <optional>

#include "analysis/sky_track.h"
#include "analysis/timing_events.h"
#include "analysis/timing_history.h"
#include "reports/timing_layouts.h"
#include "reports/version_layouts.h"
#include "session/receiver_session.h"

namespace halvix::monitor {

// The minor alarms, one series each, labelled as the table names them.
using reports::MinorAlarm;
using reports::kMinorAlarms;

// The taus of the ADEV series, in seconds.
inline constexpr std::array<int, 4> kAdevTaus{1, 10, 100, 1000};

// The kind of a packet as a counter label: "8F-AC", "5F-11", "45"; packets the
// dispatcher does not route count as "other", so a garbled line cannot make
// series without bound.
QString PacketKindLabel(int id, const std::uint8_t* payload, int length);

class ReceiverState final : public session::SessionObserver {
 public:
  // No report for this long: the receiver is down.
  static constexpr std::int64_t kUpSilenceMs = 3000;
  // Values older than this are not shown (the main window blanks after five rounds).
  static constexpr std::int64_t kStaleMs = 6000;
  // Enough phase points for an ADEV at tau 1000 s (a quarter of the window).
  static constexpr std::size_t kStabilityPoints = 4096;

  ReceiverState(QString name, QString configuredType, session::ReceiverSession& session);
  ~ReceiverState() override;
  ReceiverState(const ReceiverState&) = delete;
  ReceiverState& operator=(const ReceiverState&) = delete;

  void packetReceived(session::ReceiverSession&, int id, const std::uint8_t* payload, int length) override;
  void stateChanged(session::ReceiverSession&, session::SessionState state) override;

  const QString& name() const { return name_; }
  const QString& port() const { return session_.options().port; }
  // The configured type, else the one the production parameters name, else "".
  QString type() const;
  session::ReceiverSession& session() const { return session_; }
  std::int64_t nowMs() const { return session_.scheduler().nowMs(); }
  bool up() const;

  // Fresh values only (nothing when stale or never seen).
  const reports::SupplementalTiming* timing() const;
  std::optional<int> satellitesTracked() const;
  std::optional<int> satellitesUsed() const;
  const std::optional<reports::SoftwareVersion>& version() const { return version_; }
  // ADEV of the quantization-corrected PPS phase at tau seconds, when the history is long enough.
  std::optional<double> adev(int tau) const;

  const std::map<QString, std::uint64_t>& packetsByKind() const { return packets_; }
  std::uint64_t decodeProblems() const { return decodeProblems_; }
  std::uint64_t reconnects() const { return session_.reconnects(); }
  std::uint64_t inputDropped() const { return session_.link().inputDropped; }
  // Timing events seen so far, by kind (every kind present, from zero).
  const std::map<std::string_view, std::uint64_t>& eventsByKind() const { return events_; }

 private:
  void addTiming(const reports::SupplementalTiming& r);
  // Seconds since the first timing report, on the session's clock.
  double seconds();
  void count(const std::vector<analysis::TimingEvent>& events);

  QString name_;
  QString configuredType_;
  session::ReceiverSession& session_;
  int productionType_ = 0;  // 1..5, as the production parameters name it
  std::optional<reports::SupplementalTiming> timing_;
  std::int64_t timingMs_ = 0;
  std::optional<reports::SoftwareVersion> version_;
  analysis::SkyTrack sky_;
  std::int64_t trackingMs_ = -1;
  std::int64_t selectionMs_ = -1;
  analysis::TimingHistory history_{kStabilityPoints};
  double originS_ = -1;
  std::int64_t lastPacketMs_ = -1;
  std::map<QString, std::uint64_t> packets_;
  std::uint64_t decodeProblems_ = 0;
  analysis::TimingEventDetector detector_;
  std::map<std::string_view, std::uint64_t> events_;
  bool lost_ = false;
};

}  // namespace halvix::monitor
