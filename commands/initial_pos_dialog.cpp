#include "commands/initial_pos_dialog.h"

#include <QFile>
#include <QFileInfo>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>
#include <algorithm>

#include "platform/operator_prompts.h"
#include "commands/catalogue.h"
#include "widgets/dialog_support.h"
#include "commands/position_file.h"

namespace halvix::commands {

namespace {

// The system's degrees-to-radians factor (pi taken as 3.14159), so a position
// sent and read back shows unchanged. The product is narrowed once, at the end.
constexpr double kDegreesToRadians = 0.017453277777777776;

// Digits shown for a value read from a file: at least the usual ones, and
// every digit the file holds, so a downloaded position goes back unchanged.
constexpr int kMaxFileDecimals = 9;

QString fileValue(double value, int shown, int written) {
  return QString::asprintf("%.*f", std::clamp(written, shown, kMaxFileDecimals), value);
}

}  // namespace

TForm_InitialPos::TForm_InitialPos(link::SerialLink& link, platform::OperatorPrompts& prompts,
                                   QWidget* parent)
    : QDialog(parent), link_(link), prompts_(prompts) {
  QVBoxLayout* top =
      widgets::dialog::SetUpDialog(this, "Form_InitialPos", QStringLiteral("Upload Accurate Position"),
                      QStringLiteral("Set Initial Position: Packets 0x31, 0x32"));
  Controls& c = controls_;
  auto* panels = new QHBoxLayout;
  panels->setSpacing(8);
  top->addLayout(panels);

  // One row of a panel: the edit's member, its name, caption and unit.
  struct Row {
    QLineEdit* Controls::*edit;
    const char* editName;
    const char* caption;
    const char* unit;
  };
  const auto panel = [&](const char* name, const char* title, const char* buttonName,
                         const char* buttonText, void (TForm_InitialPos::*click)(),
                         std::initializer_list<Row> rows) {
    for (const Row& row : rows) c.*row.edit = widgets::dialog::Edit(this, row.editName);
    QVBoxLayout* inner = nullptr;
    QGroupBox* box = widgets::dialog::Group(this, name, QString::fromLatin1(title), {}, &inner);
    widgets::dialog::ValueRows grid(box, inner);
    for (const Row& row : rows) {
      grid.add(QString::fromLatin1(row.caption), c.*row.edit, QString::fromLatin1(row.unit));
    }
    QPushButton* set =
        widgets::dialog::LoneButton(box, inner, buttonName, QString::fromLatin1(buttonText),
                                    [this, click] { (this->*click)(); });
    panels->addWidget(box);
    return set;
  };
  c.Button_SetLLA = panel("Panel_LLA", "Accurate LLA:", "Button_SetLLA", "&Set",
                          &TForm_InitialPos::Button_SetLLAClick,
                          {{&Controls::Edit_Lat, "Edit_Lat", "Latitude", "degrees"},
                           {&Controls::Edit_Lon, "Edit_Lon", "Longitude", "degrees"},
                           {&Controls::Edit_Alt, "Edit_Alt", "Altitude", "meters"}});
  c.Button_SetECEF = panel("Panel_ECEF", "Accurate ECEF:", "Button_SetECEF", "Se&t",
                           &TForm_InitialPos::Button_SetECEFClick,
                           {{&Controls::Edit_X, "Edit_X", "X", "meters"},
                            {&Controls::Edit_Y, "Edit_Y", "Y", "meters"},
                            {&Controls::Edit_Z, "Edit_Z", "Z", "meters"}});

  widgets::dialog::ButtonRow(this, top,
                             {{"Button_File", QStringLiteral("&From File"),
                               [this] { Button_FileClick(); }, &c.Button_File},
                              widgets::dialog::Closing(this, &c.Button_Close)});
}

bool TForm_InitialPos::readFields(const Field (&fields)[3], float (&values)[3]) {
  // Emptiness first, in field order: only the first empty field is named.
  for (const Field& f : fields) {
    if (!f.edit->text().trimmed().isEmpty()) continue;
    prompts_.message(QStringLiteral("Warning"),
                     QStringLiteral("%1 must be a floating point number.").arg(QLatin1String(f.name)),
                     platform::PromptButtons::Ok, platform::PromptIcon::Exclamation);
    f.edit->setFocus();
    return false;
  }
  const widgets::dialog::FieldReader reader(prompts_);
  for (int i = 0; i < 3; ++i) {
    const std::optional<float> v = reader.single(fields[i].edit, QLatin1String(fields[i].name));
    if (!v) return false;
    values[i] = *v;
  }
  return true;
}

void TForm_InitialPos::Button_SetLLAClick() {
  const Controls& c = controls_;
  float v[3];
  if (!readFields({{c.Edit_Lat, "Latitude"}, {c.Edit_Lon, "Longitude"}, {c.Edit_Alt, "Altitude"}},
                  v))
    return;
  SetInitialPositionLla32(link_, static_cast<float>(v[0] * kDegreesToRadians),
                          static_cast<float>(v[1] * kDegreesToRadians), v[2]);
}

void TForm_InitialPos::Button_SetECEFClick() {
  const Controls& c = controls_;
  float v[3];
  if (!readFields({{c.Edit_X, "X"}, {c.Edit_Y, "Y"}, {c.Edit_Z, "Z"}}, v)) return;
  SetInitialPositionEcef31(link_, v[0], v[1], v[2]);
}

void TForm_InitialPos::Button_FileClick() {
  QString path = prompts_.openFileName(QStringLiteral("Open"), kPositionFileFilter);
  if (path.isEmpty()) return;
  // A name typed without its extension means the .dat file.
  if (!QFileInfo::exists(path) && QFileInfo(path).suffix().isEmpty())
    path += QLatin1Char('.') + kPositionFileExtension;

  QFile file(path);
  if (!file.open(QIODevice::ReadOnly | QIODevice::Text)) {
    prompts_.message(QStringLiteral("Error"), QStringLiteral("Couldn't open position data file."),
                     platform::PromptButtons::Ok, platform::PromptIcon::Error);
    return;
  }
  const std::optional<PositionRecord> r = ParsePositionRecord(file.read(kPositionFileReadLimit));
  file.close();

  Controls& c = controls_;
  if (r && r->type == kPositionTypeEcef) {
    QLineEdit* edits[] = {c.Edit_X, c.Edit_Y, c.Edit_Z};
    for (int i = 0; i < 3; ++i) edits[i]->setText(fileValue(r->values[i], 2, r->decimals[i]));
  } else if (r && r->type == kPositionTypeLla) {
    c.Edit_Lat->setText(fileValue(r->values[0], 3, r->decimals[0]));
    c.Edit_Lon->setText(fileValue(r->values[1], 3, r->decimals[1]));
    c.Edit_Alt->setText(fileValue(r->values[2], 1, r->decimals[2]));
  } else {
    // An unknown type and an unreadable first record alike.
    prompts_.message(QStringLiteral("Error"), QStringLiteral("Position data file format incorrect"),
                     platform::PromptButtons::Ok, platform::PromptIcon::Error);
  }
}

}  // namespace halvix::commands
