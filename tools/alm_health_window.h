// TForm_AlmHealth: the view window of the almanac health page, created once at start-up and shown from the main window.
#pragma once

#include <QDialog>

namespace halvix::tools {

class TForm_AlmHealth : public QDialog {
  Q_OBJECT

 public:
  explicit TForm_AlmHealth(QWidget* parent = nullptr);
};

}  // namespace halvix::tools
