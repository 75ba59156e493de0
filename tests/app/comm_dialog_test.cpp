// The port choice dialog: its fixed list, its layout and its modal results.
#include <gtest/gtest.h>

#include <QComboBox>
#include <QFrame>
#include <QLabel>
#include <QPushButton>

#include "app/comm_dialog.h"

using halvix::app::ChosenPort;
using halvix::app::TForm_Comm;

namespace {

// The system's own ports stay out of the cases that count list entries.
const std::vector<halvix::link::DetectedPort> kNoneDetected;

TEST(CommDialog, LayoutAndTwentyPortsWithTheFirstSelected) {
  TForm_Comm d(kNoneDetected);
  d.show();
  EXPECT_EQ(d.windowTitle(), QStringLiteral("Serial Port Selection"));
  EXPECT_EQ(d.minimumSize(), d.maximumSize());

  auto* panel = d.findChild<QFrame*>(QStringLiteral("Panel1"));
  ASSERT_NE(panel, nullptr);
  EXPECT_EQ(panel->frameShadow(), QFrame::Sunken);
  auto* label = panel->findChild<QLabel*>(QStringLiteral("Label1"));
  ASSERT_NE(label, nullptr);
  EXPECT_EQ(label->text(), QStringLiteral("PC Serial Port:"));
  EXPECT_TRUE(label->font().bold());

  auto* combo = panel->findChild<QComboBox*>(QStringLiteral("ComboBox_Com"));
  ASSERT_NE(combo, nullptr);
  EXPECT_FALSE(combo->isEditable());
  ASSERT_EQ(combo->count(), 20);
  for (int i = 0; i < 20; ++i) EXPECT_EQ(combo->itemText(i), QStringLiteral("COM %1").arg(i + 1));
  EXPECT_EQ(combo->currentIndex(), 0);

  // The caption keeps clear of the drop-down.
  EXPECT_GE(combo->x() - (label->x() + label->width()), 4);
  EXPECT_LE(label->fontMetrics().horizontalAdvance(label->text()), label->width());

  auto* ok = d.findChild<QPushButton*>(QStringLiteral("Button_Continue"));
  auto* cancel = d.findChild<QPushButton*>(QStringLiteral("Button_Cancel"));
  ASSERT_NE(ok, nullptr);
  ASSERT_NE(cancel, nullptr);
  EXPECT_EQ(ok->text(), QStringLiteral("&OK"));
  EXPECT_EQ(cancel->text(), QStringLiteral("&Cancel"));
  for (QWidget* w : d.findChildren<QWidget*>()) {
    if (w->window() != &d) continue;  // the drop-down's own popup
    EXPECT_TRUE(d.rect().contains(w->geometry().translated(w->parentWidget()->mapTo(&d, QPoint()))))
        << w->objectName().toStdString() << " lies outside the client area";
  }
}

TEST(CommDialog, DetectedPortsComeFirstAndChooseTheirPath) {
  const std::vector<halvix::link::DetectedPort> detected = {
      {QStringLiteral("/dev/ttyACM0"), QStringLiteral("GPS receiver"), QStringLiteral("Orvane"), {}},
      {QStringLiteral("/dev/ttyUSB0"), QString(), QString(), {}},
  };
  TForm_Comm d(detected);
  auto* combo = d.findChild<QComboBox*>(QStringLiteral("ComboBox_Com"));
  ASSERT_EQ(combo->count(), 22);
  EXPECT_EQ(combo->itemText(0), QStringLiteral("/dev/ttyACM0 (GPS receiver, Orvane)"));
  EXPECT_EQ(combo->itemText(1), QStringLiteral("/dev/ttyUSB0"));
  EXPECT_EQ(combo->itemText(2), QStringLiteral("COM 1"));
  // COM 1 stays the default; OK on it still means COM 1.
  EXPECT_EQ(combo->currentIndex(), 2);
  EXPECT_EQ(d.selected(), halvix::app::PortDialogChoice(1));
  combo->setCurrentIndex(1);
  d.findChild<QPushButton*>(QStringLiteral("Button_Continue"))->click();
  EXPECT_EQ(ChosenPort(d), halvix::app::PortDialogChoice::Path(QStringLiteral("/dev/ttyUSB0")));
}

TEST(CommDialog, ModalResults) {
  {
    TForm_Comm d(kNoneDetected);
    d.Button_ContinueClick();
    EXPECT_EQ(d.result(), 1);
    EXPECT_EQ(ChosenPort(d), 1);
  }
  {
    TForm_Comm d(kNoneDetected);
    d.findChild<QComboBox*>(QStringLiteral("ComboBox_Com"))->setCurrentIndex(19);
    d.findChild<QPushButton*>(QStringLiteral("Button_Continue"))->click();
    EXPECT_EQ(d.result(), 1);
    EXPECT_EQ(ChosenPort(d), 20);
  }
  {
    TForm_Comm d(kNoneDetected);
    d.findChild<QComboBox*>(QStringLiteral("ComboBox_Com"))->setCurrentIndex(3);
    d.findChild<QPushButton*>(QStringLiteral("Button_Cancel"))->click();
    EXPECT_EQ(d.result(), 2);
    EXPECT_EQ(ChosenPort(d), std::nullopt);
  }
  {
    // Closing the window (Escape, the title bar) counts as Cancel.
    TForm_Comm d(kNoneDetected);
    d.reject();
    EXPECT_EQ(d.result(), 2);
    EXPECT_EQ(ChosenPort(d), std::nullopt);
  }
}

}  // namespace
