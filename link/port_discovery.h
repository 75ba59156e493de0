// The serial ports this machine has, as the system reports them, and the
// identity of a USB adapter, so a pulled adapter is found again when it comes
// back under another path.
#pragma once

#include <QString>
#include <vector>

class QSerialPortInfo;

namespace halvix::link {

struct AdapterIdentity {
  quint16 vendor = 0;
  quint16 product = 0;
  QString serialNumber;  // empty: not an adapter we can recognise again
  bool known() const { return !serialNumber.isEmpty(); }
  bool operator==(const AdapterIdentity&) const = default;
};

struct DetectedPort {
  QString path;          // what the device opens, e.g. /dev/ttyUSB0
  QString description;   // e.g. "FT232R USB UART"; may be empty
  QString manufacturer;  // may be empty
  AdapterIdentity adapter;
};

AdapterIdentity AdapterOf(const QSerialPortInfo& info);
// Every serial port the system lists, sorted by path.
std::vector<DetectedPort> DetectPorts();
// The path of the port that carries the adapter, or empty when it is absent.
QString FindAdapterPort(const AdapterIdentity& adapter, const std::vector<DetectedPort>& ports);

}  // namespace halvix::link
