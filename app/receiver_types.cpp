#include "app/receiver_types.h"

#include <QAction>

#include "app/main_window.h"
#include "app/ntp_setting.h"
#include "app/windows.h"
#include "commands/packet_masks_dialog.h"
#include "commands/serial_dialog.h"
#include "commands/timing_out_dialog.h"
#include "reports/timing_layouts.h"
#include "widgets/group_panel.h"
#include "widgets/lamp.h"

namespace halvix::app {

namespace {

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

  main.respaceMinorAlarms();

  // Windows not created yet are skipped.
  if (Windows* w = main.windows()) {
    if (w->timingOut) w->timingOut->enableOutputControls(!brisel);
    if (w->serial) w->serial->showBothPorts();
    if (w->packetMasks) w->packetMasks->enableBroadcastMask(!brisel);
  }

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
