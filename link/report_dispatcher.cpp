#include "link/report_dispatcher.h"

#include <QDebug>
#include <QString>
#include <algorithm>

namespace halvix::link {

ReportDispatcher::ReportDispatcher(QObject* parent) : QObject(parent) {
  callback_ = [this](SerialLink& link) { (*this)(link); };
}

void ReportDispatcher::setRoutes(const RouteTable& routes) {
  routes_ = &routes;
  decoders_.assign(static_cast<std::size_t>(routes.size()), Decoder{});
}

bool ReportDispatcher::setDecoder(std::string_view key, Decoder fn) {
  const int row = routes_ != nullptr ? routes_->rowOf(key) : RouteTable::kNoRow;
  if (row == RouteTable::kNoRow) {
    qWarning().noquote() << "Report dispatcher: no route for"
                         << QString::fromLatin1(key.data(), static_cast<qsizetype>(key.size()));
    return false;
  }
  return setRowDecoder(row, std::move(fn));
}

bool ReportDispatcher::setRowDecoder(int row, Decoder fn) {
  if (row < 0 || static_cast<std::size_t>(row) >= decoders_.size()) return false;
  decoders_[static_cast<std::size_t>(row)] = std::move(fn);
  return true;
}

void ReportDispatcher::dispatch(int id, const std::uint8_t* payload, int length) {
  // Decoders and the recorder always get a real pointer, even for an empty packet.
  static constexpr std::uint8_t kNoPayload[1] = {0};
  if (payload == nullptr || length < 0) {
    payload = kNoPayload;
    length = 0;
  }
  Q_EMIT packetReceived();
  if (routes_ != nullptr) {
    const int row = routes_->find(id, payload, length);
    if (row != RouteTable::kNoRow && (developerMode_ || !routes_->rule(row).developerOnly)) {
      const Decoder& decoder = decoders_[static_cast<std::size_t>(row)];
      if (decoder) decoder(payload, length);
    }
  }
  if (recorder_) recorder_(id, payload, length);
  if (heartbeat_) heartbeat_();
}

void ReportDispatcher::operator()(SerialLink& link) {
  const int length = std::min(link.completedLength, SerialLink::kPayloadSize);
  dispatch(link.id, link.payload.data(), length);
}

}  // namespace halvix::link
