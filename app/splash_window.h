// TForm_Splash: the borderless picture shown while the start-up break
// sequence runs. The picture is drawn at run time.
#pragma once

#include <QPixmap>
#include <QWidget>

class QFrame;
class QLabel;

namespace halvix::app {

class TForm_Splash : public QWidget {
  Q_OBJECT

 public:
  explicit TForm_Splash(QWidget* parent = nullptr);

  // Sizes the panel and the window around the picture and centres the window.
  void FitToPicture();
  const QPixmap& picture() const { return picture_; }

 private:
  QPixmap picture_;
  QFrame* panel_ = nullptr;
  QLabel* image_ = nullptr;
};

// The splash picture: the program's name and emblem over a night sky.
QPixmap DrawSplashPicture();

}  // namespace halvix::app
