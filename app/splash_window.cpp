#include "app/splash_window.h"

namespace halvix::app {

TForm_Splash::TForm_Splash(QWidget* parent) : QWidget(parent, Qt::SplashScreen | Qt::FramelessWindowHint) {
  setObjectName(QStringLiteral("Form_Splash"));
}

}  // namespace halvix::app
