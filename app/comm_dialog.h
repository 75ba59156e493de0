// TForm_Comm: the modal port choice dialog shown when the command line names no port.
#pragma once

#include <QDialog>
#include <QString>
#include <optional>
#include <vector>

#include "app/port_choice.h"
#include "link/port_discovery.h"

class QComboBox;
class QLabel;
class QLineEdit;

namespace halvix::app {

class TForm_Comm : public QDialog {
  Q_OBJECT

 public:
  static constexpr int kPortCount = 20;
  static constexpr int kResultOk = 1;
  static constexpr int kResultCancel = 2;

  // Lists the ports the system has first, then "COM 1".."COM 20"; COM 1 is
  // selected, as it always was. Below the list a serial server's address may
  // be typed in; OK refuses a malformed one with the reason under it.
  explicit TForm_Comm(QWidget* parent = nullptr);
  explicit TForm_Comm(const std::vector<link::DetectedPort>& detected, QWidget* parent = nullptr);

  // The serial server typed in if any (nothing while it is malformed), else
  // the port the list shows selected.
  std::optional<PortDialogChoice> selected() const;

  void Button_ContinueClick();
  void Button_CancelClick();

  // Closing the window counts as a cancel.
  void reject() override;

 private:
  QComboBox* comboBoxCom_ = nullptr;
  QLineEdit* editServer_ = nullptr;
  QLabel* labelServerError_ = nullptr;
};

// The list text of a detected port: its path, then what the system says of it.
QString DetectedPortText(const link::DetectedPort& port);

// The port a finished dialog chose after OK, nothing otherwise.
std::optional<PortDialogChoice> ChosenPort(const TForm_Comm& dialog);

// Shows the dialog modally; the port chosen, or nothing when cancelled.
std::optional<PortDialogChoice> RunPortChoiceDialog();

}  // namespace halvix::app
