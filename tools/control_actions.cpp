#include "tools/control_actions.h"

#include <QString>

#include "platform/operator_prompts.h"
#include "commands/catalogue.h"
#include "link/clock.h"

namespace halvix::tools {

using platform::PromptAnswer;
using platform::PromptButtons;
using platform::PromptIcon;

link::PortSettings FactoryPortSettings() {
  link::PortSettings s;
  link::DefaultPortSettings(0, s);
  return s;
}

ControlActions::ControlActions(link::SerialLink& link, link::Clock& clock,
                               platform::OperatorPrompts& prompts, ControlHooks hooks)
    : link_(link), clock_(clock), prompts_(prompts), hooks_(std::move(hooks)) {}

bool ControlActions::confirm(const QString& title, const QString& text) {
  return prompts_.message(title, text, PromptButtons::YesNo, PromptIcon::None) == PromptAnswer::Yes;
}

bool ControlActions::confirmSegments(const QString& title, const QString& text) {
  return prompts_.message(title, text, PromptButtons::OkCancel, PromptIcon::Exclamation) ==
         PromptAnswer::Ok;
}

void ControlActions::portToFactory() {
  if (hooks_.applyPortSettings) hooks_.applyPortSettings(FactoryPortSettings());
}

void ControlActions::resetWith(std::uint8_t mode, bool toFactoryLine) {
  commands::ResetCommand1E(link_, mode);
  if (hooks_.displayReset) hooks_.displayReset(true);
  if (toFactoryLine) portToFactory();
}

void ControlActions::factoryReset(const QString& text, std::uint8_t mode, bool toFactoryLine) {
  if (!confirm(QStringLiteral("Reset receiver?"), text)) return;
  resetWith(mode, toFactoryLine);
}

void ControlActions::ColdReset() {
  if (!confirm(QStringLiteral("Cold reset?"), QStringLiteral("Do you really want to clear RAM?")))
    return;
  resetWith(commands::kResetCold, false);
}

void ControlActions::WarmReset() {
  if (!confirm(QStringLiteral("Warm reset?"),
               QStringLiteral("Do you really want to restart the receiver?")))
    return;
  commands::WarmResetCommand25(link_);
  if (hooks_.displayReset) hooks_.displayReset(true);
}

void ControlActions::FactoryResetAll() {
  factoryReset(QStringLiteral("Sending a factory reset will cause the receiver\nto re-initialize "
                              "itself to the factory defaults.  Proceed?"),
               commands::kResetFactoryAll, true);
}

void ControlActions::FactoryResetNavigation() {
  factoryReset(QStringLiteral("Sending this reset will cause the receiver to re-initialize\nthe "
                              "navigation data to the factory defaults.  Proceed?"),
               commands::kResetFactoryNavigation, false);
}

void ControlActions::FactoryResetConfiguration() {
  factoryReset(QStringLiteral("Sending this reset will cause the receiver to re-initialize\nthe "
                              "configuration parameters to the factory defaults.  Proceed?"),
               commands::kResetFactoryConfiguration, true);
}

void ControlActions::RestartSelfSurvey() {
  if (!confirm(QStringLiteral("Restart self-survey?"),
               QStringLiteral("Do you really want to restart the self-survey?")))
    return;
  commands::SelfSurveyRestartCommand8EA6(link_);
}

void ControlActions::SaveAllSegments() {
  if (!confirmSegments(QStringLiteral("Save All Segments"),
                       QStringLiteral("This operation will save all receiver configuration "
                                      "segments to the EEPROM.  Are you sure that you want to "
                                      "proceed?")))
    return;
  commands::SaveSegmentsCommand8E26(link_);
}

void ControlActions::DefaultAllSegments() {
  if (!confirmSegments(QStringLiteral("Default All Segments"),
                       QStringLiteral("This operation will save all receiver configuration "
                                      "segments to their factory default settings.  Are you sure "
                                      "that you want to proceed?")))
    return;
  RevertSegment(commands::kAllSegments);
}

bool ControlActions::ConfirmRevertSegment() {
  return confirmSegments(
      QStringLiteral("Revert Segment"),
      QStringLiteral("In addition to reverting the chosen segment, this operation will\nsave all "
                     "receiver configuration segments to EEPROM.  Are you sure\nthat you want to "
                     "proceed?"));
}

void ControlActions::RevertSegment(std::uint8_t segment) {
  commands::RevertSegmentCommand8E45(link_, segment);
  if (segment != kSerialPortSegment && segment != commands::kAllSegments) return;
  clock_.sleepMs(kRevertSettleMs);
  portToFactory();
}

}  // namespace halvix::tools
