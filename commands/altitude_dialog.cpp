#include "commands/altitude_dialog.h"

#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>
#include <cmath>

#include "reports/window_context.h"
#include "commands/catalogue.h"
#include "widgets/dialog_support.h"

namespace halvix::commands {

TForm_Altitude::TForm_Altitude(reports::WindowContext& context, QWidget* parent)
    : QDialog(parent), context_(context) {
  QVBoxLayout* top = widgets::dialog::SetUpDialog(this, "Form_Altitude", QStringLiteral("2D Altitude"),
                                     QStringLiteral("Altitude for 2D Mode: Packet 0x2A"));
  Controls& c = controls_;
  widgets::dialog::RadioColumn(
      this, top,
      {{"RadioButton_Set", QStringLiteral("Set Altitude"), &c.RadioButton_Set},
       {"RadioButton_Cancel", QStringLiteral("Cancel Altitude Set Mode"), &c.RadioButton_Cancel}});
  c.RadioButton_Set->setChecked(true);
  c.Edit_Altitude = widgets::dialog::ValueRows(this, top).edit(
      "Edit_Altitude", QStringLiteral("Altitude"), "Label_Altitude", QStringLiteral("m"),
      "Label_Metres");
  c.Edit_Altitude->setText(QStringLiteral("0.0"));
  widgets::dialog::SetClose(this, top, c, [this] { Button_SetClick(); });
  connect(c.RadioButton_Set, &QRadioButton::clicked, this, [this] { RadioButton_SetClick(); });
  connect(c.RadioButton_Cancel, &QRadioButton::clicked, this,
          [this] { RadioButton_CancelClick(); });
  widgets::dialog::OnActivate(this, [this] { FormActivate(); });
}

void TForm_Altitude::paintField(QPalette::ColorRole role) {
  QPalette p = controls_.Edit_Altitude->palette();
  p.setColor(QPalette::Base, palette().color(role));
  controls_.Edit_Altitude->setPalette(p);
}

void TForm_Altitude::FormActivate() { AltitudeRequest2A(context_.link); }

void TForm_Altitude::RadioButton_SetClick() { paintField(QPalette::Base); }

void TForm_Altitude::RadioButton_CancelClick() { paintField(QPalette::Button); }

void TForm_Altitude::Button_SetClick() {
  if (!controls_.RadioButton_Set->isChecked()) {
    ClearAltitude2A(context_.link);
    return;
  }
  QLineEdit* edit = controls_.Edit_Altitude;
  const std::optional<double> metres = widgets::dialog::ParseReal(edit->text());
  // An altitude beyond the single range would go out as infinity.
  if (!metres || std::fabs(*metres) > 3.4028234663852886e38) {
    context_.prompts.message(QStringLiteral("Error"),
                             QStringLiteral("'%1' is not a valid floating point value")
                                 .arg(edit->text()),
                             platform::PromptButtons::Ok, platform::PromptIcon::Error);
    edit->setFocus();
    return;
  }
  SetAltitude2A(context_.link, static_cast<float>(*metres));
}

void TForm_Altitude::showAltitude(double altitude) {
  controls_.Edit_Altitude->setText(QString::asprintf("%.3f", altitude));
}

}  // namespace halvix::commands
