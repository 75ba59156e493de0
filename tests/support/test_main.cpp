// Test entry shared by every test program: a QApplication on the offscreen
// platform and settings redirected to a private folder.
#include <gtest/gtest.h>

#include <QApplication>
#include <QDir>
#include <QSettings>
#include <QTemporaryDir>
#include <cstdlib>

int main(int argc, char** argv) {
  // Test discovery runs the program without the test environment.
  if (std::getenv("QT_QPA_PLATFORM") == nullptr) setenv("QT_QPA_PLATFORM", "offscreen", 1);
  QTemporaryDir home;
  if (std::getenv("XDG_RUNTIME_DIR") == nullptr) setenv("XDG_RUNTIME_DIR", home.path().toLocal8Bit().constData(), 1);
  setenv("XDG_CONFIG_HOME", (home.path() + QStringLiteral("/config")).toLocal8Bit().constData(), 1);
  setenv("XDG_CONFIG_DIRS", (home.path() + QStringLiteral("/xdg")).toLocal8Bit().constData(), 1);
  QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, home.path() + QStringLiteral("/user"));
  QSettings::setPath(QSettings::NativeFormat, QSettings::SystemScope, home.path() + QStringLiteral("/system"));
  QSettings::setPath(QSettings::IniFormat, QSettings::UserScope, home.path() + QStringLiteral("/user"));
  QSettings::setPath(QSettings::IniFormat, QSettings::SystemScope, home.path() + QStringLiteral("/system"));

  ::testing::InitGoogleTest(&argc, argv);
  QApplication app(argc, argv);
  return RUN_ALL_TESTS();
}
