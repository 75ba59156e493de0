// TForm_Datum: the Select Datum dialog. Each activation asks for the datum
// (0x8E-15); report 0x8F-15 selects it in the list. "&Apply" sends the item
// index, which is the datum number.
#pragma once

#include "widgets/dialog_support.h"

namespace halvix::link {
class SerialLink;
}

namespace halvix::commands {

class TForm_Datum : public QDialog {
  Q_OBJECT

 public:
  explicit TForm_Datum(link::SerialLink& link, QWidget* parent = nullptr);

  struct Controls : widgets::dialog::OkApplyCloseControls {
    QComboBox* ComboBox_Datum{};
  };
  // The window's own; tests reach them here.
  Controls& testControls() { return controls_; }

  void FormActivate();
  void Button_ApplyClick();
  // Report 0x8F-15: selects the datum; typing then replaces the whole name.
  void showDatum(int index);

 private:
  Controls controls_;
  link::SerialLink& link_;
};

}  // namespace halvix::commands
