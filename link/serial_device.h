// The serial device seam: everything Halvix needs from a serial line. The real
// port, the in-process simulated receiver and the test fakes implement it.
#pragma once

#include <QString>
#include <cstdint>
#include <functional>
#include <utility>

namespace halvix::link {

enum class Parity { None, Odd, Even };
enum class StopBits { One, Two };

struct LineSettings {
  int baud = 9600;
  int dataBits = 8;
  Parity parity = Parity::None;
  StopBits stopBits = StopBits::One;
  bool operator==(const LineSettings&) const = default;
};

class SerialDevice {
 public:
  virtual ~SerialDevice() = default;

  // Opens the named device; false when it is absent or in use.
  virtual bool open(const QString& name) = 0;
  virtual bool isOpen() const = 0;
  // Line parameters, with DTR and RTS held asserted and no flow control.
  virtual bool setLine(const LineSettings& line) = 0;
  // Bytes waiting in the input queue; a negative value means the device is gone.
  virtual std::int64_t bytesWaiting() = 0;
  // Reads at most max bytes that are already waiting; never blocks.
  virtual std::int64_t read(std::uint8_t* buffer, std::int64_t max) = 0;
  // Queues bytes for sending; returns the count accepted or -1.
  virtual std::int64_t write(const std::uint8_t* data, std::int64_t size) = 0;
  // Waits until queued output has left.
  virtual bool drain() = 0;
  // Drops both queues.
  virtual void purge() = 0;
  virtual bool setBreak(bool on) = 0;
  virtual bool setRts(bool on) = 0;
  virtual void close() = 0;
  // Opens again a device that vanished (a pulled adapter, a closed peer). A
  // real port may find the same adapter under a new path.
  virtual bool reopen(const QString& name) { return open(name); }
  // Called when the device finds out by itself that it is gone (a hang-up, a
  // pulled adapter), on the thread that uses it. A device that only learns
  // of it from a failed call need not call it.
  void setLostCallback(std::function<void()> lost) { lostCallback_ = std::move(lost); }

 protected:
  // Tells the owner, whatever it is waiting in, that the device is gone.
  void notifyLost() const {
    if (lostCallback_) lostCallback_();
  }

 private:
  std::function<void()> lostCallback_;
};

}  // namespace halvix::link
