#include "app/ntp_setting.h"

#include <cerrno>
#include <climits>
#include <cstdlib>
#include <iterator>

namespace halvix::app {

QString RegistryRootName(int rootCode) {
  static const char* const kRoots[] = {"HKEY_CLASSES_ROOT", "HKEY_CURRENT_USER",
                                       "HKEY_LOCAL_MACHINE", "HKEY_USERS",
                                       "HKEY_CURRENT_CONFIG", "HKEY_DYN_DATA"};
  if (rootCode < 0 || rootCode >= static_cast<int>(std::size(kRoots))) return {};
  return QString::fromLatin1(kRoots[rootCode]);
}

bool ReadRegistryString(platform::SettingsStore& store, int rootCode, const QString& keyPath,
                        const QString& name, QString& text) {
  const QString root = RegistryRootName(rootCode);
  if (root.isEmpty()) return false;
  QString value;
  if (!store.read(root, keyPath, name, value) || value.isEmpty()) return false;
  text = value;
  return true;
}

void WriteRegistryString(platform::SettingsStore& store, int rootCode, const QString& keyPath,
                         const QString& name, const QString& text) {
  const QString root = RegistryRootName(rootCode);
  if (root.isEmpty()) return;
  store.write(root, keyPath, name, text);
}

int ReadNtpSetting(platform::SettingsStore& store) {
  QString text;
  if (!ReadRegistryString(store, kLocalMachineRoot, QString::fromLatin1(kNtpKeyPath),
                          QString::fromLatin1(kNtpValueName), text)) {
    return kNtpUnknown;
  }
  // As "%d" reads it: leading blanks and a sign are accepted, trailing text
  // is ignored. A number too large for an int counts as unreadable.
  const QByteArray bytes = text.toLatin1();
  char* end = nullptr;
  errno = 0;
  const long value = std::strtol(bytes.constData(), &end, 10);
  if (end == bytes.constData() || errno == ERANGE || value < INT_MIN || value > INT_MAX) {
    return kNtpUnknown;
  }
  return static_cast<int>(value);
}

void WriteNtpSetting(platform::SettingsStore& store, int value) {
  WriteRegistryString(store, kLocalMachineRoot, QString::fromLatin1(kNtpKeyPath),
                      QString::fromLatin1(kNtpValueName), QString::asprintf("%d", value));
}

}  // namespace halvix::app
