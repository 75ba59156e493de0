// OperatorPrompts shown with Qt's standard message boxes and file dialogs;
// the help file opens in a window of its own.
#pragma once

#include <QPointer>
#include <QWidget>

class QTextBrowser;

#include "platform/operator_prompts.h"

namespace halvix::widgets {

class WidgetPrompts final : public platform::OperatorPrompts {
 public:
  void setParent(QWidget* parent) { parent_ = parent; }

  platform::PromptAnswer message(const QString& title, const QString& text, platform::PromptButtons buttons,
                       platform::PromptIcon icon) override;
  QString openFileName(const QString& title, const QString& filter) override;
  QString saveFileName(const QString& title, const QString& filter) override;
  void showHelp() override;

 private:
  QPointer<QWidget> parent_;
  QPointer<QTextBrowser> help_;
};

}  // namespace halvix::widgets
