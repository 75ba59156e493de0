// TForm_Altitude, "2D Altitude": sets (2A with a single) or cancels (2A FF)
// the fixed altitude of 2D mode; each activation asks for the current one,
// which the 0x4A altitude report writes into Edit_Altitude.
#pragma once

#include <QPalette>

#include "widgets/dialog_support.h"

namespace halvix::reports {
struct WindowContext;
}

namespace halvix::commands {

class TForm_Altitude : public QDialog {
  Q_OBJECT

 public:
  explicit TForm_Altitude(reports::WindowContext& context, QWidget* parent = nullptr);

  struct Controls : widgets::dialog::SetCloseControls {
    QRadioButton *RadioButton_Set{}, *RadioButton_Cancel{};
    QLineEdit* Edit_Altitude{};
  };
  // The window's own; tests reach them here.
  Controls& testControls() { return controls_; }

  void FormActivate();
  // The field's colour says whether a Set sends it.
  void RadioButton_SetClick();
  void RadioButton_CancelClick();
  void Button_SetClick();
  // Report 0x4A (9 bytes): the receiver's 2D reference altitude, in metres.
  void showAltitude(double altitude);

 private:
  void paintField(QPalette::ColorRole role);
  Controls controls_;
  reports::WindowContext& context_;
};

}  // namespace halvix::commands
