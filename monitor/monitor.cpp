#include "monitor/monitor.h"

#include "monitor/port_device.h"

namespace halvix::monitor {

Monitor::Monitor(session::Scheduler& scheduler) : scheduler_(scheduler) {}

Monitor::~Monitor() { stop(); }

bool Monitor::addReceiver(const ReceiverConfig& config, QString* why) {
  const QString path = DevicePathForPort(config.port);
  auto device = MakeDeviceForPort(config.port, scheduler_.clock(), receivers_.size() + 1, why);
  if (!device) return false;
  auto r = std::make_unique<Receiver>();
  session::SessionOptions options;
  options.port = path;
  options.portLabel = config.port;
  r->session = std::make_unique<session::ReceiverSession>(std::move(device), scheduler_, options);
  r->state = std::make_unique<ReceiverState>(config.name, config.type, *r->session);
  if (!config.record.isEmpty()) {
    r->recorder = std::make_unique<DailyRecorder>(config.record, config.retentionDays);
    DailyRecorder* recorder = r->recorder.get();
    r->session->setRecorder([recorder](int id, const std::uint8_t* payload, int length) {
      recorder->record(id, payload, length);
    });
  }
  states_.push_back(r->state.get());
  receivers_.push_back(std::move(r));
  return true;
}

void Monitor::start() {
  for (auto& r : receivers_) r->session->start();
}

void Monitor::stop() {
  for (auto& r : receivers_) {
    r->session->stop();
    if (r->recorder) r->recorder->close();
  }
}

std::vector<ReceiverConfig> SimulatedReceivers(int count) {
  std::vector<ReceiverConfig> list;
  for (int i = 0; i < count; ++i) {
    ReceiverConfig r;
    r.name = QStringLiteral("sim-%1").arg(i + 1);
    const QString type = ReceiverTypeNames().at(i % ReceiverTypeNames().size());
    r.port = QStringLiteral("sim:") + type;
    list.push_back(r);
  }
  return list;
}

}  // namespace halvix::monitor
