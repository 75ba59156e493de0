#include "tools/message_window.h"

#include <QPlainTextEdit>
#include <QPushButton>
#include <QTextBlock>
#include <QTextCursor>

#include "widgets/window_support.h"

namespace halvix::tools {

namespace ui = widgets::ui;

namespace {

constexpr int kClientWidth = 520, kClientHeight = 340;
constexpr int kMargin = 6;
constexpr int kButtonWidth = 75, kButtonHeight = 25;

}  // namespace

TForm_Message::TForm_Message(QWidget* parent) : QDialog(parent) {
  ui::SetUpWindow(this, "Form_Message", QStringLiteral("Message"),
                  QSize(kClientWidth, kClientHeight));
  ui::CentreOnFirstShow(this);
  Controls& c = controls_;
  const int buttonsTop = kClientHeight - kMargin - kButtonHeight;
  c.Memo_Pad = new QPlainTextEdit(this);
  c.Memo_Pad->setObjectName(QStringLiteral("Memo_Pad"));
  c.Memo_Pad->setGeometry(kMargin, kMargin, kClientWidth - 2 * kMargin,
                          buttonsTop - 2 * kMargin);
  c.Memo_Pad->setFont(ui::FixedPitchFont());
  c.Memo_Pad->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
  // A vertical scroll bar only: long lines wrap.
  c.Memo_Pad->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
  c.Memo_Pad->setLineWrapMode(QPlainTextEdit::WidgetWidth);
  c.Button_Clear = ui::Button(this, "Button_Clear", QStringLiteral("Clear"),
                              QRect(kClientWidth / 2 - kButtonWidth - kMargin, buttonsTop,
                                    kButtonWidth, kButtonHeight));
  c.Button_Close = ui::Button(this, "Button_Close", QStringLiteral("Close"),
                              QRect(kClientWidth / 2 + kMargin, buttonsTop, kButtonWidth,
                                    kButtonHeight));
  connect(c.Button_Clear, &QPushButton::clicked, this, &TForm_Message::Button_ClearClick);
  connect(c.Button_Close, &QPushButton::clicked, this, &TForm_Message::Button_CloseClick);
}

int TForm_Message::lineCount() const {
  const QTextDocument* doc = controls_.Memo_Pad->document();
  int blocks = doc->blockCount();
  if (doc->lastBlock().text().isEmpty()) --blocks;
  return blocks;
}

void TForm_Message::AppendMessage(const QString& text) {
  QPlainTextEdit* pad = controls_.Memo_Pad;
  // Trimming and the caret move repaint once, after the update.
  pad->setUpdatesEnabled(false);
  QTextCursor cursor(pad->document());
  while (lineCount() > kMaxLines) {
    cursor.movePosition(QTextCursor::Start);
    cursor.movePosition(QTextCursor::NextBlock, QTextCursor::KeepAnchor);
    cursor.removeSelectedText();
  }
  cursor.movePosition(QTextCursor::End);
  pad->setTextCursor(cursor);
  pad->setUpdatesEnabled(true);
  QString plain = text;
  plain.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
  pad->insertPlainText(plain);
  pad->ensureCursorVisible();
}

void TForm_Message::AppendSeparator() {
  AppendMessage(QString(39, QLatin1Char('-')) + QStringLiteral("\r\n"));
}

void TForm_Message::ShowMessages() {
  show();
  raise();
  activateWindow();
}

void TForm_Message::Button_ClearClick() { controls_.Memo_Pad->clear(); }

void TForm_Message::Button_CloseClick() { close(); }

}  // namespace halvix::tools
