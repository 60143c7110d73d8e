#include <windows.h>

#include "app/application.h"

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE /*previous*/, PWSTR /*commandLine*/,
                    int /*show*/) {
  try {
    kivo::Application application(instance);
    return application.Main();
  } catch (...) {
    return 1;
  }
}
