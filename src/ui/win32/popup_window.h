// FrmSubMenu: a group's list beside its dock slot. One layered window the size of the
// list (a frame presents only the rows that changed), and a small layered window for a
// picture off the list: the member being dragged away, the delete animation.
#pragma once

#include <windows.h>

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "core/startup.h"
#include "dock/frame_pacer.h"
#include "gfx/win32/box_text.h"
#include "gfx/win32/frame_renderer.h"
#include "gfx/win32/image_tables.h"
#include "platform/win32/handles.h"
#include "popup/popup_controller.h"
#include "popup/popup_view.h"
#include "render/display_list.h"
#include "ui/win32/window.h"

namespace kivo::win {

class PopupWindow final : public Window, public PopupPorts {
 public:
  // Without `actions` the list only draws (tests, benchmark).
  PopupWindow(HINSTANCE instance, AppData& data, ImageTables& images,
              PopupActions* actions = nullptr);
  ~PopupWindow() override;

  // `geometry` and `dock` (the ring the list opens beside, and its fade flag) must outlive
  // the window. `ensureIcon` loads a member's row image on first need. Titles are drawn in
  // the first of `fontFamilies` that is installed.
  [[nodiscard]] bool Create(const std::vector<std::wstring>& fontFamilies,
                            const RingGeometry& geometry, const DockState& dock,
                            std::function<void(int item)> ensureIcon);
  void Destroy();
  // After data.screen and the ring changed (closed first): the list opens over the new work
  // area, its text at the ring's dpi.
  void MoveToScreen();
  // The rows' text with ClearType (the settings dialog's switch) or grey antialiasing.
  void SetClearType(bool on) { text_.SetClearType(on); }
  void Handle(const PopupEvent& event);
  // Animations pause through this clock instead of the pacer (benchmark, tests). Before
  // Create.
  void SetClock(Clock& clock) { clock_ = &clock; }

  const PopupController& controller() const { return *controller_; }
  HWND handle() const { return list_.get(); }
  HWND spriteHandle() const { return sprite_.get(); }
  // For the benchmark: how long the last frame took to render and present, and the size
  // of the rectangle it presented.
  double lastFrameMilliseconds() const { return lastFrameMs_; }
  int lastPresentedPixels() const { return lastPresentedPixels_; }
  int framesPresented() const { return framesPresented_; }

 private:
  // The list's skins, decoded the first time a list opens.
  void LoadSkins();
  std::optional<LRESULT> OnMessage(HWND window, UINT message, WPARAM wParam,
                                   LPARAM lParam) override;
  static LRESULT CALLBACK WheelProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam,
                                         UINT_PTR id, DWORD_PTR self);
  void OnFrame(const Frame& frame);
  void OnTimer(UINT_PTR id);
  POINT ClientPoint(HWND window, LPARAM lParam) const;

  // PopupPorts
  void SetTimer(PopupTimer timer, bool on) override;
  void Show(const PixelRect& bounds) override;
  void ShowBesideField(const PixelRect& bounds) override;
  void Hide() override;
  void ShowSprite(const ImageRef& image, const PixelRect& rect) override;
  // The rows' font at the ring's dpi: 12 px at 96.
  bool MakeText();
  void HideSprite() override;

  HINSTANCE instance_;
  AppData& data_;
  ImageTables& images_;
  PopupActions& actions_;
  TextRenderer labels_;  // unused by the list, which has no outlined labels
  BoxTextRenderer text_;
  std::vector<std::wstring> fontFamilies_;
  const RingGeometry* geometry_ = nullptr;
  int textDpi_ = 0;  // the dpi the rows' font was made for
  FrameRenderer renderer_;
  FrameRenderer spriteRenderer_;
  FramePacer pacer_;
  Clock* clock_ = nullptr;
  DisplayList frames_;
  std::unique_ptr<PopupView> view_;
  std::unique_ptr<PopupController> controller_;
  UniqueWindow list_;
  UniqueWindow sprite_;
  bool subclassed_ = false;
  POINT origin_{};       // work-area origin on the screen: client (0, 0)
  bool placed_ = false;  // the window has the list's place and size
  int shownAlpha_ = -1;  // constant alpha on screen
  double lastFrameMs_ = 0;
  int lastPresentedPixels_ = 0;
  int framesPresented_ = 0;
};

}  // namespace kivo::win
