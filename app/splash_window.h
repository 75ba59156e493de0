// TForm_Splash: the borderless picture shown while the start-up break sequence runs.
#pragma once

#include <QWidget>

namespace halvix::app {

class TForm_Splash : public QWidget {
  Q_OBJECT

 public:
  explicit TForm_Splash(QWidget* parent = nullptr);
};

}  // namespace halvix::app
