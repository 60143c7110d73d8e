#include "platform/win32/item_system_win.h"

#include <windows.h>
// The COM and shell declarations need <windows.h> first.
#include <msi.h>
#include <objbase.h>
#include <shlguid.h>
#include <shlobj.h>
#include <winver.h>

#include <algorithm>
#include <memory>

#include "items/link_target.h"
#include "items/shell_link_format.h"
#include "platform/win32/ansi_codec_win.h"
#include "platform/win32/file_system_win.h"
#include "platform/win32/gdiplus_api.h"
#include "platform/win32/handles.h"
#include "platform/win32/icon_extract_win.h"
#include "platform/win32/unicode.h"

namespace kivo::win {
namespace {

// Windows Installer codes are GUIDs in braces: 38 characters.
constexpr std::size_t kMsiCodeChars = 39;
constexpr DWORD kMsiPathChars = 1024;
// Link texts other than paths: the size the shell itself documents for descriptions, and
// a whole command line for arguments.
constexpr std::size_t kDescriptionChars = INFOTIPSIZE;
constexpr std::size_t kArgumentChars = 32768;

// COM for the length of one call. A thread with an apartment of its own keeps it: S_FALSE
// only adds a count that is given back here, and RPC_E_CHANGED_MODE (a multithreaded
// apartment) is usable as it is and must not be ended by us.
class ComScope {
 public:
  ComScope() : result_(::CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED)) {}
  ~ComScope() {
    if (result_ == S_OK || result_ == S_FALSE) ::CoUninitialize();
  }
  ComScope(const ComScope&) = delete;
  ComScope& operator=(const ComScope&) = delete;

 private:
  HRESULT result_;
};

struct PidlDeleter {
  void operator()(ITEMIDLIST* pidl) const { ::CoTaskMemFree(pidl); }
};
using UniquePidl = std::unique_ptr<ITEMIDLIST, PidlDeleter>;

// One text of a link, read with `get(buffer, size)`; "" when the link has none.
template <typename Get>
std::string LinkText(std::size_t size, Get get) {
  std::wstring buffer(size, L'\0');
  if (FAILED(get(buffer.data(), static_cast<int>(size)))) return {};
  buffer.back() = L'\0';
  return Narrow(buffer.c_str());
}

// The path of the link's item list. GetPath turns the stored path into ANSI and back under
// Wine, losing every character the code page lacks; the item list keeps the Unicode names.
// Under Wine an item list that Windows wrote may come back as nonsense: the choice of the
// target weighs it against the link's other places.
std::string ItemListPath(IShellLinkW* link) {
  ITEMIDLIST* raw = nullptr;
  const HRESULT listed = link->GetIDList(&raw);
  const UniquePidl pidl(raw);
  if (FAILED(listed) || !pidl) return {};
  wchar_t path[MAX_PATH] = {};
  if (!::SHGetPathFromIDListW(pidl.get(), path)) return {};
  return Narrow(path);
}

std::string RawPath(IShellLinkW* link) {
  WIN32_FIND_DATAW found{};
  return LinkText(MAX_PATH, [&](wchar_t* buffer, int size) {
    return link->GetPath(buffer, size, &found, SLGP_RAWPATH);
  });
}

}  // namespace

std::optional<std::uint32_t> WinItemSystem::FileAttributes(const std::string& path) const {
  if (path.empty()) return std::nullopt;
  const DWORD attributes = ::GetFileAttributesW(Widen(path).c_str());
  if (attributes == INVALID_FILE_ATTRIBUTES) return std::nullopt;
  return attributes;
}

int WinItemSystem::DriveType(const std::string& root) const {
  return static_cast<int>(::GetDriveTypeW(Widen(root).c_str()));
}

std::vector<std::string> WinItemSystem::LogicalDrives() const {
  std::wstring buffer(128, L'\0');
  DWORD length = 0;
  // A drive may appear between the two calls: ask again with the larger size.
  for (int attempt = 0;; ++attempt) {
    length = ::GetLogicalDriveStringsW(static_cast<DWORD>(buffer.size()), buffer.data());
    if (length == 0 || attempt == 4) return {};
    if (length < buffer.size()) break;
    buffer.assign(length + 1, L'\0');
  }
  std::vector<std::string> roots;
  for (std::size_t start = 0; start < length;) {
    const std::size_t end = buffer.find(L'\0', start);
    if (end == start || end == std::wstring::npos) break;
    roots.push_back(Narrow(std::wstring_view(buffer).substr(start, end - start)));
    start = end + 1;
  }
  return roots;
}

std::vector<std::string> WinItemSystem::FolderEntries(const std::string& folder) const {
  if (folder.empty()) return {};
  std::wstring pattern = Widen(folder);
  if (pattern.back() != L'\\' && pattern.back() != L'/') pattern += L'\\';
  pattern += L'*';
  WIN32_FIND_DATAW found{};
  const UniqueFindHandle find(::FindFirstFileW(pattern.c_str(), &found));
  if (!find) return {};
  std::vector<std::string> names;
  do {
    const std::wstring_view name(found.cFileName);
    if (name != L"." && name != L"..") names.push_back(Narrow(name));
  } while (::FindNextFileW(find.get(), &found));
  return names;
}

std::string WinItemSystem::ExpandPath(std::string_view path) const {
  if (path.empty()) return {};
  const std::wstring source = Widen(path);
  std::wstring buffer(std::max<std::size_t>(source.size() + 1, MAX_PATH), L'\0');
  // A variable may grow between the two calls: ask again with the larger size.
  for (int attempt = 0; attempt < 4; ++attempt) {
    const DWORD needed = ::ExpandEnvironmentStringsW(source.c_str(), buffer.data(),
                                                     static_cast<DWORD>(buffer.size()));
    if (needed == 0) break;
    if (needed <= buffer.size()) return Narrow(buffer.c_str());
    buffer.assign(needed, L'\0');
  }
  return std::string(path);
}

std::string WinItemSystem::UserName() const {
  DWORD length = 257;  // UNLEN + 1
  std::wstring name(length, L'\0');
  if (!::GetUserNameW(name.data(), &length)) {
    if (::GetLastError() != ERROR_INSUFFICIENT_BUFFER) return {};
    name.assign(length, L'\0');
    if (!::GetUserNameW(name.data(), &length)) return {};
  }
  return Narrow(name.c_str());
}

std::optional<std::string> WinItemSystem::VersionBlock(const std::string& file) const {
  const std::wstring path = Widen(file);
  DWORD ignored = 0;
  const DWORD size = ::GetFileVersionInfoSizeW(path.c_str(), &ignored);
  if (size == 0) return std::nullopt;
  std::string block(size, '\0');
  if (!::GetFileVersionInfoW(path.c_str(), 0, size, block.data())) return std::nullopt;
  return block;
}

// The shell link object itself, not an automation wrapper around it: the shell dispatch
// object's ShellLinkObject and WScript.Shell's CreateShortcut wrap this same object, and
// under Wine the first exposes only the path and the second cannot read links at all.
std::optional<ShellLinkData> WinItemSystem::ReadShellLink(const std::string& linkFile) {
  // The file's own fields: the places the shell under Wine does not read (the location
  // block's suffix, the environment block), and everything when the shell cannot read it.
  std::optional<ShellLinkFile> own;
  if (const auto bytes = WinFileSystem().ReadFile(linkFile, kMaxShellLinkBytes))
    own = ReadShellLinkFile(*bytes, SystemAnsiCodec());

  const ComScope com;  // declared first: it outlives every interface below
  UniqueCom<IShellLinkW> link;
  UniqueCom<IPersistFile> file;
  const bool loaded = SUCCEEDED(::CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER,
                                                   IID_IShellLinkW, link.put_void())) &&
                      SUCCEEDED(link->QueryInterface(IID_IPersistFile, file.put_void())) &&
                      SUCCEEDED(file->Load(Widen(linkFile).c_str(), STGM_READ));
  if (!loaded && !own) return std::nullopt;

  ShellLinkData data;
  LinkTargetSources sources;
  if (loaded) {
    sources.shellPath = ItemListPath(link.get());
    sources.rawPath = RawPath(link.get());
    data.arguments = LinkText(kArgumentChars, [&](wchar_t* buffer, int size) {
      return link->GetArguments(buffer, size);
    });
    data.workingDir = LinkText(MAX_PATH, [&](wchar_t* buffer, int size) {
      return link->GetWorkingDirectory(buffer, size);
    });
    int iconIndex = 0;
    data.iconFile = LinkText(MAX_PATH, [&](wchar_t* buffer, int size) {
      return link->GetIconLocation(buffer, size, &iconIndex);
    });
    data.iconIndex = iconIndex;
    int showCommand = 0;
    if (SUCCEEDED(link->GetShowCmd(&showCommand))) data.showCommand = showCommand;
    data.description = LinkText(kDescriptionChars, [&](wchar_t* buffer, int size) {
      return link->GetDescription(buffer, size);
    });
  } else {
    data.arguments = own->arguments;
    data.workingDir = own->workingDir;
    data.iconFile = own->iconLocation;
    data.iconIndex = own->iconIndex;
    data.showCommand = static_cast<int>(own->showCommand);
    data.description = own->name;
  }
  if (own) {
    sources.linkInfoPath = LinkInfoTarget(*own);
    sources.relativePath = own->relativePath;
    sources.environmentPath = own->environmentTarget;
    // Wine ignores the icon's environment block: a link with only that has no icon file.
    if (data.iconFile.empty()) data.iconFile = own->environmentIcon;
  }
  data.target = ChooseLinkTarget(
      LinkTargetCandidates(sources, linkFile, [this](std::string_view p) { return ExpandPath(p); }),
      [this](const std::string& path) { return FileAttributes(path).has_value(); });
  return data;
}

std::string WinItemSystem::MsiShortcutTarget(const std::string& linkFile) {
  const ComScope com;  // the installer opens the link through COM
  wchar_t product[kMsiCodeChars] = {};
  wchar_t feature[kMsiCodeChars] = {};
  wchar_t component[kMsiCodeChars] = {};
  if (::MsiGetShortcutTargetW(Widen(linkFile).c_str(), product, feature, component) !=
      ERROR_SUCCESS)
    return {};
  DWORD length = kMsiPathChars;
  std::wstring path(length, L'\0');
  INSTALLSTATE state = ::MsiGetComponentPathW(product, component, path.data(), &length);
  if (state == INSTALLSTATE_MOREDATA) {
    length += 1;
    path.assign(length, L'\0');
    state = ::MsiGetComponentPathW(product, component, path.data(), &length);
  }
  return state == INSTALLSTATE_LOCAL ? Narrow(path.c_str()) : std::string();
}

bool WinIconMaker::ExtractResourceIcon(const std::string& module, int index,
                                       const std::string& pngFile) {
  return win::ExtractResourceIcon(module, index, pngFile);
}

bool WinIconMaker::ConvertIcoFile(const std::string& icoFile, const std::string& pngFile) {
  return win::ConvertIcoFile(icoFile, pngFile);
}

bool WinIconMaker::SaveShellIcon(const std::string& file, const std::string& pngFile) {
  const GpBitmapPtr icon = ShellIconBitmap(file);
  return icon && SavePng(icon.get(), pngFile) == Gdiplus::Ok;
}

}  // namespace kivo::win
