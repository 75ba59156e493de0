#include "app/comm_dialog.h"

#include <QComboBox>
#include <QFrame>
#include <QGuiApplication>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScreen>
#include <QVBoxLayout>

#include "link/network_port.h"

namespace halvix::app {

TForm_Comm::TForm_Comm(QWidget* parent) : TForm_Comm(link::DetectPorts(), parent) {}

TForm_Comm::TForm_Comm(const std::vector<link::DetectedPort>& detected, QWidget* parent)
    : QDialog(parent) {
  setObjectName(QStringLiteral("Form_Comm"));
  setWindowTitle(QStringLiteral("Serial Port Selection"));
  setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                 Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint);

  auto* panel = new QFrame(this);
  panel->setObjectName(QStringLiteral("Panel1"));
  panel->setFrameStyle(QFrame::Panel | QFrame::Sunken);

  auto* label = new QLabel(QStringLiteral("PC Serial Port:"), panel);
  label->setObjectName(QStringLiteral("Label1"));
  QFont bold = label->font();
  bold.setBold(true);
  label->setFont(bold);

  comboBoxCom_ = new QComboBox(panel);
  comboBoxCom_->setObjectName(QStringLiteral("ComboBox_Com"));
  comboBoxCom_->setEditable(false);
  comboBoxCom_->setSizeAdjustPolicy(QComboBox::AdjustToContents);
  for (const link::DetectedPort& p : detected) {
    comboBoxCom_->addItem(DetectedPortText(p), p.path);
    comboBoxCom_->setItemData(comboBoxCom_->count() - 1, p.path, Qt::ToolTipRole);
  }
  for (int i = 1; i <= kPortCount; ++i) comboBoxCom_->addItem(QStringLiteral("COM %1").arg(i), i);
  comboBoxCom_->setCurrentIndex(static_cast<int>(detected.size()));
  label->setBuddy(comboBoxCom_);

  // A receiver behind a serial server is typed in below the listed ports.
  auto* serverLabel = new QLabel(QStringLiteral("Serial server:"), panel);
  serverLabel->setObjectName(QStringLiteral("Label_Server"));
  editServer_ = new QLineEdit(panel);
  editServer_->setObjectName(QStringLiteral("Edit_Server"));
  editServer_->setPlaceholderText(QStringLiteral("rfc2217://HOST:PORT or tcp://HOST:PORT"));
  editServer_->setToolTip(QStringLiteral("A receiver behind a serial server; when filled in it is used instead of the list"));
  editServer_->setMinimumWidth(editServer_->fontMetrics().horizontalAdvance(editServer_->placeholderText()) + 16);
  serverLabel->setBuddy(editServer_);
  labelServerError_ = new QLabel(panel);
  labelServerError_->setObjectName(QStringLiteral("Label_ServerError"));
  labelServerError_->setWordWrap(true);
  labelServerError_->hide();
  connect(editServer_, &QLineEdit::textEdited, labelServerError_, &QLabel::hide);

  auto* grid = new QGridLayout(panel);
  grid->setContentsMargins(8, 6, 8, 6);
  grid->setHorizontalSpacing(8);
  grid->addWidget(label, 0, 0);
  grid->addWidget(comboBoxCom_, 0, 1);
  grid->addWidget(serverLabel, 1, 0);
  grid->addWidget(editServer_, 1, 1);
  grid->addWidget(labelServerError_, 2, 0, 1, 2);
  grid->setColumnStretch(1, 1);

  auto* ok = new QPushButton(QStringLiteral("&OK"), this);
  ok->setObjectName(QStringLiteral("Button_Continue"));
  ok->setDefault(true);
  connect(ok, &QPushButton::clicked, this, &TForm_Comm::Button_ContinueClick);

  auto* cancel = new QPushButton(QStringLiteral("&Cancel"), this);
  cancel->setObjectName(QStringLiteral("Button_Cancel"));
  connect(cancel, &QPushButton::clicked, this, &TForm_Comm::Button_CancelClick);

  auto* buttons = new QHBoxLayout;
  buttons->addStretch(1);
  buttons->addWidget(ok);
  buttons->addWidget(cancel);
  buttons->addStretch(1);

  auto* column = new QVBoxLayout(this);
  column->setContentsMargins(8, 8, 8, 8);
  column->addWidget(panel);
  column->addLayout(buttons);
  column->setSizeConstraint(QLayout::SetFixedSize);

  if (QScreen* s = QGuiApplication::primaryScreen()) {
    adjustSize();
    QRect r = rect();
    r.moveCenter(s->availableGeometry().center());
    move(r.topLeft());
  }
}

std::optional<PortDialogChoice> TForm_Comm::selected() const {
  const QString server = editServer_->text().trimmed();
  if (!server.isEmpty()) {
    if (!link::parseNetworkPort(server)) return std::nullopt;
    return PortDialogChoice::Path(server);
  }
  const QVariant data = comboBoxCom_->currentData();
  if (!data.isValid()) return std::nullopt;
  if (data.typeId() == QMetaType::QString) return PortDialogChoice::Path(data.toString());
  return PortDialogChoice(data.toInt());
}

void TForm_Comm::Button_ContinueClick() {
  const QString server = editServer_->text().trimmed();
  QString why;
  if (!server.isEmpty() && !link::parseNetworkPort(server, &why)) {
    // The dialog stays open: the operator corrects the address or clears it.
    labelServerError_->setText(why);
    labelServerError_->show();
    editServer_->setFocus();
    return;
  }
  done(kResultOk);
}

void TForm_Comm::Button_CancelClick() { done(kResultCancel); }

void TForm_Comm::reject() { done(kResultCancel); }

QString DetectedPortText(const link::DetectedPort& port) {
  QStringList about;
  if (!port.description.isEmpty()) about << port.description;
  if (!port.manufacturer.isEmpty() && port.manufacturer != port.description) about << port.manufacturer;
  return about.isEmpty() ? port.path
                         : QStringLiteral("%1 (%2)").arg(port.path, about.join(QStringLiteral(", ")));
}

std::optional<PortDialogChoice> ChosenPort(const TForm_Comm& dialog) {
  if (dialog.result() != TForm_Comm::kResultOk) return std::nullopt;
  return dialog.selected();
}

std::optional<PortDialogChoice> RunPortChoiceDialog() {
  TForm_Comm dialog;
  dialog.exec();
  return ChosenPort(dialog);
}

}  // namespace halvix::app
