#include "commands/position_file.h"

#include <QList>
#include <cmath>

namespace halvix::commands {

namespace {

// A whole token in C-locale decimal notation; the operator's locale must not
// change how a file reads.
std::optional<double> decimal(const QByteArray& token, int* decimals) {
  bool ok = false;
  const double v = token.toDouble(&ok);
  if (!ok || !std::isfinite(v)) return std::nullopt;
  const qsizetype point = token.indexOf('.');
  if (point < 0) {
    *decimals = 0;
  } else {
    qsizetype end = point + 1;
    while (end < token.size() && token[end] >= '0' && token[end] <= '9') ++end;
    *decimals = static_cast<int>(end - point - 1);
  }
  return v;
}

}  // namespace

std::optional<PositionRecord> ParsePositionRecord(const QByteArray& text) {
  const QList<QByteArray> tokens = text.simplified().split(' ');
  if (tokens.size() < 4) return std::nullopt;
  PositionRecord r;
  bool ok = false;
  r.type = tokens[0].toInt(&ok);
  if (!ok) return std::nullopt;
  for (int i = 0; i < 3; ++i) {
    const std::optional<double> v = decimal(tokens[i + 1], &r.decimals[i]);
    if (!v) return std::nullopt;
    r.values[i] = *v;
  }
  return r;
}

}  // namespace halvix::commands
