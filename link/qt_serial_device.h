// SerialDevice over a real serial port (a COM port, a USB adapter or a
// pseudo-terminal), through Qt's serial port module.
#pragma once

#include <QSerialPort>

#include "link/port_discovery.h"
#include "link/serial_device.h"

namespace halvix::link {

class QtSerialDevice final : public SerialDevice {
 public:
  QtSerialDevice();
  ~QtSerialDevice() override;

  bool open(const QString& name) override;
  bool isOpen() const override;
  bool setLine(const LineSettings& line) override;
  std::int64_t bytesWaiting() override;
  std::int64_t read(std::uint8_t* buffer, std::int64_t max) override;
  std::int64_t write(const std::uint8_t* data, std::int64_t size) override;
  bool drain() override;
  void purge() override;
  bool setBreak(bool on) override;
  bool setRts(bool on) override;
  void close() override;
  // The same path if it is back, else the same USB adapter (vendor, product
  // and serial number) under whatever path it has now.
  bool reopen(const QString& name) override;

  // Qt's own input buffer holds at most this much; past it the bytes wait in
  // the system (a fast port cannot grow Halvix's memory without bound).
  static constexpr qint64 kReadBufferCap = 256 * 1024;
  // Read errors in a row, with no data between, that mean the line hung up.
  static constexpr int kHangUpReadErrors = 3;

 private:
  bool gone() const;
  // A resource error or hang-up: the port is closed at once, so no buffered
  // frame is retried and nothing spins on a dead descriptor, and the owner is
  // told, whatever it is waiting in.
  void onError(QSerialPort::SerialPortError error);

  QSerialPort port_;
  AdapterIdentity adapter_;  // of the port last opened, if it is a USB adapter
  bool lost_ = false;
  int readErrors_ = 0;
};


// Device path for COM port n: "\\.\COMn" on Windows, /dev/ttyS<n-1> elsewhere.
QString ComPortDeviceName(int comPort);

}  // namespace halvix::link
