#include "monitor/receiver_state.h"

#include <QtGlobal>
#include <algorithm>
#include <cmath>

#include "link/report_dispatcher.h"
#include "monitor/monitor_config.h"
#include "reports/report_registry.h"
#include "reports/satellite_layouts.h"

namespace halvix::monitor {

using link::ReportDispatcher;

QString PacketKindLabel(int id, const std::uint8_t* payload, int length) {
  const link::RouteTable& routes = reports::ReportRoutes();
  if (!routes.routesId(id)) return QStringLiteral("other");
  const bool hasSubCode = length >= 1 && payload != nullptr;
  // Diagnostic 0x5F kinds share one label: the labels of a metric stay few.
  if (id == ReportDispatcher::kSegmentReport) {
    const reports::ReportKindRow* kind = reports::FindReportKind(id, payload, length);
    if (kind == nullptr || kind->route.developerOnly) return QStringLiteral("5F");
    return QString::fromLatin1(kind->key().data(), static_cast<qsizetype>(kind->key().size()));
  }
  if (routes.subCoded(id)) {
    if (!hasSubCode || !routes.routesSubCode(id, payload[0])) return QStringLiteral("other");
    return QStringLiteral("%1-%2").arg(id, 2, 16, QLatin1Char('0')).arg(payload[0], 2, 16, QLatin1Char('0')).toUpper();
  }
  return QStringLiteral("%1").arg(id, 2, 16, QLatin1Char('0')).toUpper();
}

ReceiverState::ReceiverState(QString name, QString configuredType, session::ReceiverSession& session)
    : name_(std::move(name)), configuredType_(std::move(configuredType)), session_(session) {
  for (const std::string_view kind : analysis::TimingEventKinds()) events_[kind] = 0;
  session_.addObserver(this);
}

ReceiverState::~ReceiverState() { session_.removeObserver(this); }

QString ReceiverState::type() const {
  if (!configuredType_.isEmpty()) return configuredType_;
  if (productionType_ >= 1 && productionType_ <= ReceiverTypeNames().size()) {
    return ReceiverTypeNames().at(productionType_ - 1);
  }
  return {};
}

bool ReceiverState::up() const {
  return session_.state() == session::SessionState::Polling && lastPacketMs_ >= 0 &&
         nowMs() - lastPacketMs_ <= kUpSilenceMs;
}

void ReceiverState::stateChanged(session::ReceiverSession&, session::SessionState state) {
  // Values of a receiver that went away are not carried over to its return.
  if (state == session::SessionState::Waiting) {
    timing_.reset();
    sky_.clear();
    trackingMs_ = selectionMs_ = -1;
    if (!lost_ && originS_ >= 0) count(detector_.deviceLost(seconds()));
    lost_ = true;
  } else if (state == session::SessionState::Polling && lost_) {
    lost_ = false;
    if (originS_ >= 0) count(detector_.deviceBack(seconds()));
  }
}

double ReceiverState::seconds() {
  const double clockS = static_cast<double>(nowMs()) / 1000.0;
  if (originS_ < 0) originS_ = clockS;
  return clockS - originS_;
}

void ReceiverState::count(const std::vector<analysis::TimingEvent>& events) {
  for (const auto& e : events) ++events_[e.kind];
}

const reports::SupplementalTiming* ReceiverState::timing() const {
  if (!timing_ || nowMs() - timingMs_ > kStaleMs) return nullptr;
  return &*timing_;
}

std::optional<int> ReceiverState::satellitesTracked() const {
  if (trackingMs_ < 0 || nowMs() - trackingMs_ > analysis::SkyTrack::kStaleMs) return std::nullopt;
  return sky_.trackedCount();
}

std::optional<int> ReceiverState::satellitesUsed() const {
  if (selectionMs_ < 0 || nowMs() - selectionMs_ > kStaleMs) return std::nullopt;
  return sky_.usedCount();
}

std::optional<double> ReceiverState::adev(int tau) const {
  for (const auto& p : history_.stability(true).result().adev) {
    if (std::llround(p.tau) == tau) return p.value;
  }
  return std::nullopt;
}

void ReceiverState::packetReceived(session::ReceiverSession&, int id, const std::uint8_t* payload,
                                   int length) {
  const std::int64_t now = nowMs();
  lastPacketMs_ = now;
  ++packets_[PacketKindLabel(id, payload, length)];
  const int sub = length >= 1 ? payload[0] : -1;
  bool problem = false;
  if (id == ReportDispatcher::kSuperReport && sub == 0xAC) {
    if (const auto r = reports::DecodeSupplementalTiming(payload, length)) {
      timing_ = *r;
      timingMs_ = now;
      addTiming(*r);
    } else {
      problem = true;
    }
  } else if (id == ReportDispatcher::kSuperReport && sub == 0xAB) {
    problem = !reports::DecodePrimaryTiming(payload, length);
  } else if (id == ReportDispatcher::kSuperReport && sub == 0x42) {
    if (const auto r = reports::DecodeProductionParameters(payload, length)) {
      if (const int t = r->receiverType(); t != 0) productionType_ = t;
    } else {
      problem = true;
    }
  } else if (id == 0x45) {
    if (const auto r = reports::DecodeSoftwareVersion(payload, length)) version_ = *r;
    else problem = true;
  } else if (id == 0x5C) {
    if (const auto r = reports::DecodeTrackingStatus(payload, length)) {
      sky_.track(r->satellite, r->azimuth, r->elevation, r->signalLevel, now);
      sky_.expire(now);
      trackingMs_ = now;
    } else {
      problem = true;
    }
  } else if (id == 0x6D) {
    if (const auto r = reports::DecodeSatelliteSelection(payload, length)) {
      sky_.select(std::span<const std::int8_t>(r->satellites.data(),
                                               static_cast<std::size_t>(r->satelliteCount)));
      sky_.expire(now);
      selectionMs_ = now;
    } else {
      problem = true;
    }
  }
  if (problem) ++decodeProblems_;
}

void ReceiverState::addTiming(const reports::SupplementalTiming& r) {
  const double t = seconds();
  count(detector_.add({t, r.ppsOffset, r.minorAlarms, r.receiverMode, r.statusCode, r.surveyProgress}));
  // Seconds as the Charts window counts them.
  history_.addTiming(history_.streamSecond(t), static_cast<float>(r.ppsOffset), static_cast<float>(r.oscillatorOffset),
                     static_cast<float>(r.quantizationError), r.minorAlarms);
}

}  // namespace halvix::monitor
