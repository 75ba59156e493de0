// TForm_Alm: "Almanac Loading Status", the read-only log of the almanac and
// system-data transfers. Lines accumulate across transfers; closing the
// window clears them.
#pragma once

#include <QDialog>

class QPlainTextEdit;

namespace halvix::tools {

class TForm_Alm : public QDialog {
  Q_OBJECT

 public:
  explicit TForm_Alm(QWidget* parent = nullptr);

  struct Controls {
    QPlainTextEdit* Memo_Alm = nullptr;
  };
  // The window's own; tests reach them here.
  Controls& testControls() { return controls_; }

  // Appends text (with its own line end) at the end.
  void AppendLog(const QString& text);
  // The transfer runs on the GUI thread: this lets the windows paint between
  // its steps without running timers or the operator's input.
  static void PaintNow();
  void FormClose();

 protected:
  void closeEvent(QCloseEvent* event) override;

 private:
  Controls controls_;
};

}  // namespace halvix::tools
