#include "tests/support/scripted_prompts.h"

#include <utility>

namespace halvix::testing {

platform::PromptAnswer ScriptedPrompts::message(const QString& title, const QString& text,
                                           platform::PromptButtons buttons, platform::PromptIcon icon) {
  platform::LogOperatorMessage(title, text);
  messages.push_back(PromptRecord{title, text, buttons, icon});
  if (whileOpen) std::exchange(whileOpen, nullptr)();
  if (!answers.empty()) {
    const auto a = answers.front();
    answers.pop_front();
    return a;
  }
  return buttons == platform::PromptButtons::YesNo ? platform::PromptAnswer::Yes : platform::PromptAnswer::Ok;
}

QString ScriptedPrompts::openFileName(const QString& title, const QString&) {
  fileDialogs.push_back(title);
  if (fileNames.empty()) return {};
  QString f = fileNames.front();
  fileNames.pop_front();
  return f;
}

QString ScriptedPrompts::saveFileName(const QString& title, const QString& filter) {
  return openFileName(title, filter);
}

}  // namespace halvix::testing
