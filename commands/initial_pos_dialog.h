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
    QLineEdit* Edit_Lat = nullptr;
    QLineEdit* Edit_Lon = nullptr;
    QLineEdit* Edit_Alt = nullptr;
    QPushButton* Button_SetLLA = nullptr;
    QLineEdit* Edit_X = nullptr;
    QLineEdit* Edit_Y = nullptr;
    QLineEdit* Edit_Z = nullptr;
    QPushButton* Button_SetECEF = nullptr;
    QPushButton* Button_File = nullptr;
    QPushButton* Button_Close = nullptr;
  };
  Controls controls;

  void Button_SetLLAClick();
  void Button_SetECEFClick();
  void Button_FileClick();

 private:
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
