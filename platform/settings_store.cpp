#include "platform/settings_store.h"

#include <QSettings>
#include <memory>

namespace halvix::platform {

namespace {

class QtSettingsStore final : public SettingsStore {
 public:
  bool read(const QString& root, const QString& keyPath, const QString& name,
            QString& value) override {
    Location at = locate(root, keyPath, name);
    if (at.settings->status() != QSettings::NoError || !at.settings->isWritable()) return false;
    value = at.settings->value(at.key).toString();
    return true;
  }

  bool write(const QString& root, const QString& keyPath, const QString& name,
             const QString& value) override {
    Location at = locate(root, keyPath, name);
    if (!at.settings->isWritable()) return false;
    at.settings->setValue(at.key, value);
    at.settings->sync();
    return at.settings->status() == QSettings::NoError;
  }

 private:
  struct Location {
    std::unique_ptr<QSettings> settings;
    QString key;
  };

  static Location locate(const QString& root, const QString& keyPath, const QString& name) {
#ifdef Q_OS_WIN
    // The key itself, e.g. HKEY_LOCAL_MACHINE\Software\Orvane\Halvix.
    return {std::make_unique<QSettings>(root + QLatin1Char('\\') + keyPath, QSettings::NativeFormat),
            name};
#else
    // The program's own INI file in the user's configuration folder; the
    // registry path becomes the group, so any key keeps its place.
    QString group = keyPath;
    group.replace(QLatin1Char('\\'), QLatin1Char('/'));
    return {std::make_unique<QSettings>(QSettings::IniFormat, QSettings::UserScope,
                                        QStringLiteral("Orvane"), QStringLiteral("Halvix")),
            root + QLatin1Char('/') + group + QLatin1Char('/') + name};
#endif
  }
};

}  // namespace

SettingsStore& PlatformSettingsStore() {
  static QtSettingsStore store;
  return store;
}

}  // namespace halvix::platform
