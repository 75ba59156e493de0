#include <QPointer>

#include "app/decoder_wiring.h"
#include "app/main_window.h"
#include "app/splash_window.h"
#include "app/windows.h"
#include "commands/altitude_dialog.h"
#include "commands/auto_out_dialog.h"
#include "commands/brisel_port_a_out_dialog.h"
#include "commands/brisel_survey_dialog.h"
#include "commands/datum_dialog.h"
#include "commands/default_dialog.h"
#include "commands/gps_dialog.h"
#include "commands/initial_pos_dialog.h"
#include "commands/initial_time_dialog.h"
#include "commands/nmea_dialog.h"
#include "commands/packet_masks_dialog.h"
#include "commands/self_survey_dialog.h"
#include "commands/serial_dialog.h"
#include "commands/sv_num_dialog.h"
#include "commands/timing_out_dialog.h"
#include "reports/add_timing_window.h"
#include "reports/charts_window.h"
#include "reports/decoder_context.h"
#include "reports/ephem_stat_window.h"
#include "reports/product_window.h"
#include "reports/raw_meas_window.h"
#include "reports/track_window.h"
#include "reports/utc_param_window.h"
#include "reports/vel_pos_window.h"
#include "tools/about_window.h"
#include "tools/alm_health_window.h"
#include "tools/alm_window.h"
#include "tools/almanac_data_window.h"
#include "tools/diagnostics_window.h"
#include "tools/eeprom_window.h"
#include "tools/log_qlip_window.h"
#include "tools/message_window.h"

namespace halvix::app {

Windows::Windows() = default;
Windows::~Windows() = default;

namespace {

// The other windows are top-level windows of their own, not children of the
// main window, so a search through the main window finds only its controls.
template <typename W, typename... Args>
void create(Windows& w, std::unique_ptr<W>& slot, Args&&... args) {
  slot = std::make_unique<W>(std::forward<Args>(args)...);
  w.creationOrder.push_back(slot.get());
}

// The recording, the reset test and the Message window, joined to the
// dispatcher's post-dispatch hooks and to the main window's destroy.
void WireTools(Windows& w) {
  link::ReportDispatcher& d = w.main->dispatcher();
  tools::TForm_Diagnostics* diagnostics = w.diagnostics.get();
  d.setHeartbeat([diagnostics] { diagnostics->HeartBeat(); });
  QPointer<tools::TForm_LogQlip> recorder = w.logQlip.get();
  w.main->hooks.destroy.push_back([recorder] {
    if (recorder) recorder->CloseRecording();
  });
  // The test's reports go to the Message window.
  tools::TForm_Message* message = w.message.get();
  diagnostics->setMessageSink(tools::DiagnosticsMessageSink{
      [message](const QString& text) { message->AppendMessage(text); },
      [message] { message->ShowMessages(); }});
  // A receiver type applied in developer mode puts the test back on port A.
  w.main->hooks.resetDiagnosticsTestPort = [diagnostics] { diagnostics->setTestPort(0); };
}

}  // namespace

std::unique_ptr<Windows> CreateWindows(AppContext& context, session::ReceiverSession& session,
                                       const std::function<bool(TForm_Main&)>& mainCreated) {
  auto w = std::make_unique<Windows>();
  w->context = &context;
  w->main = std::make_unique<TForm_Main>(context, session);
  w->main->setWindows(w.get());
  w->creationOrder.push_back(w->main.get());
  if (mainCreated && !mainCreated(*w->main)) return nullptr;

  create(*w, w->autoOut, context);
  create(*w, w->alm);
  create(*w, w->almanacData, context.link);
  create(*w, w->almHealth, context.link);
  create(*w, w->altitude, context);
  create(*w, w->about);
  create(*w, w->defaultSettings, context.link, context.clock, context.prompts,
         ControlHooksOf(*w->main));
  create(*w, w->ephemStat, context.link);
  create(*w, w->initialPos, context.link, context.prompts);
  create(*w, w->initialTime, context.link, context.pcClock);
  create(*w, w->packetMasks, context);
  create(*w, w->addTiming, context.link);
  create(*w, w->product, context.link);
  create(*w, w->rawMeas, context.link);
  create(*w, w->gps, context);
  create(*w, w->serial, context, session);
  create(*w, w->svNum, context);
  create(*w, w->track);
  create(*w, w->utcParam, context.link);
  create(*w, w->datum, context.link);
  create(*w, w->nmea, context.link, context.prompts);
  create(*w, w->eeprom, context.link);
  create(*w, w->timingOut, context);
  create(*w, w->velPos);
  create(*w, w->logQlip, context.prompts, w->main->dispatcher());
  create(*w, w->selfSurvey, context.link, context.prompts);
  create(*w, w->message);
  create(*w, w->diagnostics, context.prompts, context.link, context.readBack);
  create(*w, w->briselSurvey, context.link, context.prompts);
  create(*w, w->briselPortAOut, context.link);
  create(*w, w->charts, context.clock, context.prompts);
  create(*w, w->splash);
  WireTools(*w);
  WireDecoders(*w, context);
  return w;
}

}  // namespace halvix::app
