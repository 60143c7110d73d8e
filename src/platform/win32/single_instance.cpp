#include "platform/win32/single_instance.h"

namespace kivo::win {

bool SingleInstance::Acquire() {
  // "Local\" keeps one copy per logged-on user; each user has their own dock.
  mutex_.reset(::CreateMutexW(nullptr, FALSE, L"Local\\KivoLauncher.SingleInstance"));
  if (!mutex_) return true;  // without the mutex we cannot tell; better to run than not
  if (::GetLastError() == ERROR_ALREADY_EXISTS) {
    mutex_.reset();
    return false;
  }
  return true;
}

}  // namespace kivo::win
