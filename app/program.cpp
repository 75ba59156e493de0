#include "app/program.h"

#include <QApplication>
#include <QProxyStyle>
#include <QStyleFactory>

#include "app/decoder_wiring.h"
#include "app/main_window.h"
#include "app/windows.h"
#include "reports/charts_window.h"
#include "link/network_port.h"
#include "link/tcp_device.h"
#include "sim/simulated_device.h"
#include "app/replay_bar.h"
#include "tools/emblem.h"
#include "recording/replay_device.h"

namespace halvix::app {

std::unique_ptr<link::SerialDevice> MakeDevice(const PortChoice& port, link::Clock& clock) {
  if (port.simulated) return sim::CreateSimulatedDevice(port.persona, clock);
  if (port.replay) return std::make_unique<recording::ReplayDevice>(clock, port.replaySpeed);
  return link::makeDeviceForPort(port.deviceName, &clock);
}

namespace {

// Hints appear after the main window's hint pause.
class HintTimingStyle final : public QProxyStyle {
 public:
  using QProxyStyle::QProxyStyle;
  int styleHint(StyleHint hint, const QStyleOption* option, const QWidget* widget,
                QStyleHintReturn* returnData) const override {
    if (hint == SH_ToolTip_WakeUpDelay) return TForm_Main::kHintPauseMs;
    return QProxyStyle::styleHint(hint, option, widget, returnData);
  }
};

void installHintTiming() {
  if (dynamic_cast<HintTimingStyle*>(QApplication::style()) != nullptr) return;
  QApplication::setStyle(new HintTimingStyle(QStyleFactory::create(QApplication::style()->name())));
}

}  // namespace

Program::Program(ProgramSeams seams) : seams_(std::move(seams)) {}

Program::~Program() {
  // The bar and the windows go first: they hold references to the session's
  // device and link, and the main window observes the session.
  replayBar_.reset();
  windows_.reset();
}

TForm_Main* Program::mainWindow() const { return windows_ ? windows_->main.get() : nullptr; }

bool Program::start(const QStringList& args) {
  QCoreApplication::setApplicationName(QStringLiteral("Halvix"));
  QApplication::setWindowIcon(tools::EmblemIcon());
  // Before any window exists: a new style resets the palette.
  installHintTiming();
  // A routed report kind without a decoder would vanish from every window: refuse to start.
  if (const QString problems = DecoderBindingProblems(GuiDecoderBindings()); !problems.isEmpty()) {
    seams_.prompts.message(QStringLiteral("Halvix"), QStringLiteral("Halvix cannot start:\n") + problems,
                           platform::PromptButtons::Ok, platform::PromptIcon::Error);
    return false;
  }
  commandLine_ = ParseCommandLine(args);
  if (commandLine_.namesPort()) {
    port_ = PortChoiceFromCommandLine(commandLine_);
  } else {
    const std::optional<PortDialogChoice> chosen =
        seams_.choosePort ? seams_.choosePort() : std::nullopt;
    if (!chosen) return false;
    port_ = chosen->path.isEmpty() ? PortChoiceForCom(chosen->comPort) : PortChoiceForPath(chosen->path);
  }

  link::Clock& clock = seams_.scheduler.clock();
  std::unique_ptr<link::SerialDevice> device = seams_.makeDevice(port_, clock);
  // A replay waits for routine polling: the break sequence would eat its start.
  auto* replay = dynamic_cast<recording::ReplayDevice*>(device.get());
  if (replay != nullptr) replay->setHeld(true);
  session::SessionOptions options;
  options.port = port_.deviceName;
  options.portLabel = port_.panelLabel;
  options.developerMode = commandLine_.developerMode;
  options.renegotiateWhenSilent = false;
  session_ = std::make_unique<session::ReceiverSession>(std::move(device), seams_.scheduler,
                                                        std::move(options));
  context_.reset(new AppContext{port_, commandLine_.developerMode, clock, session_->link(),
                                seams_.prompts});
  context_->pcClock = seams_.pcClock;
  context_->settings = seams_.settings;
  windows_ = CreateWindows(*context_, *session_, [](TForm_Main& main) { return main.FormCreate(); });
  if (!windows_) return false;
  windows_->main->show();
  showServerLine();
  if (replay != nullptr) {
    replayBar_ = std::make_unique<ReplayBar>(*replay, *windows_->main);
    replayBar_->showBelowMain();
    // The charts follow the recording's seconds, not the speed it plays at.
    windows_->charts->SetTimeSource([replay] { return static_cast<double>(replay->positionSeconds()); });
  }
  windows_->main->hooks.openReplay = [developer = commandLine_.developerMode,
                                      &prompts = seams_.prompts](const QString& file) {
    OpenReplayWindow(file, developer, prompts);
  };
  return true;
}

void Program::showServerLine() {
  auto* server = dynamic_cast<link::TcpDevice*>(device());
  if (server == nullptr) return;
  // A serial server's answers come after the caption the line change shows:
  // the status bar then says what the server took (or that it takes nothing).
  // Queued, so it lands after the caption of a reconnect or a line change that
  // caused it; a lost link keeps saying "Disconnected".
  TForm_Main* main = windows_->main.get();
  const QString label = port_.panelLabel;
  link::SerialLink* serialLink = &session_->link();
  auto show = [main, label, serialLink](const QString& text) {
    if (!text.isEmpty() && !serialLink->lost()) main->ShowSerialCaption(label + QLatin1Char(' ') + text);
  };
  QObject::connect(server, &link::TcpDevice::lineStatusChanged, main, show, Qt::QueuedConnection);
  show(server->lineStatus());
}

}  // namespace halvix::app
