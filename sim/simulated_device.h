// The simulated receiver attached as a SerialDevice, for `halvix --simulate`
// and for integration tests. The receiver runs lazily: every call first
// brings it up to the clock's present, so it works alike on the wall clock
// and on virtual time.
#pragma once

#include <QString>
#include <cstdint>
#include <deque>
#include <memory>
#include <mutex>

#include "link/clock.h"
#include "link/serial_device.h"
#include "sim/line_garbler.h"
#include "sim/receiver_model.h"
#include "sim/sim_options.h"

namespace halvix::sim {

class SimulatedDevice final : public link::SerialDevice {
 public:
  SimulatedDevice(const SimOptions& options, link::Clock& clock);

  bool open(const QString& name) override;
  bool isOpen() const override;
  bool setLine(const link::LineSettings& line) override;
  std::int64_t bytesWaiting() override;
  std::int64_t read(std::uint8_t* buffer, std::int64_t max) override;
  std::int64_t write(const std::uint8_t* data, std::int64_t size) override;
  bool drain() override { return true; }
  void purge() override;
  bool setBreak(bool on) override;
  // A rise of RTS followed by its fall is a pulse on the receiver's event input.
  bool setRts(bool on) override;
  void close() override;

  // For tests: the receiver behind the line (call only while no other thread uses the device).
  const ReceiverModel& model() const { return model_; }
  link::LineSettings pcLine() const;

 private:
  // Brings the receiver to now and moves what it sent into the input queue.
  void catchUp();

  link::Clock& clock_;
  mutable std::mutex mutex_;
  ReceiverModel model_;
  LineGarbler toPc_;
  LineGarbler toReceiver_;
  link::LineSettings pcLine_;
  std::deque<std::uint8_t> input_;
  bool open_ = false;
  bool rts_ = false;
};

// persona: corvel, norden, pellam, cvl2 or brisel. On the system clock the
// receiver starts at the present date; on any other clock at a fixed one.
std::unique_ptr<link::SerialDevice> CreateSimulatedDevice(const QString& persona, link::Clock& clock);
std::unique_ptr<link::SerialDevice> CreateSimulatedDevice(const SimOptions& options, link::Clock& clock);

}  // namespace halvix::sim
