// TForm_Main: the main window with its status bar, menus and the receiver
// state panels.
#pragma once

#include <QMainWindow>

#include "app/app_context.h"

namespace halvix::app {

struct Windows;

class TForm_Main : public QMainWindow {
  Q_OBJECT

 public:
  explicit TForm_Main(AppContext& context, QWidget* parent = nullptr);
  ~TForm_Main() override;

  void setWindows(Windows* windows) { windows_ = windows; }

  // Opens the link and starts the break sequence. False when the port could
  // not be opened (the operator has been told).
  bool FormCreate();

 protected:
  void closeEvent(QCloseEvent* event) override;

 private:
  AppContext& context_;
  Windows* windows_ = nullptr;
};

}  // namespace halvix::app
