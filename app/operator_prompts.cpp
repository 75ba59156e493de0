#include "app/operator_prompts.h"

#include <cstdio>

namespace halvix::app {

void LogOperatorMessage(const QString& title, const QString& text) {
  const QByteArray line = (title + QStringLiteral(": ") + text).toLocal8Bit();
  std::fprintf(stderr, "%s\n", line.constData());
  std::fflush(stderr);
}

}  // namespace halvix::app
