// TForm_Message: the developer's text pad. It collects the receiver's fatal
// error and exception texts and the diagnostics test's output. Appends carry
// their own line ends (CR LF), so an append without one leaves the next to
// continue the same line; the pad keeps about the last 300 lines.
#pragma once

#include <QDialog>

class QPlainTextEdit;
class QPushButton;

namespace halvix::tools {

class TForm_Message : public QDialog {
  Q_OBJECT

 public:
  static constexpr int kMaxLines = 300;

  explicit TForm_Message(QWidget* parent = nullptr);

  struct Controls {
    QPlainTextEdit* Memo_Pad = nullptr;
    QPushButton *Button_Clear{}, *Button_Close{};
  };
  // The window's own; tests reach them here.
  Controls& testControls() { return controls_; }

  // Trims the pad to 300 lines, then inserts the text at its end.
  void AppendMessage(const QString& text);
  // A line of 39 hyphens.
  void AppendSeparator();
  // Shows the window modelessly and brings it forward.
  void ShowMessages();

  // Lines as the pad counts them: a final line end opens no new line.
  int lineCount() const;

  void Button_ClearClick();
  void Button_CloseClick();

 private:
  Controls controls_;
};

}  // namespace halvix::tools
