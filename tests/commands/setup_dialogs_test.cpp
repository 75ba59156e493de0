// The self-survey, initial position and time, datum, NMEA and segment revert
// dialogs as the operator uses them: controls set, buttons clicked, and the
// packets that reach the wire; refused input sends nothing. And how every
// configuration dialog ends.
#include <QCheckBox>
#include <QComboBox>
#include <QDialog>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
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
#include "widgets/lamp.h"
#include "widgets/value_panel.h"
#include "tests/support/window_fixture.h"

using namespace halvix;
using namespace halvix::testing;

namespace {

using Windows = app::Windows;

struct SendCase {
  const char* name;
  std::function<void(Windows&)> operate;
  std::vector<Bytes> packets;
};

void set(QLineEdit* e, const char* text) { e->setText(QString::fromLatin1(text)); }

const SendCase kSendCases[] = {
    {"SelfSurveyBothBoxes2000",
     [](Windows& w) {
       auto& c = w.selfSurvey->testControls();
       c.CheckBox_EnableSurvey->setChecked(true);
       c.CheckBox_Flag->setChecked(true);
       set(c.Edit_Limit, "2000");
       c.Button_Set->click();
     },
     {{0x8E, 0xA9, 0x01, 0x01, 0x00, 0x00, 0x07, 0xD0, 0x00, 0x00, 0x00, 0x00}}},
    {"SelfSurveyNoBoxes0",
     [](Windows& w) {
       set(w.selfSurvey->testControls().Edit_Limit, " 0 ");
       w.selfSurvey->testControls().Button_Set->click();
     },
     {{0x8E, 0xA9, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00}}},
    {"SurveyLimit86400",
     [](Windows& w) {
       set(w.briselSurvey->testControls().Edit_Limit, "86400");
       w.briselSurvey->testControls().Button_Set->click();
     },
     {{0x8E, 0x4B, 0x00, 0x01, 0x51, 0x80}}},
    {"SurveyLimitTopOfRange",
     [](Windows& w) {
       set(w.briselSurvey->testControls().Edit_Limit, "4294967295");
       w.briselSurvey->testControls().Button_Set->click();
     },
     {{0x8E, 0x4B, 0xFF, 0xFF, 0xFF, 0xFF}}},
    {"PortAOutputPpsAndRequest",
     [](Windows& w) {
       w.briselPortAOut->testControls().RadioButton_PPS0B->setChecked(true);
       w.briselPortAOut->testControls().RadioButton_RequestAD->setChecked(true);
       w.briselPortAOut->testControls().Button_Apply->click();
     },
     {{0x8E, 0x0B, 0x01}, {0x8E, 0xAD, 0x00}}},
    {"PortAOutputStartsAtBoth",
     [](Windows& w) { w.briselPortAOut->testControls().Button_OK->click(); },
     {{0x8E, 0x0B, 0x03}, {0x8E, 0xAD, 0x03}}},
    {"Latitude45IsJustBelowQuarterPi",
     [](Windows& w) {
       auto& c = w.initialPos->testControls();
       set(c.Edit_Lat, "45");
       set(c.Edit_Lon, "-90");
       set(c.Edit_Alt, "35.5");
       c.Button_SetLLA->click();
     },
     {{0x32, 0x3F, 0x49, 0x0F, 0xD0, 0xBF, 0xC9, 0x0F, 0xD0, 0x42, 0x0E, 0x00, 0x00}}},
    {"EcefGoesOutUnchanged",
     [](Windows& w) {
       auto& c = w.initialPos->testControls();
       set(c.Edit_X, "1");
       set(c.Edit_Y, "-2");
       set(c.Edit_Z, "0.5");
       c.Button_SetECEF->click();
     },
     {{0x31, 0x3F, 0x80, 0x00, 0x00, 0xC0, 0x00, 0x00, 0x00, 0x3F, 0x00, 0x00, 0x00}}},
    {"DatumNad83",
     [](Windows& w) {
       w.datum->testControls().ComboBox_Datum->setCurrentIndex(7);
       w.datum->testControls().Button_Apply->click();
     },
     {{0x8E, 0x15, 0x00, 0x07}}},
    {"DatumTokyoGsi",
     [](Windows& w) {
       w.datum->testControls().ComboBox_Datum->setCurrentIndex(179);
       w.datum->testControls().Button_OK->click();
     },
     {{0x8E, 0x15, 0x00, 0xB3}}},
    {"DatumNoSelection",
     [](Windows& w) { w.datum->testControls().Button_Apply->click(); },
     {{0x8E, 0x15, 0xFF, 0xFF}}},
    {"NmeaGgaAndRmcEverySecond",
     [](Windows& w) {
       auto& c = w.nmea->testControls();
       set(c.Edit_Interval, "1");
       c.CheckBox_GGA->setChecked(true);
       c.CheckBox_RMC->setChecked(true);
       c.Button_Apply->click();
     },
     {{0x7A, 0x00, 0x01, 0x00, 0x00, 0x01, 0x01}}},
    {"NmeaAllSentences",
     [](Windows& w) {
       auto& c = w.nmea->testControls();
       set(c.Edit_Interval, "255");
       for (const auto& s : w.nmea->sentenceBoxes()) s.box->setChecked(true);
       c.Button_OK->click();
     },
     {{0x7A, 0x00, 0xFF, 0x00, 0x00, 0x01, 0x3F}}},
    {"RevertUtcInfo",
     [](Windows& w) {
       w.defaultSettings->testControls().ComboBox_Segment->setCurrentIndex(7);
       w.defaultSettings->testControls().Button_Apply->click();
     },
     {{0x8E, 0x45, 0x0B}}},
    {"RevertStartsAtReceiverConfiguration",
     [](Windows& w) { w.defaultSettings->testControls().Button_OK->click(); },
     {{0x8E, 0x45, 0x02}}},
};

class DialogSendTest : public WindowFixture, public ::testing::WithParamInterface<SendCase> {};

TEST_P(DialogSendTest, SendsThePackets) {
  GetParam().operate(*windows);
  EXPECT_EQ(sent(), GetParam().packets);
}

INSTANTIATE_TEST_SUITE_P(Dialogs, DialogSendTest, ::testing::ValuesIn(kSendCases),
                         [](const auto& info) { return std::string(info.param.name); });

// Input the receiver would misread is refused with a message naming the field.
struct RefusalCase {
  const char* name;
  std::function<void(Windows&)> operate;
  const char* title;
  const char* text;  // the start of the message
};

const RefusalCase kRefusals[] = {
    {"SelfSurveyLimitNotANumber",
     [](Windows& w) {
       set(w.selfSurvey->testControls().Edit_Limit, "2000x");
       w.selfSurvey->testControls().Button_Set->click();
     },
     "Error", "Self Survey Limit: '2000x'"},
    {"SurveyLimitNegative",
     [](Windows& w) {
       set(w.briselSurvey->testControls().Edit_Limit, "-1");
       w.briselSurvey->testControls().Button_Set->click();
     },
     "Error", "Auto-survey Limit: '-1'"},
    {"SurveyLimitBeyond32Bits",
     [](Windows& w) {
       set(w.briselSurvey->testControls().Edit_Limit, "4294967296");
       w.briselSurvey->testControls().Button_Set->click();
     },
     "Error", "Auto-survey Limit: '4294967296'"},
    {"NmeaIntervalBeyondItsByte",
     [](Windows& w) {
       set(w.nmea->testControls().Edit_Interval, "300");
       w.nmea->testControls().Button_OK->click();
     },
     "Error", "Output Interval: '300' is out of range"},
    {"NmeaIntervalNotANumber",
     [](Windows& w) {
       set(w.nmea->testControls().Edit_Interval, "one");
       w.nmea->testControls().Button_Apply->click();
     },
     "Error", "Output Interval: 'one'"},
    {"OnlyTheFirstEmptyPositionFieldIsNamed",
     [](Windows& w) {
       set(w.initialPos->testControls().Edit_Alt, "12");
       w.initialPos->testControls().Button_SetLLA->click();
     },
     "Warning", "Latitude must be a floating point number."},
    {"EcefWarningsNameTheAxis",
     [](Windows& w) {
       set(w.initialPos->testControls().Edit_X, "1");
       set(w.initialPos->testControls().Edit_Z, "3");
       w.initialPos->testControls().Button_SetECEF->click();
     },
     "Warning", "Y must be a floating point number."},
    {"PositionFieldThatIsNotANumber",
     [](Windows& w) {
       set(w.initialPos->testControls().Edit_Lat, "48.85");
       set(w.initialPos->testControls().Edit_Lon, "2,35");
       set(w.initialPos->testControls().Edit_Alt, "35");
       w.initialPos->testControls().Button_SetLLA->click();
     },
     "Error", "Longitude: '2,35'"},
    {"EcefBeyondSingleRange",
     [](Windows& w) {
       set(w.initialPos->testControls().Edit_X, "1");
       set(w.initialPos->testControls().Edit_Y, "2");
       set(w.initialPos->testControls().Edit_Z, "1e39");
       w.initialPos->testControls().Button_SetECEF->click();
     },
     "Error", "Z: '1e39'"},
};

class DialogRefusalTest : public WindowFixture,
                          public ::testing::WithParamInterface<RefusalCase> {};

TEST_P(DialogRefusalTest, SendsNothingAndSaysWhy) {
  windows->nmea->show();
  GetParam().operate(*windows);
  EXPECT_TRUE(sent().empty());
  ASSERT_EQ(prompts.messages.size(), 1u);
  EXPECT_EQ(prompts.messages[0].title, QString::fromLatin1(GetParam().title));
  EXPECT_TRUE(prompts.messages[0].text.startsWith(QString::fromLatin1(GetParam().text)))
      << prompts.messages[0].text.toStdString();
  // A refused OK keeps the dialog open for the correction.
  EXPECT_TRUE(windows->nmea->isVisible());
}

INSTANTIATE_TEST_SUITE_P(Dialogs, DialogRefusalTest, ::testing::ValuesIn(kRefusals),
                         [](const auto& info) { return std::string(info.param.name); });

using DialogTest = WindowFixture;

TEST_F(DialogTest, ActivationSendsEachQuery) {
  const struct {
    QWidget* window;
    Bytes query;
  } cases[] = {{windows->selfSurvey.get(), {0x8E, 0xA9}},
               {windows->briselSurvey.get(), {0x8E, 0x4B}},
               {windows->briselPortAOut.get(), {0x8E, 0xA5}},
               {windows->datum.get(), {0x8E, 0x15}},
               {windows->nmea.get(), {0x7A, 0x00}},
               {windows->defaultSettings.get(), {}},
               {windows->initialPos.get(), {}},
               {windows->initialTime.get(), {}}};
  for (const auto& k : cases) {
    SCOPED_TRACE(k.window->objectName().toStdString());
    activate(k.window);
    const std::vector<Bytes> packets = sent();
    EXPECT_EQ(packets, k.query.empty() ? std::vector<Bytes>{} : std::vector<Bytes>{k.query});
  }
}

TEST_F(DialogTest, DatumListHoldsEveryDatumByNumber) {
  const QComboBox* list = windows->datum->testControls().ComboBox_Datum;
  ASSERT_EQ(list->count(), 180);
  EXPECT_EQ(list->itemText(7), QStringLiteral("NAD-83"));
  EXPECT_EQ(list->itemText(179), QStringLiteral("Tokyo GSI coords"));
}

TEST_F(DialogTest, SetTimeSendsThePcClockAsGpsWeekAndTime) {
  // 1,000,000,000 s after the GPS epoch.
  pcClock.setNow(platform::UtcDateTime{2011, 9, 14, 1, 46, 40});
  windows->initialTime->testControls().Button_SetTime->click();
  EXPECT_EQ(sent(), (std::vector<Bytes>{{0x2E, 0x48, 0x81, 0xB0, 0x00, 0x06, 0x75}}));

  const auto split = commands::SplitGpsSeconds(1'000'000'000.0);
  EXPECT_EQ(split.week, 1653);
  EXPECT_EQ(split.timeOfWeek, 265600.0f);
}

TEST_F(DialogTest, AcceptanceLampIsGreyEachTimeTheWindowOpens) {
  auto& d = *windows->initialTime;
  widgets::Lamp* lamp = d.testControls().Shape_TimeAccepted;
  d.show();
  lamp->setColor(Qt::red);
  d.testControls().Button_Cancel->click();
  EXPECT_FALSE(d.isVisible());
  EXPECT_TRUE(lamp->is(widgets::kLampIdle));
  d.show();
  lamp->setColor(QColor::fromRgb(widgets::kLampLit));
  d.close();
  EXPECT_TRUE(lamp->is(widgets::kLampIdle));
}

TEST_F(DialogTest, RevertSegmentMovesThePcPortOnlyForTheSerialSegments) {
  auto& d = *windows->defaultSettings;
  const struct {
    int item;
    std::uint8_t segment;
    bool portMoves;
  } cases[] = {{7, 0x0B, false}, {2, 0x04, true}, {8, 0xFF, true}, {0, 0x02, false}};
  for (const auto& k : cases) {
    SCOPED_TRACE(k.item);
    main().ShowSerialCaption(QStringLiteral("untouched"));
    const std::size_t lines = device.lines().size();
    d.testControls().ComboBox_Segment->setCurrentIndex(k.item);
    d.testControls().Button_Apply->click();
    EXPECT_EQ(sent(), (std::vector<Bytes>{{0x8E, 0x45, k.segment}}));
    EXPECT_EQ(device.lines().size(), lines + (k.portMoves ? 1 : 0));
    if (!k.portMoves) {
      EXPECT_EQ(main().testControls().Panel_Serial->text(), QStringLiteral("untouched"));
      continue;
    }
    EXPECT_EQ(main().testControls().Panel_Serial->text(), QStringLiteral("COM1 9600, 8-Odd-1"));
    EXPECT_EQ(device.lines().back(),
              (link::LineSettings{9600, 8, link::Parity::Odd, link::StopBits::One}));
  }
}

TEST_F(DialogTest, RevertSegmentCancelledSendsNothingAndStaysOpen) {
  auto& d = *windows->defaultSettings;
  d.show();
  const std::size_t lines = device.lines().size();
  d.testControls().ComboBox_Segment->setCurrentIndex(8);
  for (QPushButton* b : {d.testControls().Button_OK, d.testControls().Button_Apply}) {
    prompts.answers.push_back(platform::PromptAnswer::Cancel);
    b->click();
  }
  EXPECT_TRUE(sent().empty());
  EXPECT_EQ(device.lines().size(), lines);
  EXPECT_TRUE(d.isVisible());
  ASSERT_EQ(prompts.messages.size(), 2u);
  EXPECT_EQ(prompts.messages[0].title, QStringLiteral("Revert Segment"));
  EXPECT_EQ(prompts.messages[0].buttons, platform::PromptButtons::OkCancel);
  EXPECT_EQ(prompts.messages[0].icon, platform::PromptIcon::Exclamation);
  // Confirmed, OK sends and closes.
  d.testControls().Button_OK->click();
  EXPECT_EQ(sent(), (std::vector<Bytes>{{0x8E, 0x45, 0xFF}}));
  EXPECT_FALSE(d.isVisible());
}

// How every dialog ends, driven through its buttons found by name: OK sends
// what Apply (or Set) sends and closes, the sending button leaves the dialog
// open, and Close sends nothing and closes.
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
