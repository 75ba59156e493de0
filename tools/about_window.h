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
    QFrame* Panel_About = nullptr;
    QFrame* Panel_Pic = nullptr;
    QLabel* Image_Pic = nullptr;
    QFrame* Panel_Version = nullptr;
    QLabel* Label_Name = nullptr;
    QLabel* Label_Version = nullptr;
    QLabel* Label_ProjectVersion = nullptr;  // "Halvix 0.1.0": the build's own version
    QPushButton* Button_OK = nullptr;
  };
  Controls controls;

  void Button_OKClick();
};

}  // namespace halvix::tools
