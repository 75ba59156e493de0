// The settings-store seam: named string values under a registry-style root
// and key path. The platform store is the registry on Windows and an INI file
// in the user's configuration folder elsewhere; tests use one in memory.
#pragma once

#include <QString>

namespace halvix::platform {

class SettingsStore {
 public:
  virtual ~SettingsStore() = default;
  // Opens (creating if missing) the key under the named root and reads one
  // value; a missing value reads as empty. False when the key cannot be opened.
  virtual bool read(const QString& root, const QString& keyPath, const QString& name,
                    QString& value) = 0;
  // Opens (creating if missing) the key and writes the value. False on failure.
  virtual bool write(const QString& root, const QString& keyPath, const QString& name,
                     const QString& value) = 0;
};

// The platform's store, through QSettings. One instance for the run.
SettingsStore& PlatformSettingsStore();

}  // namespace halvix::platform
