#include "sim/sim_server.h"

#include <QSerialPort>

namespace halvix::sim {
namespace {

constexpr int kPollMs = 5;

class SerialEndpoint final : public SimEndpoint {
 public:
  explicit SerialEndpoint(const QString& path) { port_.setPortName(path); }

  bool open(QString* error) {
    if (!port_.open(QIODevice::ReadWrite)) {
      if (error != nullptr) *error = port_.errorString();
      return false;
    }
    port_.setFlowControl(QSerialPort::NoFlowControl);
    return true;
  }

  QString name() const override { return port_.portName(); }

  std::optional<Bytes> readSome(int timeoutMs) override {
    if (port_.bytesAvailable() == 0) port_.waitForReadyRead(timeoutMs);
    if (port_.error() == QSerialPort::ResourceError) return std::nullopt;
    const QByteArray data = port_.readAll();
    return Bytes(data.begin(), data.end());
  }

  bool writeAll(const Bytes& bytes) override {
    if (bytes.empty()) return true;
    port_.write(reinterpret_cast<const char*>(bytes.data()), static_cast<qint64>(bytes.size()));
    port_.waitForBytesWritten(200);
    return port_.error() != QSerialPort::ResourceError;
  }

  void applyLine(const link::LineSettings& line) override {
    // A setting the device refuses is not fatal: the bytes then arrive garbled, as they would.
    port_.setBaudRate(line.baud);
    port_.setDataBits(static_cast<QSerialPort::DataBits>(line.dataBits));
    port_.setParity(line.parity == link::Parity::Odd    ? QSerialPort::OddParity
                    : line.parity == link::Parity::Even ? QSerialPort::EvenParity
                                                        : QSerialPort::NoParity);
    port_.setStopBits(line.stopBits == link::StopBits::Two ? QSerialPort::TwoStop : QSerialPort::OneStop);
  }

 private:
  QSerialPort port_;
};

}  // namespace

int SimServer::run(const std::function<bool()>& stopRequested) {
  std::optional<link::LineSettings> applied;
  while (!stopRequested()) {
    const link::LineSettings line = model_.line();
    if (!applied || !(*applied == line)) {
      endpoint_.applyLine(line);
      applied = line;
    }
    const std::optional<Bytes> in = endpoint_.readSome(kPollMs);
    if (!in) return 1;
    const std::int64_t now = clock_.nowMs();
    model_.receive(now, in->data(), in->size());
    model_.advanceTo(now);
    for (const OutChunk& chunk : model_.takeOutput()) {
      if (!endpoint_.writeAll(chunk.bytes)) return 1;
    }
  }
  return 0;
}

int ServeRecording(link::SerialDevice& replay, SimEndpoint& endpoint,
                   const std::function<bool()>& stopRequested) {
  Bytes chunk(4096);
  while (!stopRequested()) {
    if (!endpoint.readSome(kPollMs)) return 1;
    for (;;) {
      const std::int64_t n = replay.read(chunk.data(), static_cast<std::int64_t>(chunk.size()));
      if (n <= 0) break;
      if (!endpoint.writeAll(Bytes(chunk.begin(), chunk.begin() + n))) return 1;
    }
  }
  return 0;
}

std::unique_ptr<SimEndpoint> OpenSerialEndpoint(const QString& path, QString* error) {
  auto endpoint = std::make_unique<SerialEndpoint>(path);
  if (!endpoint->open(error)) return nullptr;
  return endpoint;
}

}  // namespace halvix::sim
