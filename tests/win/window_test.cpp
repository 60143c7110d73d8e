// The Window base: one procedure for every window of the program, bound to its object.
#include "ui/win32/window.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <set>
#include <stdexcept>
#include <vector>

#include "platform/win32/handles.h"

namespace kivo::win {
namespace {

constexpr wchar_t kTestClass[] = L"KivoWindowTest";
constexpr UINT kThrow = WM_APP + 1;
constexpr UINT kAnswer = WM_APP + 2;

// Records what each of its windows heard, answers kAnswer with the window's index among
// its own and throws on kThrow.
class Recorder final : public Window {
 public:
  HWND Make() {
    HWND window =
        CreateBoundWindow(::GetModuleHandleW(nullptr), kTestClass, L"", 0, WS_POPUP, 0, 0, 10, 10);
    if (window != nullptr) windows.emplace_back(window);
    return window;
  }
  std::set<std::pair<HWND, UINT>> heard;
  std::vector<UniqueWindow> windows;

 private:
  std::optional<LRESULT> OnMessage(HWND window, UINT message, WPARAM, LPARAM) override {
    heard.emplace(window, message);
    if (message == kThrow) throw std::runtime_error("must not reach the dispatcher");
    if (message != kAnswer) return std::nullopt;
    for (std::size_t i = 0; i < windows.size(); ++i) {
      if (windows[i].get() == window) return static_cast<LRESULT>(100 + i);
    }
    return 99;
  }
};

TEST(Window, OneObjectOwnsSeveralWindowsAndEachMessageNamesItsWindow) {
  const HINSTANCE instance = ::GetModuleHandleW(nullptr);
  ASSERT_TRUE(Window::RegisterWindowClass(instance, {kTestClass, nullptr, nullptr}));
  Recorder first, second;
  const HWND a = first.Make(), b = first.Make(), c = second.Make();
  ASSERT_TRUE(a && b && c);
  EXPECT_TRUE(first.heard.count({a, WM_NCCREATE}) && first.heard.count({b, WM_NCCREATE}));
  EXPECT_TRUE(second.heard.count({c, WM_NCCREATE}) && !first.heard.count({c, WM_NCCREATE}));
  EXPECT_EQ(::SendMessageW(b, kAnswer, 0, 0), 101);
  EXPECT_EQ(::SendMessageW(c, kAnswer, 0, 0), 100);
  // An exception ends at the procedure and counts as handled.
  EXPECT_EQ(::SendMessageW(b, kThrow, 0, 0), 0);
  EXPECT_TRUE(first.heard.count({b, kThrow}));
  wchar_t text[8] = L"x";
  EXPECT_EQ(::GetWindowTextW(a, text, 8), 0);
  EXPECT_TRUE(first.heard.count({a, WM_GETTEXT}));

  first.windows.clear();
  EXPECT_TRUE(first.heard.count({a, WM_NCDESTROY}) && first.heard.count({b, WM_NCDESTROY}));
  EXPECT_EQ(::SendMessageW(c, kAnswer, 0, 0), 100);
}

}  // namespace
}  // namespace kivo::win
