// TForm_Serial, "Serial Port Configuration": the line settings and protocols
// of the receiver's ports A and B (0xBC). After a Set the PC's own port may
// follow; "Send &Break" puts the PC line at 9600-8-None-1 and restarts the
// session's break sequence.
#pragma once

#include <optional>

#include "link/port_settings.h"
#include "widgets/dialog_support.h"

namespace halvix::session {
class ReceiverSession;
}

namespace halvix::reports {
struct SerialPortReport;
struct WindowContext;
}

namespace halvix::commands {

class TForm_Serial : public QDialog {
  Q_OBJECT

 public:
  static constexpr int kSettleMs = 200;

  TForm_Serial(reports::WindowContext& context, session::ReceiverSession& session,
               QWidget* parent = nullptr);

  struct Controls {
    QLabel* Label_A = nullptr;
    QComboBox* ComboBox_PortABaudRate = nullptr;
    QComboBox* ComboBox_PortADataBits = nullptr;
    QComboBox* ComboBox_PortAParity = nullptr;
    QComboBox* ComboBox_PortAStopBits = nullptr;
    QComboBox* ComboBox_PortAInput = nullptr;
    QComboBox* ComboBox_PortAOutput = nullptr;
    QPushButton* Button_SetA = nullptr;

    QLabel* Label_B = nullptr;
    QComboBox* ComboBox_PortBBaudRate = nullptr;
    QComboBox* ComboBox_PortBDataBits = nullptr;
    QComboBox* ComboBox_PortBParity = nullptr;
    QComboBox* ComboBox_PortBStopBits = nullptr;
    QComboBox* ComboBox_PortBInput = nullptr;
    QLabel* Label_PortBOutput = nullptr;
    QComboBox* ComboBox_PortBOutput = nullptr;
    QPushButton* Button_SetB = nullptr;

    QPushButton* Button_Break = nullptr;
    QPushButton* Button_Close = nullptr;
  };
  Controls controls;

  // The record the lists of a port give; nothing while its baud, data bits,
  // parity or stop bits list has no selection.
  std::optional<link::PortSettings> portASettings() const;
  std::optional<link::PortSettings> portBSettings() const;

  void FormActivate();
  void Button_SetAClick();
  void Button_SetBClick();
  void Button_BreakClick();

 private:
  void setPort(const std::optional<link::PortSettings>& settings);
  reports::WindowContext& context_;
  session::ReceiverSession& session_;

 public:
  // Report 0xBC: the lists of the port it describes; a protocol the lists
  // do not hold shows "unknown".
  void showPort(const reports::SerialPortReport& r);

 public:
  // The receiver type: both ports with their captions, port B's output protocol usable.
  void showBothPorts();
};

}  // namespace halvix::commands
