// The configuration dialogs driven as the operator drives them: controls
// set, a button clicked, and the bytes that reach the port compared; field
// clamps, the position-caption switch, refusal of text that is not a number
// and the PC port following a serial Set.
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QKeyEvent>
#include <QLayout>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTimer>
#include <functional>

#include "commands/altitude_dialog.h"
#include "commands/auto_out_dialog.h"
#include "commands/gps_dialog.h"
#include "commands/packet_masks_dialog.h"
#include "commands/serial_dialog.h"
#include "commands/sv_num_dialog.h"
#include "commands/timing_out_dialog.h"
#include "link/break_sequence.h"
#include "reports/utc_param_window.h"
#include "tests/reports/display_fixture.h"

using namespace halvix;
using halvix::testing::Bytes;
using halvix::testing::DisplayTest;

namespace {

class ConfigDialogsTest : public DisplayTest {
 protected:
  commands::TForm_TimingOut::Controls& timing() { return windows->timingOut->testControls(); }
  commands::TForm_PacketMasks::Controls& masks() { return windows->packetMasks->testControls(); }
  commands::TForm_GPS::Controls& gps() { return windows->gps->testControls(); }
  commands::TForm_Serial::Controls& serial() { return windows->serial->testControls(); }

  // Every packet the click put on the wire.
  std::vector<Bytes> press(QPushButton* button) {
    sent();
    button->click();
    return sent();
  }
  void type(QLineEdit* edit, const QString& text) { edit->setText(text); }
  void pressEnter(QLineEdit* edit) {
    QKeyEvent key(QEvent::KeyPress, Qt::Key_Return, Qt::NoModifier, QStringLiteral("\r"));
    QApplication::sendEvent(edit, &key);
  }
  void leave(QLineEdit* edit) {
    QFocusEvent out(QEvent::FocusOut, Qt::TabFocusReason);
    QApplication::sendEvent(edit, &out);
  }
};

Bytes WithSingle(Bytes head, float value) {
  std::uint32_t bits = 0;
  std::memcpy(&bits, &value, sizeof bits);
  for (int i = 3; i >= 0; --i) head.push_back(static_cast<std::uint8_t>(bits >> (8 * i)));
  return head;
}

TEST_F(ConfigDialogsTest, TimingOutputsBytes) {
  auto& c = timing();
  c.Edit_Width->setText(QStringLiteral("1"));
  EXPECT_EQ(press(c.Button_Width),
            (std::vector<Bytes>{{0x8E, 0x4F, 0x3F, 0xF0, 0, 0, 0, 0, 0, 0}}));

  EXPECT_TRUE(press(c.Button_SetOutput).empty()) << "no radio button checked";
  c.RadioButton_3SV->click();
  EXPECT_EQ(press(c.Button_SetOutput), (std::vector<Bytes>{{0x8E, 0x4E, 0x04}}));
  c.RadioButton_Always->click();
  EXPECT_EQ(press(c.Button_SetOutput), (std::vector<Bytes>{{0x8E, 0x4E, 0x02}}));

  // No list has a selection yet: each goes out as 0xFF.
  c.Edit_Offset->setText(QStringLiteral("-1.5"));
  c.Edit_Bias->setText(QStringLiteral("2"));
  const Bytes expected = WithSingle({0x8E, 0x4A, 0xFF, 0xFF, 0xFF, 0xBF, 0xF8, 0, 0, 0, 0, 0, 0}, 2.0f);
  EXPECT_EQ(press(c.Button_SetChar), std::vector<Bytes>{expected});
  c.ComboBox_Switch->setCurrentIndex(1);
  c.ComboBox_Polarity->setCurrentIndex(1);
  c.ComboBox_TimeBase->setCurrentIndex(0);
  const std::vector<Bytes> chosen = press(c.Button_SetChar);
  ASSERT_EQ(chosen.size(), 1u);
  EXPECT_EQ(Bytes(chosen[0].begin() + 2, chosen[0].begin() + 5), (Bytes{1, 0, 1}));
}

TEST_F(ConfigDialogsTest, MaskBytes) {
  auto& m = masks();
  m.CheckBox_PosDouble->click();
  m.CheckBox_AuxRaw->click();
  EXPECT_EQ(press(m.Button_Set35), (std::vector<Bytes>{{0x35, 0x10, 0x00, 0x00, 0x01}}));
  m.CheckBox_VelENU->click();
  m.CheckBox_TimeMinimize->click();
  m.CheckBox_PosXYZ->click();
  EXPECT_EQ(press(m.Button_Set35), (std::vector<Bytes>{{0x35, 0x11, 0x02, 0x10, 0x01}}));

  m.CheckBox_B1Bit[0]->click();
  m.CheckBox_B1Bit[1]->click();
  m.CheckBox_B2Bit7->click();
  EXPECT_EQ(press(m.Button_Set8EA5), (std::vector<Bytes>{{0x8E, 0xA5, 0x03, 0x80, 0, 0}}));

  auto& a = windows->autoOut->testControls();
  windows->autoOut->bitBox(30)->click();
  windows->autoOut->bitBox(31)->click();
  EXPECT_EQ(press(a.Button_Apply), (std::vector<Bytes>{{0x8E, 0x4D, 0xC0, 0, 0, 0}}));
  windows->autoOut->bitBox(8)->click();
  windows->autoOut->show();
  sent();
  EXPECT_EQ(press(a.Button_OK), (std::vector<Bytes>{{0x8E, 0x4D, 0xC0, 0, 0x01, 0}}));
  EXPECT_FALSE(windows->autoOut->isVisible());
  windows->autoOut->show();
  EXPECT_TRUE(press(a.Button_Close).empty());
  EXPECT_FALSE(windows->autoOut->isVisible());
}

TEST_F(ConfigDialogsTest, PositionCaptionsFollowDoublePrecision) {
  auto& m = masks();
  const auto captions = [&m] {
    return std::pair{m.CheckBox_PosXYZ->text(), m.CheckBox_PosLLA->text()};
  };
  const auto before = captions();
  m.CheckBox_PosDouble->setChecked(true);  // as a report would
  const auto precise = captions();
  EXPECT_NE(precise, before);
  EXPECT_TRUE(precise.first.contains(QStringLiteral("83")));
  EXPECT_TRUE(precise.second.contains(QStringLiteral("84")));

  // Any of the other seven boxes re-runs the switch from Double-Precision's state.
  m.CheckBox_PosXYZ->setText(QString());
  m.CheckBox_TimeSynch->click();
  EXPECT_EQ(captions(), precise);
  EXPECT_TRUE(m.CheckBox_PosDouble->isChecked());
  EXPECT_TRUE(m.CheckBox_TimeSynch->isChecked());
  EXPECT_FALSE(m.CheckBox_PosXYZ->isChecked());

  m.CheckBox_PosDouble->click();
  EXPECT_EQ(captions(), (std::pair{QStringLiteral("Output XYZ ECEF (Packet 42)"),
                                   QStringLiteral("Output LLA (Packet 4A)")}));
  // A box outside the eight leaves the captions alone.
  m.CheckBox_PosXYZ->setText(QString());
  m.CheckBox_VelXYZ->click();
  EXPECT_TRUE(m.CheckBox_PosXYZ->text().isEmpty());
}

TEST_F(ConfigDialogsTest, ReceiverConfigurationFieldClamps) {
  auto& c = gps();
  const struct {
    QLineEdit* edit;
    const char* typed;
    bool enter;  // Enter pressed, else the field is left
    const char* shown;
  } cases[] = {
      {c.Edit_EMask, "95", true, "90.0"},    {c.Edit_EMask, "-3", false, "0.0"},
      {c.Edit_EMask, "90", true, "90"},      {c.Edit_EMask, "90.000001", false, "90.000001"},
      {c.Edit_SMask, "51", false, "50.0"},   {c.Edit_PMask, "-0.5", true, "0.0"},
      {c.Edit_PSwitch, "50", false, "50"},   {c.Edit_DGPSAge, "45", false, "44"},
      {c.Edit_DGPSAge, "0", true, "1"},      {c.Edit_DGPSAge, "44", false, "44"},
      {c.Edit_DGPSAge, "abc", false, "abc"}, {c.Edit_EMask, "9x", true, "9x"},
  };
  for (const auto& k : cases) {
    type(k.edit, QString::fromLatin1(k.typed));
    if (k.enter) {
      pressEnter(k.edit);
    } else {
      leave(k.edit);
    }
    EXPECT_EQ(k.edit->text(), QString::fromLatin1(k.shown)) << k.typed;
  }
  // Other keys do nothing.
  type(c.Edit_SMask, QStringLiteral("77"));
  QKeyEvent key(QEvent::KeyPress, Qt::Key_A, Qt::NoModifier, QStringLiteral("a"));
  QApplication::sendEvent(c.Edit_SMask, &key);
  EXPECT_TRUE(c.Edit_SMask->text().startsWith(QStringLiteral("77")));
}

TEST_F(ConfigDialogsTest, ReceiverConfigurationBytes) {
  auto& c = gps();
  c.ComboBox_RMode->setCurrentIndex(4);
  c.ComboBox_DCode->setCurrentIndex(1);
  type(c.Edit_EMask, QStringLiteral("10"));
  type(c.Edit_SMask, QStringLiteral("4"));
  type(c.Edit_PMask, QStringLiteral("12"));
  type(c.Edit_PSwitch, QStringLiteral("6"));
  type(c.Edit_DGPSAge, QStringLiteral("30"));
  for (const auto& [index, sent] : {std::pair{0, 0}, {1, 1}, {2, 3}, {-1, 3}}) {
    c.ComboBox_DGPSMode->setCurrentIndex(index);
    const std::vector<Bytes> out = press(c.Button_Apply);
    ASSERT_EQ(out.size(), 1u);
    const Bytes& p = out[0];
    ASSERT_EQ(p.size(), 44u);
    EXPECT_EQ(p[3], sent) << index;
    EXPECT_EQ((Bytes{p[2], p[4]}), (Bytes{4, 1}));
    EXPECT_EQ(Bytes(p.begin() + 6, p.begin() + 10), (Bytes{0x3E, 0x32, 0xB8, 0xB8}));
    EXPECT_EQ(Bytes(p.begin() + 14, p.begin() + 18), WithSingle({}, 12.0f));
    EXPECT_EQ(p[22], 30);
  }
  windows->gps->show();
  press(c.Button_OK);
  EXPECT_FALSE(windows->gps->isVisible());
}

TEST_F(ConfigDialogsTest, OneSvAndAltitudeBytes) {
  auto& s = windows->svNum->testControls();
  EXPECT_EQ(press(s.Button_Apply), (std::vector<Bytes>{{0x34, 0xFF}})) << "no selection";
  s.ComboBox_SVNum->setCurrentIndex(0);
  EXPECT_EQ(press(s.Button_Apply), (std::vector<Bytes>{{0x34, 0x00}}));
  s.ComboBox_SVNum->setCurrentIndex(32);
  EXPECT_EQ(press(s.Button_OK), (std::vector<Bytes>{{0x34, 32}}));

  auto& a = windows->altitude->testControls();
  type(a.Edit_Altitude, QStringLiteral("100.5"));
  EXPECT_EQ(press(a.Button_Set), std::vector<Bytes>{WithSingle({0x2A}, 100.5f)});
  a.RadioButton_Cancel->click();
  EXPECT_EQ(a.Edit_Altitude->palette().color(QPalette::Base),
            windows->altitude->palette().color(QPalette::Button));
  type(a.Edit_Altitude, QStringLiteral("nonsense"));
  EXPECT_EQ(press(a.Button_Set), (std::vector<Bytes>{{0x2A, 0xFF}}));
  a.RadioButton_Set->click();
  EXPECT_EQ(a.Edit_Altitude->palette().color(QPalette::Base),
            windows->altitude->palette().color(QPalette::Base));
  EXPECT_TRUE(press(a.Button_Set).empty());
  ASSERT_FALSE(prompts.messages.empty());
  EXPECT_EQ(prompts.messages.back().title, QStringLiteral("Error"));
  EXPECT_EQ(prompts.messages.back().text,
            QStringLiteral("'nonsense' is not a valid floating point value"));
}

TEST_F(ConfigDialogsTest, TextThatIsNotANumberIsRefused) {
  auto& t = timing();
  auto& g = gps();
  type(t.Edit_Offset, QStringLiteral("0"));
  type(t.Edit_Bias, QStringLiteral("0"));
  for (QLineEdit* e : {g.Edit_EMask, g.Edit_SMask, g.Edit_PMask, g.Edit_PSwitch, g.Edit_DGPSAge}) {
    type(e, QStringLiteral("1"));
  }
  const struct {
    QWidget* window;
    QLineEdit* edit;
    QPushButton* button;
    const char* field;
    const char* text;
  } cases[] = {
      {windows->timingOut.get(), t.Edit_Width, t.Button_Width, "PPS Width", "abc"},
      {windows->timingOut.get(), t.Edit_Width, t.Button_Width, "PPS Width", ""},
      {windows->timingOut.get(), t.Edit_Offset, t.Button_SetChar, "PPS Offset", "1e-6s"},
      {windows->timingOut.get(), t.Edit_Bias, t.Button_SetChar, "Bias Uncertainty Threshold", "nan"},
      {windows->gps.get(), g.Edit_EMask, g.Button_Apply, "Elevation Mask", "ten"},
      {windows->gps.get(), g.Edit_PSwitch, g.Button_Apply, "PDOP Switch", "1e99"},
      {windows->gps.get(), g.Edit_DGPSAge, g.Button_OK, "DGPS Age Limit", "2.5"},
  };
  for (const auto& k : cases) {
    k.window->show();
    QApplication::setActiveWindow(k.window);
    const QString before = k.edit->text();
    type(k.edit, QString::fromLatin1(k.text));
    prompts.messages.clear();
    EXPECT_TRUE(press(k.button).empty()) << k.field;
    ASSERT_EQ(prompts.messages.size(), 1u) << k.field;
    EXPECT_EQ(prompts.messages[0].title, QStringLiteral("Error"));
    EXPECT_TRUE(prompts.messages[0].text.startsWith(QString::fromLatin1(k.field) + ": '" +
                                                    QString::fromLatin1(k.text) + "'"))
        << prompts.messages[0].text.toStdString();
    EXPECT_TRUE(k.window->isVisible()) << "OK must not close on a refusal";
    EXPECT_EQ(QApplication::focusWidget(), k.edit) << k.field;
    type(k.edit, before);
  }
  type(t.Edit_Width, QStringLiteral("abc"));
  prompts.messages.clear();
  t.Button_Width->click();
  EXPECT_EQ(prompts.messages.at(0).text, QStringLiteral("PPS Width: 'abc' is not a number"));
}

TEST_F(ConfigDialogsTest, SerialPortBytes) {
  auto& c = serial();
  const auto pick = [](std::initializer_list<std::pair<QComboBox*, int>> picks) {
    for (const auto& [list, index] : picks) list->setCurrentIndex(index);
  };
  const std::size_t linesBefore = device.lines().size();
  const QString captionBefore = mc().Panel_Serial->text();
  EXPECT_TRUE(press(c.Button_SetA).empty()) << "incomplete selection";
  EXPECT_TRUE(prompts.messages.empty());

  prompts.answers = {platform::PromptAnswer::No, platform::PromptAnswer::No, platform::PromptAnswer::No,
                     platform::PromptAnswer::No};
  pick({{c.ComboBox_PortABaudRate, 7}, {c.ComboBox_PortADataBits, 1}, {c.ComboBox_PortAParity, 0},
        {c.ComboBox_PortAStopBits, 0}, {c.ComboBox_PortAInput, 1}, {c.ComboBox_PortAOutput, 1}});
  EXPECT_EQ(press(c.Button_SetA),
            (std::vector<Bytes>{{0xBC, 0x00, 0x07, 0x07, 0x03, 0x00, 0x00, 0x00, 0x02, 0x02, 0x00}}));
  pick({{c.ComboBox_PortAInput, 0}, {c.ComboBox_PortAOutput, 0}});
  const std::vector<Bytes> none = press(c.Button_SetA);
  ASSERT_EQ(none.size(), 1u);
  EXPECT_EQ((Bytes{none[0][8], none[0][9]}), (Bytes{0, 0}));

  pick({{c.ComboBox_PortBBaudRate, 3}, {c.ComboBox_PortBDataBits, 0}, {c.ComboBox_PortBParity, 2},
        {c.ComboBox_PortBStopBits, 1}, {c.ComboBox_PortBInput, 1}, {c.ComboBox_PortBOutput, 1}});
  EXPECT_EQ(press(c.Button_SetB),
            (std::vector<Bytes>{{0xBC, 0x01, 0x09, 0x09, 0x03, 0x02, 0x01, 0x00, 0x08, 0x04, 0x00}}));
  c.ComboBox_PortBInput->setCurrentIndex(-1);
  EXPECT_EQ(press(c.Button_SetB).at(0).at(8), 0x08) << "the protocol lists are not checked";

  // Every Set asked; No left the PC line and its caption alone.
  ASSERT_EQ(prompts.messages.size(), 4u);
  EXPECT_EQ(prompts.messages[0].title, QStringLiteral("Port Settings"));
  EXPECT_EQ(prompts.messages[0].text, QStringLiteral("Change PC settings to match?"));
  EXPECT_EQ(prompts.messages[0].buttons, platform::PromptButtons::YesNo);
  EXPECT_EQ(device.lines().size(), linesBefore);
  EXPECT_EQ(mc().Panel_Serial->text(), captionBefore);
}

TEST_F(ConfigDialogsTest, PcPortFollowsOnYesAndSendBreakRestartsTheSequence) {
  auto& c = serial();
  const QString captionBefore = mc().Panel_Serial->text();
  prompts.answers = {platform::PromptAnswer::Yes};
  for (auto [list, index] : {std::pair{c.ComboBox_PortABaudRate, 9}, {c.ComboBox_PortADataBits, 0},
                             {c.ComboBox_PortAParity, 2}, {c.ComboBox_PortAStopBits, 1}}) {
    list->setCurrentIndex(index);
  }
  EXPECT_EQ(press(c.Button_SetA).size(), 1u);
  ASSERT_FALSE(device.lines().empty());
  EXPECT_EQ(device.lines().back().baud, 38400);
  EXPECT_EQ(device.lines().back().dataBits, 7);
  EXPECT_NE(mc().Panel_Serial->text(), captionBefore);
  EXPECT_TRUE(mc().Panel_Serial->text().contains(QStringLiteral("38400")));

  // "Send Break" on a polling session: the PC line at once, BREAK 400 ms later.
  ASSERT_TRUE(session.start());
  scheduler.advance(8000);
  ASSERT_EQ(session.state(), session::SessionState::Polling);
  c.Button_Break->click();
  EXPECT_EQ(device.lines().back().baud, 9600);
  EXPECT_EQ(device.lines().back().dataBits, 8);
  EXPECT_TRUE(mc().Panel_Serial->text().contains(QStringLiteral("9600")));
  EXPECT_TRUE(session.negotiating());
  EXPECT_EQ(session.breakForm(), session::BreakForm::Short);
  EXPECT_EQ(session.breakCountdown(), session::ReceiverSession::kBreakStart);
  const std::size_t breaks = device.breakEvents().size();
  scheduler.advance(399);
  EXPECT_EQ(device.breakEvents().size(), breaks);
  scheduler.advance(1);
  ASSERT_EQ(device.breakEvents().size(), breaks + 1);
  EXPECT_TRUE(device.breakEvents().back());
}

TEST_F(ConfigDialogsTest, ActivationSendsTheQueries) {
  const struct {
    QWidget* window;
    std::vector<Bytes> queries;
  } cases[] = {
      {windows->timingOut.get(), {{0x8E, 0x4E}, {0x8E, 0x4A}, {0x8E, 0x4F}}},
      {windows->packetMasks.get(), {{0x35}, {0x8E, 0xA5}}},
      {windows->autoOut.get(), {{0x8E, 0x4D}}},
      {windows->gps.get(), {{0xBB, 0x00}}},
      {windows->altitude.get(), {{0x2A}}},
      {windows->serial.get(), {{0xBC, 0x00}, {0xBC, 0x01}}},
      {windows->utcParam.get(), {{0x2F}}},
      {windows->svNum.get(), {}},
  };
  for (const auto& k : cases) {
    sent();
    QEvent activate(QEvent::WindowActivate);
    QApplication::sendEvent(k.window, &activate);
    EXPECT_EQ(sent(), k.queries) << k.window->objectName().toStdString();
  }
}

TEST_F(ConfigDialogsTest, NothingClippedAtALargerFont) {
  for (QWidget* window : std::initializer_list<QWidget*>{
           windows->timingOut.get(), windows->packetMasks.get(), windows->autoOut.get(),
           windows->gps.get(), windows->svNum.get(), windows->altitude.get(),
           windows->serial.get(), windows->utcParam.get()}) {
    QFont big = window->font();
    big.setPixelSize(18);
    window->setFont(big);
    window->show();
    window->layout()->activate();
    for (QWidget* w : window->findChildren<QWidget*>()) {
      if (w->objectName().isEmpty() || !w->isVisibleTo(window)) continue;
      EXPECT_GE(w->width(), w->minimumSizeHint().width()) << w->objectName().toStdString();
      EXPECT_GE(w->height(), w->minimumSizeHint().height()) << w->objectName().toStdString();
      EXPECT_TRUE(window->rect().contains(QRect(w->mapTo(window, QPoint(0, 0)), w->size())))
          << w->objectName().toStdString();
    }
    window->hide();
  }
}

}  // namespace
