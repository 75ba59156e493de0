#include "reports/track_window.h"

#include <QFontMetricsF>
#include <QtMath>

#include "widgets/group_panel.h"
#include "widgets/value_panel.h"
#include "widgets/window_support.h"
#include "reports/formatters.h"
#include "reports/satellite_layouts.h"

namespace halvix::reports {

namespace {

struct Column {
  const char* title;
  const char* name;
  const char* hint;
};

constexpr Column kColumns[] = {
    {"SV", "Label_SV", "Satellite Vehicle"},
    {"Chan", "Label_Chan", "Receiver Channel"},
    {"Acq", "Label_Acq", "0=never aquired; 1=acquired; 2=re-opened search"},
    {"Eph", "Label_Eph", "Ephemeris Flag: >0 indicates good ephemeris"},
    {"AMU", "Label_AMU", "Signal Strength"},
    {"Time", "Label_Time", "0 indicates no measurements taken"},
    {"Elev", "Label_Elev", "The SV's approximate elevation above the horizon"},
    {"Azim", "Label_Azim", "The SV's approximate azimuth from true north"},
};

constexpr int kMargin = 8;
constexpr int kRowIndent = 4;  // text indent inside a row panel
constexpr int kRowChars = 47;
// Twelve "%4d" entries of the selection list on one line.
constexpr int kSelectionChars = 48;

}  // namespace

TForm_Track::TForm_Track(QWidget* parent) : QDialog(parent) {
  const QFont fixed = widgets::ui::FixedPitchFont();
  const QFontMetricsF fm(fixed);
  // Advances may be fractional: measure whole runs of cells, never one cell times n.
  const auto cells = [&fm](int n) { return fm.horizontalAdvance(QString(n, QLatin1Char('0'))); };
  const int rowHeight = qCeil(fm.height()) + 4;
  const int rowWidth = qCeil(cells(qMax(kRowChars, kSelectionChars))) + 2 * kRowIndent + 6;
  const int clientWidth = rowWidth + 2 * kMargin;

  const int titleTop = kMargin;
  const int rowsTop = titleTop + rowHeight + 2;
  const int selTop = rowsTop + 12 * rowHeight + 10;
  const int dopTop = selTop + 2 * rowHeight + 26;
  const int clientHeight = dopTop + rowHeight + 20 + kMargin;
  widgets::ui::SetUpWindow(this, "Form_Track", QStringLiteral("Tracking Status"),
                  QSize(clientWidth, clientHeight));
  Controls& c = controls_;

  // Titles are right-aligned in the rows' own font, their right edge on the
  // right edge of their column's last character cell in the row text.
  const int textLeft = kMargin + rowTextLeft();
  int i = 0;
  for (const Column& col : kColumns) {
    const int start = i == 0 ? 0 : kColumnEnds[static_cast<std::size_t>(i - 1)];
    const int end = kColumnEnds[static_cast<std::size_t>(i)];
    const int left = textLeft + qRound(cells(start));
    const int right = textLeft + qRound(cells(end));
    auto* l = widgets::ui::Caption(this, QString::fromLatin1(col.title),
                          QRect(left, titleTop, right - left, rowHeight), col.name);
    l->setFont(fixed);
    l->setIndent(0);
    l->setMargin(0);
    // "Chan" fills its column, so "SV" keeps to the left of its own and a
    // cell stays free between them.
    l->setAlignment((i == 0 ? Qt::AlignLeft : Qt::AlignRight) | Qt::AlignVCenter);
    l->setToolTip(QString::fromLatin1(col.hint));
    c.Label_Column[static_cast<std::size_t>(i)] = l;
    ++i;
  }

  for (int n = 1; n <= 12; ++n) {
    widgets::ValuePanel* row = widgets::ui::Panel(this, widgets::ui::Numbered("Panel_TS", n).constData(),
                                QRect(kMargin, rowsTop + (n - 1) * rowHeight, rowWidth, rowHeight));
    row->setFont(fixed);
    row->setIndent(kRowIndent);
    row->setMargin(0);
    row->setToolTip(QStringLiteral("Tracking Status: Packet 3C, 5C"));
    c.Panel_TS[static_cast<std::size_t>(n - 1)] = row;
  }

  const QString selHint = QStringLiteral("SV Selection: Packet 24, 6D");
  auto* selLabel = widgets::ui::Caption(this, QStringLiteral("SV Selection List"),
                               QRect(kMargin, selTop, 160, 16), "Label_SVSel");
  selLabel->setToolTip(selHint);
  c.Panel_SVSel = widgets::ui::Panel(this, "Panel_SVSel",
                            QRect(kMargin, selTop + 18, rowWidth, 2 * rowHeight));
  c.Panel_SVSel->setFont(fixed);
  c.Panel_SVSel->setIndent(kRowIndent);
  c.Panel_SVSel->setMargin(0);
  c.Panel_SVSel->setWordWrap(true);
  c.Panel_SVSel->setAlignment(Qt::AlignLeft | Qt::AlignTop);
  c.Panel_SVSel->setToolTip(selHint);

  const struct {
    const char* caption;
    const char* name;
    widgets::ValuePanel** slot;
  } dops[] = {{"PDOP", "Panel_PDOP", &c.Panel_PDOP},
              {"HDOP", "Panel_HDOP", &c.Panel_HDOP},
              {"VDOP", "Panel_VDOP", &c.Panel_VDOP},
              {"TDOP", "Panel_TDOP", &c.Panel_TDOP}};
  const int dopPitch = rowWidth / 4;
  int k = 0;
  for (const auto& d : dops) {
    const int left = kMargin + k * dopPitch;
    auto* l = widgets::ui::Caption(this, QString::fromLatin1(d.caption), QRect(left, dopTop, 34, 20),
                          (QByteArray("Label_") + QByteArray(d.name).mid(6)).constData());
    l->setToolTip(selHint);
    *d.slot = widgets::ui::Panel(this, d.name, QRect(left + 36, dopTop, dopPitch - 44, 20));
    (*d.slot)->setToolTip(selHint);
    ++k;
  }
}

int TForm_Track::rowTextLeft() const {
  // Frame width of a sunken panel plus its indent.
  return 1 + kRowIndent;
}

void TForm_Track::showTrackingRow(int row, const QString& text) {
  if (row < 0 || row >= static_cast<int>(controls_.Panel_TS.size())) return;
  controls_.Panel_TS[static_cast<std::size_t>(row)]->setText(text);
}

void TForm_Track::clearTrackingRow(int row) {
  if (row < 0 || row >= static_cast<int>(controls_.Panel_TS.size())) return;
  controls_.Panel_TS[static_cast<std::size_t>(row)]->clear();
}

void TForm_Track::showSelection(const SatelliteSelection& r) {
  const Controls& c = controls_;
  const std::array<widgets::ValuePanel*, 5> panels = {c.Panel_PDOP, c.Panel_HDOP, c.Panel_VDOP, c.Panel_TDOP,
                                                      c.Panel_SVSel};
  const std::array<QString, 5> texts = {FormatDop(r.pdop), FormatDop(r.hdop), FormatDop(r.vdop),
                                        FormatDop(r.tdop), r.listText()};
  widgets::ui::ShowTexts(panels, texts);
}

}  // namespace halvix::reports
