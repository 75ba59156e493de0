#include "reports/vel_pos_window.h"

#include <QPushButton>

#include "reports/formatters.h"
#include "reports/position_layouts.h"
#include "widgets/group_panel.h"
#include "widgets/value_panel.h"
#include "widgets/window_support.h"

namespace halvix::reports {

namespace {

constexpr int kGroupWidth = 214, kGroupHeight = 130;
constexpr int kRowTop = 26, kRowPitch = 24, kRowHeight = 20;

struct Row {
  const char* label;
  const char* name;
  widgets::ValuePanel* TForm_VelPos::Controls::*slot;
  const char* unit;
};

widgets::GroupPanel* BuildGroup(QWidget* parent, TForm_VelPos::Controls& c, const char* name,
                       const char* title, const char* hint, const QPoint& at,
                       std::initializer_list<Row> rows) {
  widgets::GroupPanel* g = widgets::ui::Group(parent, name, QString::fromLatin1(title), QString::fromLatin1(hint),
                            QRect(at, QSize(kGroupWidth, kGroupHeight)));
  int i = 0;
  for (const Row& r : rows) {
    const int top = kRowTop + i * kRowPitch;
    widgets::ui::Caption(g, QString::fromLatin1(r.label), QRect(8, top, 62, kRowHeight),
                (QByteArray("Label_") + QByteArray(r.name).mid(6)).constData());
    c.*(r.slot) = widgets::ui::Panel(g, r.name, QRect(72, top, 100, kRowHeight));
    widgets::ui::Caption(g, QString::fromLatin1(r.unit), QRect(176, top, 34, kRowHeight));
    ++i;
  }
  return g;
}

}  // namespace

TForm_VelPos::TForm_VelPos(QWidget* parent) : QDialog(parent) {
  constexpr int kMargin = 6;
  constexpr int kWidth = 2 * kGroupWidth + 3 * kMargin;
  constexpr int kButtonsTop = 2 * kGroupHeight + 3 * kMargin;
  widgets::ui::SetUpWindow(this, "Form_VelPos", QStringLiteral("Velocity and Positioning"),
                  QSize(kWidth, kButtonsTop + 25 + kMargin + 2));
  using C = Controls;
  Controls& c = controls_;
  const int left = kMargin, right = 2 * kMargin + kGroupWidth;
  const int top = kMargin, bottom = 2 * kMargin + kGroupHeight;

  c.Panel_LLAPosition =
      BuildGroup(this, c, "Panel_LLAPosition", "LLA Position:", "LLA Position: Packets 0x4A, 0x84",
                 QPoint(left, top),
                 {{"Latitude", "Panel_Latitude", &C::Panel_Latitude, "deg"},
                  {"Longitude", "Panel_Longitude", &C::Panel_Longitude, "deg"},
                  {"Altitude", "Panel_Altitude", &C::Panel_Altitude, "m"},
                  {"Bias", "Panel_LLABias", &C::Panel_LLABias, "m"}});
  c.Panel_ECEFPosition = BuildGroup(
      this, c, "Panel_ECEFPosition", "ECEF Position:", "ECEF Position: Packets 0x42, 0x83",
      QPoint(right, top),
      {{"X", "Panel_PosX", &C::Panel_PosX, "m"},
       {"Y", "Panel_PosY", &C::Panel_PosY, "m"},
       {"Z", "Panel_PosZ", &C::Panel_PosZ, "m"},
       {"Bias", "Panel_ECEFBias", &C::Panel_ECEFBias, "m"}});
  c.Panel_ECEFVelocity = BuildGroup(
      this, c, "Panel_ECEFVelocity", "ECEF Velocity:", "ECEF Velocity: Packet 0x43",
      QPoint(left, bottom),
      {{"X", "Panel_VelX", &C::Panel_VelX, "m/s"},
       {"Y", "Panel_VelY", &C::Panel_VelY, "m/s"},
       {"Z", "Panel_VelZ", &C::Panel_VelZ, "m/s"},
       {"Bias Rate", "Panel_BiasRate", &C::Panel_BiasRate, "m/s"}});
  c.Panel_ENUVelocity = BuildGroup(
      this, c, "Panel_ENUVelocity", "ENU Velocity:", "ENU Velocity: Packet 0x56",
      QPoint(right, bottom),
      {{"East", "Panel_East", &C::Panel_East, "m/s"},
       {"North", "Panel_North", &C::Panel_North, "m/s"},
       {"Up", "Panel_Up", &C::Panel_Up, "m/s"},
       {"Bias Rate", "Panel_ENUBiasRate", &C::Panel_ENUBiasRate, "m/s"}});

  c.Button1 = widgets::ui::Button(this, "Button1", QStringLiteral("C&lear"),
                         QRect(kWidth - 2 * (75 + kMargin), kButtonsTop, 75, 25));
  c.Button_Close = widgets::ui::Button(this, "Button_Close", QStringLiteral("&Close"),
                              QRect(kWidth - (75 + kMargin), kButtonsTop, 75, 25));
  connect(c.Button1, &QPushButton::clicked, this, &TForm_VelPos::Button1Click);
  connect(c.Button_Close, &QPushButton::clicked, this, &TForm_VelPos::Button_CloseClick);
}

std::array<widgets::ValuePanel*, 16> TForm_VelPos::valuePanels() const {
  const Controls& c = controls_;
  return {c.Panel_VelX, c.Panel_VelY,  c.Panel_VelZ,      c.Panel_BiasRate,
          c.Panel_East, c.Panel_North, c.Panel_Up,        c.Panel_ENUBiasRate,
          c.Panel_PosX, c.Panel_PosY,  c.Panel_PosZ,      c.Panel_ECEFBias,
          c.Panel_Latitude, c.Panel_Longitude, c.Panel_Altitude, c.Panel_LLABias};
}

void TForm_VelPos::Button1Click() {
  // Hints keep naming the last report.
  for (widgets::ValuePanel* p : valuePanels()) p->setText(QStringLiteral(" "));
}

void TForm_VelPos::FormClose() { Button1Click(); }

void TForm_VelPos::Button_CloseClick() { close(); }

void TForm_VelPos::done(int result) {
  FormClose();
  QDialog::done(result);
}

namespace {

QString Fixed(const char* format, double value) { return QString::asprintf(format, value); }

void ShowEcef(TForm_VelPos::Controls& c, double x, double y, double z, const char* format,
              const char* hint) {
  c.Panel_ECEFPosition->setToolTip(QString::fromLatin1(hint));
  c.Panel_PosX->setText(Fixed(format, x));
  c.Panel_PosY->setText(Fixed(format, y));
  c.Panel_PosZ->setText(Fixed(format, z));
}

void ShowLla(TForm_VelPos::Controls& c, double latitude, double longitude, double altitude,
             const char* altitudeFormat, double clockBias, const char* hint) {
  c.Panel_LLAPosition->setToolTip(QString::fromLatin1(hint));
  c.Panel_Latitude->setText(Fixed("%.6f", RadiansToDegrees(latitude)));
  c.Panel_Longitude->setText(Fixed("%.6f", RadiansToDegrees(longitude)));
  c.Panel_Altitude->setText(Fixed(altitudeFormat, altitude));
  c.Panel_LLABias->setText(Fixed("%.2f", clockBias));
}

void ShowVelocity(std::array<widgets::ValuePanel*, 4> panels, std::array<double, 4> values) {
  for (std::size_t i = 0; i < panels.size(); ++i) panels[i]->setText(Fixed("%.2f", values[i]));
}

}  // namespace

void TForm_VelPos::showPosition(const XyzPosition& r) {
  ShowEcef(controls_, r.x, r.y, r.z, "%.2f", "Single Precision ECEF Position: Packet 0x42");
}

void TForm_VelPos::showPosition(const PreciseXyzPosition& r) {
  ShowEcef(controls_, r.x, r.y, r.z, "%.3f", "Double Precision ECEF Position: Packet 0x83");
  controls_.Panel_ECEFBias->setText(Fixed("%.2f", r.clockBias));
}

void TForm_VelPos::showPosition(const LlaPosition& r) {
  ShowLla(controls_, r.latitude, r.longitude, r.altitude, "%.1f", r.clockBias,
          "Single Precision LLA Position: Packet 0x4A");
}

void TForm_VelPos::showPosition(const PreciseLlaPosition& r) {
  ShowLla(controls_, r.latitude, r.longitude, r.altitude, "%.3f", r.clockBias,
          "Double Precision LLA Position: Packet 0x84");
}

void TForm_VelPos::showVelocity(const XyzVelocity& r) {
  const Controls& c = controls_;
  ShowVelocity({c.Panel_VelX, c.Panel_VelY, c.Panel_VelZ, c.Panel_BiasRate}, {r.x, r.y, r.z, r.biasRate});
}

void TForm_VelPos::showVelocity(const EnuVelocity& r) {
  const Controls& c = controls_;
  ShowVelocity({c.Panel_East, c.Panel_North, c.Panel_Up, c.Panel_ENUBiasRate},
               {r.east, r.north, r.up, r.biasRate});
}

}  // namespace halvix::reports
