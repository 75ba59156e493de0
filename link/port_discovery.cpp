#include "link/port_discovery.h"

#include <QSerialPortInfo>
#include <algorithm>

namespace halvix::link {

AdapterIdentity AdapterOf(const QSerialPortInfo& info) {
  if (!info.hasVendorIdentifier() || !info.hasProductIdentifier()) return {};
  return {info.vendorIdentifier(), info.productIdentifier(), info.serialNumber()};
}

std::vector<DetectedPort> DetectPorts() {
  std::vector<DetectedPort> ports;
  for (const QSerialPortInfo& info : QSerialPortInfo::availablePorts()) {
    ports.push_back({info.systemLocation(), info.description(), info.manufacturer(), AdapterOf(info)});
  }
  std::sort(ports.begin(), ports.end(),
            [](const DetectedPort& a, const DetectedPort& b) { return a.path < b.path; });
  return ports;
}

QString FindAdapterPort(const AdapterIdentity& adapter, const std::vector<DetectedPort>& ports) {
  if (!adapter.known()) return {};
  for (const DetectedPort& p : ports) {
    if (p.adapter == adapter) return p.path;
  }
  return {};
}

}  // namespace halvix::link
