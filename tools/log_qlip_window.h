// TForm_LogQlip: "QLIP Logging Setup and Status", the window that chooses
// the recording file and starts and stops the recording. While it records,
// the report dispatcher's recorder hook hands it every dispatched packet.
// A write that fails stops the recording and tells the operator why.
#pragma once

#include <QDialog>
#include <QString>

#include "recording/qlip_recorder.h"

namespace halvix::widgets {
class Lamp;
class ValuePanel;
}  // namespace halvix::widgets

class QLabel;
class QPushButton;

namespace halvix::platform {
class OperatorPrompts;
}
namespace halvix::link {
class ReportDispatcher;
}
namespace halvix::tools {

class TForm_LogQlip : public QDialog {
  Q_OBJECT

 public:
  TForm_LogQlip(platform::OperatorPrompts& prompts, link::ReportDispatcher& dispatcher,
                QWidget* parent = nullptr);
  ~TForm_LogQlip() override;

  struct Controls {
    widgets::Lamp* Shape_OnOff = nullptr;
    QLabel* Label_OnOff = nullptr;
    widgets::ValuePanel* Panel_Filename = nullptr;
    QPushButton *Button_Open{}, *Button_Start{}, *Button_Stop{}, *Button_Close{};
  };
  // The window's own; tests reach them here.
  Controls& testControls() { return controls_; }

  void Button_OpenClick();
  void Button_StartClick();
  void Button_StopClick();
  void Button_CloseClick();

  // Appends one packet while recording is on (the dispatcher's recorder).
  void RecordPacket(int id, const std::uint8_t* payload, int length);

  // Program exit: stops a recording in progress and closes its file.
  void CloseRecording();

  bool recordingOn() const { return recordingOn_; }
  const QString& recordFileName() const { return recordFileName_; }

  static constexpr const char* kFilter = "QLIP Files (*.qlp);;All Files (*.*)";

 private:
  // Controls and hook back to "stopped"; the file is closed.
  void stopRecording();
  // A write failed: stop and say why.
  void recordingFailed(const QString& reason);

  Controls controls_;
  platform::OperatorPrompts& prompts_;
  link::ReportDispatcher& dispatcher_;
  recording::QlipRecorder recorder_;
  QString recordFileName_;
  bool recordingOn_ = false;
};

}  // namespace halvix::tools
