// Each configuration dialog against the simulated receiver on virtual time:
// opened from its menu it shows what the receiver holds; one setting changed
// and applied, the dialog closed and opened again shows the new value, which
// came back from the receiver.
#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QTimer>
#include <functional>

#include "app/main_window.h"
#include "app/program.h"
#include "platform/system_clock.h"
#include "app/windows.h"
#include "commands/altitude_dialog.h"
#include "commands/auto_out_dialog.h"
#include "commands/gps_dialog.h"
#include "commands/packet_masks_dialog.h"
#include "commands/serial_dialog.h"
#include "commands/sv_num_dialog.h"
#include "commands/timing_out_dialog.h"
#include "reports/utc_param_window.h"
#include "widgets/value_panel.h"
#include "sim/sim_options.h"
#include "sim/simulated_device.h"
#include "tests/integration/sim_program.h"
#include "tests/support/memory_settings.h"
#include "tests/support/scripted_prompts.h"

using namespace halvix;
using namespace halvix::testing;

namespace {

class ConfigDialogsSimTest : public halvix::testing::SimProgramTest {
 protected:
  void SetUp() override {
    // The NTP answer is on record, so the receiver type asks nothing.
    settings.setNtp(QStringLiteral("1"));
    ASSERT_NO_FATAL_FAILURE(startProgram(sim::SimOptions{}));
    runSeconds(3);
  }

  // The menu item shows the window; becoming the active window sends its queries.
  void open(QAction* item, QWidget* window) {
    item->trigger();
    ASSERT_TRUE(window->isVisible());
    if (!window->isActiveWindow()) QApplication::setActiveWindow(window);
    runSeconds(2);
  }
};

TEST_F(ConfigDialogsSimTest, EachDialogShowsChangesAndShowsAgain) {
  app::TForm_Main::MenuItems& m = main().menu;
  auto& timing = windows().timingOut->testControls();
  auto& masks = windows().packetMasks->testControls();
  auto& autoOut = *windows().autoOut;
  auto& gps = windows().gps->testControls();
  auto& altitude = windows().altitude->testControls();
  auto& serial = windows().serial->testControls();
  prompts.answers = {platform::PromptAnswer::No};

  const struct {
    const char* dialog;
    QAction* item;
    QWidget* window;
    std::function<QString()> shown;
    const char* before;
    std::function<void()> change;  // sets one control and presses its button
    const char* after;
    QPushButton* close;
  } cases[] = {
      {"Timing Outputs", m.SetupTiming, windows().timingOut.get(),
       [&] { return timing.Edit_Width->text(); }, "1.000e-05",
       [&] {
         timing.Edit_Width->setText(QStringLiteral("2.5e-5"));
         timing.Button_Width->click();
       },
       "2.500e-05", timing.Button_Close},
      {"Packet Masks", m.SetupIO, windows().packetMasks.get(),
       [&] { return QString::number(masks.CheckBox_PosDouble->isChecked()); }, "1",
       [&] {
         masks.CheckBox_PosDouble->click();
         masks.Button_Set35->click();
       },
       "0", masks.Button_Close},
      {"Port B Output", m.SetupPortBOutput, windows().autoOut.get(),
       [&] { return QString::number(autoOut.bitBox(30)->isChecked()); }, "0",
       [&] {
         autoOut.bitBox(30)->click();
         autoOut.testControls().Button_OK->click();
       },
       "1", autoOut.testControls().Button_Close},
      {"GPS Settings", m.SetupGPS, windows().gps.get(), [&] { return gps.Edit_PMask->text(); },
       "12.0",
       [&] {
         gps.Edit_PMask->setText(QStringLiteral("8"));
         gps.Button_Apply->click();
       },
       "8.0", gps.Button_Close},
      {"2D Altitude", m.Setup2DAltMode, windows().altitude.get(),
       [&] { return altitude.Edit_Altitude->text(); }, "0.000",
       [&] {
         altitude.Edit_Altitude->setText(QStringLiteral("250.5"));
         altitude.Button_Set->click();
       },
       "250.500", altitude.Button_Close},
      {"Serial Ports", m.SetupSerialPorts, windows().serial.get(),
       [&] { return serial.ComboBox_PortBParity->currentText(); }, "None",
       [&] {
         serial.ComboBox_PortBParity->setCurrentIndex(1);
         serial.Button_SetB->click();
       },
       "Odd", serial.Button_Close},
  };
  for (const auto& k : cases) {
    SCOPED_TRACE(k.dialog);
    open(k.item, k.window);
    EXPECT_EQ(k.shown(), QString::fromLatin1(k.before));
    k.change();
    k.close->click();
    EXPECT_FALSE(k.window->isVisible());
    runSeconds(1);
    open(k.item, k.window);
    EXPECT_EQ(k.shown(), QString::fromLatin1(k.after));
    k.close->click();
  }
  // The serial Set asked, and the PC line stayed as it was.
  ASSERT_EQ(prompts.messages.size(), 1u);
  EXPECT_EQ(prompts.messages[0].text, QStringLiteral("Change PC settings to match?"));
}

TEST_F(ConfigDialogsSimTest, OneSvModeAndUtcParameters) {
  auto& sv = windows().svNum->testControls();
  open(main().menu.SetupOneSVMode, windows().svNum.get());
  sv.ComboBox_SVNum->setCurrentIndex(5);
  sv.Button_OK->click();
  runSeconds(1);
  EXPECT_EQ(receiver().model().configuration().receiver.oneSatellite, 5);
  open(main().menu.SetupOneSVMode, windows().svNum.get());
  EXPECT_EQ(sv.ComboBox_SVNum->currentText(), QStringLiteral("5"));

  auto& utc = windows().utcParam->testControls();
  open(main().menu.ViewUtcParameters, windows().utcParam.get());
  for (widgets::ValuePanel* p : {utc.Panel_A0, utc.Panel_AETls, utc.Panel_WNt, utc.Panel_DN}) {
    EXPECT_FALSE(p->text().isEmpty()) << p->objectName().toStdString();
  }
}

TEST_F(ConfigDialogsSimTest, NewPpsWidthGoesOutAsItsEightBytes) {
  auto& c = windows().timingOut->testControls();
  open(main().menu.SetupTiming, windows().timingOut.get());
  const std::size_t before = cable->frames().size();
  c.Edit_Width->setText(QStringLiteral("0.0001"));
  c.Button_Width->click();
  ASSERT_EQ(cable->frames().size(), before + 1);
  EXPECT_EQ(cable->frames().back().bytes,
            (std::vector<std::uint8_t>{0x8E, 0x4F, 0x3F, 0x1A, 0x36, 0xE2, 0xEB, 0x1C, 0x43, 0x2D}));
  runSeconds(1);
  EXPECT_DOUBLE_EQ(receiver().model().configuration().timing.ppsWidth, 0.0001);
}

}  // namespace
