// SerialDevice over a real serial port (a COM port, a USB adapter or a
// pseudo-terminal), through Qt's serial port module.
#pragma once

#include <QSerialPort>

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

 private:
  bool gone() const;
  QSerialPort port_;
};

// Device path for COM port n: "\\.\COMn" on Windows, /dev/ttyS<n-1> elsewhere.
QString ComPortDeviceName(int comPort);

}  // namespace halvix::link
