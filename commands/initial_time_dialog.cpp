#include "commands/initial_time_dialog.h"

#include <QHBoxLayout>
#include <QHideEvent>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>
#include <cmath>

#include "platform/system_clock.h"
#include "commands/catalogue.h"
#include "widgets/dialog_support.h"
#include "widgets/lamp.h"

namespace halvix::commands {

namespace {

constexpr double kSecondsPerWeek = 604800.0;
constexpr int kLampSize = 13;

}  // namespace

GpsWeekTime SplitGpsSeconds(double gpsSeconds) {
  GpsWeekTime t;
  t.week = static_cast<std::int16_t>(std::trunc(gpsSeconds * (1.0 / kSecondsPerWeek)));
  t.timeOfWeek = static_cast<float>(gpsSeconds - t.week * kSecondsPerWeek);
  return t;
}

TForm_InitialTime::TForm_InitialTime(link::SerialLink& link, const platform::PcClock* pcClock,
                                     QWidget* parent)
    : QDialog(parent), link_(link) {
  if (pcClock == nullptr) ownClock_ = std::make_unique<platform::HostPcClock>();
  pcClock_ = pcClock != nullptr ? pcClock : ownClock_.get();

  QVBoxLayout* top = widgets::dialog::SetUpDialog(this, "Form_InitialTime", QStringLiteral("Time From PC"),
                                     QStringLiteral("Set Initial Time: Packets 0x2E, 0x4E."));
  Controls& c = controls_;
  const QString lampHint =
      QStringLiteral("When red, the receiver already had time from a sattelite and uses that time.");
  auto* lampRow = new QHBoxLayout;
  lampRow->setSpacing(6);
  c.Shape_TimeAccepted = new widgets::Lamp(this, kLampSize);
  c.Shape_TimeAccepted->setObjectName(QStringLiteral("Shape_TimeAccepted"));
  c.Shape_TimeAccepted->setFixedSize(kLampSize, kLampSize);
  c.Shape_TimeAccepted->setToolTip(lampHint);
  lampRow->addWidget(c.Shape_TimeAccepted);
  auto* label = widgets::dialog::Label(this, QStringLiteral("Time Accepted by Receiver"), "Label_TimeAccepted");
  label->setToolTip(lampHint);
  lampRow->addWidget(label);
  lampRow->addStretch(1);
  top->addLayout(lampRow);
  top->addSpacing(4);

  widgets::dialog::ButtonRow(this, top,
                             {{"Button_SetTime", QStringLiteral("&Set Time"),
                               [this] { Button_SetTimeClick(); }, &c.Button_SetTime},
                              widgets::dialog::Closing(this, &c.Button_Cancel, "Button_Cancel")});
}

TForm_InitialTime::~TForm_InitialTime() = default;

void TForm_InitialTime::Button_SetTimeClick() {
  const GpsWeekTime t = SplitGpsSeconds(platform::PcClockAsGpsSeconds(*pcClock_));
  SetInitialTime2E(link_, t.timeOfWeek, t.week);
}

void TForm_InitialTime::FormClose() {
  controls_.Shape_TimeAccepted->setColor(QColor::fromRgb(widgets::kLampIdle));
}

// Every way of closing the window (the button, the close box, Escape) hides it.
void TForm_InitialTime::hideEvent(QHideEvent* event) {
  QDialog::hideEvent(event);
  if (!event->spontaneous()) FormClose();
}

void TForm_InitialTime::showTimeAccepted(bool accepted) {
  controls_.Shape_TimeAccepted->setColor(accepted ? QColor::fromRgb(widgets::kLampLit)
                                                 : QColor::fromRgb(0xFF, 0x00, 0x00));
}

}  // namespace halvix::commands
