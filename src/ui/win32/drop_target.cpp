#include "ui/win32/drop_target.h"

#include <shellapi.h>
#include <shlobj.h>

#include <new>

#include "core/log.h"
#include "core/text.h"
#include "platform/win32/unicode.h"

namespace kivo::win {
namespace {

FORMATETC Format(CLIPFORMAT format) {
  return FORMATETC{format, nullptr, DVASPECT_CONTENT, -1, TYMED_HGLOBAL};
}

CLIPFORMAT UrlFormat() {
  static const auto format =
      static_cast<CLIPFORMAT>(::RegisterClipboardFormatW(L"UniformResourceLocatorW"));
  return format;
}

bool Offers(IDataObject* data, CLIPFORMAT format) {
  FORMATETC wanted = Format(format);
  return format != 0 && data->QueryGetData(&wanted) == S_OK;
}

// Releases a storage medium the data object handed over.
class Medium {
 public:
  Medium(IDataObject* data, CLIPFORMAT format) {
    FORMATETC wanted = Format(format);
    ok_ = format != 0 && SUCCEEDED(data->GetData(&wanted, &medium_)) &&
          medium_.tymed == TYMED_HGLOBAL && medium_.hGlobal != nullptr;
  }
  ~Medium() {
    if (ok_) ::ReleaseStgMedium(&medium_);
  }
  Medium(const Medium&) = delete;
  Medium& operator=(const Medium&) = delete;
  HGLOBAL global() const { return ok_ ? medium_.hGlobal : nullptr; }

 private:
  STGMEDIUM medium_{};
  bool ok_ = false;
};

// The UTF-16 text of a global memory block, up to its first NUL and never past its end.
std::wstring GlobalText(HGLOBAL global) {
  if (global == nullptr) return {};
  const SIZE_T bytes = ::GlobalSize(global);
  const auto* text = static_cast<const wchar_t*>(::GlobalLock(global));
  if (text == nullptr) return {};
  const std::size_t most = bytes / sizeof(wchar_t);
  std::size_t length = 0;
  while (length < most && text[length] != L'\0') ++length;
  std::wstring out(text, length);
  ::GlobalUnlock(global);
  return out;
}

std::vector<std::string> FilePaths(IDataObject* data, std::size_t limit) {
  std::vector<std::string> paths;
  const Medium medium(data, CF_HDROP);
  auto* drop = static_cast<HDROP>(medium.global());
  if (drop == nullptr) return paths;
  const UINT count = ::DragQueryFileW(drop, 0xFFFFFFFF, nullptr, 0);
  for (UINT i = 0; i < count && paths.size() < limit; ++i) {
    const UINT length = ::DragQueryFileW(drop, i, nullptr, 0);
    if (length == 0) continue;
    std::wstring path(length + 1, L'\0');
    const UINT copied = ::DragQueryFileW(drop, i, path.data(), length + 1);
    path.resize(copied);
    if (!path.empty()) paths.push_back(Narrow(path));
  }
  return paths;
}

}  // namespace

std::string WebAddressFromText(const std::wstring& text) {
  // A browser's text is the address alone, perhaps with a line end; anything more (a
  // sentence, two addresses) is not one address.
  std::string address = Narrow(text);
  constexpr const char* kSpace = " \t\r\n";
  const std::size_t first = address.find_first_not_of(kSpace);
  if (first == std::string::npos) return {};
  address = address.substr(first, address.find_last_not_of(kSpace) - first + 1);
  if (!IsWebAddress(address)) return {};
  for (const char c : address) {
    if (c == '\r' || c == '\n' || c == ' ' || c == '\t') return {};
  }
  return address;
}

std::vector<std::string> DroppedPaths(IDataObject* data, std::size_t limit) {
  if (data == nullptr || limit == 0) return {};
  if (Offers(data, CF_HDROP)) return FilePaths(data, limit);
  for (const CLIPFORMAT format : {UrlFormat(), static_cast<CLIPFORMAT>(CF_UNICODETEXT)}) {
    if (!Offers(data, format)) continue;
    const Medium medium(data, format);
    const std::string address = WebAddressFromText(GlobalText(medium.global()));
    if (!address.empty()) return {address};
  }
  return {};
}

bool OffersPaths(IDataObject* data) {
  if (data == nullptr) return false;
  if (Offers(data, CF_HDROP) || Offers(data, UrlFormat())) return true;
  // Plain text counts only when it is a web address.
  return Offers(data, CF_UNICODETEXT) && !DroppedPaths(data, 1).empty();
}

DropTarget* DropTarget::Create(Callbacks callbacks) {
  return new (std::nothrow) DropTarget(std::move(callbacks));
}

HRESULT DropTarget::QueryInterface(REFIID iid, void** object) {
  if (object == nullptr) return E_POINTER;
  if (IsEqualIID(iid, IID_IUnknown) || IsEqualIID(iid, IID_IDropTarget)) {
    *object = static_cast<IDropTarget*>(this);
    AddRef();
    return S_OK;
  }
  *object = nullptr;
  return E_NOINTERFACE;
}

ULONG DropTarget::AddRef() {
  return static_cast<ULONG>(::InterlockedIncrement(&references_));
}

ULONG DropTarget::Release() {
  const LONG left = ::InterlockedDecrement(&references_);
  if (left == 0) delete this;
  return static_cast<ULONG>(left);
}

DWORD DropTarget::Effect(bool taken, DWORD allowed) {
  if (!taken) return DROPEFFECT_NONE;
  if ((allowed & DROPEFFECT_COPY) != 0) return DROPEFFECT_COPY;
  return allowed & DROPEFFECT_LINK;
}

DWORD DropTarget::Over(POINTL point, DWORD allowed) {
  const bool taken = callbacks_.over && callbacks_.over(POINT{point.x, point.y}, offers_);
  return Effect(taken, allowed);
}

// Nothing may leave these methods as an exception: the caller is the system's drag loop.
HRESULT DropTarget::DragEnter(IDataObject* data, DWORD /*keys*/, POINTL point, DWORD* effect) {
  if (effect == nullptr) return E_INVALIDARG;
  try {
    offers_ = OffersPaths(data);
    *effect = Over(point, *effect);
  } catch (...) {
    LogCurrentException("drag enter");
    *effect = DROPEFFECT_NONE;
  }
  return S_OK;
}

HRESULT DropTarget::DragOver(DWORD /*keys*/, POINTL point, DWORD* effect) {
  if (effect == nullptr) return E_INVALIDARG;
  try {
    *effect = Over(point, *effect);
  } catch (...) {
    LogCurrentException("drag over");
    *effect = DROPEFFECT_NONE;
  }
  return S_OK;
}

HRESULT DropTarget::DragLeave() {
  try {
    offers_ = false;
    if (callbacks_.leave) callbacks_.leave();
  } catch (...) {
    LogCurrentException("drag leave");
  }
  return S_OK;
}

HRESULT DropTarget::Drop(IDataObject* data, DWORD /*keys*/, POINTL point, DWORD* effect) {
  if (effect == nullptr) return E_INVALIDARG;
  const DWORD allowed = *effect;
  *effect = DROPEFFECT_NONE;
  try {
    offers_ = false;
    if (callbacks_.drop) {
      *effect = Effect(callbacks_.drop(POINT{point.x, point.y}, DroppedPaths(data, 1024)), allowed);
    }
  } catch (...) {
    LogCurrentException("drop");
    *effect = DROPEFFECT_NONE;
  }
  return S_OK;
}

bool RegisterDropTarget(HWND window, DropTarget* target) {
  return window != nullptr && target != nullptr && SUCCEEDED(::RegisterDragDrop(window, target));
}

}  // namespace kivo::win
