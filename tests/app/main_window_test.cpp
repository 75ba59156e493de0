// The main window as the operator and the decoders see it: every named
// control with its caption, hint and first state, the menu frame, the
// windows created at start-up, the display reset and timing blanking, the
// lamps, the hint panel, and the clicks that open windows.
#include <gtest/gtest.h>

#include <QAccessible>
#include <QAction>
#include <QComboBox>
#include <QApplication>
#include <QDialog>
#include <QMenu>
#include <QMenuBar>
#include <QTest>
#include <QTimer>
#include <atomic>
#include <chrono>
#include <map>
#include <thread>

#include "commands/altitude_dialog.h"
#include "commands/auto_out_dialog.h"
#include "commands/brisel_port_a_out_dialog.h"
#include "commands/brisel_survey_dialog.h"
#include "commands/datum_dialog.h"
#include "commands/default_dialog.h"
#include "commands/initial_pos_dialog.h"
#include "commands/initial_time_dialog.h"
#include "commands/nmea_dialog.h"
#include "commands/packet_masks_dialog.h"
#include "commands/sv_num_dialog.h"
#include "reports/add_timing_window.h"
#include "reports/charts_window.h"
#include "reports/ephem_stat_window.h"
#include "reports/raw_meas_window.h"
#include "reports/utc_param_window.h"
#include "reports/vel_pos_window.h"
#include "tools/about_window.h"
#include "tools/alm_health_window.h"
#include "tools/almanac_data_window.h"
#include "tools/log_qlip_window.h"
#include "app/main_window.h"
#include "app/splash_window.h"
#include "app/windows.h"
#include "commands/gps_dialog.h"
#include "commands/self_survey_dialog.h"
#include "commands/serial_dialog.h"
#include "commands/timing_out_dialog.h"
#include "widgets/group_panel.h"
#include "widgets/lamp.h"
#include "reports/product_window.h"
#include "reports/track_window.h"
#include "widgets/value_panel.h"
#include "session/receiver_session.h"
#include "session/scheduler.h"
#include "tests/support/scripted_device.h"
#include "tests/support/scripted_prompts.h"
#include "tests/support/session_rig.h"
#include "tools/diagnostics_window.h"
#include "tools/eeprom_window.h"

using namespace halvix;
using namespace halvix::widgets;
using namespace halvix::testing;

namespace {

const QColor kGrey = QColor::fromRgb(widgets::kLampIdle);
const QColor kLime = QColor::fromRgb(widgets::kLampLit);
const QColor kYellow = QColor::fromRgb(widgets::kLampAlarm);

session::SessionOptions Com3() {
  session::SessionOptions options;
  options.port = app::PortChoiceForCom(3).deviceName;
  options.portLabel = QStringLiteral("COM3");
  options.renegotiateWhenSilent = false;
  return options;
}

class MainWindowTest : public ::testing::Test, protected halvix::testing::SessionRig {
 protected:
  MainWindowTest() : SessionRig(0, Com3()) {}
  ScriptedPrompts prompts;
  std::unique_ptr<app::AppContext> context;
  std::unique_ptr<app::Windows> windows;

  void make(bool developer = false) {
    windows.reset();
    context.reset(new app::AppContext{app::PortChoiceForCom(3), developer, clock, link, prompts});
    windows = app::CreateWindows(*context, session);
    ASSERT_NE(windows, nullptr);
  }
  void SetUp() override { make(); }
  void TearDown() override {
    for (QWidget* w : windows->creationOrder) w->hide();
  }

  app::TForm_Main& main() { return *windows->main; }
  template <typename T = QWidget>
  T* find(const char* name) {
    return main().findChild<T*>(QString::fromLatin1(name));
  }
  ValuePanel* panel(const char* name) { return find<ValuePanel>(name); }
  Lamp* lamp(const char* name) { return find<Lamp>(name); }
};

const char* const kValuePanels[] = {
    "Panel_Time",      "Panel_UTCOffset",   "Panel_TOW",      "Panel_WeekNum",   "Panel_Date",
    "Panel_Latitude",  "Panel_Longitude",   "Panel_Altitude", "Panel_SelfSurvey", "Panel_PPSOffset",
    "Panel_10MHz",     "Panel_Quantization", "Panel_Mode",    "Panel_Status"};

TEST_F(MainWindowTest, FrameAndGroups) {
  EXPECT_EQ(main().windowTitle(), QStringLiteral("Halvix"));
  EXPECT_EQ(main().objectName(), QStringLiteral("Form_Main"));
  EXPECT_EQ(main().centralWidget()->size(), QSize(470, 385));
  EXPECT_EQ(main().minimumSize(), main().maximumSize());
  EXPECT_TRUE(main().windowFlags() & Qt::WindowMinimizeButtonHint);
  EXPECT_FALSE(main().windowFlags() & Qt::WindowMaximizeButtonHint);

  struct Group {
    const char* name;
    const char* title;
    const char* hint;
    std::vector<const char*> members;
  };
  const Group groups[] = {
      {"Panel_Timing", "Time:", "Time: Packet 8F-AB",
       {"Panel_Time", "Panel_UTCOffset", "Panel_TOW", "Panel_WeekNum", "Panel_Date", "Label_TimeType"}},
      {"Panel_Position", "Position:", "Position: Packet 8F-AC",
       {"Panel_Latitude", "Panel_Longitude", "Panel_Altitude", "Panel_SelfSurvey"}},
      {"Panel_TimingOutputs", "Timing Outputs:", "Timing Outputs: Packet 8F-AC",
       {"Panel_PPSOffset", "Panel_10MHz", "Panel_Quantization", "Shape_PPS"}},
      {"Panel_ModeAndStatus", "Mode and Status:", "Mode and Status: Packet 8F-AC",
       {"Panel_Mode", "Panel_Status"}},
      {"Panel_MinorAlarms", "Minor Alarms:", "Minor Alarms: Packet 8F-AC", {"Shape_Bit3", "Shape_Bit11"}},
      {"Panel_SVData", "SV Data:", "Signal Levels: Packet 5C; SV Selection: Packet 6D",
       {"Panel_SV1", "Panel_AMU12"}},
  };
  const QRect client = main().centralWidget()->rect();
  for (const Group& g : groups) {
    SCOPED_TRACE(g.name);
    auto* box = find<widgets::GroupPanel>(g.name);
    ASSERT_NE(box, nullptr);
    EXPECT_EQ(box->toolTip(), QString::fromLatin1(g.hint));
    EXPECT_TRUE(client.contains(box->geometry()));
    bool titled = false;
    for (QLabel* l : box->findChildren<QLabel*>()) {
      if (l->text() == QString::fromLatin1(g.title)) titled = l->font().bold();
    }
    EXPECT_TRUE(titled) << "bold title";
    for (const char* m : g.members) {
      auto* w = box->findChild<QWidget*>(QString::fromLatin1(m));
      ASSERT_NE(w, nullptr) << m;
      EXPECT_TRUE(box->rect().contains(w->geometry())) << m << " overflows its group";
    }
  }
}

TEST_F(MainWindowTest, ValuePanelsLampsAndCaptionsStartAsLaidOut) {
  for (const char* name : kValuePanels) {
    ValuePanel* p = panel(name);
    ASSERT_NE(p, nullptr) << name;
    EXPECT_TRUE(p->text().isEmpty()) << name;
    EXPECT_TRUE(p->isLive()) << name;
  }
  EXPECT_EQ(find<QLabel>("Label_TimeType")->text(), QStringLiteral("GPS"));
  ASSERT_NE(lamp("Shape_PPS"), nullptr);
  EXPECT_EQ(lamp("Shape_PPS")->color(), kGrey);
  EXPECT_EQ(lamp("Shape_PPS")->toolTip(), QStringLiteral("When green, PPS was generated"));

  const struct {
    int bit;
    const char* caption;
    const char* hint;
  } alarms[] = {
      {1, "Antenna Open", "When yellow, the antenna input is open"},
      {2, "Antenna Short", "When yellow, the antenna input is shorted"},
      {3, "Satellite Tracking", "When yellow, no satellites are usable"},
      {5, "Self-Survey Activity", "When Yellow, a self-survey is in progress"},
      {6, "Stored Position", "When Yellow, a stored position does not exist"},
      {7, "Leap Second Pending", "When yellow, a leap second event is pending"},
      {8, "Test Mode", "When yellow, the unit is in a test mode"},
      {9, "Position Questionable", "When yellow, the position accuracy is questionable"},
      {10, "EEPROM Invalid", "When yellow, invalid EEPROM segments detected"},
      {11, "Almanac", "When yellow, almanac is not complete or current"},
  };
  for (const auto& a : alarms) {
    SCOPED_TRACE(a.bit);
    Lamp* l = lamp(QStringLiteral("Shape_Bit%1").arg(a.bit).toLatin1().constData());
    auto* label = find<QLabel>(QStringLiteral("Label_MA%1").arg(a.bit).toLatin1().constData());
    ASSERT_NE(l, nullptr);
    ASSERT_NE(label, nullptr);
    EXPECT_EQ(main().testControls().Shape_Bit[static_cast<std::size_t>(a.bit)], l);
    EXPECT_EQ(label->text(), QString::fromLatin1(a.caption));
    EXPECT_EQ(l->toolTip(), QString::fromLatin1(a.hint));
    EXPECT_EQ(l->color(), kGrey);
    const bool antenna = a.bit <= 2;
    EXPECT_EQ(l->isHidden(), antenna);
    EXPECT_EQ(label->isHidden(), antenna);
  }
  // The receiver-type switch re-spaces the lamps from these two tops.
  EXPECT_EQ(lamp("Shape_Bit1")->y(), 29);
  EXPECT_EQ(lamp("Shape_Bit11")->y(), 165);
  for (int bit : {0, 4, 12, 13, 14, 15}) EXPECT_EQ(main().testControls().Shape_Bit[static_cast<std::size_t>(bit)], nullptr);

  for (int n = 1; n <= 12; ++n) {
    SCOPED_TRACE(n);
    ValuePanel* sv = panel(QStringLiteral("Panel_SV%1").arg(n).toLatin1().constData());
    ValuePanel* amu = panel(QStringLiteral("Panel_AMU%1").arg(n).toLatin1().constData());
    ASSERT_NE(sv, nullptr);
    ASSERT_NE(amu, nullptr);
    EXPECT_EQ(main().testControls().Panel_SV[static_cast<std::size_t>(n - 1)], sv);
    EXPECT_EQ(sv->text(), QStringLiteral("0"));
    EXPECT_EQ(amu->text(), QStringLiteral("0.0"));
    EXPECT_TRUE(sv->isLive());
    EXPECT_EQ(sv->toolTip(), QStringLiteral("Green, SV is used for fixes; Yellow, TRAIM reject"));
    EXPECT_EQ(amu->toolTip(), QStringLiteral("Tracking Status: Packets 3C, 5C"));
    if (n > 1) {
      EXPECT_GT(sv->y(), main().testControls().Panel_SV[static_cast<std::size_t>(n - 2)]->y()) << "rows in order";
    }
  }
}

TEST_F(MainWindowTest, StatusBar) {
  const struct {
    const char* name;
    const char* hint;
    int width;
  } panels[] = {{"Panel_TxRx", "Serial Activity", 61},
                {"Panel_Hint", "Hint Box", 470 - 61 - 32 - 121},
                {"Panel_Version", "Firmware Version", 32},
                {"Panel_Serial", "Serial Port Configuration", 121}};
  int left = 0;
  for (const auto& p : panels) {
    SCOPED_TRACE(p.name);
    auto* w = find(p.name);
    ASSERT_NE(w, nullptr);
    EXPECT_EQ(w->toolTip(), QString::fromLatin1(p.hint));
    EXPECT_EQ(w->width(), p.width);
    EXPECT_EQ(w->x(), left) << "left to right without gaps";
    EXPECT_EQ(w->geometry().bottom(), 384);
    left += p.width;
  }
  for (const char* name : {"Shape_TxLED", "Shape_RxLED"}) {
    Lamp* l = lamp(name);
    ASSERT_NE(l, nullptr);
    EXPECT_EQ(l->parentWidget()->objectName(), QStringLiteral("Panel_TxRx"));
    EXPECT_EQ(l->size(), QSize(7, 7));
    EXPECT_EQ(l->color(), kGrey);
  }
  QStringList texts;
  for (QLabel* l : find("Panel_TxRx")->findChildren<QLabel*>()) texts << l->text();
  EXPECT_TRUE(texts.contains(QStringLiteral("Tx")));
  EXPECT_TRUE(texts.contains(QStringLiteral("Rx")));
}

// Every item of the menu frame, triggered as the operator chooses it: an item
// that names a window shows that window and no other; the others send their
// packet, show their help, or keep their check mark to their handler.
TEST_F(MainWindowTest, EveryMenuItemDoesItsJob) {
  auto* bar = main().findChild<QMenuBar*>(QStringLiteral("MainMenu_Main"));
  ASSERT_NE(bar, nullptr);
  QStringList titles;
  for (QAction* a : bar->actions()) titles << a->text();
  EXPECT_EQ(titles, (QStringList{"&Control", "&Setup", "&Window", "&Help"}));
  ASSERT_EQ(link.OpenLink(QStringLiteral("x")), 0);

  app::Windows& w = *windows;
  const std::map<QString, QWidget*> opens = {
      {"ControlUploadPos", w.initialPos.get()},    {"ControlUploadTime", w.initialTime.get()},
      {"ControlRecordQlip", w.logQlip.get()},       {"SetupGPS", w.gps.get()},
      {"SetupOneSVMode", w.svNum.get()},            {"Setup2DAltMode", w.altitude.get()},
      {"SetupIO", w.packetMasks.get()},             {"SetupPortBOutput", w.autoOut.get()},
      {"SetupTiming", w.timingOut.get()},           {"SetupDatum", w.datum.get()},
      {"SetupNMEAOutpu", w.nmea.get()},             {"SetupDefaultSegments", w.defaultSettings.get()},
      {"SetupPortAOutput", w.briselPortAOut.get()}, {"SetupSelfSurvey", w.selfSurvey.get()},
      {"SetupBriselSelfSurvey", w.briselSurvey.get()}, {"SetupSerialPorts", w.serial.get()},
      {"WindowAddTiming", w.addTiming.get()},       {"WindowVelAndPos", w.velPos.get()},
      {"ViewTrack", w.track.get()},                 {"ViewRawMeas", w.rawMeas.get()},
      {"ViewEphemerisStatus", w.ephemStat.get()},   {"ViewProductInfo", w.product.get()},
      {"ViewUtcParameters", w.utcParam.get()},      {"ViewEEPROM", w.eeprom.get()},
      {"ViewAlmanacData", w.almanacData.get()},     {"ViewHealth", w.almHealth.get()},
      {"WindowCharts", w.charts.get()},             {"HelpAbout", w.about.get()},
  };
  const std::map<QString, Bytes> sends = {
      {"ControlTimeToPC", {0x10, 0x21, 0x10, 0x03}},
      // Developer tools: outside developer mode their keys send nothing.
      {"Control_SICode6", {}}, {"Control_SICode8", {}}, {"Control_SICode9", {}},
  };
  const auto shown = [&] {
    std::vector<QWidget*> out;
    for (QWidget* window : w.creationOrder) {
      if (window != &main() && window->isVisible()) out.push_back(window);
    }
    return out;
  };
  std::size_t opened = 0, sent = 0;
  for (QAction* item : bar->findChildren<QAction*>()) {
    const QString name = item->objectName();
    SCOPED_TRACE(name.toStdString());
    if (const auto o = opens.find(name); o != opens.end()) {
      item->trigger();
      EXPECT_EQ(shown(), std::vector<QWidget*>{o->second});
      o->second->hide();
      ++opened;
    } else if (const auto k = sends.find(name); k != sends.end()) {
      device.clearWrites();
      item->trigger();
      EXPECT_EQ(device.allWritten(), k->second);
      ++sent;
    }
  }
  EXPECT_EQ(opened, opens.size());
  EXPECT_EQ(sent, sends.size());

  main().menu.HelpHelp->trigger();
  EXPECT_EQ(prompts.helpShown, 1);
  // The hidden developer keys keep their shortcuts.
  EXPECT_EQ(main().menu.Control_SICode6->shortcut(), QKeySequence(Qt::Key_F6));
  EXPECT_EQ(main().menu.ControlCold->shortcut(), QKeySequence(Qt::CTRL | Qt::Key_K));

  // The separator that goes with "&NMEA Output...".
  ASSERT_NE(main().menu.N3, nullptr);
  EXPECT_TRUE(main().menu.N3->isSeparator());
  EXPECT_EQ(main().menu.N3->objectName(), QStringLiteral("N3"));
  const QList<QAction*> setup = main().menu.SetupMenu->actions();
  EXPECT_EQ(setup.indexOf(main().menu.N3) + 1, setup.indexOf(main().menu.SetupNMEAOutpu));

  // Check marks: none at start, and only the handlers may set them.
  for (QAction* a : main().menu.ControlRecType->actions()) {
    EXPECT_TRUE(a->isCheckable());
    EXPECT_FALSE(a->isChecked());
  }
  EXPECT_TRUE(main().menu.ControlPollingTimingPkts->isCheckable());
  main().menu.RecTypeDolvoUTC->trigger();
  EXPECT_FALSE(main().menu.RecTypeDolvoUTC->isChecked());
}

TEST_F(MainWindowTest, DiagnosticsOnlyInDeveloperMode) {
  for (bool developer : {false, true}) {
    SCOPED_TRACE(developer);
    make(developer);
    ASSERT_TRUE(main().FormCreate());
    EXPECT_EQ(main().menu.ViewDiagnostics->isVisible(), developer);
    QTest::mouseClick(main().testControls().Panel_TxRx, Qt::LeftButton);
    EXPECT_EQ(windows->diagnostics->isVisible(), developer);
    windows->diagnostics->hide();
    main().menu.ViewDiagnostics->trigger();
    EXPECT_EQ(windows->diagnostics->isVisible(), developer);
    windows->diagnostics->hide();
    main().FormClose();
  }
}

TEST_F(MainWindowTest, EveryWindowOnceInStartUpOrder) {
  const struct {
    const char* className;
    const char* caption;
  } expected[] = {{"TForm_Main", "Halvix"},
                  {"TForm_AutoOut", "Port B Automatic Output"},
                  {"TForm_Alm", "Almanac Loading Status"},
                  {"TForm_AlmanacData", "Almanac Data"},
                  {"TForm_AlmHealth", "Almanac Health Page"},
                  {"TForm_Altitude", "2D Altitude"},
                  {"TForm_About", "About Halvix"},
                  {"TForm_Default", "Revert to Default Settings"},
                  {"TForm_EphemStat", "Satellite Ephemeris Status"},
                  {"TForm_InitialPos", "Upload Accurate Position"},
                  {"TForm_InitialTime", "Time From PC"},
                  {"TForm_PacketMasks", "Packet Masks and Options"},
                  {"TForm_AddTiming", "Additional Timing Packets"},
                  {"TForm_Product", "Product Info"},
                  {"TForm_RawMeas", "Raw Measurement Data"},
                  {"TForm_GPS", "Receiver Configuration"},
                  {"TForm_Serial", "Serial Port Configuration"},
                  {"TForm_SVNum", "One-Satellite SV"},
                  {"TForm_Track", "Tracking Status"},
                  {"TForm_UTCParam", "UTC Parameters"},
                  {"TForm_Datum", "Select Datum"},
                  {"TForm_NMEA", "NMEA Output"},
                  {"TForm_EEPROM", "EEPROM Status"},
                  {"TForm_TimingOut", "Timing Outputs"},
                  {"TForm_VelPos", "Velocity and Positioning"},
                  {"TForm_LogQlip", "QLIP Logging Setup and Status"},
                  {"TForm_SelfSurvey", "Self Survey"},
                  {"TForm_Message", "Message"},
                  {"TForm_Diagnostics", "Diagnostics"},
                  {"TForm_BriselSurvey", "Set Survey  Limit"},
                  {"TForm_BriselPortAOut", "Port A Output"},
                  // Beyond the classic set, before the splash.
                  {"TForm_Charts", "Charts"},
                  {"TForm_Splash", nullptr}};
  const auto& order = windows->creationOrder;
  ASSERT_EQ(order.size(), std::size(expected));
  for (std::size_t i = 0; i < order.size(); ++i) {
    SCOPED_TRACE(expected[i].className);
    const QString cls = QString::fromLatin1(order[i]->metaObject()->className()).section(QStringLiteral("::"), -1);
    EXPECT_EQ(cls, QString::fromLatin1(expected[i].className));
    EXPECT_EQ(order[i]->objectName(), cls.mid(1));
    EXPECT_TRUE(order[i]->isWindow());
    EXPECT_FALSE(order[i]->isVisible());
    if (expected[i].caption != nullptr) {
      EXPECT_EQ(order[i]->windowTitle(), QString::fromLatin1(expected[i].caption));
    }
    if (auto* d = qobject_cast<QDialog*>(order[i])) {
      EXPECT_FALSE(d->isModal());
    }
    for (std::size_t j = 0; j < i; ++j) EXPECT_NE(order[i], order[j]);
  }
  // The splash: borderless, a lowered panel holding the stretched picture.
  app::TForm_Splash& splash = *windows->splash;
  EXPECT_TRUE(splash.windowFlags() & Qt::FramelessWindowHint);
  auto* picture = splash.findChild<QLabel*>(QStringLiteral("Image_Splash"));
  ASSERT_NE(picture, nullptr);
  EXPECT_EQ(picture->parentWidget()->objectName(), QStringLiteral("Panel_Splash"));
  EXPECT_TRUE(picture->hasScaledContents());
  EXPECT_FALSE(splash.picture().isNull());
  EXPECT_EQ(splash.size(), splash.picture().size() + QSize(7, 8));
}

TEST_F(MainWindowTest, DisplayResetBlanksTheLivePanelsAndOnRequestTheSatellites) {
  app::TForm_Main::Controls& c = main().testControls();
  for (const char* name : kValuePanels) panel(name)->setValue(QStringLiteral("x"), ValuePanel::buttonFaceColor());
  c.Shape_PPS->setColor(kLime);
  for (Lamp* l : c.Shape_Bit) {
    if (l != nullptr) l->setColor(kYellow);
  }
  c.Panel_SV[4]->setValue(QStringLiteral("17"), QColor::fromRgb(widgets::kPanelGreen));
  c.Panel_AMU[4]->setText(QStringLiteral("12.5"));

  // A report already waiting is shown before the blanking.
  std::vector<QString> seen;
  main().dispatcher().setDecoder("41", [&](const std::uint8_t*, int) { seen.push_back(c.Panel_Time->text()); });
  ASSERT_EQ(link.OpenLink(QStringLiteral("x")), 0);
  device.queueRead(Bytes{0x10, 0x41, 0x01, 0x10, 0x03});

  main().DisplayReset(false);
  EXPECT_EQ(seen, std::vector<QString>{QStringLiteral("x")});
  for (const char* name : kValuePanels) EXPECT_TRUE(panel(name)->text().isEmpty()) << name;
  // Only the timing panels get their window colour back.
  for (const char* name : {"Panel_PPSOffset", "Panel_10MHz", "Panel_Quantization", "Panel_SelfSurvey"})
    EXPECT_TRUE(panel(name)->isLive()) << name;
  EXPECT_TRUE(c.Panel_Time->isGreyed());
  EXPECT_EQ(c.Shape_PPS->color(), kGrey);
  for (Lamp* l : c.Shape_Bit) {
    if (l != nullptr) {
      EXPECT_EQ(l->color(), kGrey) << l->objectName().toStdString();
    }
  }
  EXPECT_EQ(c.Panel_SV[4]->text(), QStringLiteral("17"));
  EXPECT_EQ(c.Panel_AMU[4]->text(), QStringLiteral("12.5"));

  main().DisplayReset(true);
  for (std::size_t i = 0; i < 12; ++i) {
    EXPECT_EQ(c.Panel_SV[i]->text(), QStringLiteral("0"));
    EXPECT_EQ(c.Panel_AMU[i]->text(), QStringLiteral("0.0"));
    EXPECT_TRUE(c.Panel_SV[i]->isLive());
    EXPECT_TRUE(c.Panel_AMU[i]->isLive());
  }
}

TEST_F(MainWindowTest, TimingBlankingGreysOnlyTheTimingPanels) {
  app::TForm_Main::Controls& c = main().testControls();
  for (const char* name : kValuePanels) panel(name)->setLiveValue(QStringLiteral("x"));
  c.Shape_PPS->setColor(kLime);
  c.Shape_Bit[3]->setColor(kYellow);
  main().TimingPanelBlanking();
  for (const char* name : {"Panel_SelfSurvey", "Panel_PPSOffset", "Panel_10MHz", "Panel_Quantization"}) {
    EXPECT_TRUE(panel(name)->text().isEmpty()) << name;
    EXPECT_TRUE(panel(name)->isGreyed()) << name;
  }
  for (const char* name : {"Panel_Time", "Panel_Latitude", "Panel_Mode", "Panel_Status"}) {
    EXPECT_EQ(panel(name)->text(), QStringLiteral("x")) << name;
    EXPECT_TRUE(panel(name)->isLive()) << name;
  }
  EXPECT_EQ(c.Shape_PPS->color(), kGrey);
  EXPECT_EQ(c.Shape_Bit[3]->color(), kGrey);
}

TEST_F(MainWindowTest, LatitudeAndLongitudeClicksToggleTheStyle) {
  EXPECT_FALSE(context->display.showDegMinSec);
  QTest::mouseClick(main().testControls().Panel_Latitude, Qt::LeftButton);
  EXPECT_TRUE(context->display.showDegMinSec);
  QTest::mouseClick(main().testControls().Panel_Longitude, Qt::LeftButton);
  EXPECT_FALSE(context->display.showDegMinSec);
  QTest::mouseClick(main().testControls().Panel_Altitude, Qt::LeftButton);
  EXPECT_FALSE(context->display.showDegMinSec);
}

TEST_F(MainWindowTest, LampsFollowTraffic) {
  ASSERT_TRUE(main().FormCreate());
  Lamp* tx = main().testControls().Shape_TxLED;
  Lamp* rx = main().testControls().Shape_RxLED;
  const std::uint8_t query[] = {0x21};
  link.SendPacket(1, query);
  EXPECT_EQ(tx->color(), kLime);
  EXPECT_EQ(rx->color(), kGrey);

  // A send from another thread is handed to this one through the event queue,
  // which writes it and lights the lamp.
  tx->setColor(kGrey);
  const auto written = device.writes().size();
  std::atomic<bool> sent{false};
  std::thread worker([&] {
    link.SendPacket(1, query);
    sent = true;
  });
  const auto giveUp = std::chrono::steady_clock::now() + std::chrono::seconds(30);
  while (!sent && std::chrono::steady_clock::now() < giveUp) {
    QCoreApplication::processEvents();
    std::this_thread::yield();
  }
  if (!sent) link.CancelHandovers(true);
  worker.join();
  EXPECT_EQ(tx->color(), kLime);
  EXPECT_EQ(device.writes().size(), written + 1);
  EXPECT_EQ(device.callsFromOtherThreads(), 0);

  main().dispatcher().dispatch(0x41, query, 0);
  EXPECT_EQ(rx->color(), kLime);
  main().FormClose();
}

TEST_F(MainWindowTest, PollTicksQueryTheReceiverAfterTheBreakSequence) {
  ASSERT_TRUE(main().FormCreate());
  EXPECT_EQ(main().testControls().Panel_Serial->text(), QStringLiteral("COM3 9600, 8-None-1"));
  // The splash and the busy cursor stand while the line is negotiated.
  scheduler.advance(200);
  EXPECT_TRUE(windows->splash->isVisible());
  EXPECT_NE(QApplication::overrideCursor(), nullptr);
  // The break sequence runs down on its own and hands over to polling.
  for (int i = 0; i < 40 && session.state() != session::SessionState::Polling; ++i) scheduler.advance(200);
  EXPECT_EQ(session.state(), session::SessionState::Polling);
  EXPECT_FALSE(windows->splash->isVisible());
  EXPECT_EQ(QApplication::overrideCursor(), nullptr);
  EXPECT_EQ(main().testControls().Panel_Serial->text(), QStringLiteral("COM3 9600, 8-Odd-1"));
  EXPECT_EQ(device.lines().back(), (link::LineSettings{9600, 8, link::Parity::Odd, link::StopBits::One}));

  device.clearWrites();
  main().testControls().Shape_TxLED->setColor(kGrey);
  scheduler.advance(200);
  ASSERT_EQ(device.writes().size(), 1u);
  EXPECT_EQ(device.writes()[0].bytes, (Bytes{0x10, 0x3C, 0x00, 0x10, 0x03}));
  EXPECT_EQ(main().testControls().Shape_TxLED->color(), kLime);
  main().FormClose();
}

TEST_F(MainWindowTest, HintPanelMirrorsTheControlUnderTheMouse) {
  ASSERT_TRUE(main().FormCreate());
  auto enter = [](QWidget* w) {
    QEnterEvent e(QPointF(1, 1), QPointF(1, 1), QPointF(1, 1));
    QApplication::sendEvent(w, &e);
  };
  ValuePanel* hint = main().testControls().Panel_Hint;
  enter(main().testControls().Panel_Serial);
  EXPECT_EQ(hint->text(), QStringLiteral("Serial Port Configuration"));
  // A control without a hint of its own shows its group's.
  enter(main().testControls().Panel_Time);
  EXPECT_EQ(hint->text(), QStringLiteral("Time: Packet 8F-AB"));
  enter(main().testControls().Shape_Bit[7]);
  EXPECT_EQ(hint->text(), QStringLiteral("When yellow, a leap second event is pending"));
  QEvent leave(QEvent::Leave);
  QApplication::sendEvent(main().testControls().Shape_Bit[7], &leave);
  EXPECT_EQ(hint->text(), QStringLiteral("Minor Alarms: Packet 8F-AC"));
  main().FormClose();
}

TEST_F(MainWindowTest, CaptionClicksOpenTheirWindows) {
  struct Case {
    QWidget* target;
    QWidget* window;
  };
  const app::TForm_Main::Controls& c = main().testControls();
  const Case cases[] = {
      {c.Panel_Serial, windows->serial.get()},
      {c.Panel_Version, windows->product.get()},
      {c.Label_SVDataTitle, windows->track.get()},
      {c.Label_ModeAndStatusTitle, windows->gps.get()},
      {c.Label_TimingOutputsTitle, windows->timingOut.get()},
      {c.Label_SelfSurvey, windows->selfSurvey.get()},
      {c.Panel_SelfSurvey, windows->selfSurvey.get()},
      {c.Label_MA[10], windows->eeprom.get()},
  };
  for (const Case& k : cases) {
    SCOPED_TRACE(k.target->objectName().toStdString());
    QTest::mouseClick(k.target, Qt::LeftButton);
    EXPECT_TRUE(k.window->isVisible());
    k.window->hide();
  }
  main().menu.SetupGPS->trigger();
  EXPECT_TRUE(windows->gps->isVisible());
  main().menu.HelpHelp->trigger();
  EXPECT_EQ(prompts.helpShown, 1);
}

}  // namespace

namespace {

// What a screen reader is told: the serial dialog's lists read as what they
// show, "unknown" included, and every value panel of every window reads as
// its caption and the text it shows.
TEST_F(MainWindowTest, ListsAndValuePanelsReadThroughAccessibilityAsShown) {
  // A serial-port report for port A whose protocol codes are in no list.
  const std::uint8_t report[] = {0x00, 0x07, 0x07, 0x03, 0x01, 0x00, 0x00, 0x05, 0x09, 0x00};
  main().dispatcher().dispatch(0xBC, report, static_cast<int>(sizeof report));
  auto& s = windows->serial->testControls();
  for (QComboBox* list : {s.ComboBox_PortAInput, s.ComboBox_PortAOutput, s.ComboBox_PortABaudRate}) {
    SCOPED_TRACE(list->objectName().toStdString());
    QAccessibleInterface* a = QAccessible::queryAccessibleInterface(list);
    ASSERT_NE(a, nullptr);
    EXPECT_EQ(a->role(), QAccessible::ComboBox);
    const QString shown = list->currentIndex() >= 0 ? list->currentText() : list->placeholderText();
    EXPECT_FALSE(shown.isEmpty());
    EXPECT_EQ(a->text(QAccessible::Value), shown);
    EXPECT_FALSE(a->text(QAccessible::Name).isEmpty());
    EXPECT_EQ(a->childCount(), 1) << "the item list stays reachable";
  }
  EXPECT_EQ(QAccessible::queryAccessibleInterface(s.ComboBox_PortAInput)->text(QAccessible::Value),
            QStringLiteral("unknown"));

  int panels = 0;
  for (QWidget* window : windows->creationOrder) {
    for (ValuePanel* p : window->findChildren<ValuePanel*>()) {
      SCOPED_TRACE((window->objectName() + QLatin1Char('.') + p->objectName()).toStdString());
      p->setText(QStringLiteral("12.5"));
      QAccessibleInterface* a = QAccessible::queryAccessibleInterface(p);
      ASSERT_NE(a, nullptr);
      EXPECT_EQ(a->text(QAccessible::Value), QStringLiteral("12.5"));
      const QString name = a->text(QAccessible::Name);
      EXPECT_FALSE(name.isEmpty());
      EXPECT_NE(name, QStringLiteral("12.5"));
      ++panels;
    }
  }
  EXPECT_GT(panels, 100);
}

}  // namespace
