// Every decoder of the running application fed hostile input: reports of
// every routed id at every length up to the largest payload, filled with
// random bytes (NaNs, huge values, out-of-range codes), plus raw line noise.
// Nothing may crash, read past a buffer or open a box.
#include <gtest/gtest.h>

#include <QTimer>
#include <random>

#include "app/main_window.h"
#include "app/program.h"
#include "reports/report_registry.h"
#include "tests/support/scripted_device.h"
#include "tests/support/scripted_prompts.h"

using namespace halvix;
using namespace halvix::testing;

namespace {

Bytes Frame(int id, const Bytes& payload) {
  Bytes f{0x10, static_cast<std::uint8_t>(id)};
  for (std::uint8_t b : payload) {
    if (b == 0x10) f.push_back(0x10);
    f.push_back(b);
  }
  f.push_back(0x10);
  f.push_back(0x03);
  return f;
}

}  // namespace

TEST(HostileStream, DecodersSurviveEveryLengthAndRandomContent) {
  session::VirtualScheduler scheduler{0};
  ScriptedPrompts prompts;
  ScriptedDevice* device = nullptr;
  app::Program program(app::ProgramSeams{
      prompts, scheduler, [] { return std::optional<int>(); },
      [&device](const app::PortChoice&, link::Clock& c) {
        auto d = std::make_unique<ScriptedDevice>(&c);
        device = d.get();
        return d;
      }});
  // Developer mode routes the diagnostic reports too.
  ASSERT_TRUE(program.start({QStringLiteral("-d"), QStringLiteral("--port=/dev/hostile")}));
  app::TForm_Main& main = *program.mainWindow();
  session::ReceiverSession& session = *program.session();
  // The scripted port never answers the BREAK: the defaults, then polling.
  for (int i = 0; i < 100 && session.state() != session::SessionState::Polling; ++i) scheduler.advance(200);
  ASSERT_EQ(session.state(), session::SessionState::Polling);

  std::mt19937 random(20261208);
  std::uniform_int_distribution<int> byte(0, 255);
  std::uint64_t queued = 0;
  auto queue = [&](const Bytes& bytes) {
    device->queueRead(bytes);
    queued += bytes.size();
  };
  auto randomPayload = [&](int length, int first) {
    Bytes p(static_cast<std::size_t>(length));
    for (auto& b : p) b = static_cast<std::uint8_t>(byte(random));
    if (length > 0 && first >= 0) p[0] = static_cast<std::uint8_t>(first);
    return p;
  };

  // Both time sources, so every branch of the decoders runs.
  for (const bool polled : {false, true}) {
    main.menu.ControlPollingTimingPkts->setChecked(polled);
    for (int id = 1; id < 256; ++id) {
      if (!reports::ReportRoutes().routesId(id)) continue;
      const bool super = id == 0x8F || id == 0x5F;
      for (int sub = 0; sub < (super ? 256 : 1); ++sub) {
        if (id == 0x8F && !reports::ReportRoutes().routesSubCode(id, sub)) continue;
        if (id == 0x5F && sub != 0x11 && sub != 0x00 && sub != 0xFE && sub != 0xFF) continue;
        for (int length = 0; length <= 80; ++length) {
          queue(Frame(id, randomPayload(length, super ? sub : -1)));
        }
        queue(Frame(id, randomPayload(511, super ? sub : -1)));
        while (device->hasPendingReads()) session.receive();
      }
    }
    // Line noise and broken frames.
    for (int i = 0; i < 50; ++i) {
      queue(randomPayload(1000, -1));
      scheduler.advance(200);
    }
  }
  // A long silence after all that: the watchdogs blank the panels without trouble.
  scheduler.advance(60 * 200);
  EXPECT_FALSE(device->hasPendingReads());
  EXPECT_EQ(program.serialLink()->bytesReceived, queued);
  EXPECT_TRUE(prompts.messages.empty());
}
