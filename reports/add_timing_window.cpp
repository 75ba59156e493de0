#include "reports/add_timing_window.h"

#include <QGroupBox>
#include <QPushButton>

#include "commands/catalogue.h"
#include "reports/formatters.h"
#include "reports/position_layouts.h"
#include "reports/timing_layouts.h"
#include "link/serial_link.h"
#include "widgets/dialog_support.h"
#include "widgets/group_panel.h"
#include "widgets/lamp.h"
#include "widgets/value_panel.h"
#include "widgets/window_support.h"

namespace halvix::reports {

namespace {

constexpr int kClientWidth = 600, kClientHeight = 520;
constexpr int kRowHeight = 20;

struct FlagLamp {
  int bit;
  const char* caption;
  const char* hint;
};

constexpr FlagLamp kFlagLamps[] = {
    {0, "UTC Available", "When green, UTC is available."},
    {4, "Leap Scheduled", "When yellow, a leap event is scheduled."},
    {5, "Leap Pending", "When orange, a leap event will occur in < 24 hours."},
    {6, "GPS Leap Warning",
     "When red, a leap event has occured, or will occur, within +/- 6 hours."},
    {7, "Leap in Progress", "When blue, leap second is being inserted."},
};

QGroupBox* Box(QWidget* parent, const char* name, const char* title, const QRect& geometry) {
  auto* b = new QGroupBox(QString::fromLatin1(title), parent);
  b->setObjectName(QString::fromLatin1(name));
  b->setGeometry(geometry);
  return b;
}

QByteArray LabelName(const char* panelName) {
  return QByteArray("Label_") + QByteArray(panelName).mid(6);
}

}  // namespace

TForm_AddTiming::TForm_AddTiming(link::SerialLink& link, QWidget* parent)
    : QDialog(parent), link_(link) {
  widgets::ui::SetUpWindow(this, "Form_AddTiming", QStringLiteral("Additional Timing Packets"),
                  QSize(kClientWidth, kClientHeight));
  Controls& c = controls_;

  // Primary UTC time.
  c.Panel_PrimaryUTC = widgets::ui::Group(this, "Panel_PrimaryUTC", QStringLiteral("Primary UTC Time:"),
                                 QStringLiteral("Primary UTC Time: Packet 8F-AD"),
                                 QRect(6, 6, 340, 182));
  {
    QWidget* g = c.Panel_PrimaryUTC;
    c.Label_ADTime = widgets::ui::Caption(g, QStringLiteral("GPS Time"), QRect(8, 26, 66, kRowHeight),
                                 "Label_ADTime");
    c.Panel_PrimaryUTCTime = widgets::ui::Panel(g, "Panel_PrimaryUTCTime", QRect(78, 26, 150, kRowHeight));
    widgets::ui::Caption(g, QStringLiteral("Date"), QRect(8, 49, 66, kRowHeight), "Label_UTCDate");
    c.Panel_UTCDate = widgets::ui::Panel(g, "Panel_UTCDate", QRect(78, 49, 150, kRowHeight));
    widgets::ui::Caption(g, QStringLiteral("Status"), QRect(8, 72, 66, kRowHeight), "Label_Status");
    c.Panel_Status = widgets::ui::Panel(g, "Panel_Status", QRect(78, 72, 180, kRowHeight));
    int i = 0;
    for (const FlagLamp& f : kFlagLamps) {
      const int top = 100 + i * 15;
      const QString hint = QString::fromLatin1(f.hint);
      auto* lamp = new widgets::Lamp(g, 11);
      lamp->setObjectName(QString::fromLatin1(widgets::ui::Numbered("Shape_LED", f.bit)));
      lamp->setGeometry(10, top + 2, 11, 11);
      lamp->setToolTip(hint);
      auto* label = widgets::ui::Caption(g, QString::fromLatin1(f.caption), QRect(26, top, 200, 15),
                                widgets::ui::Numbered("Label_LED", f.bit).constData());
      label->setToolTip(hint);
      c.Shape_LED[static_cast<std::size_t>(i)] = lamp;
      ++i;
    }
  }

  // Event time.
  c.Panel_Event = widgets::ui::Group(this, "Panel_Event", QStringLiteral("Event Time:"),
                            QStringLiteral("Event Time: Packets 8F-AD, 8F-0B"),
                            QRect(352, 6, 242, 182));
  {
    QWidget* g = c.Panel_Event;
    widgets::ui::Caption(g, QStringLiteral("Counter"), QRect(8, 26, 52, kRowHeight), "Label_EventCounter");
    c.Panel_EventCounter = widgets::ui::Panel(g, "Panel_EventCounter", QRect(62, 26, 80, kRowHeight));
    widgets::ui::Caption(g, QStringLiteral("Time"), QRect(8, 49, 52, kRowHeight), "Label_EventTime");
    c.Panel_EventTime = widgets::ui::Panel(g, "Panel_EventTime", QRect(62, 49, 170, kRowHeight));
    c.Button_Event = widgets::ui::Button(g, "Button_Event", QStringLiteral("&Event Capture"),
                                QRect(62, 80, 110, 25));
  }

  // Comprehensive time.
  c.Panel_CompTime = widgets::ui::Group(this, "Panel_CompTime", QStringLiteral("Comprehensive Time:"),
                               QStringLiteral("Comprehensive Time: Packet 8F-0B"),
                               QRect(6, 194, 588, 284));
  {
    QWidget* g = c.Panel_CompTime;
    const auto rows = [&](QWidget* box, std::initializer_list<std::pair<const char*, const char*>> r,
                          std::initializer_list<widgets::ValuePanel**> slots, int labelWidth, int panelWidth,
                          const char* unit = nullptr, std::initializer_list<const char*> units = {}) {
      int i = 0;
      auto slot = slots.begin();
      auto u = units.begin();
      for (const auto& [label, name] : r) {
        const int top = 18 + i * 23;
        widgets::ui::Caption(box, QString::fromLatin1(label), QRect(8, top, labelWidth, kRowHeight),
                    LabelName(name).constData());
        **slot = widgets::ui::Panel(box, name, QRect(10 + labelWidth, top, panelWidth, kRowHeight));
        const char* unitText = u != units.end() ? *u++ : unit;
        if (unitText != nullptr) {
          widgets::ui::Caption(box, QString::fromLatin1(unitText),
                      QRect(14 + labelWidth + panelWidth, top, 30, kRowHeight));
        }
        ++slot;
        ++i;
      }
    };

    QGroupBox* time = Box(g, "GroupBox_Time", "Time", QRect(8, 24, 282, 140));
    rows(time,
         {{"GPS Time", "Panel_GPSTime"}, {"Date", "Panel_Date"}, {"TOW", "Panel_TOW"},
          {"UTC Time", "Panel_UTCTime"}, {"UTC Offset", "Panel_UTCOffset"}},
         {&c.Panel_GPSTime, &c.Panel_Date, &c.Panel_TOW, &c.Panel_UTCTime, &c.Panel_UTCOffset}, 64,
         140);

    QGroupBox* mode = Box(g, "GroupBox_RecMode", "Receiver Mode", QRect(8, 168, 282, 48));
    c.Panel_RecMode = widgets::ui::Panel(mode, "Panel_RecMode", QRect(10, 20, 212, kRowHeight));

    QGroupBox* osc = Box(g, "GroupBox_Oscillator", "Oscillator", QRect(298, 24, 282, 114));
    rows(osc,
         {{"Bias", "Panel_Bias"}, {"Bias Uncertainty", "Panel_BiasUnc"},
          {"Drift Rate", "Panel_DriftRate"}, {"Drift Uncertainty", "Panel_DriftUnc"}},
         {&c.Panel_Bias, &c.Panel_BiasUnc, &c.Panel_DriftRate, &c.Panel_DriftUnc}, 92, 130, nullptr,
         {"m", "m", "m/s", "m/s"});

    QGroupBox* pos = Box(g, "GroupBox_Position", "Position", QRect(298, 142, 282, 86));
    const struct {
      const char* label;
      const char* deg;
      const char* min;
      const char* hemi;
      widgets::ValuePanel** slots[3];
    } angles[] = {{"Latitude", "Panel_LatDeg", "Panel_LatMin", "Panel_NorthSouth",
                   {&c.Panel_LatDeg, &c.Panel_LatMin, &c.Panel_NorthSouth}},
                  {"Longitude", "Panel_LonDeg", "Panel_LonMin", "Panel_EastWest",
                   {&c.Panel_LonDeg, &c.Panel_LonMin, &c.Panel_EastWest}}};
    int i = 0;
    for (const auto& a : angles) {
      const int top = 16 + i * 22;
      widgets::ui::Caption(pos, QString::fromLatin1(a.label), QRect(8, top, 60, kRowHeight),
                  (QByteArray("Label_") + QByteArray(a.label)).constData());
      *a.slots[0] = widgets::ui::Panel(pos, a.deg, QRect(70, top, 46, kRowHeight));
      *a.slots[1] = widgets::ui::Panel(pos, a.min, QRect(120, top, 84, kRowHeight));
      *a.slots[2] = widgets::ui::Panel(pos, a.hemi, QRect(208, top, 22, kRowHeight));
      (*a.slots[2])->setAlignment(Qt::AlignCenter);
      (*a.slots[2])->setIndent(0);
      ++i;
    }
    widgets::ui::Caption(pos, QStringLiteral("Altitude"), QRect(8, 60, 60, kRowHeight), "Label_Alt");
    c.Panel_Alt = widgets::ui::Panel(pos, "Panel_Alt", QRect(70, 60, 134, kRowHeight));
    widgets::ui::Caption(pos, QStringLiteral("m"), QRect(208, 60, 30, kRowHeight));

    QGroupBox* sats = Box(g, "GroupBox_Satellites", "Satellites", QRect(8, 230, 572, 46));
    for (int n = 1; n <= 8; ++n) {
      widgets::ValuePanel* p = widgets::ui::Panel(sats, widgets::ui::Numbered("Panel_SV", n).constData(),
                                QRect(10 + (n - 1) * 70, 18, 60, kRowHeight));
      p->setAlignment(Qt::AlignCenter);
      p->setIndent(0);
      p->setToolTip(QStringLiteral("When blue, used for fixes"));
      c.Panel_SV[static_cast<std::size_t>(n - 1)] = p;
    }
  }

  const int buttonsTop = kClientHeight - 25 - 8;
  c.Button_Query = widgets::ui::Button(this, "Button_Query", QStringLiteral("&Refresh"),
                              QRect(kClientWidth - 3 * 81, buttonsTop, 75, 25));
  c.Button_Clear = widgets::ui::Button(this, "Button_Clear", QStringLiteral("C&lear"),
                              QRect(kClientWidth - 2 * 81, buttonsTop, 75, 25));
  c.Button_Close = widgets::ui::Button(this, "Button_Close", QStringLiteral("&Close"),
                              QRect(kClientWidth - 81, buttonsTop, 75, 25));
  connect(c.Button_Query, &QPushButton::clicked, this, &TForm_AddTiming::Button_QueryClick);
  connect(c.Button_Clear, &QPushButton::clicked, this, &TForm_AddTiming::Button_ClearClick);
  connect(c.Button_Close, &QPushButton::clicked, this, &TForm_AddTiming::Button_CloseClick);
  connect(c.Button_Event, &QPushButton::clicked, this, &TForm_AddTiming::Button_EventClick);
  widgets::dialog::OnActivate(this, [this] { FormActivate(); });
}

widgets::Lamp* TForm_AddTiming::flagLamp(int bit) const {
  for (std::size_t i = 0; i < std::size(kFlagLamps); ++i) {
    if (kFlagLamps[i].bit == bit) return controls_.Shape_LED[i];
  }
  return nullptr;
}

void TForm_AddTiming::FormActivate() {
  commands::PrimaryUtcTimeRequest8EAD(link_);
  link_.clock().sleepMs(commands::kQueryGapMs);
  commands::ComprehensiveTimeRequest8E0B(link_);
}

void TForm_AddTiming::Button_QueryClick() { FormActivate(); }

void TForm_AddTiming::Button_ClearClick() {
  Controls& c = controls_;
  const QString blank = QStringLiteral(" ");
  for (widgets::ValuePanel* p : {c.Panel_PrimaryUTCTime, c.Panel_UTCDate, c.Panel_Status}) p->setText(blank);
  for (widgets::Lamp* lamp : c.Shape_LED) lamp->setColor(QColor::fromRgb(widgets::kLampIdle));
  for (widgets::ValuePanel* p :
       {c.Panel_EventCounter, c.Panel_EventTime, c.Panel_GPSTime, c.Panel_UTCTime, c.Panel_TOW,
        c.Panel_Date, c.Panel_UTCOffset, c.Panel_RecMode, c.Panel_Bias, c.Panel_BiasUnc,
        c.Panel_DriftRate, c.Panel_DriftUnc, c.Panel_NorthSouth, c.Panel_LatDeg, c.Panel_LatMin,
        c.Panel_EastWest, c.Panel_LonDeg, c.Panel_LonMin, c.Panel_Alt}) {
    p->setText(blank);
  }
  // The satellite panels keep their colours.
  for (widgets::ValuePanel* p : c.Panel_SV) p->setText(blank);
}

void TForm_AddTiming::FormClose() { Button_ClearClick(); }

void TForm_AddTiming::Button_CloseClick() { close(); }

void TForm_AddTiming::Button_EventClick() { link_.PulseRts(); }

void TForm_AddTiming::done(int result) {
  FormClose();
  QDialog::done(result);
}

namespace {

// Colour of each 0x8F-AD flag lamp when its bit is set.
struct FlagColour {
  int bit;
  QRgb colour;
};
constexpr FlagColour kFlagColours[] = {
    {0, 0xFF00FF00},  // UTC available: green
    {4, 0xFFFFFF00},  // leap scheduled: yellow
    {5, 0xFFFF8000},  // leap pending: orange
    {6, 0xFFFF0000},  // GPS leap warning: red
    {7, 0xFF008080},  // leap in progress: teal
};

QString Fixed(double value) { return QString::asprintf("%.3f", value); }

}  // namespace

void TForm_AddTiming::showPrimaryUtcTime(const PrimaryUtcTime& r) {
  Controls& c = controls_;
  const QString time = r.timeText();
  if (r.eventCount != 0) {
    c.Panel_EventCounter->setText(QString::number(r.eventCount));
    c.Panel_EventTime->setText(time);
  }
  c.Panel_PrimaryUTCTime->setText(time);
  c.Panel_UTCDate->setText(r.dateText());
  c.Panel_Status->setText(UtcReceiverStatusText(r.receiverStatus));
  c.Label_ADTime->setText(r.timeScaleText());
  for (const FlagColour& f : kFlagColours) {
    widgets::Lamp* lamp = flagLamp(f.bit);
    if (lamp != nullptr) {
      lamp->setColor(QColor::fromRgb(r.flagSet(f.bit) ? f.colour : widgets::kLampIdle));
    }
  }
}

void TForm_AddTiming::showComprehensiveTime(const ComprehensiveTime& r) {
  Controls& c = controls_;
  const ComprehensiveTimeTexts times = FormatComprehensiveTimes(r.timeOfWeek, r.utcOffset);
  c.Panel_GPSTime->setText(times.gpsTime);
  c.Panel_UTCTime->setValue(times.utcTime, times.hasUtc ? widgets::ValuePanel::windowColor()
                                                        : widgets::ValuePanel::buttonFaceColor());
  if (r.eventCount != 0) {
    c.Panel_EventCounter->setText(QString::number(r.eventCount));
    c.Panel_EventTime->setText(FormatPreciseWeekTime(r.timeOfWeek));
  }
  c.Panel_UTCOffset->setText(r.utcOffsetText());
  c.Panel_TOW->setText(r.timeOfWeekText());
  c.Panel_Date->setText(r.dateText());
  c.Panel_RecMode->setText(ComprehensiveModeText(r.receiverMode));

  c.Panel_Bias->setText(Fixed(r.oscillatorBias));
  c.Panel_DriftRate->setText(Fixed(r.oscillatorDrift));
  c.Panel_BiasUnc->setText(Fixed(r.biasUncertainty));
  c.Panel_DriftUnc->setText(Fixed(r.driftUncertainty));

  const HemisphereAngle lat = FormatLatitudeHemisphere(RadiansToDegrees(r.latitude));
  c.Panel_LatDeg->setText(lat.degrees);
  c.Panel_LatMin->setText(lat.minutes);
  c.Panel_NorthSouth->setText(lat.hemisphere);
  const HemisphereAngle lon = FormatLongitudeHemisphere(RadiansToDegrees(r.longitude));
  c.Panel_LonDeg->setText(lon.degrees);
  c.Panel_LonMin->setText(lon.minutes);
  c.Panel_EastWest->setText(lon.hemisphere);
  c.Panel_Alt->setText(Fixed(r.altitude));

  for (std::size_t i = 0; i < r.satellites.size() && i < c.Panel_SV.size(); ++i) {
    const ComprehensiveSatellite sv = FormatComprehensiveSatellite(r.satellites[i]);
    c.Panel_SV[i]->setValue(sv.text, sv.usedForFixes ? QColor::fromRgb(kSatelliteUsedColour)
                                                     : widgets::ValuePanel::windowColor());
  }
}

}  // namespace halvix::reports
