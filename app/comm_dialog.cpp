#include "app/comm_dialog.h"

#include <QComboBox>
#include <QFrame>
#include <QGuiApplication>
#include <QLabel>
#include <QPushButton>
#include <QScreen>

namespace halvix::app {

TForm_Comm::TForm_Comm(QWidget* parent) : QDialog(parent) {
  setObjectName(QStringLiteral("Form_Comm"));
  setWindowTitle(QStringLiteral("Serial Port Selection"));
  setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                 Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint);
  setFixedSize(kClientWidth, kClientHeight);

  auto* panel = new QFrame(this);
  panel->setObjectName(QStringLiteral("Panel1"));
  panel->setFrameStyle(QFrame::Panel | QFrame::Sunken);
  panel->setGeometry(8, 8, 205, 36);

  auto* label = new QLabel(QStringLiteral("PC Serial Port:"), panel);
  label->setObjectName(QStringLiteral("Label1"));
  QFont bold = label->font();
  bold.setBold(true);
  label->setFont(bold);
  label->setGeometry(8, 8, 96, 20);

  comboBoxCom_ = new QComboBox(panel);
  comboBoxCom_->setObjectName(QStringLiteral("ComboBox_Com"));
  comboBoxCom_->setEditable(false);
  for (int i = 1; i <= kPortCount; ++i) comboBoxCom_->addItem(QStringLiteral("COM %1").arg(i));
  comboBoxCom_->setCurrentIndex(0);
  comboBoxCom_->setGeometry(108, 6, 90, 24);
  label->setBuddy(comboBoxCom_);

  auto* ok = new QPushButton(QStringLiteral("&OK"), this);
  ok->setObjectName(QStringLiteral("Button_Continue"));
  ok->setGeometry(30, 52, 75, 25);
  ok->setDefault(true);
  connect(ok, &QPushButton::clicked, this, &TForm_Comm::Button_ContinueClick);

  auto* cancel = new QPushButton(QStringLiteral("&Cancel"), this);
  cancel->setObjectName(QStringLiteral("Button_Cancel"));
  cancel->setGeometry(116, 52, 75, 25);
  connect(cancel, &QPushButton::clicked, this, &TForm_Comm::Button_CancelClick);

  if (QScreen* s = QGuiApplication::primaryScreen()) {
    QRect r = rect();
    r.moveCenter(s->availableGeometry().center());
    move(r.topLeft());
  }
}

int TForm_Comm::selectedIndex() const { return comboBoxCom_->currentIndex(); }

void TForm_Comm::Button_ContinueClick() { done(kResultOk); }

void TForm_Comm::Button_CancelClick() { done(kResultCancel); }

void TForm_Comm::reject() { done(kResultCancel); }

std::optional<int> ChosenPort(const TForm_Comm& dialog) {
  if (dialog.result() != TForm_Comm::kResultOk || dialog.selectedIndex() < 0) return std::nullopt;
  return dialog.selectedIndex() + 1;
}

std::optional<int> RunPortChoiceDialog() {
  TForm_Comm dialog;
  dialog.exec();
  return ChosenPort(dialog);
}

}  // namespace halvix::app
