#include "commands/gps_dialog.h"

#include <QComboBox>
#include <QEvent>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "reports/window_context.h"
#include "commands/catalogue.h"
#include "widgets/dialog_support.h"
#include "reports/config_layouts.h"
#include "reports/formatters.h"

namespace halvix::commands {

namespace {

// The range of one numeric field and the texts that replace a value outside it.
struct FieldLimits {
  double low, high;
  const char* lowText;
  const char* highText;
  bool integer;
};

constexpr FieldLimits kElevation{0, 90, "0.0", "90.0", false};
constexpr FieldLimits kFiftyMask{0, 50, "0.0", "50.0", false};
constexpr FieldLimits kDgpsAge{1, 44, "1", "44", true};

const FieldLimits& LimitsOf(const TForm_GPS::Controls& c, const QLineEdit* edit) {
  if (edit == c.Edit_EMask) return kElevation;
  if (edit == c.Edit_DGPSAge) return kDgpsAge;
  return kFiftyMask;
}

std::uint8_t IndexByte(const QComboBox* list) {
  return static_cast<std::uint8_t>(list->currentIndex());
}

}  // namespace

TForm_GPS::TForm_GPS(reports::WindowContext& context, QWidget* parent)
    : QDialog(parent), context_(context) {
  QVBoxLayout* top = widgets::dialog::SetUpDialog(this, "Form_GPS", QStringLiteral("Receiver Configuration"),
                                     QStringLiteral("Receiver Configuration: Packet 0xBB"));
  Controls& c = controls_;
  widgets::dialog::ValueRows rows(this, top);
  c.ComboBox_RMode =
      rows.list("ComboBox_RMode",
                {"Automatic", "Time Only (1 SV)", "--Not Used--", "Horizontal (2D)",
                 "Full Position (3D)", "DGPS Reference", "2D Clock Hold", "Overdetermined Clock"},
                QStringLiteral("Receiver Mode"), "Label_RMode");
  c.ComboBox_DGPSMode = rows.list("ComboBox_DGPSMode", {"Off", "On", "Auto"},
                                  QStringLiteral("DGPS Mode"), "Label_DGPSMode");
  c.ComboBox_DCode =
      rows.list("ComboBox_DCode", {"--Not Used--", "Land", "Sea", "Air", "Stationary"},
                QStringLiteral("Dynamics Code"), "Label_DCode");

  struct FieldSpec {
    QLineEdit* Controls::*slot;
    const char* name;
    const char* label;
    const char* labelName;
    const char* hint;
  };
  const FieldSpec fields[] = {
      {&Controls::Edit_EMask, "Edit_EMask", "Elevation Mask (degrees)", "Label_EMask",
       "Lowest satellite elevation for fixes."},
      {&Controls::Edit_SMask, "Edit_SMask", "Signal Level Mask (AMU)", "Label_SMask",
       "Minimum signal level for fixes."},
      {&Controls::Edit_PMask, "Edit_PMask", "PDOP Mask", "Label_PMask", "Maximum DOP for fixes."},
      {&Controls::Edit_PSwitch, "Edit_PSwitch", "PDOP Switch", "Label_PSwitch",
       "Selects 2D/3D mode."},
      {&Controls::Edit_DGPSAge, "Edit_DGPSAge", "DGPS Age Limit (seconds)", "Label_DGPSAge",
       "Maximum time to use a DGPS correction."},
  };
  for (const FieldSpec& f : fields) {
    QLineEdit* e = widgets::dialog::Edit(this, f.name, QStringLiteral("-1"), QString::fromLatin1(f.hint));
    c.*f.slot = e;
    rows.add(QString::fromLatin1(f.label), e, {}, f.labelName)->setToolTip(e->toolTip());
    e->installEventFilter(this);
  }

  widgets::dialog::OkApplyClose(this, top, c, [this] { return Button_ApplyClick(); });
  widgets::dialog::OnActivate(this, [this] { FormActivate(); });
}

bool TForm_GPS::eventFilter(QObject* watched, QEvent* event) {
  auto* edit = qobject_cast<QLineEdit*>(watched);
  if (edit != nullptr) {
    if (event->type() == QEvent::FocusOut) {
      checkField(edit);
    } else if (event->type() == QEvent::KeyPress) {
      const int key = static_cast<QKeyEvent*>(event)->key();
      // The key goes on to the field either way.
      if (key == Qt::Key_Return || key == Qt::Key_Enter) checkField(edit);
    }
  }
  return QDialog::eventFilter(watched, event);
}

void TForm_GPS::checkField(QLineEdit* edit) {
  const FieldLimits& limits = LimitsOf(controls_, edit);
  double value = 0.0;
  if (limits.integer) {
    const std::optional<long long> v = widgets::dialog::ParseInteger(edit->text());
    if (!v) return;  // not a number: left for Apply to refuse
    value = static_cast<double>(*v);
  } else {
    const std::optional<double> v = widgets::dialog::ParseReal(edit->text());
    if (!v) return;
    // The fields compare as singles.
    value = static_cast<float>(*v);
  }
  if (value > limits.high) {
    edit->setText(QString::fromLatin1(limits.highText));
  } else if (value < limits.low) {
    edit->setText(QString::fromLatin1(limits.lowText));
  }
}

void TForm_GPS::FormActivate() { ReceiverConfigurationRequestBB(context_.link); }

bool TForm_GPS::Button_ApplyClick() {
  const Controls& c = controls_;
  const widgets::dialog::FieldReader read(context_.prompts);
  const auto elevation = read.single(c.Edit_EMask, QStringLiteral("Elevation Mask"));
  if (!elevation) return false;
  const auto signal = read.single(c.Edit_SMask, QStringLiteral("Signal Level Mask"));
  if (!signal) return false;
  const auto pdop = read.single(c.Edit_PMask, QStringLiteral("PDOP Mask"));
  if (!pdop) return false;
  const auto pdopSwitch = read.single(c.Edit_PSwitch, QStringLiteral("PDOP Switch"));
  if (!pdopSwitch) return false;
  const auto age = read.integer(c.Edit_DGPSAge, QStringLiteral("DGPS Age Limit"));
  if (!age) return false;

  ReceiverConfiguration config;
  config.receiverMode = IndexByte(c.ComboBox_RMode);
  const int dgps = c.ComboBox_DGPSMode->currentIndex();
  config.dgpsMode = dgps == 0 ? kDgpsOff : dgps == 1 ? kDgpsOn : kDgpsAuto;
  config.dynamicsCode = IndexByte(c.ComboBox_DCode);
  config.elevationMask = static_cast<float>(static_cast<double>(*elevation) * kDegreesToRadians);
  config.signalLevelMask = *signal;
  config.pdopMask = *pdop;
  config.pdopSwitch = *pdopSwitch;
  config.dgpsAgeLimit = static_cast<std::uint8_t>(*age & 0xFF);
  SetReceiverConfigurationBB(context_.link, config);
  return true;
}

void TForm_GPS::showSettings(const reports::ReceiverConfigurationReport& r) {
  namespace ui = widgets::dialog;
  const auto tenths = [](double value) { return QString::asprintf("%0.1f", value); };
  Controls& c = controls_;
  ui::SelectIndex(c.ComboBox_RMode, r.receiverMode);
  ui::SelectIndex(c.ComboBox_DGPSMode, r.dgpsModeIndex());
  ui::SelectIndex(c.ComboBox_DCode, r.dynamicsCode);
  c.Edit_EMask->setText(tenths(r.elevationMask * reports::kRadiansToDegrees));
  c.Edit_SMask->setText(tenths(r.signalLevelMask));
  c.Edit_PMask->setText(tenths(r.pdopMask));
  c.Edit_PSwitch->setText(tenths(r.pdopSwitch));
  c.Edit_DGPSAge->setText(QString::number(r.dgpsAgeLimit));
}

}  // namespace halvix::commands
