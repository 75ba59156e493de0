#include "commands/sv_num_dialog.h"

#include <QComboBox>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

#include "reports/window_context.h"
#include "commands/catalogue.h"
#include "widgets/dialog_support.h"

namespace halvix::commands {

TForm_SVNum::TForm_SVNum(reports::WindowContext& context, QWidget* parent)
    : QDialog(parent), context_(context) {
  QVBoxLayout* top = widgets::dialog::SetUpDialog(this, "Form_SVNum", QStringLiteral("One-Satellite SV"),
                                     QStringLiteral("One SV Mode: Packet 0x34"));
  Controls& c = controls_;
  c.ComboBox_SVNum = widgets::dialog::List(this, "ComboBox_SVNum", {});
  for (int sv = 0; sv <= 32; ++sv) c.ComboBox_SVNum->addItem(QString::number(sv));
  c.ComboBox_SVNum->setCurrentIndex(-1);
  widgets::dialog::ValueRows rows(this, top);
  rows.add(QStringLiteral("SV number"), c.ComboBox_SVNum, {}, "Label_SVNum");
  rows.addSpanning(
      widgets::dialog::Label(this, QStringLiteral("Select 0 for SV with highest elevation."), "Label_Note"));
  widgets::dialog::OkApplyClose(this, top, c, [this] { return Button_ApplyClick(); });
}

void TForm_SVNum::Button_ApplyClick() {
  // No selection goes out as 0xFF.
  OneSvSelect34(context_.link, static_cast<std::uint8_t>(controls_.ComboBox_SVNum->currentIndex()));
}

}  // namespace halvix::commands
