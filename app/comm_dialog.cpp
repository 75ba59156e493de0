#include "app/comm_dialog.h"

#include <QComboBox>

namespace halvix::app {

TForm_Comm::TForm_Comm(QWidget* parent) : QDialog(parent) {
  setObjectName(QStringLiteral("Form_Comm"));
  setWindowTitle(QStringLiteral("Serial Port Selection"));
  comboBoxCom_ = new QComboBox(this);
  comboBoxCom_->setObjectName(QStringLiteral("ComboBox_Com"));
  for (int i = 1; i <= 20; ++i) comboBoxCom_->addItem(QStringLiteral("COM %1").arg(i));
  comboBoxCom_->setCurrentIndex(0);
}

int TForm_Comm::selectedIndex() const { return comboBoxCom_->currentIndex(); }

void TForm_Comm::Button_ContinueClick() { done(1); }

void TForm_Comm::Button_CancelClick() { done(2); }

std::optional<int> RunPortChoiceDialog() {
  TForm_Comm dialog;
  if (dialog.exec() != 1) return std::nullopt;
  return dialog.selectedIndex() + 1;
}

}  // namespace halvix::app
