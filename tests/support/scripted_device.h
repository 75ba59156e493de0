// A SerialDevice for unit tests: the test queues what the receiver "sends"
// (each queued chunk comes back from one read) and inspects every frame
// written, with the clock time it was written at.
#pragma once

#include <QString>
#include <atomic>
#include <cstdint>
#include <deque>
#include <functional>
#include <thread>
#include <vector>

#include "link/clock.h"
#include "link/serial_device.h"

namespace halvix::testing {

using Bytes = std::vector<std::uint8_t>;

struct Written {
  std::int64_t atMs;
  Bytes bytes;
};

class ScriptedDevice final : public link::SerialDevice {
 public:
  explicit ScriptedDevice(link::Clock* clock = nullptr) : clock_(clock) {}

  // Scripting.
  void queueRead(const Bytes& chunk) { incoming_.push_back(chunk); }
  void failOpen(bool fail) { failOpen_ = fail; }
  void failSetLine(bool fail) { failSetLine_ = fail; }
  void failRts(bool fail) { failRts_ = fail; }
  // The device vanishes (reads and writes fail, it cannot be opened) and comes back.
  void loseDevice() { lost_ = true; }
  void restoreDevice() { lost_ = false; }
  // The device notices its loss by itself (a hang-up) and says so at once.
  void hangUp() {
    lost_ = true;
    notifyLost();
  }
  std::function<void()> onDrain;  // runs inside drain(), e.g. to send meanwhile

  // Inspection.
  bool hasPendingReads() const { return !incoming_.empty(); }
  const std::vector<Written>& writes() const { return writes_; }
  Bytes allWritten() const;
  void clearWrites() { writes_.clear(); }
  const std::vector<link::LineSettings>& lines() const { return lines_; }
  const std::vector<bool>& breakEvents() const { return breaks_; }
  const std::vector<bool>& rtsEvents() const { return rts_; }
  int purges() const { return purges_; }
  int drains() const { return drains_; }
  QString openedName() const { return openedName_; }
  // Calls made from a thread other than the one that created the device: a
  // real port tolerates none.
  int callsFromOtherThreads() const { return foreignCalls_; }

  bool open(const QString& name) override;
  bool isOpen() const override {
    touch();
    return open_;
  }
  bool setLine(const link::LineSettings& line) override;
  std::int64_t bytesWaiting() override;
  std::int64_t read(std::uint8_t* buffer, std::int64_t max) override;
  std::int64_t write(const std::uint8_t* data, std::int64_t size) override;
  bool drain() override;
  void purge() override {
    touch();
    ++purges_;
  }
  bool setBreak(bool on) override;
  bool setRts(bool on) override;
  void close() override {
    touch();
    open_ = false;
  }

 private:
  void touch() const {
    if (std::this_thread::get_id() != owner_) ++foreignCalls_;
  }

  std::thread::id owner_ = std::this_thread::get_id();
  mutable std::atomic<int> foreignCalls_{0};
  link::Clock* clock_;
  std::deque<Bytes> incoming_;
  std::vector<Written> writes_;
  std::vector<link::LineSettings> lines_;
  std::vector<bool> breaks_, rts_;
  QString openedName_;
  bool open_ = false, failOpen_ = false, failSetLine_ = false, failRts_ = false, lost_ = false;
  int purges_ = 0, drains_ = 0;
};

}  // namespace halvix::testing
