// Each receiver the simulator can play, started through the program entry on
// virtual time: within a second of the link timer starting, its production
// report has chosen the receiver type, so the menus, check marks and
// configuration controls are those of that type, and the status bar and
// main window show its firmware version and status.
#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QPushButton>
#include <QTimer>

#include "app/main_window.h"
#include "app/program.h"
#include "app/windows.h"
#include "commands/packet_masks_dialog.h"
#include "commands/timing_out_dialog.h"
#include "reports/product_window.h"
#include "widgets/value_panel.h"
#include "sim/simulated_device.h"
#include "tests/support/memory_settings.h"
#include "tests/support/scripted_prompts.h"

using namespace halvix;

namespace {

struct Expected {
  const char* persona;
  const char* version;
  QAction* app::TForm_Main::MenuItems::*checkedItem;
  bool pollVisible;
  bool polled;
  bool brisel;
};

class ReceiverTypeStartup : public ::testing::TestWithParam<Expected> {
 protected:
  session::VirtualScheduler scheduler{0};
  link::VirtualClock& clock = scheduler.virtualClock();
  halvix::testing::ScriptedPrompts prompts;
  halvix::testing::MemorySettings settings;
  std::unique_ptr<app::Program> program;

  void TearDown() override {
    if (program && program->windows()) {
      for (QWidget* w : program->windows()->creationOrder) w->hide();
    }
  }
  app::TForm_Main& main() { return *program->mainWindow(); }
};

TEST_P(ReceiverTypeStartup, ConfiguresItselfWithinASecond) {
  const Expected& e = GetParam();
  settings.setNtp(QStringLiteral("0"));  // no NTP server: the Corvels poll
  program = std::make_unique<app::Program>(app::ProgramSeams{
      prompts, scheduler, [] { return std::optional<int>(); },
      [](const app::PortChoice& port, link::Clock& c) {
        return sim::CreateSimulatedDevice(port.persona, c);
      },
      nullptr, &settings});
  ASSERT_TRUE(program->start({QStringLiteral("--simulate=") + QString::fromLatin1(e.persona)}));
  EXPECT_FALSE(QApplication::windowIcon().isNull()) << "the emblem is the window icon";
  // Controls of the configuration windows that follow the receiver type.
  app::Windows& w = *program->windows();
  QPushButton* width = w.timingOut->testControls().Button_Width;
  QCheckBox* mask = w.packetMasks->testControls().CheckBox_B2Bit6;

  for (int i = 0; i < 100 && program->session()->state() != session::SessionState::Polling; ++i) {
    scheduler.advance(200);
  }
  ASSERT_EQ(program->session()->state(), session::SessionState::Polling);
  scheduler.advance(5 * 200);

  app::TForm_Main::MenuItems& m = main().menu;
  for (QAction* item : {m.RecTypeCvl, m.RecTypeCvlNorden, m.RecTypeCvlPellam, m.RecTypeCvlCVL2,
                        m.RecTypeBrisel, m.RecTypeDolvoUTC}) {
    EXPECT_EQ(item->isChecked(), item == m.*(e.checkedItem)) << item->objectName().toStdString();
  }
  EXPECT_EQ(m.ControlPollingTimingPkts->isVisible(), e.pollVisible);
  EXPECT_EQ(m.ControlPollingTimingPkts->isChecked(), e.polled);
  EXPECT_EQ(m.SetupNMEAOutpu->isVisible(), !e.brisel);
  EXPECT_EQ(m.SetupSelfSurvey->isVisible(), !e.brisel);
  EXPECT_EQ(m.SetupBriselSelfSurvey->isVisible(), e.brisel);
  EXPECT_EQ(m.SetupPortAOutput->isVisible(), e.brisel);
  EXPECT_EQ(width->isEnabled(), !e.brisel);
  EXPECT_EQ(mask->isEnabled(), !e.brisel);
  // Laid out with the caption the Corvel types give it; Brisel keeps it.
  EXPECT_EQ(mask->text(), QStringLiteral("8F-AB on Port A, Port B"));
  EXPECT_TRUE(prompts.messages.empty()) << "the stored setting answers";

  EXPECT_EQ(main().testControls().Panel_Version->text(), QString::fromLatin1(e.version));
  EXPECT_EQ(w.product->testControls().Panel_ProdIDNum->text(), e.brisel ? "91" : "96");
  // The status comes from the timing packets when polled, else from the health report.
  for (int i = 0; i < 10 && main().testControls().Panel_Status->text().isEmpty(); ++i) scheduler.advance(200);
  EXPECT_FALSE(main().testControls().Panel_Status->text().isEmpty());
  EXPECT_EQ(main().testControls().Panel_Status->text().startsWith(QStringLiteral("Unknown")), false);
}

using M = app::TForm_Main::MenuItems;
INSTANTIATE_TEST_SUITE_P(
    Personas, ReceiverTypeStartup,
    ::testing::Values(Expected{"corvel", "1.04", &M::RecTypeCvl, true, true, false},
                      Expected{"norden", "1.05", &M::RecTypeCvlNorden, true, true, false},
                      Expected{"pellam", "1.06", &M::RecTypeCvlPellam, false, true, false},
                      Expected{"cvl2", "1.03", &M::RecTypeCvlCVL2, false, true, false},
                      Expected{"brisel", "2.11", &M::RecTypeBrisel, false, false, true}),
    [](const ::testing::TestParamInfo<Expected>& info) { return std::string(info.param.persona); });

}  // namespace
