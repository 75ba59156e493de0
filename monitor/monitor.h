// The monitor: one session, one state and optionally one recorder per
// configured receiver, all on one thread and one scheduler.
#pragma once

#include <QString>
#include <memory>
#include <vector>

#include "monitor/daily_recorder.h"
#include "monitor/monitor_config.h"
#include "monitor/receiver_state.h"
#include "session/receiver_session.h"
#include "session/scheduler.h"

namespace halvix::monitor {

class Monitor {
 public:
  explicit Monitor(session::Scheduler& scheduler);
  ~Monitor();

  // Builds the receiver's session; false with the reason when its port cannot be served.
  bool addReceiver(const ReceiverConfig& receiver, QString* why = nullptr);
  void start();
  // Ends every session and closes every recording.
  void stop();

  std::size_t size() const { return receivers_.size(); }
  // The states in configuration order, for the endpoints.
  const std::vector<const ReceiverState*>& states() const { return states_; }
  ReceiverState& state(std::size_t i) { return *receivers_[i]->state; }
  session::ReceiverSession& session(std::size_t i) { return *receivers_[i]->session; }

 private:
  struct Receiver {
    std::unique_ptr<session::ReceiverSession> session;
    std::unique_ptr<ReceiverState> state;
    std::unique_ptr<DailyRecorder> recorder;
  };
  session::Scheduler& scheduler_;
  std::vector<std::unique_ptr<Receiver>> receivers_;
  std::vector<const ReceiverState*> states_;
};

// The N receivers of --simulate=N: sim-1 .. sim-N, the simulated types in turn.
std::vector<ReceiverConfig> SimulatedReceivers(int count);

}  // namespace halvix::monitor
