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
    c.ComboBox_PortABaudRate =
        rows.list("ComboBox_PortABaudRate",
                  {"None", "110  ", "300", "600", "1200", "2400", "4800", "9600", "19200", "38400"},
                  QStringLiteral("Baud Rate"), "Label_PortABaudRate");
    c.ComboBox_PortADataBits = rows.list("ComboBox_PortADataBits", {"7", "8"},
                                         QStringLiteral("Data Bits"), "Label_PortADataBits");
    c.ComboBox_PortAParity = rows.list("ComboBox_PortAParity", {"None", "Odd", "Even"},
                                       QStringLiteral("Parity"), "Label_PortAParity");
    c.ComboBox_PortAStopBits = rows.list("ComboBox_PortAStopBits", {"1", "2"},
                                         QStringLiteral("Stop Bits"), "Label_PortAStopBits");
    c.ComboBox_PortAInput = rows.list("ComboBox_PortAInput", {"none", "QLIP", "RTCM"},
                                      QStringLiteral("Input Protocol"), "Label_PortAInput");
    c.ComboBox_PortAOutput = rows.list("ComboBox_PortAOutput", {"none", "QLIP", "NMEA"},
                                       QStringLiteral("Output Protocol"), "Label_PortAOutput");
    c.Button_SetA = widgets::dialog::LoneButton(
        this, a, "Button_SetA", QStringLiteral("Set Port &A"), [this] { Button_SetAClick(); });
  }

  QVBoxLayout* b = column(&c.Label_B, "Label_B", QStringLiteral("Port B"));
  {
    widgets::dialog::ValueRows rows(this, b);
    c.ComboBox_PortBBaudRate =
        rows.list("ComboBox_PortBBaudRate", {"4800", "9600", "19200", "38400"},
                  QStringLiteral("Baud Rate"), "Label_PortBBaudRate");
    c.ComboBox_PortBDataBits = rows.list("ComboBox_PortBDataBits", {"8"},
                                         QStringLiteral("Data Bits"), "Label_PortBDataBits");
    c.ComboBox_PortBParity = rows.list("ComboBox_PortBParity", {"None", "Odd", "Even"},
                                       QStringLiteral("Parity"), "Label_PortBParity");
    c.ComboBox_PortBStopBits = rows.list("ComboBox_PortBStopBits", {"1", "2"},
                                         QStringLiteral("Stop Bits"), "Label_PortBStopBits");
    c.ComboBox_PortBInput = rows.list("ComboBox_PortBInput", {"QLIP", "RTCM"},
                                      QStringLiteral("Input Protocol"), "Label_PortBInput");
    c.ComboBox_PortBOutput = rows.list("ComboBox_PortBOutput", {"QLIP", "NMEA"},
                                       QStringLiteral("Output Protocol"), "Label_PortBOutput");
    c.Label_PortBOutput = findChild<QLabel*>(QStringLiteral("Label_PortBOutput"));
    c.Button_SetB = widgets::dialog::LoneButton(
        this, b, "Button_SetB", QStringLiteral("Set Port &B"), [this] { Button_SetBClick(); });
  }

  widgets::dialog::ButtonRow(this, top,
                             {{"Button_Break", QStringLiteral("Send &Break"),
                               [this] { Button_BreakClick(); }, &c.Button_Break},
                              widgets::dialog::Closing(this, &c.Button_Close)});
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
                              app::PromptButtons::YesNo,
                              app::PromptIcon::Question) == app::PromptAnswer::Yes) {
    main_.ApplyPortSettings(*settings);
  }
}

void TForm_Serial::Button_SetAClick() { setPort(portASettings()); }

void TForm_Serial::Button_SetBClick() { setPort(portBSettings()); }

void TForm_Serial::Button_BreakClick() {
  // 9600 baud, 8 data bits, no parity, 1 stop bit.
  main_.ApplyPortSettings(link::PortSettings{0, 7, 3, 0, 0, 0, 0});
  main_.context().clock.sleepMs(kSettleMs);
  main_.breakSequence().breakCountdown = link::BreakSequence::kStartCount;
  main_.controls.TimerBreak->start();
}

}  // namespace halvix::commands
