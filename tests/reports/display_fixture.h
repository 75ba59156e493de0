// A full window set over a scripted port and virtual time, with the decoders
// registered, for the display tests: reports go in through the dispatcher as
// they would from the poll cycle, and the packets the windows send come back
// unframed.
#pragma once

#include <gtest/gtest.h>

#include <QAction>
#include <memory>
#include <vector>

#include "app/app_context.h"
#include "app/main_window.h"
#include "platform/system_clock.h"
#include "app/windows.h"
#include "link/clock.h"
#include "link/serial_link.h"
#include "reports/decoder_context.h"
#include "session/receiver_session.h"
#include "session/scheduler.h"
#include "widgets/lamp.h"
#include "widgets/value_panel.h"
#include "tests/reports/payload_writer.h"
#include "tests/support/scripted_device.h"
#include "tests/support/scripted_prompts.h"
#include "tests/support/session_rig.h"

namespace halvix::testing {

// The session is not started: the reports go in through its dispatcher.
class DisplayTest : public ::testing::Test, protected SessionRig {
 protected:
  DisplayTest() : SessionRig(1000) {}

  ScriptedPrompts prompts;
  platform::FixedPcClock pcClock{platform::UtcDateTime{2020, 1, 1, 0, 0, 0}};
  std::unique_ptr<app::AppContext> context;
  std::unique_ptr<app::Windows> windows;
  int trackingResets = 0;
  std::vector<float> referenceAltitudes;

  void SetUp() override { make(false); }
  void TearDown() override {
    for (QWidget* w : windows->creationOrder) w->hide();
  }

  void make(bool developer) {
    windows.reset();
    context.reset(new app::AppContext{app::PortChoiceForCom(3), developer, clock, link, prompts});
    context->pcClock = &pcClock;
    ASSERT_EQ(link.OpenLink(QStringLiteral("COM3")), 0);
    windows = app::CreateWindows(*context, session);
    ASSERT_NE(windows, nullptr);
    windows->decoders->nextTrackingReset = [this] { ++trackingResets; };
    windows->decoders->referenceAltitude = [this](float a) { referenceAltitudes.push_back(a); };
    device.clearWrites();
  }

  app::TForm_Main& main() { return *windows->main; }
  app::TForm_Main::Controls& mc() { return windows->main->testControls(); }
  reports::DisplayState& display() { return context->display; }
  void setPolling(bool on) { main().menu.ControlPollingTimingPkts->setChecked(on); }

  void feed(int id, const PayloadWriter& p) { main().dispatcher().dispatch(id, p.data(), p.length()); }
  void feedSuper(const PayloadWriter& p) { feed(0x8F, p); }

  // Every packet written since the last call, unframed: id and payload.
  std::vector<Bytes> sent() {
    std::vector<Bytes> out;
    for (const Written& w : device.writes()) {
      const Bytes& f = w.bytes;
      Bytes packet;
      // DLE id ... DLE ETX, with every DLE in between doubled.
      for (std::size_t i = 1; i + 2 < f.size(); ++i) {
        packet.push_back(f[i]);
        if (f[i] == 0x10) ++i;
      }
      out.push_back(packet);
    }
    device.clearWrites();
    return out;
  }
};

inline QColor Rgb(QRgb rgb) { return QColor::fromRgb(rgb); }

}  // namespace halvix::testing
