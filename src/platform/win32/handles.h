// One owner type per kind of Win32 handle: copying is impossible, moving hands it on.
#pragma once

#include <windows.h>

#include <utility>

namespace kivo::win {

template <typename Handle, typename Traits>
class UniqueHandle {
 public:
  UniqueHandle() = default;
  explicit UniqueHandle(Handle handle) : handle_(handle) {}
  ~UniqueHandle() { reset(); }
  UniqueHandle(const UniqueHandle&) = delete;
  UniqueHandle& operator=(const UniqueHandle&) = delete;
  UniqueHandle(UniqueHandle&& other) noexcept : handle_(other.release()) {}
  UniqueHandle& operator=(UniqueHandle&& other) noexcept {
    if (this != &other) reset(other.release());
    return *this;
  }

  Handle get() const { return handle_; }
  explicit operator bool() const { return Traits::IsValid(handle_); }
  Handle release() { return std::exchange(handle_, Traits::Invalid()); }
  void reset(Handle handle = Traits::Invalid()) {
    if (Traits::IsValid(handle_)) Traits::Close(handle_);
    handle_ = handle;
  }

 private:
  Handle handle_ = Traits::Invalid();
};

struct KernelHandleTraits {  // files, mutexes, processes: INVALID_HANDLE_VALUE or null
  static HANDLE Invalid() { return nullptr; }
  static bool IsValid(HANDLE h) { return h != nullptr && h != INVALID_HANDLE_VALUE; }
  static void Close(HANDLE h) { ::CloseHandle(h); }
};
struct FindHandleTraits {
  static HANDLE Invalid() { return INVALID_HANDLE_VALUE; }
  static bool IsValid(HANDLE h) { return h != INVALID_HANDLE_VALUE; }
  static void Close(HANDLE h) { ::FindClose(h); }
};
struct WindowTraits {
  static HWND Invalid() { return nullptr; }
  static bool IsValid(HWND h) { return h != nullptr; }
  static void Close(HWND h) { ::DestroyWindow(h); }
};
struct ModuleTraits {
  static HMODULE Invalid() { return nullptr; }
  static bool IsValid(HMODULE h) { return h != nullptr; }
  static void Close(HMODULE h) { ::FreeLibrary(h); }
};
struct ScreenDcTraits {  // a DC from GetDC(nullptr)
  static HDC Invalid() { return nullptr; }
  static bool IsValid(HDC h) { return h != nullptr; }
  static void Close(HDC h) { ::ReleaseDC(nullptr, h); }
};

struct RegistryKeyTraits {
  static HKEY Invalid() { return nullptr; }
  static bool IsValid(HKEY h) { return h != nullptr; }
  static void Close(HKEY h) { ::RegCloseKey(h); }
};
struct MemoryDcTraits {
  static HDC Invalid() { return nullptr; }
  static bool IsValid(HDC h) { return h != nullptr; }
  static void Close(HDC h) { ::DeleteDC(h); }
};
struct IconTraits {
  static HICON Invalid() { return nullptr; }
  static bool IsValid(HICON h) { return h != nullptr; }
  static void Close(HICON h) { ::DestroyIcon(h); }
};
struct FontTraits {
  static HFONT Invalid() { return nullptr; }
  static bool IsValid(HFONT h) { return h != nullptr; }
  static void Close(HFONT h) { ::DeleteObject(h); }
};
struct GdiBitmapTraits {
  static HBITMAP Invalid() { return nullptr; }
  static bool IsValid(HBITMAP h) { return h != nullptr; }
  static void Close(HBITMAP h) { ::DeleteObject(h); }
};

// A COM interface pointer, released once when its owner goes. `put()` hands out the
// address for a call that returns a new reference (releasing any held one first).
template <typename Interface>
class UniqueCom {
 public:
  UniqueCom() = default;
  explicit UniqueCom(Interface* pointer) : pointer_(pointer) {}
  ~UniqueCom() { reset(); }
  UniqueCom(const UniqueCom&) = delete;
  UniqueCom& operator=(const UniqueCom&) = delete;
  UniqueCom(UniqueCom&& other) noexcept : pointer_(std::exchange(other.pointer_, nullptr)) {}
  UniqueCom& operator=(UniqueCom&& other) noexcept {
    if (this != &other) {
      reset();
      pointer_ = std::exchange(other.pointer_, nullptr);
    }
    return *this;
  }

  Interface* get() const { return pointer_; }
  Interface* operator->() const { return pointer_; }
  explicit operator bool() const { return pointer_ != nullptr; }
  Interface** put() {
    reset();
    return &pointer_;
  }
  void** put_void() { return reinterpret_cast<void**>(put()); }
  void reset() {
    if (pointer_ != nullptr) std::exchange(pointer_, nullptr)->Release();
  }

 private:
  Interface* pointer_ = nullptr;
};

using UniqueKernelHandle = UniqueHandle<HANDLE, KernelHandleTraits>;
using UniqueFindHandle = UniqueHandle<HANDLE, FindHandleTraits>;
using UniqueWindow = UniqueHandle<HWND, WindowTraits>;
using UniqueModule = UniqueHandle<HMODULE, ModuleTraits>;
using UniqueScreenDc = UniqueHandle<HDC, ScreenDcTraits>;
using UniqueMemoryDc = UniqueHandle<HDC, MemoryDcTraits>;
using UniqueGdiBitmap = UniqueHandle<HBITMAP, GdiBitmapTraits>;
using UniqueFont = UniqueHandle<HFONT, FontTraits>;
using UniqueIcon = UniqueHandle<HICON, IconTraits>;
using UniqueRegistryKey = UniqueHandle<HKEY, RegistryKeyTraits>;

}  // namespace kivo::win
