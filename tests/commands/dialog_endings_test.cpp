// How every configuration dialog ends, driven through its buttons as the
// operator clicks them: "&OK" sends what "&Apply" (or "&Set") sends and
// closes, the sending button leaves the dialog open, and "&Close" sends
// nothing and closes. The buttons are found by their names.
#include <QCheckBox>
#include <QDialog>
#include <QLineEdit>
#include <QPushButton>
#include <functional>

#include "commands/altitude_dialog.h"
#include "commands/auto_out_dialog.h"
#include "commands/brisel_port_a_out_dialog.h"
#include "commands/brisel_survey_dialog.h"
#include "commands/datum_dialog.h"
#include "commands/default_dialog.h"
#include "commands/gps_dialog.h"
#include "commands/initial_pos_dialog.h"
#include "commands/initial_time_dialog.h"
#include "commands/nmea_dialog.h"
#include "commands/packet_masks_dialog.h"
#include "commands/self_survey_dialog.h"
#include "commands/serial_dialog.h"
#include "commands/sv_num_dialog.h"
#include "commands/timing_out_dialog.h"
#include "tests/support/window_fixture.h"

using namespace halvix;
using halvix::testing::Bytes;
using halvix::testing::WindowFixture;

namespace {

using Windows = app::Windows;

struct Ending {
  const char* name;
  std::function<QDialog*(Windows&)> dialog;
  // Fills what the send needs; may be empty.
  std::function<void(QDialog*)> fill;
  const char* send;   // the button that sends and stays open, or null
  const char* ok;     // the button that sends and closes, or null
  const char* close;  // the button that only closes
  Bytes head;         // the start of the first packet sent
};

void Type(QDialog* d, const char* edit, const char* text) {
  d->findChild<QLineEdit*>(QString::fromLatin1(edit))->setText(QString::fromLatin1(text));
}

const Ending kEndings[] = {
    {"AutoOut", [](Windows& w) { return w.autoOut.get(); }, {}, "Button_Apply", "Button_OK",
     "Button_Close", {0x8E, 0x4D, 0, 0, 0, 0}},
    {"Datum", [](Windows& w) { return w.datum.get(); }, {}, "Button_Apply", "Button_OK",
     "Button_Close", {0x8E, 0x15, 0xFF, 0xFF}},
    {"Default", [](Windows& w) { return w.defaultSettings.get(); }, {}, "Button_Apply",
     "Button_OK", "Button_Close", {0x8E, 0x45, 0x02}},
    {"Gps", [](Windows& w) { return w.gps.get(); }, {}, "Button_Apply", "Button_OK",
     "Button_Close", {0xBB, 0x00}},
    {"Nmea", [](Windows& w) { return w.nmea.get(); },
     [](QDialog* d) { Type(d, "Edit_Interval", "5"); }, "Button_Apply", "Button_OK",
     "Button_Close", {0x7A, 0x00, 0x05}},
    {"SvNum", [](Windows& w) { return w.svNum.get(); }, {}, "Button_Apply", "Button_OK",
     "Button_Close", {0x34, 0xFF}},
    {"BriselPortAOut", [](Windows& w) { return w.briselPortAOut.get(); }, {}, "Button_Apply",
     "Button_OK", "Button_Cancel", {0x8E, 0x0B, 0x03}},
    {"Altitude", [](Windows& w) { return w.altitude.get(); }, {}, "Button_Set", nullptr,
     "Button_Close", {0x2A, 0, 0, 0, 0}},
    {"BriselSurvey", [](Windows& w) { return w.briselSurvey.get(); },
     [](QDialog* d) { Type(d, "Edit_Limit", "7"); }, "Button_Set", nullptr, "Button_Close",
     {0x8E, 0x4B, 0, 0, 0, 7}},
    {"SelfSurvey", [](Windows& w) { return w.selfSurvey.get(); },
     [](QDialog* d) { Type(d, "Edit_Limit", "7"); }, "Button_Set", nullptr, "Button_Close",
     {0x8E, 0xA9, 0, 0, 0, 0, 0, 7}},
    {"InitialPos", [](Windows& w) { return w.initialPos.get(); },
     [](QDialog* d) {
       for (const char* e : {"Edit_X", "Edit_Y", "Edit_Z"}) Type(d, e, "0");
     },
     "Button_SetECEF", nullptr, "Button_Close", {0x31, 0, 0, 0, 0}},
    {"InitialTime", [](Windows& w) { return w.initialTime.get(); }, {}, "Button_SetTime", nullptr,
     "Button_Cancel", {0x2E}},
    {"TimingOut", [](Windows& w) { return w.timingOut.get(); },
     [](QDialog* d) { Type(d, "Edit_Width", "0"); }, "Button_Width", nullptr, "Button_Close",
     {0x8E, 0x4F, 0, 0}},
    {"PacketMasks", [](Windows& w) { return w.packetMasks.get(); }, {}, "Button_Set35", nullptr,
     "Button_Close", {0x35, 0, 0, 0, 0}},
    {"Serial", [](Windows& w) { return w.serial.get(); }, {}, nullptr, nullptr, "Button_Close",
     {}},
};

class DialogEndingTest : public WindowFixture, public ::testing::WithParamInterface<Ending> {
 protected:
  QPushButton* button(QDialog* d, const char* name) {
    auto* b = d->findChild<QPushButton*>(QString::fromLatin1(name));
    EXPECT_NE(b, nullptr) << name;
    return b;
  }
  // The packets a click put on the wire, the first checked against the case.
  std::vector<Bytes> click(QDialog* d, const char* name) {
    sent();
    button(d, name)->click();
    std::vector<Bytes> packets = sent();
    const Bytes& head = GetParam().head;
    EXPECT_FALSE(packets.empty()) << name;
    if (!packets.empty() && packets[0].size() >= head.size()) {
      EXPECT_EQ(Bytes(packets[0].begin(), packets[0].begin() + static_cast<long>(head.size())),
                head)
          << name;
    }
    return packets;
  }
};

TEST_P(DialogEndingTest, SendStaysOkClosesAfterSendingCloseOnlyCloses) {
  const Ending& k = GetParam();
  QDialog* d = k.dialog(*windows);
  if (k.fill) k.fill(d);
  std::vector<Bytes> applied;
  if (k.send != nullptr) {
    d->show();
    applied = click(d, k.send);
    EXPECT_TRUE(d->isVisible()) << k.send << " leaves the dialog open";
  }
  if (k.ok != nullptr) {
    d->show();
    EXPECT_EQ(click(d, k.ok), applied);
    EXPECT_FALSE(d->isVisible()) << "OK closes after sending";
  }
  d->show();
  sent();
  button(d, k.close)->click();
  EXPECT_TRUE(sent().empty()) << "Close sends nothing";
  EXPECT_FALSE(d->isVisible());
  EXPECT_TRUE(prompts.messages.empty() || k.name == std::string("Default"))
      << prompts.messages.front().text.toStdString();
}

INSTANTIATE_TEST_SUITE_P(Dialogs, DialogEndingTest, ::testing::ValuesIn(kEndings),
                         [](const auto& info) { return std::string(info.param.name); });

}  // namespace
