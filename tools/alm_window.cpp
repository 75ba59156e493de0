#include "tools/alm_window.h"

#include <QCloseEvent>
#include <QCoreApplication>
#include <QPlainTextEdit>
#include <QTextCursor>
#include <QVBoxLayout>

#include "widgets/window_support.h"

namespace halvix::tools {

TForm_Alm::TForm_Alm(QWidget* parent) : QDialog(parent) {
  widgets::ui::SetUpWindow(this, "Form_Alm", QStringLiteral("Almanac Loading Status"), QSize(360, 300));
  auto* memo = new QPlainTextEdit(this);
  memo->setObjectName(QStringLiteral("Memo_Alm"));
  memo->setReadOnly(true);
  memo->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->addWidget(memo);
  controls_.Memo_Alm = memo;
}

void TForm_Alm::AppendLog(const QString& text) {
  QPlainTextEdit* memo = controls_.Memo_Alm;
  QTextCursor cursor = memo->textCursor();
  cursor.movePosition(QTextCursor::End);
  memo->setTextCursor(cursor);
  // The log's own line ends are CR LF; the text box breaks lines on LF.
  QString shown = text;
  shown.remove(QLatin1Char('\r'));
  memo->insertPlainText(shown);
  memo->ensureCursorVisible();
}

void TForm_Alm::PaintNow() {
  // Window-system and paint events only: no timer fires (the link poll tick
  // cannot start) and the operator's input waits until the transfer ends.
  QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents | QEventLoop::X11ExcludeTimers);
}

void TForm_Alm::FormClose() { controls_.Memo_Alm->clear(); }

void TForm_Alm::closeEvent(QCloseEvent* event) {
  FormClose();
  QDialog::closeEvent(event);
}

}  // namespace halvix::tools
