#include "commands/packet_masks_dialog.h"

namespace halvix::commands {

TForm_PacketMasks::TForm_PacketMasks(QWidget* parent) : QDialog(parent) {
  setObjectName(QStringLiteral("Form_PacketMasks"));
  setWindowTitle(QStringLiteral("Packet Masks and Options"));
}

}  // namespace halvix::commands
