#include "link/report_dispatcher.h"

#include <QDebug>
#include <algorithm>

namespace halvix::link {

namespace {

// Ids routed on the id alone (0x4A: the LLA form, any length but 9).
constexpr std::array<std::uint8_t, 22> kPlainIds{
    0x40, 0x41, 0x42, 0x43, 0x45, 0x46, 0x49, 0x4A, 0x4B, 0x4E, 0x4F,
    0x55, 0x56, 0x5A, 0x5B, 0x5C, 0x6D, 0x7B, 0x83, 0x84, 0xBB, 0xBC};

// Sub-codes of super-report 0x8F that have a decoder.
constexpr std::array<std::uint8_t, 14> kSubCodes{0x0B, 0x15, 0x41, 0x42, 0x4A, 0x4B, 0x4D,
                                                 0x4E, 0x4F, 0xA5, 0xA9, 0xAB, 0xAC, 0xAD};

template <std::size_t N>
bool Contains(const std::array<std::uint8_t, N>& table, int value) {
  return value >= 0 && value <= 0xFF &&
         std::find(table.begin(), table.end(), static_cast<std::uint8_t>(value)) != table.end();
}

bool IsPlainId(int id) { return Contains(kPlainIds, id); }

}  // namespace

ReportDispatcher::ReportDispatcher(QObject* parent) : QObject(parent) {
  callback_ = [this](SerialLink& link) { (*this)(link); };
}

bool ReportDispatcher::IsRoutedId(int id) {
  return IsPlainId(id) || id == kSuperReport || id == kSegmentReport;
}

bool ReportDispatcher::IsRoutedSubCode(int subCode) { return Contains(kSubCodes, subCode); }

bool ReportDispatcher::setDecoder(int id, Decoder fn) {
  if (!IsPlainId(id)) {
    qWarning().noquote() << QString::asprintf("Report dispatcher: no route for id 0x%02X", id);
    return false;
  }
  byId_[static_cast<std::size_t>(id)] = std::move(fn);
  return true;
}

bool ReportDispatcher::setSuperDecoder(int id, int subCode, Decoder fn) {
  if (id != kSuperReport || !IsRoutedSubCode(subCode)) {
    qWarning().noquote() << QString::asprintf(
        "Report dispatcher: no route for id 0x%02X sub-code 0x%02X", id, subCode);
    return false;
  }
  bySubCode_[static_cast<std::size_t>(subCode)] = std::move(fn);
  return true;
}

const ReportDispatcher::Decoder* ReportDispatcher::route(int id, const std::uint8_t* payload,
                                                         int length) const {
  switch (id) {
    case kLlaReport:
      return length == kAltitudeLength ? &altitude_ : &byId_[kLlaReport];
    case kSuperReport:
      // An empty super-report has no sub-code to route on.
      if (length < 1) return nullptr;
      return &bySubCode_[payload[0]];
    case kSegmentReport:
      if (length < 1) return nullptr;
      if (payload[0] == kSegmentStatus) return &segmentStatus_;
      return developerMode_ ? &diagnostic_ : nullptr;
    default:
      // Unknown ids (0 after an over-long frame among them) keep an empty slot.
      if (id < 0 || id > 0xFF) return nullptr;
      return &byId_[static_cast<std::size_t>(id)];
  }
}

void ReportDispatcher::dispatch(int id, const std::uint8_t* payload, int length) {
  // Decoders and the recorder always get a real pointer, even for an empty packet.
  static constexpr std::uint8_t kNoPayload[1] = {0};
  if (payload == nullptr || length < 0) {
    payload = kNoPayload;
    length = 0;
  }
  Q_EMIT packetReceived();
  const Decoder* decoder = route(id, payload, length);
  if (decoder != nullptr && *decoder) (*decoder)(payload, length);
  if (recorder_) recorder_(id, payload, length);
  if (heartbeat_) heartbeat_();
}

void ReportDispatcher::operator()(SerialLink& link) {
  const int length = std::min(link.completedLength, SerialLink::kPayloadSize);
  dispatch(link.id, link.payload.data(), length);
}

}  // namespace halvix::link
