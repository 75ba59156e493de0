#include "commands/datum_dialog.h"

#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "commands/catalogue.h"
#include "commands/datum_names.h"
#include "widgets/dialog_support.h"

namespace halvix::commands {

TForm_Datum::TForm_Datum(link::SerialLink& link, QWidget* parent) : QDialog(parent), link_(link) {
  QVBoxLayout* top = widgets::dialog::SetUpDialog(this, "Form_Datum", QStringLiteral("Select Datum"),
                                     QStringLiteral("Datum: Packet 8E/8F-15"));
  Controls& c = controls_;
  c.ComboBox_Datum = widgets::dialog::List(this, "ComboBox_Datum", {});
  for (const char* name : DatumNames()) c.ComboBox_Datum->addItem(QString::fromLatin1(name));
  c.ComboBox_Datum->setCurrentIndex(-1);
  c.ComboBox_Datum->setToolTip(QStringLiteral("Set datum: packets 8E-15, 8F-15."));
  c.ComboBox_Datum->setMaxVisibleItems(16);
  widgets::dialog::ValueRows rows(this, top);
  rows.add(QStringLiteral("Datum:"), c.ComboBox_Datum, {}, "Label_Datum");
  top->addSpacing(4);
  widgets::dialog::OkApplyClose(this, top, c, [this] { return Button_ApplyClick(); });
  widgets::dialog::OnActivate(this, [this] { FormActivate(); });
}

void TForm_Datum::FormActivate() { DatumRequest8E15(link_); }

void TForm_Datum::Button_ApplyClick() {
  // No selection is index -1, which goes out as FF FF.
  SetDatum8E15(link_, static_cast<std::uint16_t>(controls_.ComboBox_Datum->currentIndex()));
}

void TForm_Datum::showDatum(int index) {
  QComboBox* list = controls_.ComboBox_Datum;
  widgets::dialog::SelectIndex(list, index);
  if (QLineEdit* e = list->lineEdit()) e->setSelection(0, static_cast<int>(e->text().size()));
}

}  // namespace halvix::commands
