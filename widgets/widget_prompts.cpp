#include "widgets/widget_prompts.h"

#include <QCoreApplication>
#include <QFileDialog>
#include <QMessageBox>
#include <QTextBrowser>
#include <QUrl>

namespace halvix::widgets {

namespace {

QMessageBox::Icon toIcon(platform::PromptIcon icon) {
  switch (icon) {
    case platform::PromptIcon::Information: return QMessageBox::Information;
    case platform::PromptIcon::Warning:
    case platform::PromptIcon::Exclamation: return QMessageBox::Warning;
    case platform::PromptIcon::Error: return QMessageBox::Critical;
    case platform::PromptIcon::Question: return QMessageBox::Question;
    case platform::PromptIcon::None: break;
  }
  return QMessageBox::NoIcon;
}

}  // namespace

platform::PromptAnswer WidgetPrompts::message(const QString& title, const QString& text,
                                    platform::PromptButtons buttons, platform::PromptIcon icon) {
  platform::LogOperatorMessage(title, text);
  QMessageBox box(toIcon(icon), title, text, QMessageBox::NoButton, parent_);
  switch (buttons) {
    case platform::PromptButtons::Ok: box.setStandardButtons(QMessageBox::Ok); break;
    case platform::PromptButtons::OkCancel:
      box.setStandardButtons(QMessageBox::Ok | QMessageBox::Cancel);
      break;
    case platform::PromptButtons::YesNo: box.setStandardButtons(QMessageBox::Yes | QMessageBox::No); break;
  }
  switch (box.exec()) {
    case QMessageBox::Ok: return platform::PromptAnswer::Ok;
    case QMessageBox::Yes: return platform::PromptAnswer::Yes;
    case QMessageBox::No: return platform::PromptAnswer::No;
    default: return platform::PromptAnswer::Cancel;
  }
}

QString WidgetPrompts::openFileName(const QString& title, const QString& filter) {
  return QFileDialog::getOpenFileName(parent_, title, QString(), filter);
}

QString WidgetPrompts::saveFileName(const QString& title, const QString& filter) {
  return QFileDialog::getSaveFileName(parent_, title, QString(), filter);
}

void WidgetPrompts::showHelp() {
  const QStringList candidates = platform::HelpFileCandidates(QCoreApplication::applicationDirPath());
  const QString path = platform::FindHelpFile(candidates);
  if (path.isEmpty()) {
    message(QStringLiteral("Help"), platform::HelpFileMissingText(candidates), platform::PromptButtons::Ok,
            platform::PromptIcon::Warning);
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

}  // namespace halvix::widgets
