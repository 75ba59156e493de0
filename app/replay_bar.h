// The replay bar of a --replay run: pause and resume, the speed (0.25x to
// 100x, changeable while it runs) and where the replay is. A small tool
// window kept under the main window; it also writes the replay's state into
// the main window's status bar.
#pragma once

#include <QString>
#include <QWidget>

class QComboBox;
class QLabel;
class QPushButton;
class QTimer;

namespace halvix::recording {
class ReplayDevice;
}

namespace halvix::platform {
class OperatorPrompts;
}
namespace halvix::app {

class TForm_Main;

class ReplayBar final : public QWidget {
  Q_OBJECT

 public:
  static constexpr int kRefreshMs = 250;

  ReplayBar(recording::ReplayDevice& device, TForm_Main& main);

  struct Controls {
    QPushButton* Button_Pause{};
    QComboBox* ComboBox_Speed{};
    QLabel* Label_Position{};
    QTimer* Timer_Replay{};
  };
  // The window's own; tests reach them here.
  Controls& testControls() { return controls_; }

  // Shows the bar just below the main window.
  void showBelowMain();
  // Refreshes the position, here and in the main window's status bar.
  void Timer_ReplayTimer();
  void Button_PauseClick();
  void ComboBox_SpeedChange();

 private:
  Controls controls_;
  recording::ReplayDevice& device_;
  TForm_Main& main_;
};

// Starts another Halvix on the recording, so the receiver of this run is left
// as it is; a failure is told as an error.
void OpenReplayWindow(const QString& fileName, bool developerMode, platform::OperatorPrompts& prompts);

}  // namespace halvix::app
