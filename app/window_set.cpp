#include "app/main_window.h"
#include "app/splash_window.h"
#include "app/windows.h"

namespace halvix::app {

Windows::Windows() = default;
Windows::~Windows() = default;

std::unique_ptr<Windows> CreateWindows(AppContext& context) {
  auto w = std::make_unique<Windows>();
  w->main = std::make_unique<TForm_Main>(context);
  w->main->setWindows(w.get());
  w->splash = std::make_unique<TForm_Splash>();
  return w;
}

}  // namespace halvix::app
