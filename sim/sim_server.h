// Serves a simulated receiver over an endpoint outside the process (a
// pseudo-terminal or a serial device) for halvix-sim.
#pragma once

#include <QString>
#include <functional>
#include <optional>

#include "link/clock.h"
#include "link/serial_device.h"
#include "sim/receiver_model.h"

namespace halvix::sim {

class SimEndpoint {
 public:
  virtual ~SimEndpoint() = default;
  virtual QString name() const = 0;
  // Waits at most timeoutMs for input and returns what came (maybe nothing);
  // nothing at all when the endpoint has failed.
  virtual std::optional<Bytes> readSome(int timeoutMs) = 0;
  // Sends bytes; what the other side cannot take is dropped, as on a line.
  virtual bool writeAll(const Bytes& bytes) = 0;
  // Follows the receiver's own line settings where the endpoint can.
  virtual void applyLine(const link::LineSettings&) {}
};

class SimServer {
 public:
  SimServer(ReceiverModel& model, SimEndpoint& endpoint, link::Clock& clock)
      : model_(model), endpoint_(endpoint), clock_(clock) {}
  // Serves until stopRequested() returns true (checked every few ms) or the
  // endpoint fails. Returns 0 on a requested stop, 1 on a failure.
  int run(const std::function<bool()>& stopRequested);

 private:
  ReceiverModel& model_;
  SimEndpoint& endpoint_;
  link::Clock& clock_;
};

// Serves a recording's bytes as its replay device releases them; what comes
// in is dropped. After the end the line stays open and silent, as a receiver
// that has stopped talking. Same stop and return values as SimServer::run.
int ServeRecording(link::SerialDevice& replay, SimEndpoint& endpoint,
                   const std::function<bool()>& stopRequested);

// A serial device path opened with Qt, following the receiver's line settings.
std::unique_ptr<SimEndpoint> OpenSerialEndpoint(const QString& path, QString* error);

}  // namespace halvix::sim
