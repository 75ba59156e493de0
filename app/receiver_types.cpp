#include "app/receiver_types.h"

#include <QAbstractButton>
#include <QAction>
#include <QLabel>
#include <QPalette>

#include "app/main_window.h"
#include "app/ntp_setting.h"
#include "app/windows.h"
#include "commands/packet_masks_dialog.h"
#include "commands/serial_dialog.h"
#include "commands/timing_out_dialog.h"
#include "widgets/group_panel.h"
#include "widgets/lamp.h"

namespace halvix::app {

namespace {

// Lamps re-spaced over the span of the hidden antenna rows, top to bottom.
constexpr int kSpacedAlarmBits[] = {3, 5, 6, 7, 8, 9, 10};

// The classic inactive-caption grey of a disabled group's labels.
QColor InactiveCaptionColor() { return QColor::fromRgb(0x80, 0x80, 0x80); }

// Controls of the configuration windows are found by name: a window that
// does not have one yet is simply skipped.
void EnableNamed(QWidget* window, std::initializer_list<const char*> names, bool enabled) {
  if (window == nullptr) return;
  for (const char* name : names) {
    if (auto* w = window->findChild<QWidget*>(QString::fromLatin1(name))) w->setEnabled(enabled);
  }
}

void ColourLabels(QWidget* window, std::initializer_list<const char*> names, bool enabled) {
  if (window == nullptr) return;
  for (const char* name : names) {
    auto* label = window->findChild<QLabel*>(QString::fromLatin1(name));
    if (label == nullptr) continue;
    QPalette p = label->palette();
    const QColor colour = enabled ? window->palette().color(QPalette::Active, QPalette::WindowText)
                                  : InactiveCaptionColor();
    for (QPalette::ColorGroup g : {QPalette::Active, QPalette::Inactive, QPalette::Disabled}) {
      p.setColor(g, QPalette::WindowText, colour);
    }
    label->setPalette(p);
  }
}

void SetCaption(QWidget* window, const char* name, const QString& text) {
  if (window == nullptr) return;
  QWidget* w = window->findChild<QWidget*>(QString::fromLatin1(name));
  if (auto* label = qobject_cast<QLabel*>(w)) label->setText(text);
  else if (auto* button = qobject_cast<QAbstractButton*>(w)) button->setText(text);
}

void RespaceMinorAlarms(TForm_Main::Controls& c) {
  QWidget* first = c.Shape_Bit[1];
  QWidget* last = c.Shape_Bit[11];
  if (first == nullptr || last == nullptr) return;
  for (int bit : {1, 2}) {
    c.Shape_Bit[static_cast<std::size_t>(bit)]->hide();
    c.Label_MA[static_cast<std::size_t>(bit)]->hide();
  }
  const int top = first->y();
  const float step = static_cast<float>(top - last->y()) / 7.0f;
  int k = 0;
  for (int bit : kSpacedAlarmBits) {
    const int lampTop = top - static_cast<int>(step * static_cast<float>(k));
    QWidget* lamp = c.Shape_Bit[static_cast<std::size_t>(bit)];
    QWidget* label = c.Label_MA[static_cast<std::size_t>(bit)];
    lamp->move(lamp->x(), lampTop);
    label->move(label->x(), lampTop - 2);
    ++k;
  }
}

// Corvel and Corvel Norden: the poll item follows the stored setting, and the
// operator is asked while it is unknown. Returns the new check mark.
bool PollingFromNtpSetting(TForm_Main& main) {
  AppContext& context = main.context();
  platform::SettingsStore& store = context.settingsStore();
  const int stored = ReadNtpSetting(store);
  if (stored != kNtpUnknown) return stored == 0;
  const platform::PromptAnswer answer = context.prompts.message(kNtpQuestionTitle, kNtpQuestion,
                                                      platform::PromptButtons::YesNo, platform::PromptIcon::Question);
  const bool ntp = answer == platform::PromptAnswer::Yes;
  WriteNtpSetting(store, ntp ? 1 : 0);
  return !ntp;
}

void ConfigureTimingOut(QWidget* window, bool enabled) {
  EnableNamed(window,
              {"Edit_Width", "Button_Width", "Label_Width", "Label_Seconds", "RadioButton_Always",
               "RadioButton_1SV", "RadioButton_3SV", "Button_SetOutput", "Label_OutputOptions"},
              enabled);
  ColourLabels(window, {"Label_Width", "Label_Seconds", "Label_OutputOptions"}, enabled);
}

void ConfigureSerial(QWidget* window) {
  EnableNamed(window, {"Label_PortBOutput", "ComboBox_PortBOutput"}, true);
  SetCaption(window, "Label_A", QStringLiteral("Port A"));
  SetCaption(window, "Label_B", QStringLiteral("Port B"));
  SetCaption(window, "Button_SetA", QStringLiteral("Set Port &A"));
  SetCaption(window, "Button_SetB", QStringLiteral("Set Port &B"));
}

void ConfigurePacketMasks(QWidget* window, bool enabled) {
  EnableNamed(window,
              {"CheckBox_B1Bit0", "CheckBox_B1Bit1", "CheckBox_B1Bit2", "CheckBox_B1Bit3",
               "CheckBox_B1Bit4", "CheckBox_B1Bit5", "CheckBox_B1Bit6", "CheckBox_B1Bit7",
               "CheckBox_B2Bit0", "CheckBox_B2Bit5", "CheckBox_B2Bit6", "CheckBox_B2Bit7",
               "Label_Masks", "Button_Set8EA5"},
              enabled);
  ColourLabels(window, {"Label_Masks"}, enabled);
  if (!enabled) return;
  SetCaption(window, "CheckBox_B2Bit6", QStringLiteral("8F-AB on Port A, Port B"));
  SetCaption(window, "CheckBox_B2Bit7", QStringLiteral("8F-AC on Port A, Port B"));
}

}  // namespace

void ApplyReceiverType(TForm_Main& main, int type) {
  if (type < kCorvel || type > kBrisel) return;
  TForm_Main::MenuItems& m = main.menu;
  const bool brisel = type == kBrisel;

  // Poll state: the two Corvels that may poll follow the NTP setting.
  QAction* poll = m.ControlPollingTimingPkts;
  bool blank = brisel;
  if (type == kCorvel || type == kCorvelNorden) {
    poll->setVisible(true);
    const bool polling = PollingFromNtpSetting(main);
    poll->setChecked(polling);
    if (!polling && type == kCorvel) blank = true;
  } else {
    poll->setVisible(false);
    poll->setChecked(!brisel);
  }

  RespaceMinorAlarms(main.controls);

  Windows* w = main.windows();
  ConfigureTimingOut(w != nullptr ? w->timingOut.get() : nullptr, !brisel);
  ConfigureSerial(w != nullptr ? w->serial.get() : nullptr);
  ConfigurePacketMasks(w != nullptr ? w->packetMasks.get() : nullptr, !brisel);

  for (QAction* a : {m.SetupNMEAOutpu, m.N3, m.SetupSelfSurvey}) a->setVisible(!brisel);
  for (QAction* a : {m.SetupBriselSelfSurvey, m.SetupPortAOutput}) a->setVisible(brisel);

  QAction* const items[] = {m.RecTypeCvl, m.RecTypeCvlNorden, m.RecTypeCvlPellam,
                            m.RecTypeCvlCVL2, m.RecTypeBrisel};
  for (int i = 0; i < static_cast<int>(std::size(items)); ++i) items[i]->setChecked(i + 1 == type);
  m.RecTypeDolvoUTC->setChecked(false);

  if (blank) main.TimingPanelBlanking();

  // The diagnostics test starts over on port A of the new type.
  if (main.context().developerMode && main.hooks.resetDiagnosticsTestPort) {
    main.hooks.resetDiagnosticsTestPort();
  }
}

void TogglePollTimingPackets(TForm_Main& main) {
  QAction* poll = main.menu.ControlPollingTimingPkts;
  AppContext& context = main.context();
  if (!poll->isChecked()) {
    const platform::PromptAnswer answer = context.prompts.message(
        QStringLiteral("Warning"), kPollingWarning, platform::PromptButtons::YesNo, platform::PromptIcon::Warning);
    if (answer != platform::PromptAnswer::Yes) return;
  }
  poll->setChecked(!poll->isChecked());
  WriteNtpSetting(context.settingsStore(), poll->isChecked() ? 0 : 1);
  main.DisplayReset(false);
}

}  // namespace halvix::app
