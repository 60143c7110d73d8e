// The dock's OLE drop target: files from the shell (CF_HDROP, Unicode paths) and web
// addresses dragged from a browser, reported to the dock through three callbacks. One
// object serves every window of the dock.
#pragma once

#include <windows.h>

#include <ole2.h>

#include <functional>
#include <string>
#include <vector>

namespace kivo::win {

// What a drag carries: the shell's file list, or one web address.
// At most `limit` paths, in the data object's order, as UTF-8.
std::vector<std::string> DroppedPaths(IDataObject* data, std::size_t limit);
// True when the data object offers something DroppedPaths can read.
bool OffersPaths(IDataObject* data);
// The web address in a text a browser drags ("" when it is not one).
std::string WebAddressFromText(const std::wstring& text);

class DropTarget final : public IDropTarget {
 public:
  struct Callbacks {
    // Screen point and whether paths are on offer; true when a drop there would be taken.
    std::function<bool(POINT, bool)> over;
    std::function<void()> leave;
    // Screen point and the paths; true when the drop is taken.
    std::function<bool(POINT, std::vector<std::string>)> drop;
  };

  // Made with one reference, which the caller owns (Release it).
  static DropTarget* Create(Callbacks callbacks);
  // The dock is going: later calls do nothing and refuse.
  void Detach() { callbacks_ = {}; }

  // IUnknown
  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** object) override;
  ULONG STDMETHODCALLTYPE AddRef() override;
  ULONG STDMETHODCALLTYPE Release() override;
  // IDropTarget
  HRESULT STDMETHODCALLTYPE DragEnter(IDataObject* data, DWORD keys, POINTL point,
                                      DWORD* effect) override;
  HRESULT STDMETHODCALLTYPE DragOver(DWORD keys, POINTL point, DWORD* effect) override;
  HRESULT STDMETHODCALLTYPE DragLeave() override;
  HRESULT STDMETHODCALLTYPE Drop(IDataObject* data, DWORD keys, POINTL point,
                                 DWORD* effect) override;

 private:
  explicit DropTarget(Callbacks callbacks) : callbacks_(std::move(callbacks)) {}
  ~DropTarget() = default;
  DWORD Over(POINTL point, DWORD allowed);
  // The effect shown for a drop taken or not: the files are copied into shortcuts (or
  // linked); the source never moves them away.
  static DWORD Effect(bool taken, DWORD allowed);

  LONG references_ = 1;
  Callbacks callbacks_;
  bool offers_ = false;  // the current drag carries paths
};

// Owns the reference a DropTarget is made with; detaches it when it goes, so that a
// reference the system still holds reaches nothing.
class DropTargetOwner {
 public:
  DropTargetOwner() = default;
  ~DropTargetOwner() { reset(); }
  DropTargetOwner(const DropTargetOwner&) = delete;
  DropTargetOwner& operator=(const DropTargetOwner&) = delete;
  void reset(DropTarget* target = nullptr) {
    if (target_ != nullptr) {
      target_->Detach();
      target_->Release();
    }
    target_ = target;
  }
  DropTarget* get() const { return target_; }

 private:
  DropTarget* target_ = nullptr;
};

// Registers `target` for `window`; RevokeDragDrop before the window is destroyed.
bool RegisterDropTarget(HWND window, DropTarget* target);

// OLE for the thread that runs the windows (drag and drop needs it, not plain COM).
class OleSession {
 public:
  OleSession() : result_(::OleInitialize(nullptr)) {}
  ~OleSession() {
    if (SUCCEEDED(result_)) ::OleUninitialize();
  }
  OleSession(const OleSession&) = delete;
  OleSession& operator=(const OleSession&) = delete;
  bool ok() const { return SUCCEEDED(result_); }

 private:
  HRESULT result_;
};

}  // namespace kivo::win
