// The program entry's work: read the command line, settle on a port (asking
// the operator when none is named), build the one receiver session, create
// every window once and start the session.
#pragma once

#include <QStringList>
#include <functional>
#include <memory>
#include <optional>

#include "app/app_context.h"
#include "app/command_line.h"
#include "app/port_choice.h"
#include "link/clock.h"
#include "link/serial_device.h"
#include "link/serial_link.h"
#include "session/receiver_session.h"
#include "session/scheduler.h"

namespace halvix::app {

class ReplayBar;
class TForm_Main;
struct Windows;

struct ProgramSeams {
  platform::OperatorPrompts& prompts;
  // Runs the session's steps; its clock is the run's clock. The program
  // passes a QtScheduler on the wall clock, tests a VirtualScheduler.
  session::Scheduler& scheduler;
  // Runs the port choice dialog; the chosen port, or nothing on Cancel.
  std::function<std::optional<PortDialogChoice>()> choosePort;
  // Creates the serial device for the chosen port.
  std::function<std::unique_ptr<link::SerialDevice>(const PortChoice&, link::Clock&)> makeDevice;
  // The PC's own clock; the program passes the host's, tests a fixed one.
  // Without it the time transfer never sets the machine's clock.
  platform::PcClock* pcClock = nullptr;
  // The NTP setting's store; null means the platform's.
  platform::SettingsStore* settings = nullptr;
};

// The default seams' device factory: the simulated receiver, a replay, a
// serial server or a real port.
std::unique_ptr<link::SerialDevice> MakeDevice(const PortChoice& port, link::Clock& clock);

class Program {
 public:
  explicit Program(ProgramSeams seams);
  ~Program();

  // Start-up up to the message loop. False when the run ends here (port dialog
  // cancelled, or the port could not be opened).
  bool start(const QStringList& args);

  const CommandLine& commandLine() const { return commandLine_; }
  const PortChoice& port() const { return port_; }
  TForm_Main* mainWindow() const;
  Windows* windows() const { return windows_.get(); }
  session::ReceiverSession* session() const { return session_.get(); }
  link::SerialLink* serialLink() const { return session_ ? &session_->link() : nullptr; }
  link::SerialDevice* device() const { return session_ ? &session_->link().device() : nullptr; }
  // The replay bar of a --replay run, else null.
  ReplayBar* replayBar() const { return replayBar_.get(); }

 private:
  void showServerLine();

  ProgramSeams seams_;
  CommandLine commandLine_;
  PortChoice port_;
  std::unique_ptr<session::ReceiverSession> session_;
  std::unique_ptr<AppContext> context_;
  std::unique_ptr<Windows> windows_;
  std::unique_ptr<ReplayBar> replayBar_;
};

}  // namespace halvix::app
