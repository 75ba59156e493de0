// The one persistent choice: whether the receiver feeds an NTP server (so the
// timing packets are not polled). It is one string value, "NTP", under a
// registry key; the two registry operations take the classic root codes.
#pragma once

#include <QString>

#include "platform/settings_store.h"

namespace halvix::app {

// Root codes: 0 HKEY_CLASSES_ROOT, 1 HKEY_CURRENT_USER, 2 HKEY_LOCAL_MACHINE,
// 3 HKEY_USERS, 4 HKEY_CURRENT_CONFIG, 5 HKEY_DYN_DATA.
inline constexpr int kLocalMachineRoot = 2;
inline constexpr char kNtpKeyPath[] = "Software\\Orvane\\Halvix";
inline constexpr char kNtpValueName[] = "NTP";
inline constexpr int kNtpUnknown = -1;

// The root's name, or an empty string for a code outside 0..5.
QString RegistryRootName(int rootCode);

// True when a non-empty string was read into text. Reading creates a missing
// key. False for an unknown root, a key that cannot be opened, or a missing or
// empty value.
bool ReadRegistryString(platform::SettingsStore& store, int rootCode, const QString& keyPath,
                        const QString& name, QString& text);
// Creates the key if missing and writes the value. Failures are silent.
void WriteRegistryString(platform::SettingsStore& store, int rootCode, const QString& keyPath,
                         const QString& name, const QString& text);

// The stored integer, or kNtpUnknown when nothing readable is stored or the
// text does not start with a number.
int ReadNtpSetting(platform::SettingsStore& store);
// Stores the value as a decimal integer.
void WriteNtpSetting(platform::SettingsStore& store, int value);

}  // namespace halvix::app
