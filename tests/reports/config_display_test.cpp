// The configuration report decoders on a full window set: each report fills
// its dialog's controls and the reset test's read-back fields; a wrong length
// changes nothing.
#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>

#include "commands/altitude_dialog.h"
#include "commands/auto_out_dialog.h"
#include "commands/brisel_port_a_out_dialog.h"
#include "widgets/dialog_support.h"
#include "commands/gps_dialog.h"
#include "commands/nmea_dialog.h"
#include "commands/packet_masks_dialog.h"
#include "commands/serial_dialog.h"
#include "commands/timing_out_dialog.h"
#include "reports/utc_param_window.h"
#include "tests/reports/display_fixture.h"

using namespace halvix;
using halvix::widgets::dialog::ShownText;
using namespace halvix::testing;

namespace {

class ConfigDisplayTest : public DisplayTest {
 protected:
  PayloadWriter super(int length, std::uint8_t subCode) {
    PayloadWriter p(length);
    p.byte(0, subCode);
    return p;
  }
  // A control of a dialog reached by its design name.
  template <typename W>
  W* find(QWidget* window, const char* name) {
    return window->findChild<W*>(QString::fromLatin1(name));
  }
  // The control the dialog has, or a stand-in of that name while the dialog
  // does not lay it out yet (one container per radio group).
  template <typename W>
  W* ensure(QWidget* window, const char* name, QWidget* group = nullptr) {
    if (W* w = find<W>(window, name)) return w;
    auto* w = new W(group != nullptr ? group : window);
    w->setObjectName(QString::fromLatin1(name));
    return w;
  }
};

TEST_F(ConfigDisplayTest, UtcParametersPanels) {
  PayloadWriter p(26);
  p.byte(0, 0x3F).byte(1, 0xF0).single(8, 1.5e-5f).word(12, 0xFFF2).single(14, 405504.0f);
  p.word(18, 2448).word(20, 2450).word(22, 7).word(24, 0xFFF1);
  feed(0x4F, p);
  const auto& c = windows->utcParam->testControls();
  EXPECT_EQ(c.Panel_A0->text(), QStringLiteral("1.000000"));
  EXPECT_EQ(c.Panel_A1->text(), QStringLiteral("0.000015"));
  EXPECT_EQ(c.Panel_AETls->text(), QStringLiteral("-14"));
  EXPECT_EQ(c.Panel_Tot->text(), QStringLiteral("405504.00"));
  EXPECT_EQ(c.Panel_WNlsf->text(), QStringLiteral("2450"));
  EXPECT_EQ(c.Panel_AETlsf->text(), QStringLiteral("-15"));

  // Refresh blanks the panels and asks again.
  c.Button_Query->click();
  EXPECT_TRUE(c.Panel_A0->text().isEmpty());
  EXPECT_EQ(sent(), (std::vector<halvix::testing::Bytes>{{0x2F}}));
}

TEST_F(ConfigDisplayTest, SerialPortReportsFillTheirColumn) {
  const auto& c = windows->serial->testControls();
  // Port A: 9600, 8 bits, odd, 1 stop, input protocol 5 (unknown), output NMEA.
  PayloadWriter a(10);
  a.byte(0, 0).byte(1, 7).byte(2, 7).byte(3, 3).byte(4, 1).byte(5, 0).byte(7, 5).byte(8, 4);
  feed(0xBC, a);
  EXPECT_EQ(ShownText(c.ComboBox_PortAInput), QStringLiteral("unknown"));
  EXPECT_EQ(c.ComboBox_PortAInput->currentIndex(), -1);
  EXPECT_EQ(c.ComboBox_PortABaudRate->currentText(), QStringLiteral("9600"));
  EXPECT_EQ(c.ComboBox_PortADataBits->currentText(), QStringLiteral("8"));
  EXPECT_EQ(c.ComboBox_PortAParity->currentText(), QStringLiteral("Odd"));
  EXPECT_EQ(c.ComboBox_PortAOutput->currentText(), QStringLiteral("NMEA"));
  EXPECT_EQ(context->readBack.portAParity.load(), 1);
  // A known code later selects again; output 6 is past the list: nothing selected.
  a.byte(7, 2).byte(8, 6).byte(3, 9);
  feed(0xBC, a);
  EXPECT_EQ(ShownText(c.ComboBox_PortAInput), QStringLiteral("QLIP"));
  EXPECT_EQ(c.ComboBox_PortAOutput->currentIndex(), -1);
  EXPECT_EQ(c.ComboBox_PortADataBits->currentText(), QStringLiteral("8")) << "code 9 ignored";

  PayloadWriter b(10);
  b.byte(0, 1).byte(1, 7).byte(3, 3).byte(4, 2).byte(5, 1).byte(7, 8).byte(8, 0);
  feed(0xBC, b);
  EXPECT_EQ(c.ComboBox_PortBBaudRate->currentText(), QStringLiteral("9600"));
  EXPECT_EQ(c.ComboBox_PortBStopBits->currentText(), QStringLiteral("2"));
  EXPECT_EQ(c.ComboBox_PortBInput->currentText(), QStringLiteral("RTCM"));
  EXPECT_EQ(ShownText(c.ComboBox_PortBOutput), QStringLiteral("unknown"));
  EXPECT_EQ(context->readBack.portBParity.load(), 2);
  EXPECT_EQ(c.ComboBox_PortAParity->currentText(), QStringLiteral("Odd")) << "port A untouched";
}

TEST_F(ConfigDisplayTest, ReceiverConfiguration) {
  const auto& c = windows->gps->testControls();
  PayloadWriter p(43);
  p.byte(1, 7).byte(3, 4).single(5, 0.174533f).single(9, 4.0f).single(13, 12.0f);
  p.single(17, 6.0f).byte(21, 30);
  for (const auto& [mode, shown] : {std::pair{3, "Auto"}, {1, "On"}, {0, "Off"}}) {
    p.byte(2, static_cast<std::uint8_t>(mode));
    feed(0xBB, p);
    EXPECT_EQ(c.ComboBox_DGPSMode->currentText(), QString::fromLatin1(shown));
  }
  EXPECT_EQ(c.ComboBox_RMode->currentText(), QStringLiteral("Overdetermined Clock"));
  EXPECT_EQ(c.ComboBox_DCode->currentText(), QStringLiteral("Stationary"));
  EXPECT_EQ(c.Edit_EMask->text(), QStringLiteral("10.0"));
  EXPECT_EQ(c.Edit_PMask->text(), QStringLiteral("12.0"));
  EXPECT_EQ(c.Edit_DGPSAge->text(), QStringLiteral("30"));
}

TEST_F(ConfigDisplayTest, TimingOutputsReports) {
  const auto& c = windows->timingOut->testControls();
  PayloadWriter chars = super(16, 0x4A);
  chars.byte(1, 1).byte(2, 1).byte(3, 0).dbl(4, 1e-6).single(12, 300.0f);
  feedSuper(chars);
  EXPECT_EQ(c.Edit_Offset->text(), QStringLiteral("1.000e-06"));
  EXPECT_EQ(c.Edit_Bias->text(), QStringLiteral("300.00"));
  EXPECT_EQ(c.ComboBox_Switch->currentText(), QStringLiteral("Enabled"));
  EXPECT_EQ(c.ComboBox_TimeBase->currentText(), QStringLiteral("UTC"));
  EXPECT_EQ(c.ComboBox_Polarity->currentText(), QStringLiteral("Positive"));

  PayloadWriter width = super(9, 0x4F);
  width.dbl(1, 0.0002);
  feedSuper(width);
  EXPECT_EQ(c.Edit_Width->text(), QStringLiteral("2.000e-04"));
  PayloadWriter shortWidth = super(8, 0x4F);
  feedSuper(shortWidth);
  EXPECT_EQ(c.Edit_Width->text(), QStringLiteral("2.000e-04")) << "wrong length ignored";

  const struct {
    std::uint8_t option;
    QRadioButton* checked;
  } options[] = {{2, c.RadioButton_Always}, {3, c.RadioButton_1SV}, {4, c.RadioButton_3SV},
                 {5, nullptr}};
  for (const auto& o : options) {
    PayloadWriter p = super(2, 0x4E);
    p.byte(1, o.option);
    feedSuper(p);
    for (QRadioButton* b : {c.RadioButton_Always, c.RadioButton_1SV, c.RadioButton_3SV}) {
      EXPECT_EQ(b->isChecked(), b == o.checked) << int(o.option) << " " << b->objectName().toStdString();
    }
    EXPECT_EQ(context->readBack.ppsOutputMode.load(), o.option);
  }
}

TEST_F(ConfigDisplayTest, MaskReportsCheckTheirBoxes) {
  PayloadWriter io(4);
  io.byte(0, 0x10).byte(1, 0x02).byte(2, 0x18).byte(3, 0x01);
  feed(0x55, io);
  const auto& m = windows->packetMasks->testControls();
  for (const auto& b : windows->packetMasks->optionBits()) {
    const bool expected = b.box == m.CheckBox_PosDouble || b.box == m.CheckBox_VelENU ||
                          b.box == m.CheckBox_TimeSynch || b.box == m.CheckBox_TimeMinimize ||
                          b.box == m.CheckBox_AuxRaw;
    EXPECT_EQ(b.box->isChecked(), expected) << b.box->objectName().toStdString();
  }
  // The report ran the caption switch.
  EXPECT_EQ(m.CheckBox_PosLLA->text(), QStringLiteral("Output LLA (Packet 84)"));

  PayloadWriter a5 = super(5, 0xA5);
  a5.byte(1, 0x21).byte(2, 0xC1).byte(3, 0xFF).byte(4, 0xFF);
  feedSuper(a5);
  for (const auto& b : windows->packetMasks->maskBits()) {
    const std::uint8_t mask = b.byte == 1 ? 0x21 : 0xC1;
    EXPECT_EQ(b.box->isChecked(), ((mask >> b.bit) & 1) != 0) << b.box->objectName().toStdString();
  }

  PayloadWriter d = super(5, 0x4D);
  d.longWord(1, 0xC0000101u);
  feedSuper(d);
  for (int bit : commands::TForm_AutoOut::kBits) {
    EXPECT_EQ(windows->autoOut->bitBox(bit)->isChecked(), bit == 0 || bit == 8 || bit >= 30) << bit;
  }
}

TEST_F(ConfigDisplayTest, PortAOutputRadioButtonsFollowMask1) {
  QWidget* w = windows->briselPortAOut.get();
  const bool standIns = find<QRadioButton>(w, "RadioButton_PPS0B") == nullptr;
  QWidget* group0B = standIns ? new QWidget(w) : nullptr;
  QWidget* groupAD = standIns ? new QWidget(w) : nullptr;
  for (const char* name : {"RadioButton_Both0B", "RadioButton_PPS0B", "RadioButton_Event0B",
                           "RadioButton_Request0B"}) {
    ensure<QRadioButton>(w, name, group0B);
  }
  for (const char* name : {"RadioButton_BothAD", "RadioButton_PPSAD", "RadioButton_EventAD",
                           "RadioButton_RequestAD"}) {
    ensure<QRadioButton>(w, name, groupAD);
  }
  PayloadWriter a5 = super(5, 0xA5);
  a5.byte(1, 0x21);
  feedSuper(a5);
  for (const char* name : {"RadioButton_PPS0B", "RadioButton_EventAD"}) {
    EXPECT_TRUE(find<QRadioButton>(w, name)->isChecked()) << name;
  }
  for (const char* name : {"RadioButton_Both0B", "RadioButton_Event0B", "RadioButton_Request0B",
                           "RadioButton_BothAD", "RadioButton_PPSAD", "RadioButton_RequestAD"}) {
    EXPECT_FALSE(find<QRadioButton>(w, name)->isChecked()) << name;
  }
}

TEST_F(ConfigDisplayTest, ReadBackFieldsOfTheOtherDialogsReports) {
  PayloadWriter nmea(6);
  nmea.byte(1, 5).longWord(2, 0x00000101u);
  feed(0x7B, nmea);
  EXPECT_EQ(context->readBack.nmeaInterval.load(), 5);
  PayloadWriter datum = super(43, 0x15);
  datum.word(1, 12);
  feedSuper(datum);
  EXPECT_EQ(context->readBack.datumIndex.load(), 12);
  PayloadWriter survey = super(11, 0xA9);
  survey.byte(1, 1).longWord(3, 2000);
  feedSuper(survey);
  EXPECT_EQ(context->readBack.surveyLength.load(), 2000);
  PayloadWriter altitude(9);
  altitude.single(0, 123.25f);
  feed(0x4A, altitude);
  EXPECT_EQ(windows->altitude->testControls().Edit_Altitude->text(), QStringLiteral("123.250"));
  EXPECT_FLOAT_EQ(context->readBack.refAltitude.load(), 123.25f);
}

TEST_F(ConfigDisplayTest, NmeaReportChecksItsBoxes) {
  QWidget* w = windows->nmea.get();
  ensure<QLineEdit>(w, "Edit_Interval");
  for (const char* name : {"CheckBox_GGA", "CheckBox_GLL", "CheckBox_VTG", "CheckBox_GSV",
                           "CheckBox_GSA", "CheckBox_ZDA", "CheckBox_RMC"}) {
    ensure<QCheckBox>(w, name)->setChecked(true);
  }
  PayloadWriter nmea(6);
  nmea.byte(1, 5).longWord(2, 0x00000101u);
  feed(0x7B, nmea);
  EXPECT_EQ(find<QLineEdit>(w, "Edit_Interval")->text(), QStringLiteral("5"));
  for (const char* name : {"CheckBox_GGA", "CheckBox_RMC"}) {
    EXPECT_TRUE(find<QCheckBox>(w, name)->isChecked()) << name;
  }
  for (const char* name : {"CheckBox_GLL", "CheckBox_VTG", "CheckBox_GSV", "CheckBox_GSA",
                           "CheckBox_ZDA"}) {
    EXPECT_FALSE(find<QCheckBox>(w, name)->isChecked()) << name;
  }
}

}  // namespace
