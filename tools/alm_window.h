// TForm_Alm: the progress log of the almanac transfer, created once at start-up and shown from the main window.
#pragma once

#include <QDialog>

namespace halvix::tools {

class TForm_Alm : public QDialog {
  Q_OBJECT

 public:
  explicit TForm_Alm(QWidget* parent = nullptr);
};

}  // namespace halvix::tools
