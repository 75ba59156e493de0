#include "monitor/exposition.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <charconv>
#include <cmath>

#include "monitor/receiver_state.h"
#include "reports/timing_layouts.h"

namespace halvix::monitor {

namespace {

void AppendNumber(QByteArray& out, double value) {
  if (std::isnan(value)) {
    out += "NaN";
    return;
  }
  if (std::isinf(value)) {
    out += value > 0 ? "+Inf" : "-Inf";
    return;
  }
  char buffer[32];
  const auto result = std::to_chars(buffer, buffer + sizeof buffer, value);
  out.append(buffer, static_cast<qsizetype>(result.ptr - buffer));
}

void AppendCount(QByteArray& out, std::uint64_t value) {
  char buffer[24];
  const auto result = std::to_chars(buffer, buffer + sizeof buffer, value);
  out.append(buffer, static_cast<qsizetype>(result.ptr - buffer));
}

// Writes the families in order; each series carries the receiver label first.
class Writer {
 public:
  explicit Writer(QByteArray& out) : out_(out) {}
  void family(const char* name, const char* type, const char* help) {
    name_ = name;
    out_ += "# HELP ";
    out_ += name;
    out_ += ' ';
    out_ += help;
    out_ += "\n# TYPE ";
    out_ += name;
    out_ += ' ';
    out_ += type;
    out_ += '\n';
  }
  // Starts a series: name{receiver="..." (more labels follow through label()).
  Writer& series(const QByteArray& receiver) {
    out_ += name_;
    out_ += "{receiver=\"";
    out_ += receiver;
    out_ += '"';
    return *this;
  }
  Writer& label(const char* key, const QByteArray& escaped) {
    out_ += ',';
    out_ += key;
    out_ += "=\"";
    out_ += escaped;
    out_ += '"';
    return *this;
  }
  void value(double v) {
    out_ += "} ";
    AppendNumber(out_, v);
    out_ += '\n';
  }
  void count(std::uint64_t v) {
    out_ += "} ";
    AppendCount(out_, v);
    out_ += '\n';
  }

 private:
  QByteArray& out_;
  const char* name_ = "";
};

QString VersionText(const std::optional<reports::SoftwareVersion>& v, bool application) {
  if (!v) return {};
  return application ? (v->longForm ? v->fullVersionText() : v->application.versionText())
                     : v->signalProcessor.versionText();
}

}  // namespace

QByteArray EscapeLabelValue(const QString& value) {
  QByteArray out;
  const QByteArray utf8 = value.toUtf8();
  out.reserve(utf8.size());
  for (const char c : utf8) {
    if (c == '\\') out += "\\\\";
    else if (c == '"') out += "\\\"";
    else if (c == '\n') out += "\\n";
    else out += c;
  }
  return out;
}

QByteArray Exposition(std::span<const ReceiverState* const> receivers) {
  QByteArray out;
  out.reserve(static_cast<qsizetype>(2048 + receivers.size() * 2600));
  std::vector<QByteArray> names;
  names.reserve(receivers.size());
  for (const ReceiverState* r : receivers) names.push_back(EscapeLabelValue(r->name()));
  Writer w(out);
  const auto each = [&](auto&& fn) {
    for (std::size_t i = 0; i < receivers.size(); ++i) fn(*receivers[i], names[i]);
  };

  w.family("halvix_receiver_up", "gauge", "1 while the receiver is polled and answers, else 0.");
  each([&](const ReceiverState& r, const QByteArray& n) { w.series(n).value(r.up() ? 1 : 0); });

  w.family("halvix_receiver_info", "gauge",
           "Always 1; the receiver's type, port and firmware versions as labels.");
  each([&](const ReceiverState& r, const QByteArray& n) {
    w.series(n)
        .label("type", EscapeLabelValue(r.type()))
        .label("port", EscapeLabelValue(r.port()))
        .label("application_version", EscapeLabelValue(VersionText(r.version(), true)))
        .label("signal_processor_version", EscapeLabelValue(VersionText(r.version(), false)))
        .value(1);
  });

  w.family("halvix_pps_offset_seconds", "gauge", "Local clock (PPS) offset of the last supplemental timing report.");
  each([&](const ReceiverState& r, const QByteArray& n) {
    if (const auto* t = r.timing()) w.series(n).value(t->ppsOffset * 1e-9);
  });
  w.family("halvix_oscillator_offset_ratio", "gauge", "Oscillator frequency offset as a fraction (ppb times 1e-9).");
  each([&](const ReceiverState& r, const QByteArray& n) {
    if (const auto* t = r.timing()) w.series(n).value(t->oscillatorOffset * 1e-9);
  });
  w.family("halvix_pps_quantization_error_seconds", "gauge", "Quantization error of the next PPS.");
  each([&](const ReceiverState& r, const QByteArray& n) {
    if (const auto* t = r.timing()) w.series(n).value(t->quantizationError * 1e-9);
  });
  w.family("halvix_satellites_tracked", "gauge", "Satellites the tracking status reports name.");
  each([&](const ReceiverState& r, const QByteArray& n) {
    if (const auto v = r.satellitesTracked()) w.series(n).value(*v);
  });
  w.family("halvix_satellites_used", "gauge", "Satellites the last selection uses in the fix.");
  each([&](const ReceiverState& r, const QByteArray& n) {
    if (const auto v = r.satellitesUsed()) w.series(n).value(*v);
  });
  w.family("halvix_self_survey_progress_ratio", "gauge", "Self-survey progress, 0 to 1.");
  each([&](const ReceiverState& r, const QByteArray& n) {
    if (const auto* t = r.timing()) w.series(n).value(t->surveyProgress / 100.0);
  });
  w.family("halvix_minor_alarm", "gauge", "1 while the minor alarm is raised, else 0.");
  each([&](const ReceiverState& r, const QByteArray& n) {
    const auto* t = r.timing();
    if (t == nullptr) return;
    for (const MinorAlarm& a : kMinorAlarms) {
      w.series(n).label("alarm", a.label).value(t->alarmSet(a.bit) ? 1 : 0);
    }
  });
  w.family("halvix_receiver_mode", "gauge", "1, with the receiver mode as the label.");
  each([&](const ReceiverState& r, const QByteArray& n) {
    if (const auto* t = r.timing()) {
      w.series(n).label("mode", EscapeLabelValue(reports::SupplementalModeText(t->receiverMode))).value(1);
    }
  });
  w.family("halvix_receiver_status_code", "gauge", "GPS decoding status code of the last supplemental timing report.");
  each([&](const ReceiverState& r, const QByteArray& n) {
    if (const auto* t = r.timing()) w.series(n).value(t->statusCode);
  });
  w.family("halvix_pps_adev", "gauge",
           "Overlapping Allan deviation of the quantization-corrected PPS offset.");
  each([&](const ReceiverState& r, const QByteArray& n) {
    for (const int tau : kAdevTaus) {
      if (const auto v = r.adev(tau)) w.series(n).label("tau_seconds", QByteArray::number(tau)).value(*v);
    }
  });
  w.family("halvix_packets_received_total", "counter", "Packets received, by report kind.");
  each([&](const ReceiverState& r, const QByteArray& n) {
    for (const auto& [kind, count] : r.packetsByKind()) w.series(n).label("kind", kind.toLatin1()).count(count);
  });
  w.family("halvix_events_total", "counter",
           "Timing events: PPS steps, minor alarms raised or cleared, mode and status changes, "
           "self-surveys finished or restarted, the device lost and back.");
  each([&](const ReceiverState& r, const QByteArray& n) {
    for (const auto& [kind, count] : r.eventsByKind()) {
      w.series(n).label("kind", QByteArray(kind.data(), static_cast<qsizetype>(kind.size()))).count(count);
    }
  });
  w.family("halvix_decode_problems_total", "counter", "Reports whose payload the layout refused.");
  each([&](const ReceiverState& r, const QByteArray& n) { w.series(n).count(r.decodeProblems()); });
  w.family("halvix_reconnects_total", "counter", "Times the device came back after it vanished.");
  each([&](const ReceiverState& r, const QByteArray& n) { w.series(n).count(r.reconnects()); });
  w.family("halvix_input_dropped_bytes_total", "counter", "Input bytes dropped because more waited than one poll takes.");
  each([&](const ReceiverState& r, const QByteArray& n) { w.series(n).count(r.inputDropped()); });
  return out;
}

QByteArray ReceiversJson(std::span<const ReceiverState* const> receivers) {
  QJsonArray list;
  for (const ReceiverState* r : receivers) {
    QJsonObject o;
    o.insert(QStringLiteral("name"), r->name());
    o.insert(QStringLiteral("port"), r->port());
    o.insert(QStringLiteral("type"), r->type());
    o.insert(QStringLiteral("up"), r->up());
    o.insert(QStringLiteral("session"), QString::fromLatin1(session::SessionStateName(r->session().state())));
    o.insert(QStringLiteral("line"), r->session().lineCaption());
    QJsonObject firmware;
    if (const auto& v = r->version()) {
      firmware.insert(QStringLiteral("application"), VersionText(v, true));
      firmware.insert(QStringLiteral("application_date"), v->application.dateText());
      firmware.insert(QStringLiteral("signal_processor"), VersionText(v, false));
      firmware.insert(QStringLiteral("signal_processor_date"), v->signalProcessor.dateText());
    }
    o.insert(QStringLiteral("firmware"), firmware);
    QJsonObject values;
    QJsonArray alarms;
    if (const auto* t = r->timing()) {
      values.insert(QStringLiteral("pps_offset_seconds"), t->ppsOffset * 1e-9);
      values.insert(QStringLiteral("oscillator_offset_ratio"), t->oscillatorOffset * 1e-9);
      values.insert(QStringLiteral("pps_quantization_error_seconds"), t->quantizationError * 1e-9);
      values.insert(QStringLiteral("self_survey_progress_ratio"), t->surveyProgress / 100.0);
      values.insert(QStringLiteral("mode"), reports::SupplementalModeText(t->receiverMode));
      values.insert(QStringLiteral("status_code"), t->statusCode);
      values.insert(QStringLiteral("status"), reports::SupplementalStatusText(t->statusCode));
      for (const MinorAlarm& a : kMinorAlarms) {
        if (t->alarmSet(a.bit)) alarms.append(QString::fromLatin1(a.label));
      }
    }
    if (const auto v = r->satellitesTracked()) values.insert(QStringLiteral("satellites_tracked"), *v);
    if (const auto v = r->satellitesUsed()) values.insert(QStringLiteral("satellites_used"), *v);
    o.insert(QStringLiteral("values"), values);
    o.insert(QStringLiteral("alarms"), alarms);
    o.insert(QStringLiteral("reconnects"), static_cast<double>(r->reconnects()));
    list.append(o);
  }
  return QJsonDocument(list).toJson(QJsonDocument::Indented);
}

}  // namespace halvix::monitor
