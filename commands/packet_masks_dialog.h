// TForm_PacketMasks: the dialog of the I/O options and the packet broadcast mask, created once at start-up and shown from the main window.
#pragma once

#include <QDialog>

namespace halvix::commands {

class TForm_PacketMasks : public QDialog {
  Q_OBJECT

 public:
  explicit TForm_PacketMasks(QWidget* parent = nullptr);
};

}  // namespace halvix::commands
