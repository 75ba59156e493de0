// The operator-prompt seam: message boxes, file dialogs and the help viewer.
// The program shows real dialogs; tests answer them from a script so no run
// ever blocks on a modal box. Every message is also written to the log.
#pragma once

#include <QString>
#include <QStringList>

namespace halvix::platform {

enum class PromptButtons { Ok, OkCancel, YesNo };
enum class PromptIcon { None, Information, Warning, Error, Question, Exclamation };
enum class PromptAnswer { Ok, Cancel, Yes, No };

class OperatorPrompts {
 public:
  virtual ~OperatorPrompts() = default;

  virtual PromptAnswer message(const QString& title, const QString& text,
                               PromptButtons buttons = PromptButtons::Ok,
                               PromptIcon icon = PromptIcon::None) = 0;
  // Empty when the operator cancels.
  virtual QString openFileName(const QString& title, const QString& filter) = 0;
  virtual QString saveFileName(const QString& title, const QString& filter) = 0;
  // The almanac data file for a transfer: to write (download) or to read
  // (upload). Empty when the operator cancels.
  virtual QString chooseAlmanacFile(bool save, const QString& title) {
    const QString filter = QStringLiteral("Data Files (*.dat);;All Files (*.*)");
    return save ? saveFileName(title, filter) : openFileName(title, filter);
  }
  // Opens the help file at its contents.
  virtual void showHelp() = 0;
};

// The user manual's file name, and where it is looked for, in order: next to
// the program, where it is installed, and in the source tree it was built from.
inline const QString kHelpFileName = QStringLiteral("manual.html");
QStringList HelpFileCandidates(const QString& programDir);
// The first candidate that exists, or empty.
QString FindHelpFile(const QStringList& candidates);
// What the operator is told when none exists: the name and every place tried.
QString HelpFileMissingText(const QStringList& candidates);

// Writes "title: text" to standard error.
void LogOperatorMessage(const QString& title, const QString& text);

}  // namespace halvix::platform
