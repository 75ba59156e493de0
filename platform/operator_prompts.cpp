#include "platform/operator_prompts.h"

#include <QDir>
#include <QFileInfo>
#include <cstdio>

namespace halvix::platform {

QStringList HelpFileCandidates(const QString& programDir) {
  const QString dir = QDir::cleanPath(programDir);
  QStringList c{dir + QLatin1Char('/') + kHelpFileName,
                dir + QStringLiteral("/docs/") + kHelpFileName,
                QDir::cleanPath(dir + QStringLiteral("/../share/halvix/") + kHelpFileName),
                QDir::cleanPath(dir + QStringLiteral("/../share/doc/halvix/") + kHelpFileName)};
  // Last, so an installed program shows its own manual even on the machine
  // that built it.
#ifdef HALVIX_SOURCE_DIR
  c << QDir::cleanPath(QStringLiteral(HALVIX_SOURCE_DIR "/docs/") + kHelpFileName);
#endif
  c.removeDuplicates();
  return c;
}

QString FindHelpFile(const QStringList& candidates) {
  for (const QString& path : candidates) {
    if (QFileInfo(path).isFile()) return path;
  }
  return {};
}

QString HelpFileMissingText(const QStringList& candidates) {
  return QStringLiteral("The help file %1 could not be found. Looked for:\n").arg(kHelpFileName) +
         candidates.join(QLatin1Char('\n'));
}

void LogOperatorMessage(const QString& title, const QString& text) {
  const QByteArray line = (title + QStringLiteral(": ") + text).toLocal8Bit();
  std::fprintf(stderr, "%s\n", line.constData());
  std::fflush(stderr);
}

}  // namespace halvix::platform
