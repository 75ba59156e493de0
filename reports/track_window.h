// TForm_Track: the view window of the twelve tracking channels and the satellite selection, created once at start-up and shown from the main window.
#pragma once

#include <QDialog>

namespace halvix::reports {

class TForm_Track : public QDialog {
  Q_OBJECT

 public:
  explicit TForm_Track(QWidget* parent = nullptr);
};

}  // namespace halvix::reports
