// TForm_InitialPos: the Upload Accurate Position dialog. It sends a position
// typed as latitude, longitude and altitude (0x32) or as ECEF X, Y, Z (0x31).
// An empty field stops the send with a warning naming it, and so does a field
// that is not a number. "&From File" fills the fields from a position file,
// the one the position download writes, without sending anything.
#pragma once

#include <QString>

#include "widgets/dialog_support.h"

namespace halvix::link {
class SerialLink;
}

namespace halvix::commands {

class TForm_InitialPos : public QDialog {
  Q_OBJECT

 public:
  TForm_InitialPos(link::SerialLink& link, platform::OperatorPrompts& prompts, QWidget* parent = nullptr);

  struct Controls {
    QLineEdit *Edit_Lat{}, *Edit_Lon{}, *Edit_Alt{};
    QPushButton* Button_SetLLA{};
    QLineEdit *Edit_X{}, *Edit_Y{}, *Edit_Z{};
    QPushButton* Button_SetECEF{};
    QPushButton *Button_File{}, *Button_Close{};
  };
  // The window's own; tests reach them here.
  Controls& testControls() { return controls_; }

  void Button_SetLLAClick();
  void Button_SetECEFClick();
  void Button_FileClick();

 private:
  Controls controls_;
  struct Field {
    QLineEdit* edit;
    const char* name;
  };
  // The three fields as singles, or nothing after telling the operator.
  bool readFields(const Field (&fields)[3], float (&values)[3]);

  link::SerialLink& link_;
  platform::OperatorPrompts& prompts_;
};

}  // namespace halvix::commands
