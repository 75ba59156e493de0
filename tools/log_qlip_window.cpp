#include "tools/log_qlip_window.h"

#include <QFileInfo>
#include <QLabel>
#include <QPushButton>

#include "platform/operator_prompts.h"
#include "link/report_dispatcher.h"
#include "widgets/group_panel.h"
#include "widgets/lamp.h"
#include "widgets/value_panel.h"
#include "widgets/window_support.h"

namespace halvix::tools {

namespace ui = widgets::ui;

TForm_LogQlip::TForm_LogQlip(platform::OperatorPrompts& prompts, link::ReportDispatcher& dispatcher,
                             QWidget* parent)
    : QDialog(parent), prompts_(prompts), dispatcher_(dispatcher) {
  ui::SetUpWindow(this, "Form_LogQlip", QStringLiteral("QLIP Logging Setup and Status"),
                  QSize(300, 150));
  Controls& c = controls_;

  auto* status = new widgets::GroupPanel(this, widgets::GroupPanel::Bevel::Lowered);
  status->setObjectName(QStringLiteral("Panel_Status"));
  status->setGeometry(8, 8, 284, 96);
  ui::Caption(status, QStringLiteral("QLIP Log Status:"), QRect(10, 10, 110, 16), "Label_Status")
      ->setBold(true);
  c.Shape_OnOff = new widgets::Lamp(status, 12);
  c.Shape_OnOff->setObjectName(QStringLiteral("Shape_OnOff"));
  c.Shape_OnOff->setGeometry(128, 12, 12, 12);
  c.Label_OnOff = new QLabel(QStringLiteral("Off"), status);
  c.Label_OnOff->setObjectName(QStringLiteral("Label_OnOff"));
  c.Label_OnOff->setGeometry(148, 10, 40, 16);

  ui::Caption(status, QStringLiteral("File Name"), QRect(10, 38, 80, 16), "Label_Filename");
  c.Panel_Filename = ui::Panel(status, "Panel_Filename", QRect(10, 56, 196, 22));
  c.Panel_Filename->setColor(Qt::white);
  c.Panel_Filename->setText(QString());
  c.Button_Open = ui::Button(status, "Button_Open", QStringLiteral("&Open"), QRect(212, 55, 62, 24));

  c.Button_Start = ui::Button(this, "Button_Start", QStringLiteral("&Start"), QRect(20, 114, 75, 25));
  c.Button_Stop = ui::Button(this, "Button_Stop", QStringLiteral("Sto&p"), QRect(112, 114, 75, 25));
  c.Button_Close = ui::Button(this, "Button_Close", QStringLiteral("&Close"), QRect(204, 114, 75, 25));

  connect(c.Button_Open, &QPushButton::clicked, this, &TForm_LogQlip::Button_OpenClick);
  connect(c.Button_Start, &QPushButton::clicked, this, &TForm_LogQlip::Button_StartClick);
  connect(c.Button_Stop, &QPushButton::clicked, this, &TForm_LogQlip::Button_StopClick);
  connect(c.Button_Close, &QPushButton::clicked, this, &TForm_LogQlip::Button_CloseClick);
}

TForm_LogQlip::~TForm_LogQlip() {
  // Program exit: the dispatcher outlives this window, and the file must be complete.
  CloseRecording();
}

void TForm_LogQlip::Button_OpenClick() {
  QString name = prompts_.saveFileName(QStringLiteral("Record QLIP"), QString::fromLatin1(kFilter));
  if (name.trimmed().isEmpty()) return;
  // The dialog's default extension, for a new name typed without one.
  const QFileInfo info(name);
  if (info.suffix().isEmpty() && !info.exists()) name += QStringLiteral(".qlp");
  recordFileName_ = name;
  controls_.Panel_Filename->setText(name);
}

void TForm_LogQlip::Button_StartClick() {
  if (recordingOn_) return;
  if (controls_.Panel_Filename->text().isEmpty()) {
    prompts_.message(QStringLiteral("Error"), QStringLiteral("No QLIP file selected."),
                     platform::PromptButtons::Ok, platform::PromptIcon::Exclamation);
    return;
  }
  if (!recorder_.open(recordFileName_)) {
    prompts_.message(QStringLiteral("Error"), QStringLiteral("Unable to open data record file."));
    return;
  }
  recordingOn_ = true;
  dispatcher_.setRecorder([this](int id, const std::uint8_t* payload, int length) {
    RecordPacket(id, payload, length);
  });
  controls_.Button_Open->setEnabled(false);
  controls_.Button_Start->setEnabled(false);
  controls_.Label_OnOff->setText(QStringLiteral("On"));
  controls_.Shape_OnOff->setColor(QColor::fromRgb(widgets::kLampLit));
}

void TForm_LogQlip::Button_StopClick() {
  const bool wasOn = recordingOn_;
  stopRecording();
  // The last buffered frames go to disk here; a failure then is still reported.
  if (wasOn && !recorder_.close()) recordingFailed(recorder_.error());
}

void TForm_LogQlip::Button_CloseClick() { close(); }

void TForm_LogQlip::RecordPacket(int id, const std::uint8_t* payload, int length) {
  if (!recordingOn_) return;
  if (recorder_.RecordPacket(id, payload, length)) return;
  stopRecording();
  // Queued: this runs inside a poll tick, where no modal box may open.
  QMetaObject::invokeMethod(
      this, [this, reason = recorder_.error()] { recordingFailed(reason); }, Qt::QueuedConnection);
}

void TForm_LogQlip::CloseRecording() {
  if (!recordingOn_) return;
  stopRecording();
  if (!recorder_.close()) platform::LogOperatorMessage(QStringLiteral("Error"),
                                                  QStringLiteral("Recording stopped: %1").arg(recorder_.error()));
}

void TForm_LogQlip::stopRecording() {
  recordingOn_ = false;
  dispatcher_.setRecorder({});
  controls_.Button_Open->setEnabled(true);
  controls_.Button_Start->setEnabled(true);
  controls_.Label_OnOff->setText(QStringLiteral("Off"));
  controls_.Shape_OnOff->setColor(QColor::fromRgb(widgets::kLampIdle));
}

void TForm_LogQlip::recordingFailed(const QString& reason) {
  prompts_.message(QStringLiteral("Error"), QStringLiteral("Recording stopped: %1").arg(reason),
                   platform::PromptButtons::Ok, platform::PromptIcon::Error);
}

}  // namespace halvix::tools
