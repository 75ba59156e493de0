#include "app/widget_prompts.h"

#include <QCoreApplication>
#include <QFileDialog>
#include <QMessageBox>
#include <QTextBrowser>
#include <QUrl>

namespace halvix::app {

namespace {

QMessageBox::Icon toIcon(PromptIcon icon) {
  switch (icon) {
    case PromptIcon::Information: return QMessageBox::Information;
    case PromptIcon::Warning:
    case PromptIcon::Exclamation: return QMessageBox::Warning;
    case PromptIcon::Error: return QMessageBox::Critical;
    case PromptIcon::Question: return QMessageBox::Question;
    case PromptIcon::None: break;
  }
  return QMessageBox::NoIcon;
}

}  // namespace

PromptAnswer WidgetPrompts::message(const QString& title, const QString& text,
                                    PromptButtons buttons, PromptIcon icon) {
  LogOperatorMessage(title, text);
  QMessageBox box(toIcon(icon), title, text, QMessageBox::NoButton, parent_);
  switch (buttons) {
    case PromptButtons::Ok: box.setStandardButtons(QMessageBox::Ok); break;
    case PromptButtons::OkCancel:
      box.setStandardButtons(QMessageBox::Ok | QMessageBox::Cancel);
      break;
    case PromptButtons::YesNo: box.setStandardButtons(QMessageBox::Yes | QMessageBox::No); break;
  }
  switch (box.exec()) {
    case QMessageBox::Ok: return PromptAnswer::Ok;
    case QMessageBox::Yes: return PromptAnswer::Yes;
    case QMessageBox::No: return PromptAnswer::No;
    default: return PromptAnswer::Cancel;
  }
}

QString WidgetPrompts::openFileName(const QString& title, const QString& filter) {
  return QFileDialog::getOpenFileName(parent_, title, QString(), filter);
}

QString WidgetPrompts::saveFileName(const QString& title, const QString& filter) {
  return QFileDialog::getSaveFileName(parent_, title, QString(), filter);
}

void WidgetPrompts::showHelp() {
  const QStringList candidates = HelpFileCandidates(QCoreApplication::applicationDirPath());
  const QString path = FindHelpFile(candidates);
  if (path.isEmpty()) {
    message(QStringLiteral("Help"), HelpFileMissingText(candidates), PromptButtons::Ok,
            PromptIcon::Warning);
    return;
  }
  if (help_ == nullptr) {
    help_ = new QTextBrowser(parent_);
    help_->setWindowFlag(Qt::Window);
    help_->setAttribute(Qt::WA_DeleteOnClose);
    help_->setObjectName(QStringLiteral("HelpViewer"));
    help_->setWindowTitle(QStringLiteral("Halvix Help"));
    help_->resize(640, 560);
  }
  // Always at the contents, the top of the file.
  help_->setSource(QUrl::fromLocalFile(path));
  help_->show();
  help_->raise();
  help_->activateWindow();
}

}  // namespace halvix::app
