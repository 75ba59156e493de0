#include "commands/default_dialog.h"

#include <QComboBox>
#include <QPushButton>
#include <QVBoxLayout>

#include "widgets/dialog_support.h"

namespace halvix::commands {

TForm_Default::TForm_Default(link::SerialLink& link, link::Clock& clock,
                             platform::OperatorPrompts& prompts, tools::ControlHooks hooks,
                             QWidget* parent)
    : QDialog(parent), actions_(link, clock, prompts, std::move(hooks)) {
  QVBoxLayout* top =
      widgets::dialog::SetUpDialog(this, "Form_Default", QStringLiteral("Revert to Default Settings"),
                      QStringLiteral("Default Segment: Packet 8E-45"));
  Controls& c = controls_;
  c.ComboBox_Segment = widgets::dialog::List(
      this, "ComboBox_Segment",
      {"Receiver Configuration", "Packet I/O Control", "Serial Port Configuration",
       "Timing Outputs", "Accurate Position", "Self-Survey Configuration", "NMEA Configuration",
       "UTC Info", "ALL SEGMENTS"});
  c.ComboBox_Segment->setMaxVisibleItems(12);
  c.ComboBox_Segment->setCurrentIndex(0);
  widgets::dialog::ValueRows rows(this, top);
  rows.add(QStringLiteral("Segment:"), c.ComboBox_Segment, {}, "Label_Segment");
  top->addSpacing(4);
  widgets::dialog::OkApplyClose(this, top, c, [this] { return Button_ApplyClick(); });
}

bool TForm_Default::Button_ApplyClick() {
  if (!actions_.ConfirmRevertSegment()) return false;
  const int item = controls_.ComboBox_Segment->currentIndex();
  if (item < 0 || item >= static_cast<int>(kSegments.size())) return false;
  actions_.RevertSegment(kSegments[static_cast<std::size_t>(item)]);
  return true;
}

}  // namespace halvix::commands
