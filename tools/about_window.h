// TForm_About: the About box. The program's emblem in a frame, its name and
// version, the version of this build, and "&OK".
#pragma once

#include <QDialog>

class QFrame;
class QLabel;
class QPushButton;

namespace halvix::tools {

class TForm_About : public QDialog {
  Q_OBJECT

 public:
  static constexpr int kPictureSide = 96;

  explicit TForm_About(QWidget* parent = nullptr);

  struct Controls {
    QFrame *Panel_About{}, *Panel_Pic{}, *Panel_Version{};
    QLabel* Image_Pic = nullptr;
    QLabel *Label_Name{}, *Label_Version{};
    QLabel* Label_ProjectVersion = nullptr;  // "Halvix 0.1.0": the build's own version
    QPushButton* Button_OK = nullptr;
  };
  // The window's own; tests reach them here.
  Controls& testControls() { return controls_; }

  void Button_OKClick();

 private:
  Controls controls_;
};

}  // namespace halvix::tools
