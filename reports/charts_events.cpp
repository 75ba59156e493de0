// The Charts window's Events tab: the timing events found in the reports, the
// thresholds of the PPS step, and their export.
#include <QDoubleSpinBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QTabWidget>
#include <QTableWidget>
#include <QVBoxLayout>

#include "reports/charts_export.h"
#include "reports/charts_window.h"
#include "reports/time_chart_view.h"
#include "reports/timing_layouts.h"

namespace halvix::reports {

namespace {

// A mode or status by the main window's name for it; the number where the name is blank.
std::string Named(const QString& text, const char* what, int value) {
  if (!text.trimmed().isEmpty()) return text.toStdString();
  return std::string(what) + ' ' + std::to_string(value);
}

}  // namespace

void TForm_Charts::buildEventsTab() {
  Controls& c = controls_;
  detector_.setNames([](int v) { return Named(SupplementalModeText(v), "mode", v); },
                     [](int v) { return Named(SupplementalStatusText(v), "status", v); });
  auto* page = new QWidget;
  auto* layout = new QVBoxLayout(page);
  auto* bar = new QHBoxLayout;
  const analysis::TimingEventSettings defaults = detector_.settings();
  bar->addWidget(new QLabel(QStringLiteral("PPS step beyond"), page));
  c.Edit_StepSpreads = new QDoubleSpinBox(page);
  c.Edit_StepSpreads->setObjectName(QStringLiteral("Edit_StepSpreads"));
  c.Edit_StepSpreads->setRange(1.0, 100.0);
  c.Edit_StepSpreads->setDecimals(1);
  c.Edit_StepSpreads->setValue(defaults.stepSpreads);
  c.Edit_StepSpreads->setToolTip(QStringLiteral("Times the spread of the recent second-to-second changes"));
  bar->addWidget(c.Edit_StepSpreads);
  bar->addWidget(new QLabel(QStringLiteral("times the recent spread and beyond"), page));
  c.Edit_StepFloor = new QDoubleSpinBox(page);
  c.Edit_StepFloor->setObjectName(QStringLiteral("Edit_StepFloor"));
  c.Edit_StepFloor->setRange(0.0, 1e6);
  c.Edit_StepFloor->setDecimals(1);
  c.Edit_StepFloor->setSuffix(QStringLiteral(" ns"));
  c.Edit_StepFloor->setValue(defaults.stepFloorNs);
  bar->addWidget(c.Edit_StepFloor);
  connect(c.Edit_StepSpreads, &QDoubleSpinBox::valueChanged, this, &TForm_Charts::stepSettingsChanged);
  connect(c.Edit_StepFloor, &QDoubleSpinBox::valueChanged, this, &TForm_Charts::stepSettingsChanged);
  bar->addStretch();
  c.Button_ExportEvents = new QPushButton(QStringLiteral("E&xport CSV..."), page);
  c.Button_ExportEvents->setObjectName(QStringLiteral("Button_ExportEvents"));
  connect(c.Button_ExportEvents, &QPushButton::clicked, this, &TForm_Charts::Button_ExportEventsClick);
  bar->addWidget(c.Button_ExportEvents);
  layout->addLayout(bar);
  c.Table_Events = new QTableWidget(0, 3, page);
  c.Table_Events->setObjectName(QStringLiteral("Table_Events"));
  c.Table_Events->setHorizontalHeaderLabels(
      {QStringLiteral("Time (min)"), QStringLiteral("Event"), QStringLiteral("Detail")});
  c.Table_Events->horizontalHeader()->setStretchLastSection(true);
  c.Table_Events->verticalHeader()->hide();
  c.Table_Events->setEditTriggers(QAbstractItemView::NoEditTriggers);
  c.Table_Events->setSelectionBehavior(QAbstractItemView::SelectRows);
  layout->addWidget(c.Table_Events, 1);
  c.TabControl_Charts->addTab(page, QStringLiteral("Events"));
}

void TForm_Charts::stepSettingsChanged() {
  analysis::TimingEventSettings s = detector_.settings();
  s.stepSpreads = controls_.Edit_StepSpreads->value();
  s.stepFloorNs = controls_.Edit_StepFloor->value();
  detector_.setSettings(s);
}

void TForm_Charts::addEvents(std::vector<analysis::TimingEvent> events) {
  if (events.empty()) return;
  QTableWidget* table = controls_.Table_Events;
  for (analysis::TimingEvent& e : events) {
    if (events_.size() >= kMaxEvents) {
      // A day of a flapping alarm must not grow without end: the oldest go.
      events_.pop_front();
      table->removeRow(0);
    }
    const int row = table->rowCount();
    table->insertRow(row);
    auto* time = new QTableWidgetItem(QString::number(e.t / 60.0, 'f', 2));
    time->setData(Qt::UserRole, e.t);
    table->setItem(row, 0, time);
    auto* kind = new QTableWidgetItem(QString::fromLatin1(e.kind.data(), static_cast<qsizetype>(e.kind.size())));
    kind->setForeground(EventColour(e.kind));
    table->setItem(row, 1, kind);
    table->setItem(row, 2, new QTableWidgetItem(QString::fromStdString(e.detail)));
    events_.push_back(std::move(e));
  }
  // The time series mark them with their next redraw.
}

void TForm_Charts::Button_ExportEventsClick() {
  const std::string text = EventsCsv(events_);
  writeFile(QStringLiteral("Export Events"), QStringLiteral("CSV Files (*.csv);;All Files (*.*)"),
            QStringLiteral("csv"), [&text](const QString& path) { return WriteTextFile(path, text); });
}

}  // namespace halvix::reports
