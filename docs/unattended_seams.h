// Operator prompts and settings for programs that run Halvix with nobody at
// the screen (the manual's pictures, the memory soak): boxes are answered No,
// so nothing is reset or sent, file dialogs are cancelled, and the NTP answer
// on record has the timing packets polled.
#pragma once

#include <QString>
#include <cstdio>

#include "platform/operator_prompts.h"
#include "platform/settings_store.h"

namespace halvix::docs {

class QuietPrompts final : public platform::OperatorPrompts {
 public:
  // logMessages: each box is written to standard error as "title: text".
  explicit QuietPrompts(bool logMessages) : logMessages_(logMessages) {}

  platform::PromptAnswer message(const QString& title, const QString& text, platform::PromptButtons,
                                 platform::PromptIcon) override {
    if (logMessages_) std::fprintf(stderr, "%s: %s\n", qPrintable(title), qPrintable(text));
    return platform::PromptAnswer::No;
  }
  QString openFileName(const QString&, const QString&) override { return {}; }
  QString saveFileName(const QString&, const QString&) override { return {}; }
  void showHelp() override {}

 private:
  bool logMessages_;
};

class PollingSettings final : public platform::SettingsStore {
 public:
  bool read(const QString&, const QString&, const QString& name, QString& value) override {
    value = name == QStringLiteral("NTP") ? QStringLiteral("0") : QString();
    return true;
  }
  bool write(const QString&, const QString&, const QString&, const QString&) override { return true; }
};

}  // namespace halvix::docs
