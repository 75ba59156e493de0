#include "commands/serial_dialog.h"

#include <QComboBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QTimer>
#include <QVBoxLayout>
#include <array>

#include "commands/catalogue.h"
#include "reports/config_layouts.h"
#include "reports/window_context.h"
#include "session/receiver_session.h"
#include "widgets/dialog_support.h"

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

// The protocol code of a list's item; other, while nothing or an item past codes is chosen.
std::uint8_t ProtocolCode(const QComboBox* list, std::initializer_list<std::uint8_t> codes,
                          std::uint8_t other) {
  const int i = list->currentIndex();
  return i >= 0 && i < static_cast<int>(codes.size()) ? codes.begin()[i] : other;
}

std::optional<link::PortSettings> WithProtocols(std::optional<link::PortSettings> s, std::uint8_t input,
                                                std::uint8_t output) {
  if (s) {
    s->inputProtocol = input;
    s->outputProtocol = output;
  }
  return s;
}

}  // namespace

TForm_Serial::TForm_Serial(reports::WindowContext& context, session::ReceiverSession& session,
                           QWidget* parent)
    : QDialog(parent), context_(context), session_(session) {
  QVBoxLayout* top = widgets::dialog::SetUpDialog(this, "Form_Serial", QStringLiteral("Serial Port Configuration"),
                                     QStringLiteral("Serial Port Configuration: Packet 0xBC"));
  Controls& c = controls_;
  auto* columns = new QHBoxLayout;
  columns->setSpacing(16);
  top->addLayout(columns);

  // One port's column: its bold title, the six lists (line settings, then
  // protocols) named after the port, and its Set button.
  const auto port = [this, columns](char name, QLabel** title, std::array<QComboBox**, 6> lists,
                                    std::array<std::initializer_list<const char*>, 6> items,
                                    QPushButton** set, void (TForm_Serial::*click)()) {
    static constexpr const char* kFields[] = {"BaudRate", "DataBits", "Parity",
                                              "StopBits", "Input",    "Output"};
    static constexpr const char* kCaptions[] = {"Baud Rate", "Data Bits",      "Parity",
                                                "Stop Bits", "Input Protocol", "Output Protocol"};
    const QByteArray port = QByteArray(1, name);
    auto* l = new QVBoxLayout;
    columns->addLayout(l);
    *title = widgets::dialog::Label(this, QStringLiteral("Port ") + QLatin1Char(name),
                                    QByteArray("Label_" + port).constData());
    QFont bold = (*title)->font();
    bold.setBold(true);
    (*title)->setFont(bold);
    l->addWidget(*title);
    widgets::dialog::ValueRows rows(this, l);
    for (std::size_t i = 0; i < lists.size(); ++i) {
      *lists[i] = rows.list(QByteArray("ComboBox_Port" + port + kFields[i]).constData(), items[i],
                            QString::fromLatin1(kCaptions[i]),
                            QByteArray("Label_Port" + port + kFields[i]).constData());
    }
    *set = widgets::dialog::LoneButton(this, l, QByteArray("Button_Set" + port).constData(),
                                       QStringLiteral("Set Port &") + QLatin1Char(name),
                                       [this, click] { (this->*click)(); });
  };
  port('A', &c.Label_A,
       {&c.ComboBox_PortABaudRate, &c.ComboBox_PortADataBits, &c.ComboBox_PortAParity,
        &c.ComboBox_PortAStopBits, &c.ComboBox_PortAInput, &c.ComboBox_PortAOutput},
       {{{"None", "110  ", "300", "600", "1200", "2400", "4800", "9600", "19200", "38400"},
         {"7", "8"},
         {"None", "Odd", "Even"},
         {"1", "2"},
         {"none", "QLIP", "RTCM"},
         {"none", "QLIP", "NMEA"}}},
       &c.Button_SetA, &TForm_Serial::Button_SetAClick);
  port('B', &c.Label_B,
       {&c.ComboBox_PortBBaudRate, &c.ComboBox_PortBDataBits, &c.ComboBox_PortBParity,
        &c.ComboBox_PortBStopBits, &c.ComboBox_PortBInput, &c.ComboBox_PortBOutput},
       {{{"4800", "9600", "19200", "38400"},
         {"8"},
         {"None", "Odd", "Even"},
         {"1", "2"},
         {"QLIP", "RTCM"},
         {"QLIP", "NMEA"}}},
       &c.Button_SetB, &TForm_Serial::Button_SetBClick);
  c.Label_PortBOutput = findChild<QLabel*>(QStringLiteral("Label_PortBOutput"));

  widgets::dialog::ButtonRow(this, top,
                             {{"Button_Break", QStringLiteral("Send &Break"),
                               [this] { Button_BreakClick(); }, &c.Button_Break},
                              widgets::dialog::Closing(this, &c.Button_Close)});
  widgets::dialog::OnActivate(this, [this] { FormActivate(); });
}

std::optional<link::PortSettings> TForm_Serial::portASettings() const {
  const Controls& c = controls_;
  return WithProtocols(LineSettings(0, c.ComboBox_PortABaudRate, 0, c.ComboBox_PortADataBits, 2,
                                    c.ComboBox_PortAParity, c.ComboBox_PortAStopBits),
                       ProtocolCode(c.ComboBox_PortAInput, {0, 2, 8}, 0),
                       ProtocolCode(c.ComboBox_PortAOutput, {0, 2, 4}, 0));
}

std::optional<link::PortSettings> TForm_Serial::portBSettings() const {
  const Controls& c = controls_;
  return WithProtocols(LineSettings(1, c.ComboBox_PortBBaudRate, 6, c.ComboBox_PortBDataBits, 3,
                                    c.ComboBox_PortBParity, c.ComboBox_PortBStopBits),
                       ProtocolCode(c.ComboBox_PortBInput, {2, 8}, 8),
                       ProtocolCode(c.ComboBox_PortBOutput, {2, 4}, 4));
}

void TForm_Serial::FormActivate() {
  reports::WindowContext& context = context_;
  SerialPortRequestBC(context.link, 0);
  context.clock.sleepMs(kSettleMs);
  SerialPortRequestBC(context.link, 1);
}

void TForm_Serial::setPort(const std::optional<link::PortSettings>& settings) {
  if (!settings) return;
  reports::WindowContext& context = context_;
  SetSerialPortBC(context.link, *settings);
  context.clock.sleepMs(kSettleMs);
  // Asked for either port: only the operator knows which one the PC is on.
  if (context.prompts.message(QStringLiteral("Port Settings"),
                              QStringLiteral("Change PC settings to match?"),
                              platform::PromptButtons::YesNo,
                              platform::PromptIcon::Question) == platform::PromptAnswer::Yes) {
    session_.applyPortSettings(*settings);
  }
}

void TForm_Serial::Button_SetAClick() { setPort(portASettings()); }

void TForm_Serial::Button_SetBClick() { setPort(portBSettings()); }

void TForm_Serial::Button_BreakClick() { session_.sendBreak(); }

namespace {

// Selects the list item a protocol code stands for (item index by code); a
// code without an item leaves the list unselected, showing "unknown".
void SelectProtocol(QComboBox* list, int code, std::initializer_list<std::pair<int, int>> items) {
  for (const auto& [itemCode, index] : items) {
    if (itemCode == code) {
      widgets::dialog::SelectIndex(list, index);
      return;
    }
  }
  widgets::dialog::ShowUnselected(list, QStringLiteral("unknown"));
}

}  // namespace

void TForm_Serial::showPort(const reports::SerialPortReport& r) {
  namespace ui = widgets::dialog;
  Controls& c = controls_;
  if (r.isPortA()) {
    ui::SelectIndex(c.ComboBox_PortABaudRate, r.baudCode);
    if (r.dataBitsCode == 2 || r.dataBitsCode == 3) {
      ui::SelectIndex(c.ComboBox_PortADataBits, r.dataBitsCode - 2);
    }
    ui::SelectIndex(c.ComboBox_PortAParity, r.parityCode);
    ui::SelectIndex(c.ComboBox_PortAStopBits, r.stopBitsCode);
    SelectProtocol(c.ComboBox_PortAInput, r.inputProtocol, {{8, 2}, {2, 1}, {0, 0}});
    // Code 6 points past the list: no selection.
    SelectProtocol(c.ComboBox_PortAOutput, r.outputProtocol, {{6, 3}, {4, 2}, {2, 1}, {0, 0}});
    return;
  }
  ui::SelectIndex(c.ComboBox_PortBBaudRate, r.baudCode - 6);
  if (r.dataBitsCode == 3) ui::SelectIndex(c.ComboBox_PortBDataBits, 0);
  ui::SelectIndex(c.ComboBox_PortBParity, r.parityCode);
  ui::SelectIndex(c.ComboBox_PortBStopBits, r.stopBitsCode);
  SelectProtocol(c.ComboBox_PortBInput, r.inputProtocol, {{8, 1}, {2, 0}});
  SelectProtocol(c.ComboBox_PortBOutput, r.outputProtocol, {{4, 1}, {2, 0}});
}

void TForm_Serial::showBothPorts() {
  Controls& c = controls_;
  c.Label_PortBOutput->setEnabled(true);
  c.ComboBox_PortBOutput->setEnabled(true);
  c.Label_A->setText(QStringLiteral("Port A"));
  c.Label_B->setText(QStringLiteral("Port B"));
  c.Button_SetA->setText(QStringLiteral("Set Port &A"));
  c.Button_SetB->setText(QStringLiteral("Set Port &B"));
}

}  // namespace halvix::commands
