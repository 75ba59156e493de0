// The receivers' state as the Prometheus text exposition (format 0.0.4) and as
// the JSON of GET /receivers. Both read the states only; nothing here changes a receiver.
#pragma once

#include <QByteArray>
#include <span>

namespace halvix::monitor {

class ReceiverState;

inline constexpr const char* kExpositionContentType = "text/plain; version=0.0.4; charset=utf-8";

QByteArray Exposition(std::span<const ReceiverState* const> receivers);
QByteArray ReceiversJson(std::span<const ReceiverState* const> receivers);

// A label value as the exposition writes it: backslash, quote and line feed escaped.
QByteArray EscapeLabelValue(const QString& value);

}  // namespace halvix::monitor
