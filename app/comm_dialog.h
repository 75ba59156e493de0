// TForm_Comm: the modal port choice dialog shown when the command line names no port.
#pragma once

#include <QDialog>
#include <optional>

class QComboBox;

namespace halvix::app {

class TForm_Comm : public QDialog {
  Q_OBJECT

 public:
  static constexpr int kClientWidth = 221;
  static constexpr int kClientHeight = 83;
  static constexpr int kPortCount = 20;
  static constexpr int kResultOk = 1;
  static constexpr int kResultCancel = 2;

  explicit TForm_Comm(QWidget* parent = nullptr);

  // List index 0..19 of the chosen port.
  int selectedIndex() const;

  void Button_ContinueClick();
  void Button_CancelClick();

  // Closing the window counts as a cancel.
  void reject() override;

 private:
  QComboBox* comboBoxCom_ = nullptr;
};

// The COM number a finished dialog chose: index + 1 after OK, nothing otherwise.
std::optional<int> ChosenPort(const TForm_Comm& dialog);

// Shows the dialog modally; the COM number chosen, or nothing when cancelled.
std::optional<int> RunPortChoiceDialog();

}  // namespace halvix::app
