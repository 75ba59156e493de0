// Numbers typed into dialogs, read from and written to files and given on the
// command line mean the same under a decimal-comma locale as under C.
#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <functional>

#include "app/command_line.h"
#include "commands/altitude_dialog.h"
#include "commands/gps_dialog.h"
#include "commands/initial_pos_dialog.h"
#include "commands/position_file.h"
#include "commands/timing_out_dialog.h"
#include "link/break_sequence.h"
#include "reports/timing_layouts.h"
#include "tests/support/comma_locale.h"
#include "tests/support/window_fixture.h"
#include "recording/decode_output.h"
#include "widgets/dialog_support.h"

using namespace halvix;
using namespace halvix::testing;

namespace {

TEST(DecimalPoint, FieldsReadThePointAndRefuseTheComma) {
  CommaLocale comma;
  if (!comma.active()) GTEST_SKIP() << CommaLocale::kSkipReason;
  const struct {
    const char* text;
    std::optional<double> value;
  } cases[] = {
      {"1.5", 1.5},        {"10.000", 10.0},    {" -0.25 ", -0.25}, {"+2", 2.0},
      {"1e3", 1000.0},     {".5", 0.5},         {"1,5", {}},        {"1.000,5", {}},
      {"1.5.5", {}},       {"", {}},            {"x", {}},          {"inf", {}},
      {"1e999", {}},       {"++1", {}},
  };
  for (const auto& k : cases) {
    EXPECT_EQ(widgets::dialog::ParseReal(QString::fromLatin1(k.text)), k.value) << k.text;
  }
  EXPECT_EQ(widgets::dialog::ParseInteger(QStringLiteral("+42")), 42);
  EXPECT_EQ(widgets::dialog::ParseInteger(QStringLiteral("99999999999999999999")), std::nullopt);
}

// Position file, position download line, the decoder's numbers, the
// receiver's port-settings line and the replay speed: written with a point and
// read with one, whatever the locale.
TEST(DecimalPoint, FilesAndCommandLineKeepThePoint) {
  CommaLocale comma;
  if (!comma.active()) GTEST_SKIP() << CommaLocale::kSkipReason;
  const QString line = reports::FormatPositionFileLine(48.858372, 2.294481, 35.04);
  EXPECT_EQ(line, QStringLiteral("0 48.85837 2.29448 35.0"));
  const std::optional<commands::PositionRecord> r = commands::ParsePositionRecord(line.toLatin1());
  ASSERT_TRUE(r.has_value());
  EXPECT_DOUBLE_EQ(r->values[0], 48.85837);
  EXPECT_DOUBLE_EQ(r->values[2], 35.0);
  EXPECT_EQ(r->decimals[1], 5);

  std::string out;
  recording::AppendNumber(out, -1.25, false);
  out += ' ';
  recording::AppendNumber(out, 0.5, true);
  EXPECT_EQ(out, "-1.25 0.5");

  link::PortSettings settings{};
  ASSERT_TRUE(link::ParsePortSettingsLine("PR;a,0,b,19200,8,1,O,", settings));
  EXPECT_EQ(settings.baudCode, 8);

  const app::CommandLine cl =
      app::ParseCommandLine({QStringLiteral("--replay=run.qlp"), QStringLiteral("--speed=2.5")});
  EXPECT_TRUE(cl.errors.isEmpty()) << cl.errors.join(';').toStdString();
  EXPECT_DOUBLE_EQ(cl.replaySpeed, 2.5);
}

using DecimalDialogTest = WindowFixture;

// Each dialog with decimal fields sends under the comma locale exactly what it
// sends under C, and says nothing.
TEST_F(DecimalDialogTest, DialogsSendTheSameBytesUnderACommaLocale) {
  const struct {
    const char* name;
    std::function<void(app::Windows&)> operate;
  } cases[] = {
      {"Receiver Configuration",
       [](app::Windows& w) {
         auto& c = w.gps->testControls();
         c.Edit_EMask->setText(QStringLiteral("10.000"));
         c.Edit_SMask->setText(QStringLiteral("4.5"));
         c.Edit_PMask->setText(QStringLiteral("12.5"));
         c.Edit_PSwitch->setText(QStringLiteral("6"));
         c.Edit_DGPSAge->setText(QStringLiteral("30"));
         c.Button_Apply->click();
       }},
      {"Timing Outputs",
       [](app::Windows& w) {
         auto& c = w.timingOut->testControls();
         c.Edit_Offset->setText(QStringLiteral("-1.5"));
         c.Edit_Bias->setText(QStringLiteral("2.25"));
         c.Button_SetChar->click();
       }},
      {"2D Altitude",
       [](app::Windows& w) {
         w.altitude->testControls().Edit_Altitude->setText(QStringLiteral("100.5"));
         w.altitude->testControls().Button_Set->click();
       }},
      {"Upload Accurate Position",
       [](app::Windows& w) {
         auto& c = w.initialPos->testControls();
         c.Edit_Lat->setText(QStringLiteral("48.85837"));
         c.Edit_Lon->setText(QStringLiteral("2.29448"));
         c.Edit_Alt->setText(QStringLiteral("35.0"));
         c.Button_SetLLA->click();
       }},
  };
  for (const auto& k : cases) {
    SCOPED_TRACE(k.name);
    sent();
    k.operate(*windows);
    const std::vector<Bytes> underC = sent();
    ASSERT_FALSE(underC.empty());
    std::vector<Bytes> underComma;
    {
      CommaLocale comma;
      if (!comma.active()) GTEST_SKIP() << CommaLocale::kSkipReason;
      k.operate(*windows);
      underComma = sent();
    }
    EXPECT_EQ(underComma, underC);
    EXPECT_TRUE(prompts.messages.empty()) << prompts.messages.front().text.toStdString();
  }
}

}  // namespace
