#include "commands/serial_dialog.h"

#include <QComboBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QTimer>
#include <QVBoxLayout>

#include "app/app_context.h"
#include "app/main_window.h"
#include "commands/catalogue.h"
#include "widgets/dialog_support.h"
#include "link/break_sequence.h"

namespace halvix::commands {

namespace {

bool Selected(std::initializer_list<const QComboBox*> lists) {
  for (const QComboBox* l : lists) {
    if (l->currentIndex() < 0) return false;
  }
  return true;
}

std::uint8_t Code(int index, int base) { return static_cast<std::uint8_t>(index + base); }

// A port's line settings from its four lists, each code counted from the
// first entry's; nothing while a list has no choice.
std::optional<link::PortSettings> LineSettings(int port, const QComboBox* baud, int baudBase,
                                               const QComboBox* dataBits, int dataBitsBase,
                                               const QComboBox* parity, const QComboBox* stopBits) {
  if (!Selected({baud, dataBits, parity, stopBits})) return std::nullopt;
  link::PortSettings s;
  s.port = static_cast<std::uint8_t>(port);
  s.baudCode = Code(baud->currentIndex(), baudBase);
  s.dataBitsCode = Code(dataBits->currentIndex(), dataBitsBase);
  s.parityCode = Code(parity->currentIndex(), 0);
  s.stopBitsCode = Code(stopBits->currentIndex(), 0);
  return s;
}

}  // namespace

TForm_Serial::TForm_Serial(app::TForm_Main& main, QWidget* parent)
    : QDialog(parent), main_(main) {
  QVBoxLayout* top = widgets::dialog::SetUpDialog(this, "Form_Serial", QStringLiteral("Serial Port Configuration"),
                                     QStringLiteral("Serial Port Configuration: Packet 0xBC"));
  Controls& c = controls;
  auto* columns = new QHBoxLayout;
  columns->setSpacing(16);
  top->addLayout(columns);

  const auto column = [this, columns](QLabel** title, const char* titleName, const QString& text) {
    auto* l = new QVBoxLayout;
    *title = widgets::dialog::Label(this, text, titleName);
    QFont bold = (*title)->font();
    bold.setBold(true);
    (*title)->setFont(bold);
    l->addWidget(*title);
    columns->addLayout(l);
    return l;
  };

  QVBoxLayout* a = column(&c.Label_A, "Label_A", QStringLiteral("Port A"));
  {
    widgets::dialog::ValueRows rows(this, a);
    c.ComboBox_PortABaudRate = widgets::dialog::List(this, "ComboBox_PortABaudRate",
                                        {"None", "110  ", "300", "600", "1200", "2400", "4800",
                                         "9600", "19200", "38400"});
    c.ComboBox_PortADataBits = widgets::dialog::List(this, "ComboBox_PortADataBits", {"7", "8"});
    c.ComboBox_PortAParity = widgets::dialog::List(this, "ComboBox_PortAParity", {"None", "Odd", "Even"});
    c.ComboBox_PortAStopBits = widgets::dialog::List(this, "ComboBox_PortAStopBits", {"1", "2"});
    c.ComboBox_PortAInput = widgets::dialog::List(this, "ComboBox_PortAInput", {"none", "QLIP", "RTCM"});
    c.ComboBox_PortAOutput = widgets::dialog::List(this, "ComboBox_PortAOutput", {"none", "QLIP", "NMEA"});
    rows.add(QStringLiteral("Baud Rate"), c.ComboBox_PortABaudRate, {}, "Label_PortABaudRate");
    rows.add(QStringLiteral("Data Bits"), c.ComboBox_PortADataBits, {}, "Label_PortADataBits");
    rows.add(QStringLiteral("Parity"), c.ComboBox_PortAParity, {}, "Label_PortAParity");
    rows.add(QStringLiteral("Stop Bits"), c.ComboBox_PortAStopBits, {}, "Label_PortAStopBits");
    rows.add(QStringLiteral("Input Protocol"), c.ComboBox_PortAInput, {}, "Label_PortAInput");
    rows.add(QStringLiteral("Output Protocol"), c.ComboBox_PortAOutput, {}, "Label_PortAOutput");
    std::vector<QPushButton*> made;
    widgets::dialog::ButtonRow(this, a,
                  {{"Button_SetA", QStringLiteral("Set Port &A"), [this] { Button_SetAClick(); }}},
                  &made);
    c.Button_SetA = made[0];
  }

  QVBoxLayout* b = column(&c.Label_B, "Label_B", QStringLiteral("Port B"));
  {
    widgets::dialog::ValueRows rows(this, b);
    c.ComboBox_PortBBaudRate =
        widgets::dialog::List(this, "ComboBox_PortBBaudRate", {"4800", "9600", "19200", "38400"});
    c.ComboBox_PortBDataBits = widgets::dialog::List(this, "ComboBox_PortBDataBits", {"8"});
    c.ComboBox_PortBParity = widgets::dialog::List(this, "ComboBox_PortBParity", {"None", "Odd", "Even"});
    c.ComboBox_PortBStopBits = widgets::dialog::List(this, "ComboBox_PortBStopBits", {"1", "2"});
    c.ComboBox_PortBInput = widgets::dialog::List(this, "ComboBox_PortBInput", {"QLIP", "RTCM"});
    c.ComboBox_PortBOutput = widgets::dialog::List(this, "ComboBox_PortBOutput", {"QLIP", "NMEA"});
    rows.add(QStringLiteral("Baud Rate"), c.ComboBox_PortBBaudRate, {}, "Label_PortBBaudRate");
    rows.add(QStringLiteral("Data Bits"), c.ComboBox_PortBDataBits, {}, "Label_PortBDataBits");
    rows.add(QStringLiteral("Parity"), c.ComboBox_PortBParity, {}, "Label_PortBParity");
    rows.add(QStringLiteral("Stop Bits"), c.ComboBox_PortBStopBits, {}, "Label_PortBStopBits");
    rows.add(QStringLiteral("Input Protocol"), c.ComboBox_PortBInput, {}, "Label_PortBInput");
    c.Label_PortBOutput = rows.add(QStringLiteral("Output Protocol"), c.ComboBox_PortBOutput, {},
                                   "Label_PortBOutput");
    std::vector<QPushButton*> made;
    widgets::dialog::ButtonRow(this, b,
                  {{"Button_SetB", QStringLiteral("Set Port &B"), [this] { Button_SetBClick(); }}},
                  &made);
    c.Button_SetB = made[0];
  }

  std::vector<QPushButton*> made;
  widgets::dialog::ButtonRow(this, top,
                {{"Button_Break", QStringLiteral("Send &Break"), [this] { Button_BreakClick(); }},
                 {"Button_Close", QStringLiteral("&Close"), [this] { Button_CloseClick(); }}},
                &made);
  c.Button_Break = made[0];
  c.Button_Close = made[1];
  widgets::dialog::OnActivate(this, [this] { FormActivate(); });
}

std::optional<link::PortSettings> TForm_Serial::portASettings() const {
  const Controls& c = controls;
  std::optional<link::PortSettings> s =
      LineSettings(0, c.ComboBox_PortABaudRate, 0, c.ComboBox_PortADataBits, 2, c.ComboBox_PortAParity,
                   c.ComboBox_PortAStopBits);
  if (!s) return s;
  const int in = c.ComboBox_PortAInput->currentIndex();
  s->inputProtocol = in == 1 ? 2 : in == 2 ? 8 : 0;
  const int out = c.ComboBox_PortAOutput->currentIndex();
  s->outputProtocol = out == 1 ? 2 : out == 2 ? 4 : 0;
  return s;
}

std::optional<link::PortSettings> TForm_Serial::portBSettings() const {
  const Controls& c = controls;
  std::optional<link::PortSettings> s =
      LineSettings(1, c.ComboBox_PortBBaudRate, 6, c.ComboBox_PortBDataBits, 3, c.ComboBox_PortBParity,
                   c.ComboBox_PortBStopBits);
  if (!s) return s;
  s->inputProtocol = c.ComboBox_PortBInput->currentIndex() == 0 ? 2 : 8;
  s->outputProtocol = c.ComboBox_PortBOutput->currentIndex() == 0 ? 2 : 4;
  return s;
}

void TForm_Serial::FormActivate() {
  app::AppContext& context = main_.context();
  SerialPortRequestBC(context.link, 0);
  context.clock.sleepMs(kSettleMs);
  SerialPortRequestBC(context.link, 1);
}

void TForm_Serial::setPort(const std::optional<link::PortSettings>& settings) {
  if (!settings) return;
  app::AppContext& context = main_.context();
  SetSerialPortBC(context.link, *settings);
  context.clock.sleepMs(kSettleMs);
  // Asked for either port: only the operator knows which one the PC is on.
  if (context.prompts.message(QStringLiteral("Port Settings"),
                              QStringLiteral("Change PC settings to match?"),
                              platform::PromptButtons::YesNo,
                              platform::PromptIcon::Question) == platform::PromptAnswer::Yes) {
    main_.session().applyPortSettings(*settings);
  }
}

void TForm_Serial::Button_SetAClick() { setPort(portASettings()); }

void TForm_Serial::Button_SetBClick() { setPort(portBSettings()); }

void TForm_Serial::Button_BreakClick() { main_.session().sendBreak(); }

void TForm_Serial::Button_CloseClick() { hide(); }

}  // namespace halvix::commands
