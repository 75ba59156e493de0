// The aggregate of every window of the run. Windows are created once at
// start-up in a fixed order and live until exit; decoders and menu handlers
// reach them through this aggregate.
#pragma once

#include <memory>

#include "app/app_context.h"

namespace halvix::app {

class TForm_Main;
class TForm_Splash;

struct Windows {
  Windows();
  ~Windows();
  Windows(const Windows&) = delete;
  Windows& operator=(const Windows&) = delete;

  std::unique_ptr<TForm_Main> main;
  std::unique_ptr<TForm_Splash> splash;
};

// Creates every window in start-up order. The main window comes first; its
// FormCreate is not run here.
std::unique_ptr<Windows> CreateWindows(AppContext& context);

}  // namespace halvix::app
