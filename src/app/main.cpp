#include <windows.h>

#include "app/application.h"
#include "platform/win32/log_win.h"

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE /*previous*/, PWSTR /*commandLine*/,
                    int /*show*/) {
  // Lines logged before the data folder is known still reach the debugger.
  kivo::win::ProgramLog();
  try {
    kivo::Application application(instance);
    return application.Main();
  } catch (...) {
    kivo::LogCurrentException("the program stopped");
    return 1;
  }
}
