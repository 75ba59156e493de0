// TForm_Product: the view window of the firmware versions and production parameters, created once at start-up and shown from the main window.
#pragma once

#include <QDialog>

namespace halvix::reports {

class TForm_Product : public QDialog {
  Q_OBJECT

 public:
  explicit TForm_Product(QWidget* parent = nullptr);
};

}  // namespace halvix::reports
