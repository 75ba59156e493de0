// OperatorPrompts for tests: records every message and answers from a queue
// (OK, or Yes where the box asks, when the queue is empty).
#pragma once

#include <QString>
#include <deque>
#include <functional>
#include <vector>

#include "platform/operator_prompts.h"

namespace halvix::testing {

struct PromptRecord {
  QString title;
  QString text;
  platform::PromptButtons buttons;
  platform::PromptIcon icon;
};

class ScriptedPrompts final : public platform::OperatorPrompts {
 public:
  std::deque<platform::PromptAnswer> answers;
  std::deque<QString> fileNames;  // answers to file dialogs; empty string = cancel
  std::vector<PromptRecord> messages;
  std::vector<QString> fileDialogs;
  int helpShown = 0;
  // Runs while a message box is "open", as the operator takes time to answer:
  // the test runs the box's event loop there. Cleared before it runs.
  std::function<void()> whileOpen;

  platform::PromptAnswer message(const QString& title, const QString& text, platform::PromptButtons buttons,
                            platform::PromptIcon icon) override;
  QString openFileName(const QString& title, const QString& filter) override;
  QString saveFileName(const QString& title, const QString& filter) override;
  void showHelp() override { ++helpShown; }
};

}  // namespace halvix::testing
