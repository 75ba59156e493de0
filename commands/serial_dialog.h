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
    QLabel* Label_A{};
    QComboBox *ComboBox_PortABaudRate{}, *ComboBox_PortADataBits{}, *ComboBox_PortAParity{},
        *ComboBox_PortAStopBits{}, *ComboBox_PortAInput{}, *ComboBox_PortAOutput{};
    QPushButton* Button_SetA{};

    QLabel *Label_B{}, *Label_PortBOutput{};
    QComboBox *ComboBox_PortBBaudRate{}, *ComboBox_PortBDataBits{}, *ComboBox_PortBParity{},
        *ComboBox_PortBStopBits{}, *ComboBox_PortBInput{}, *ComboBox_PortBOutput{};
    QPushButton* Button_SetB{};

    QPushButton *Button_Break{}, *Button_Close{};
  };
  // The window's own; tests reach them here.
  Controls& testControls() { return controls_; }

  // The record the lists of a port give; nothing while its baud, data bits,
  // parity or stop bits list has no selection.
  std::optional<link::PortSettings> portASettings() const;
  std::optional<link::PortSettings> portBSettings() const;

  void FormActivate();
  void Button_SetAClick();
  void Button_SetBClick();
  void Button_BreakClick();
  // Report 0xBC: the lists of the port it describes; a protocol the lists
  // do not hold shows "unknown".
  void showPort(const reports::SerialPortReport& r);
  // The receiver type: both ports with their captions, port B's output protocol usable.
  void showBothPorts();

 private:
  void setPort(const std::optional<link::PortSettings>& settings);
  Controls controls_;
  reports::WindowContext& context_;
  session::ReceiverSession& session_;
};

}  // namespace halvix::commands
