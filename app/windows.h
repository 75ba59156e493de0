// The aggregate of every window of the run. Windows are created once at
// start-up in a fixed order and live until exit; decoders and menu handlers
// reach them through this aggregate.
#pragma once

#include <QWidget>
#include <functional>
#include <memory>
#include <vector>

#include "app/app_context.h"
#include "session/receiver_session.h"

namespace halvix::reports {
struct DecoderContext;
class TForm_VelPos;
class TForm_AddTiming;
class TForm_Product;
class TForm_RawMeas;
class TForm_EphemStat;
class TForm_Track;
class TForm_UTCParam;
class TForm_Charts;
}  // namespace halvix::reports

namespace halvix::commands {
class TForm_AutoOut;
class TForm_Altitude;
class TForm_Default;
class TForm_InitialPos;
class TForm_InitialTime;
class TForm_PacketMasks;
class TForm_GPS;
class TForm_Serial;
class TForm_SVNum;
class TForm_Datum;
class TForm_NMEA;
class TForm_TimingOut;
class TForm_SelfSurvey;
class TForm_BriselSurvey;
class TForm_BriselPortAOut;
}  // namespace halvix::commands

namespace halvix::tools {
class TForm_Alm;
class TForm_AlmanacData;
class TForm_AlmHealth;
class TForm_About;
class TForm_EEPROM;
class TForm_LogQlip;
class TForm_Message;
class TForm_Diagnostics;
}  // namespace halvix::tools

namespace halvix::app {

class TForm_Main;
class TForm_Splash;

struct Windows {
  Windows();
  ~Windows();
  Windows(const Windows&) = delete;
  Windows& operator=(const Windows&) = delete;

  // What the report decoders reach, set when they are registered. It outlives
  // every window (declared first, destroyed last).
  std::unique_ptr<reports::DecoderContext> decoders;

  // Members in creation order; they are destroyed in reverse, the main window last.
  std::unique_ptr<TForm_Main> main;
  std::unique_ptr<commands::TForm_AutoOut> autoOut;
  std::unique_ptr<tools::TForm_Alm> alm;
  std::unique_ptr<tools::TForm_AlmanacData> almanacData;
  std::unique_ptr<tools::TForm_AlmHealth> almHealth;
  std::unique_ptr<commands::TForm_Altitude> altitude;
  std::unique_ptr<tools::TForm_About> about;
  std::unique_ptr<commands::TForm_Default> defaultSettings;
  std::unique_ptr<reports::TForm_EphemStat> ephemStat;
  std::unique_ptr<commands::TForm_InitialPos> initialPos;
  std::unique_ptr<commands::TForm_InitialTime> initialTime;
  std::unique_ptr<commands::TForm_PacketMasks> packetMasks;
  std::unique_ptr<reports::TForm_AddTiming> addTiming;
  std::unique_ptr<reports::TForm_Product> product;
  std::unique_ptr<reports::TForm_RawMeas> rawMeas;
  std::unique_ptr<commands::TForm_GPS> gps;
  std::unique_ptr<commands::TForm_Serial> serial;
  std::unique_ptr<commands::TForm_SVNum> svNum;
  std::unique_ptr<reports::TForm_Track> track;
  std::unique_ptr<reports::TForm_UTCParam> utcParam;
  std::unique_ptr<commands::TForm_Datum> datum;
  std::unique_ptr<commands::TForm_NMEA> nmea;
  std::unique_ptr<tools::TForm_EEPROM> eeprom;
  std::unique_ptr<commands::TForm_TimingOut> timingOut;
  std::unique_ptr<reports::TForm_VelPos> velPos;
  std::unique_ptr<tools::TForm_LogQlip> logQlip;
  std::unique_ptr<commands::TForm_SelfSurvey> selfSurvey;
  std::unique_ptr<tools::TForm_Message> message;
  std::unique_ptr<tools::TForm_Diagnostics> diagnostics;
  std::unique_ptr<commands::TForm_BriselSurvey> briselSurvey;
  std::unique_ptr<commands::TForm_BriselPortAOut> briselPortAOut;
  std::unique_ptr<reports::TForm_Charts> charts;
  std::unique_ptr<TForm_Splash> splash;

  // Every window of the run, in the order it was created.
  std::vector<QWidget*> creationOrder;

  // The run's context, which the windows made later are built on.
  AppContext* context = nullptr;
  // Windows outside the start-up set: a menu row makes its window when the
  // item is first chosen (Made<W> in the menu table). Declared last, so they
  // are destroyed before the start-up windows.
  std::vector<std::unique_ptr<QWidget>> later;

  // The run's window of type W, made from the context on first use.
  template <typename W>
  W* made() {
    for (const std::unique_ptr<QWidget>& window : later) {
      if (auto* found = dynamic_cast<W*>(window.get())) return found;
    }
    auto window = std::make_unique<W>(*context);
    W* made = window.get();
    later.push_back(std::move(window));
    creationOrder.push_back(made);
    return made;
  }
};

// Creates every window in start-up order. The main window, a view of the
// session, comes first and mainCreated (its FormCreate) runs at once, before
// any other window exists; when it returns false the main window is destroyed
// and nothing is returned. The session outlives the windows.
std::unique_ptr<Windows> CreateWindows(AppContext& context, session::ReceiverSession& session,
                                       const std::function<bool(TForm_Main&)>& mainCreated = {});

}  // namespace halvix::app
