#include "link/qt_serial_device.h"

#include <QSerialPortInfo>

namespace halvix::link {

QtSerialDevice::QtSerialDevice() {
  QObject::connect(&port_, &QSerialPort::errorOccurred,
                   [this](QSerialPort::SerialPortError e) { onError(e); });
  QObject::connect(&port_, &QSerialPort::readyRead, [this] { readErrors_ = 0; });
}

QtSerialDevice::~QtSerialDevice() { close(); }

bool QtSerialDevice::open(const QString& name) {
  port_.setPortName(name);
  if (!port_.open(QIODevice::ReadWrite)) return false;
  lost_ = false;
  readErrors_ = 0;
  port_.setReadBufferSize(kReadBufferCap);
  adapter_ = AdapterOf(QSerialPortInfo(port_));
  return true;
}

bool QtSerialDevice::reopen(const QString& name) {
  close();
  const AdapterIdentity was = adapter_;
  if (open(name)) return true;
  if (!was.known()) return false;
  const QString moved = FindAdapterPort(was, DetectPorts());
  return !moved.isEmpty() && open(moved);
}

void QtSerialDevice::onError(QSerialPort::SerialPortError error) {
  if (lost_) return;
  if (error == QSerialPort::ReadError) {
    // A hung-up line (a closed pseudo-terminal, a serial server gone) reads
    // end-of-file for ever: the read notifier fires again at once, each time
    // a read error. One alone may be a glitch; a run of them with no data
    // between is the hang-up.
    if (++readErrors_ < kHangUpReadErrors) return;
  } else if (error != QSerialPort::ResourceError) {
    return;
  }
  lost_ = true;
  // Drop what is buffered first: a pending frame must not be retried.
  port_.clear(QSerialPort::AllDirections);
  port_.close();
  // The owner may be waiting in a modal box, where no poll runs: tell it now.
  notifyLost();
}

bool QtSerialDevice::isOpen() const { return port_.isOpen(); }

bool QtSerialDevice::setLine(const LineSettings& line) {
  if (gone()) return false;
  bool ok = port_.setBaudRate(line.baud);
  ok = port_.setDataBits(static_cast<QSerialPort::DataBits>(line.dataBits)) && ok;
  const auto parity = line.parity == Parity::Odd    ? QSerialPort::OddParity
                      : line.parity == Parity::Even ? QSerialPort::EvenParity
                                                    : QSerialPort::NoParity;
  ok = port_.setParity(parity) && ok;
  ok = port_.setStopBits(line.stopBits == StopBits::Two ? QSerialPort::TwoStop
                                                        : QSerialPort::OneStop) &&
       ok;
  ok = port_.setFlowControl(QSerialPort::NoFlowControl) && ok;
  // DTR and RTS held asserted; pseudo-terminals refuse both, which is harmless.
  port_.setDataTerminalReady(true);
  port_.setRequestToSend(true);
  port_.clearError();
  return ok;
}

bool QtSerialDevice::gone() const {
  return lost_ || !port_.isOpen() || port_.error() == QSerialPort::ResourceError;
}

std::int64_t QtSerialDevice::bytesWaiting() {
  if (gone()) return -1;
  // Outside the event loop Qt fills its buffer only inside waitForReadyRead.
  if (port_.bytesAvailable() == 0) port_.waitForReadyRead(0);
  if (gone()) return -1;
  return port_.bytesAvailable();
}

std::int64_t QtSerialDevice::read(std::uint8_t* buffer, std::int64_t max) {
  if (gone()) return -1;
  return port_.read(reinterpret_cast<char*>(buffer), max);
}

std::int64_t QtSerialDevice::write(const std::uint8_t* data, std::int64_t size) {
  if (gone()) return -1;
  const qint64 n = port_.write(reinterpret_cast<const char*>(data), size);
  // Push the frame out now: the event loop may not run before the next send.
  port_.flush();
  return n;
}

bool QtSerialDevice::drain() {
  if (gone()) return false;
  port_.flush();
  while (port_.bytesToWrite() > 0) {
    if (!port_.waitForBytesWritten(1000)) return false;
  }
  return true;
}

void QtSerialDevice::purge() {
  if (port_.isOpen()) port_.clear(QSerialPort::AllDirections);
}

bool QtSerialDevice::setBreak(bool on) { return port_.isOpen() && port_.setBreakEnabled(on); }

bool QtSerialDevice::setRts(bool on) { return port_.isOpen() && port_.setRequestToSend(on); }

void QtSerialDevice::close() {
  if (port_.isOpen()) port_.close();
}

QString ComPortDeviceName(int comPort) {
#ifdef Q_OS_WIN
  return QStringLiteral("\\\\.\\COM%1").arg(comPort);
#else
  return QStringLiteral("/dev/ttyS%1").arg(comPort - 1);
#endif
}

}  // namespace halvix::link
