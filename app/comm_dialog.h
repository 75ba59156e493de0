// TForm_Comm: the modal port choice dialog shown when the command line names no port.
#pragma once

#include <QDialog>
#include <optional>

class QComboBox;

namespace halvix::app {

class TForm_Comm : public QDialog {
  Q_OBJECT

 public:
  explicit TForm_Comm(QWidget* parent = nullptr);

  // List index 0..19 of the chosen port.
  int selectedIndex() const;

  void Button_ContinueClick();
  void Button_CancelClick();

 private:
  QComboBox* comboBoxCom_ = nullptr;
};

// Shows the dialog modally; the COM number chosen, or nothing when cancelled.
std::optional<int> RunPortChoiceDialog();

}  // namespace halvix::app
