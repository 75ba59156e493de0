// SettingsStore for tests: values in memory, with a switch that makes every
// key unopenable, and a count of the reads and writes.
#pragma once

#include <QMap>
#include <QString>

#include "platform/settings_store.h"

namespace halvix::testing {

class MemorySettings final : public platform::SettingsStore {
 public:
  QMap<QString, QString> values;  // "root\\key\\name" -> value
  bool broken = false;
  int writes = 0;

  static QString path(const QString& root, const QString& key, const QString& name) {
    return root + QLatin1Char('\\') + key + QLatin1Char('\\') + name;
  }
  // The NTP value as stored, or a null string when absent.
  QString ntp() const {
    return values.value(path(QStringLiteral("HKEY_LOCAL_MACHINE"),
                             QStringLiteral("Software\\Orvane\\Halvix"), QStringLiteral("NTP")));
  }
  void setNtp(const QString& text) {
    values[path(QStringLiteral("HKEY_LOCAL_MACHINE"), QStringLiteral("Software\\Orvane\\Halvix"),
                QStringLiteral("NTP"))] = text;
  }

  bool read(const QString& root, const QString& key, const QString& name,
            QString& value) override {
    if (broken) return false;
    value = values.value(path(root, key, name));
    return true;
  }
  bool write(const QString& root, const QString& key, const QString& name,
             const QString& value) override {
    if (broken) return false;
    ++writes;
    values[path(root, key, name)] = value;
    return true;
  }
};

}  // namespace halvix::testing
