// TForm_SVNum, "One-Satellite SV": the satellite used in one-satellite timing
// mode (0x34); 0 lets the receiver take the highest one. It asks nothing on
// activation.
#pragma once

#include <QDialog>

class QComboBox;
class QPushButton;

namespace halvix::reports {
struct WindowContext;
}

namespace halvix::commands {

class TForm_SVNum : public QDialog {
  Q_OBJECT

 public:
  explicit TForm_SVNum(reports::WindowContext& context, QWidget* parent = nullptr);

  struct Controls {
    QComboBox* ComboBox_SVNum = nullptr;
    QPushButton* Button_OK = nullptr;
    QPushButton* Button_Apply = nullptr;
    QPushButton* Button_Close = nullptr;
  };
  Controls controls;

  void Button_OKClick();
  void Button_ApplyClick();
  void Button_CloseClick();

 private:
  reports::WindowContext& context_;
};

}  // namespace halvix::commands
