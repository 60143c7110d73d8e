// The Window base: one procedure for every window of the program, bound to its object.
#include "ui/win32/window.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <stdexcept>
#include <vector>

#include "platform/win32/handles.h"

namespace kivo::win {
namespace {

constexpr wchar_t kTestClass[] = L"KivoWindowTest";
constexpr UINT kThrow = WM_APP + 1;
constexpr UINT kAnswer = WM_APP + 2;
constexpr UINT kUnhandled = WM_APP + 3;

// Records which of its windows heard what, answers kAnswer with the window's own number
// and throws on kThrow.
class Recorder final : public Window {
 public:
  explicit Recorder(HINSTANCE instance) : instance_(instance) {}

  HWND Make() {
    HWND window = CreateBoundWindow(instance_, kTestClass, L"", 0, WS_POPUP, 0, 0, 10, 10);
    if (window != nullptr) windows_.emplace_back(window);
    return window;
  }
  void DestroyAll() { windows_.clear(); }

  struct Heard {
    HWND window;
    UINT message;
  };
  std::vector<Heard> heard;

 private:
  std::optional<LRESULT> OnMessage(HWND window, UINT message, WPARAM, LPARAM) override {
    heard.push_back({window, message});
    switch (message) {
      case kThrow:
        throw std::runtime_error("must not reach the dispatcher");
      case kAnswer:
        for (std::size_t i = 0; i < windows_.size(); ++i) {
          if (windows_[i].get() == window) return static_cast<LRESULT>(100 + i);
        }
        return 99;  // still being created
      default:
        return std::nullopt;
    }
  }

  HINSTANCE instance_;
  std::vector<UniqueWindow> windows_;
};

bool Heard(const Recorder& recorder, HWND window, UINT message) {
  for (const auto& entry : recorder.heard) {
    if (entry.window == window && entry.message == message) return true;
  }
  return false;
}

TEST(Window, OneObjectOwnsSeveralWindowsAndEachMessageNamesItsWindow) {
  const HINSTANCE instance = ::GetModuleHandleW(nullptr);
  ASSERT_TRUE(Window::RegisterWindowClass(instance, {kTestClass, nullptr, nullptr}));
  EXPECT_TRUE(Window::RegisterWindowClass(instance, {kTestClass, nullptr, nullptr}))
      << "a class registered before counts";
  Recorder first(instance);
  Recorder second(instance);
  const HWND a = first.Make();
  const HWND b = first.Make();
  const HWND c = second.Make();
  ASSERT_TRUE(a && b && c);
  // Bound from the very first message on.
  EXPECT_TRUE(Heard(first, a, WM_NCCREATE));
  EXPECT_TRUE(Heard(first, b, WM_NCCREATE));
  EXPECT_TRUE(Heard(second, c, WM_NCCREATE));
  EXPECT_FALSE(Heard(first, c, WM_NCCREATE));
  EXPECT_FALSE(Heard(second, a, WM_NCCREATE));

  EXPECT_EQ(::SendMessageW(a, kAnswer, 0, 0), 100);
  EXPECT_EQ(::SendMessageW(b, kAnswer, 0, 0), 101);
  EXPECT_EQ(::SendMessageW(c, kAnswer, 0, 0), 100);
  // An exception ends at the procedure and counts as handled.
  EXPECT_EQ(::SendMessageW(b, kThrow, 0, 0), 0);
  EXPECT_TRUE(Heard(first, b, kThrow));
  // An unhandled message gets the default answer.
  EXPECT_EQ(::SendMessageW(a, kUnhandled, 0, 0), ::DefWindowProcW(a, kUnhandled, 0, 0));
  EXPECT_TRUE(Heard(first, a, kUnhandled));
  wchar_t text[8] = L"x";
  EXPECT_EQ(::GetWindowTextW(a, text, 8), 0) << "WM_GETTEXT answered by the default procedure";

  first.DestroyAll();
  EXPECT_TRUE(Heard(first, a, WM_NCDESTROY));
  EXPECT_TRUE(Heard(first, b, WM_NCDESTROY));
  EXPECT_FALSE(::IsWindow(a));
  // The other object's window lives on and is still its own.
  EXPECT_EQ(::SendMessageW(c, kAnswer, 0, 0), 100);
}

}  // namespace
}  // namespace kivo::win
