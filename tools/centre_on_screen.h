// Centres a window on its screen the first time it is shown, as the tools'
// windows with a fixed border are placed.
#pragma once

#include <QGuiApplication>
#include <QScreen>
#include <QWidget>

namespace halvix::tools {

inline void CentreOnScreenOnce(QWidget* window, bool& centred) {
  if (centred) return;
  centred = true;
  QScreen* s = window->screen() != nullptr ? window->screen() : QGuiApplication::primaryScreen();
  if (s == nullptr) return;
  QRect frame = window->frameGeometry();
  frame.moveCenter(s->availableGeometry().center());
  window->move(frame.topLeft());
}

}  // namespace halvix::tools
