// Test helper: a shell link written with the shell's own link object. COM is ended again
// afterwards, so the code under test finds the thread without it.
#pragma once

#include <windows.h>
// The COM and shell declarations need <windows.h> first.
#include <objbase.h>
#include <shlguid.h>
#include <shlobj.h>

#include <string>

#include "items/item_system.h"
#include "platform/win32/handles.h"
#include "platform/win32/unicode.h"

namespace kivo::testing {

inline bool WriteLink(const std::string& file, const ShellLinkData& data) {
  if (FAILED(::CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED))) return false;
  bool saved = false;
  {
    win::UniqueCom<IShellLinkW> link;
    win::UniqueCom<IPersistFile> persist;
    if (SUCCEEDED(::CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER,
                                     IID_IShellLinkW, link.put_void())) &&
        SUCCEEDED(link->QueryInterface(IID_IPersistFile, persist.put_void()))) {
      link->SetPath(win::Widen(data.target).c_str());
      link->SetArguments(win::Widen(data.arguments).c_str());
      link->SetWorkingDirectory(win::Widen(data.workingDir).c_str());
      link->SetIconLocation(win::Widen(data.iconFile).c_str(), data.iconIndex);
      if (data.showCommand != 0) link->SetShowCmd(data.showCommand);
      link->SetDescription(win::Widen(data.description).c_str());
      saved = SUCCEEDED(persist->Save(win::Widen(file).c_str(), TRUE));
    }
  }
  ::CoUninitialize();
  return saved;
}

}  // namespace kivo::testing
