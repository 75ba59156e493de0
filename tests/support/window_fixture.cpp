#include "tests/support/window_fixture.h"

#include <QCoreApplication>
#include <QEvent>

namespace halvix::testing {

Bytes Unframed(const Bytes& frame) {
  Bytes packet;
  // DLE ... DLE ETX; inside, every DLE is doubled.
  for (std::size_t i = 1; i + 2 < frame.size(); ++i) {
    packet.push_back(frame[i]);
    if (frame[i] == 0x10) ++i;
  }
  return packet;
}

void WindowFixture::make(bool developer, bool running) {
  windows.reset();
  context.reset(new app::AppContext{app::PortChoiceForCom(1), developer, clock, link, prompts});
  context->pcClock = &pcClock;
  windows = running
                ? app::CreateWindows(*context, session, [](app::TForm_Main& m) { return m.FormCreate(); })
                : app::CreateWindows(*context, session);
  ASSERT_NE(windows, nullptr);
  if (!device.isOpen()) {
    ASSERT_EQ(link.OpenLink(QStringLiteral("/dev/test")), 0);
  }
  device.clearWrites();
}

session::SessionOptions WindowFixture::sessionOptions() {
  const app::PortChoice port = app::PortChoiceForCom(1);
  session::SessionOptions options;
  options.port = port.deviceName;
  options.portLabel = port.panelLabel;
  options.renegotiateWhenSilent = false;
  return options;
}

void WindowFixture::TearDown() {
  if (!windows) return;
  for (QWidget* w : windows->creationOrder) w->hide();
}

std::vector<Bytes> WindowFixture::sent() {
  std::vector<Bytes> packets;
  for (const Written& w : device.writes()) packets.push_back(Unframed(w.bytes));
  device.clearWrites();
  return packets;
}

void WindowFixture::activate(QWidget* window) {
  QEvent event(QEvent::WindowActivate);
  QCoreApplication::sendEvent(window, &event);
}

}  // namespace halvix::testing
