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

TEST(CommDialog, LayoutAndTwentyPortsWithTheFirstSelected) {
  TForm_Comm d;
  EXPECT_EQ(d.windowTitle(), QStringLiteral("Serial Port Selection"));
  EXPECT_EQ(d.size(), QSize(221, 83));
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

  auto* ok = d.findChild<QPushButton*>(QStringLiteral("Button_Continue"));
  auto* cancel = d.findChild<QPushButton*>(QStringLiteral("Button_Cancel"));
  ASSERT_NE(ok, nullptr);
  ASSERT_NE(cancel, nullptr);
  EXPECT_EQ(ok->text(), QStringLiteral("&OK"));
  EXPECT_EQ(cancel->text(), QStringLiteral("&Cancel"));
  for (QWidget* w : d.findChildren<QWidget*>()) {
    EXPECT_TRUE(d.rect().contains(w->geometry().translated(w->parentWidget()->mapTo(&d, QPoint()))))
        << w->objectName().toStdString() << " lies outside the client area";
  }
}

TEST(CommDialog, ModalResults) {
  {
    TForm_Comm d;
    d.Button_ContinueClick();
    EXPECT_EQ(d.result(), 1);
    EXPECT_EQ(ChosenPort(d), 1);
  }
  {
    TForm_Comm d;
    d.findChild<QComboBox*>(QStringLiteral("ComboBox_Com"))->setCurrentIndex(19);
    d.findChild<QPushButton*>(QStringLiteral("Button_Continue"))->click();
    EXPECT_EQ(d.result(), 1);
    EXPECT_EQ(ChosenPort(d), 20);
  }
  {
    TForm_Comm d;
    d.findChild<QComboBox*>(QStringLiteral("ComboBox_Com"))->setCurrentIndex(3);
    d.findChild<QPushButton*>(QStringLiteral("Button_Cancel"))->click();
    EXPECT_EQ(d.result(), 2);
    EXPECT_EQ(ChosenPort(d), std::nullopt);
  }
  {
    // Closing the window (Escape, the title bar) counts as Cancel.
    TForm_Comm d;
    d.reject();
    EXPECT_EQ(d.result(), 2);
    EXPECT_EQ(ChosenPort(d), std::nullopt);
  }
}

}  // namespace
