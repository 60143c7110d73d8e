// The about box, the quick-start window and the input box opened for real and driven with
// messages, as the user's clicks and keys would drive them.
#include <windows.h>

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "gfx/win32/gdiplus_session.h"
#include "platform/win32/gdiplus_api.h"
#include "platform/win32/handles.h"
#include "platform/win32/unicode.h"
#include "ui/win32/dialogs/about_dialog.h"
#include "ui/win32/dialogs/change_user_win.h"
#include "ui/win32/dialogs/dialog_ids.h"
#include "ui/win32/dialogs/dialog_support.h"
#include "ui/win32/dialogs/input_dialog.h"
#include "ui/win32/dialogs/quick_start_dialog.h"

#include "support/wine_path.h"
namespace kivo::win {
namespace {

using test::WinePath;

std::string Text(HWND dialog, int control) {
  return ControlText(dialog, control);
}

void PressEnter(HWND box) {
  ::PostMessageW(::GetDlgItem(box, IDC_INPUT_TEXT), WM_KEYDOWN, VK_RETURN, 0x001C0001);
}

// The window's pixels as the screen shows them, saved for a look afterwards.
void SaveWindowPicture(HWND window, const std::string& name) {
  RECT area{};
  ::GetWindowRect(window, &area);
  const int width = area.right - area.left, height = area.bottom - area.top;
  const UniqueScreenDc screen(::GetDC(nullptr));
  const UniqueMemoryDc memory(::CreateCompatibleDC(screen.get()));
  const UniqueGdiBitmap bitmap(::CreateCompatibleBitmap(screen.get(), width, height));
  const HGDIOBJ old = ::SelectObject(memory.get(), bitmap.get());
  ::BitBlt(memory.get(), 0, 0, width, height, screen.get(), area.left, area.top, SRCCOPY);
  ::SelectObject(memory.get(), old);
  Gdiplus::GpBitmap* picture = nullptr;
  gp::GdipCreateBitmapFromHBITMAP(bitmap.get(), nullptr, &picture);
  const GpBitmapPtr owned(picture);
  const CLSID png{0x557CF406, 0x1A04, 0x11D3, {0x9A, 0x73, 0x00, 0x00, 0xF8, 0x1E, 0xF3, 0x2E}};
  ::CreateDirectoryW(Widen(WinePath(KIVO_ARTIFACTS_DIR)).c_str(), nullptr);
  const std::wstring file = Widen(WinePath(KIVO_ARTIFACTS_DIR "/dialog-") + name + ".png");
  ASSERT_NE(picture, nullptr);
  EXPECT_EQ(gp::GdipSaveImageToFile(picture, file.c_str(), &png, nullptr), Gdiplus::Ok);
}

// Runs one step per timer tick on the dialog with the given caption once it is on screen,
// from inside the dialog's own modal loop. Gives up (and cancels the box) after 15 s.
class Driver {
 public:
  Driver(std::wstring caption, std::vector<std::function<void(HWND)>> steps)
      : caption_(std::move(caption)), steps_(std::move(steps)) {
    current_ = this;
    timer_ = ::SetTimer(nullptr, 0, 60, &Driver::Tick);
  }
  ~Driver() {
    ::KillTimer(nullptr, timer_);
    current_ = nullptr;
  }
  bool finished() const { return next_ == steps_.size(); }

 private:
  static void CALLBACK Tick(HWND, UINT, UINT_PTR, DWORD) {
    Driver* self = current_;
    if (self == nullptr) return;
    HWND dialog = ::FindWindowW(L"#32770", self->caption_.c_str());
    if (++self->ticks_ > 250) {
      ADD_FAILURE() << "the steps did not finish";
      if (dialog != nullptr) ::PostMessageW(dialog, WM_COMMAND, IDCANCEL, 0);
      return;
    }
    if (dialog == nullptr || self->next_ >= self->steps_.size()) return;
    self->steps_[self->next_++](dialog);
  }

  static inline Driver* current_ = nullptr;
  std::wstring caption_;
  std::vector<std::function<void(HWND)>> steps_;
  std::size_t next_ = 0;
  int ticks_ = 0;
  UINT_PTR timer_ = 0;
};

void Click(HWND dialog, int control) {
  ::SendMessageW(::GetDlgItem(dialog, control), BM_CLICK, 0, 0);
}

// Lets a modeless window paint and take its posted messages.
void Pump(int milliseconds, HWND dialog = nullptr) {
  const DWORD end = ::GetTickCount() + static_cast<DWORD>(milliseconds);
  while (::GetTickCount() < end) {
    MSG message;
    while (::PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
      if (dialog != nullptr && ::IsWindow(dialog) && ::IsDialogMessageW(dialog, &message)) continue;
      ::TranslateMessage(&message);
      ::DispatchMessageW(&message);
    }
    ::Sleep(10);
  }
}

class Dialogs : public ::testing::Test {
 protected:
  void SetUp() override { ASSERT_TRUE(gdiplus_.Start()); }
  GdiplusSession gdiplus_;
};

// Shows its texts with the whole text selected; Enter or OK with only blanks keeps it
// open; Cancel and the close box give back the default, Enter the typed text.
TEST_F(Dialogs, InputBox) {
  bool selectedAll = false, stillOpen = false;
  Driver shown(L"Kivo Launcher Input", {[&](HWND box) {
                                          EXPECT_EQ(Text(box, IDC_INPUT_PROMPT), "新建组的名称：");
                                          EXPECT_EQ(Text(box, IDC_INPUT_TEXT), "New Group");
                                          EXPECT_EQ(Text(box, IDOK), "&OK");
                                          EXPECT_EQ(Text(box, IDCANCEL), "&Cancel");
                                          EXPECT_EQ(::GetFocus(),
                                                    ::GetDlgItem(box, IDC_INPUT_TEXT));
                                          DWORD start = 1, end = 0;
                                          ::SendDlgItemMessageW(box, IDC_INPUT_TEXT, EM_GETSEL,
                                                                reinterpret_cast<WPARAM>(&start),
                                                                reinterpret_cast<LPARAM>(&end));
                                          selectedAll = start == 0 && end == 9;
                                          SaveWindowPicture(box, "input");
                                          ::SetDlgItemTextW(box, IDC_INPUT_TEXT, L"    ");
                                          PressEnter(box);
                                        },
                                        [](HWND box) { Click(box, IDOK); },
                                        [&](HWND box) {
                                          stillOpen = ::IsWindowVisible(box) != FALSE;
                                          ::SetDlgItemTextW(box, IDC_INPUT_TEXT, L"changed");
                                          Click(box, IDCANCEL);
                                        }});
  EXPECT_EQ(InputText(nullptr, "新建组的名称：", "", "New Group"), "New Group");
  EXPECT_TRUE(shown.finished());
  EXPECT_TRUE(selectedAll);
  EXPECT_TRUE(stillOpen);

  Driver typed(L"标题", {[](HWND box) {
                 ::SetDlgItemTextW(box, IDC_INPUT_TEXT, L" 工作 ");
                 PressEnter(box);
               }});
  EXPECT_EQ(InputText(nullptr, "名称", "标题", "x"), " 工作 ");
  EXPECT_TRUE(typed.finished());
  Driver closed(L"标题", {[](HWND box) {
                  ::SetDlgItemTextW(box, IDC_INPUT_TEXT, L"changed");
                  ::PostMessageW(box, WM_SYSCOMMAND, SC_CLOSE, 0);
                }});
  EXPECT_EQ(InputText(nullptr, "名称", "标题", "New Group"), "New Group");
  EXPECT_TRUE(closed.finished());
}

bool Underlined(HWND label) {
  auto font = reinterpret_cast<HFONT>(::SendMessageW(label, WM_GETFONT, 0, 0));
  LOGFONTW description{};
  return font != nullptr && ::GetObjectW(font, sizeof(description), &description) != 0 &&
         description.lfUnderline != 0;
}

TEST_F(Dialogs, AboutBoxTextsLinksAndHover) {
  std::vector<std::string> opened;
  AboutInfo info{"0.1.0 (Build 7)", "Microsoft Windows 7 Service Pack 1 (Build 7601)",
                 [&](const std::string& target) { opened.push_back(target); }};
  Driver driver(
      L"About Kivo Launcher",
      {[&](HWND box) {
         EXPECT_EQ(Text(box, IDC_ABOUT_OS), "Microsoft Windows 7 Service Pack 1 (Build 7601)");
         EXPECT_EQ(Text(box, IDC_ABOUT_HOME), "官方网站：https://www.kivosoft.com/");
         EXPECT_EQ(Text(box, IDC_ABOUT_SUPPORT), "技术支持：support@kivosoft.com");
         EXPECT_EQ(Text(box, IDC_ABOUT_TEXT).rfind("Kivo Launcher 0.1.0 (Build 7)\r\n", 0), 0u);
         EXPECT_EQ(Text(box, IDOK), "&OK");
       },
       [](HWND box) { SaveWindowPicture(box, "about"); },
       [](HWND box) {
         HWND home = ::GetDlgItem(box, IDC_ABOUT_HOME);
         HWND support = ::GetDlgItem(box, IDC_ABOUT_SUPPORT);
         EXPECT_FALSE(Underlined(home));
         for (HWND under : {home, support, box}) {  // the label under the pointer, or none
           ::SendMessageW(box, WM_SETCURSOR, reinterpret_cast<WPARAM>(under),
                          MAKELPARAM(HTCLIENT, WM_MOUSEMOVE));
           EXPECT_EQ(Underlined(home), under == home);
           EXPECT_EQ(Underlined(support), under == support);
         }
       },
       [](HWND box) {
         for (const int link : {IDC_ABOUT_HOME, IDC_ABOUT_SUPPORT}) {
           ::SendMessageW(box, WM_COMMAND, MAKEWPARAM(link, STN_CLICKED),
                          reinterpret_cast<LPARAM>(::GetDlgItem(box, link)));
         }
       },
       [](HWND box) { Click(box, IDOK); }});
  ShowAbout(nullptr, info);
  EXPECT_TRUE(driver.finished());
  EXPECT_EQ(opened, (std::vector<std::string>{"https://www.kivosoft.com/",
                                              "mailto:support@kivosoft.com?subject=Help"}));
}

TEST_F(Dialogs, QuickStartPagesForwardToTheEndAndTurnsItselfOff) {
  std::int16_t started = 0;
  std::vector<std::int16_t> saved;
  QuickStartDialog dialog(started, [&] {
    saved.push_back(started);
    return true;
  });
  ASSERT_TRUE(dialog.Show(nullptr));
  HWND box = dialog.window();
  Pump(300, box);
  EXPECT_EQ(WindowText(box), "Kivo Launcher 快速入门");
  EXPECT_EQ(Text(box, IDC_STARTED_PREVIOUS), "<< 上一条");
  EXPECT_EQ(Text(box, IDC_STARTED_NEXT), "下一条 >>");
  EXPECT_EQ(Text(box, IDC_STARTED_CLOSE), "关闭");
  EXPECT_EQ(Text(box, IDC_STARTED_CHECK), "不再显示");
  EXPECT_EQ(::IsDlgButtonChecked(box, IDC_STARTED_CHECK), static_cast<UINT>(BST_UNCHECKED));
  SaveWindowPicture(box, "quick-start-1");
  for (int page = 1; page <= 4; ++page) {
    ASSERT_TRUE(::IsWindowEnabled(::GetDlgItem(box, IDC_STARTED_NEXT))) << page;
    Click(box, IDC_STARTED_NEXT);
    EXPECT_EQ(dialog.page(), page);
    EXPECT_EQ(started, page);  // stored at once
    Pump(150, box);
    SaveWindowPicture(box, "quick-start-" + std::to_string(page + 1));
  }
  EXPECT_FALSE(::IsWindowEnabled(::GetDlgItem(box, IDC_STARTED_NEXT)));
  EXPECT_TRUE(saved.empty());
  Click(box, IDC_STARTED_CHECK);
  Click(box, IDC_STARTED_CLOSE);
  EXPECT_FALSE(::IsWindow(box));
  EXPECT_EQ(saved, std::vector<std::int16_t>{-1});
}

// Asked for after it was turned off: page zero with the box checked; Escape or the close
// box closes and saves; a second call while open keeps the one window.
TEST_F(Dialogs, QuickStartAskedForWhenTurnedOff) {
  std::int16_t started = -1;
  int saves = 0;
  QuickStartDialog dialog(started, [&] { return ++saves > 0; });
  ASSERT_TRUE(dialog.Show(nullptr));
  HWND box = dialog.window();
  EXPECT_EQ(dialog.page(), 0);
  EXPECT_EQ(::IsDlgButtonChecked(box, IDC_STARTED_CHECK), static_cast<UINT>(BST_CHECKED));
  EXPECT_TRUE(dialog.Show(nullptr));
  EXPECT_EQ(dialog.window(), box);
  ::SendMessageW(box, WM_COMMAND, IDCANCEL, 0);
  EXPECT_FALSE(dialog.IsOpen());
  EXPECT_EQ(saves, 1);
  EXPECT_EQ(started, -1);
}

TEST_F(Dialogs, ThePictureDialogCarriesItsTitleAndCancelChoosesNothing) {
  bool seen = false;
  Driver driver(L"Kivo Launcher - 更改用户头像", {[&](HWND box) {
                  seen = true;
                  SaveWindowPicture(box, "user-picture");
                  ::PostMessageW(box, WM_COMMAND, IDCANCEL, 0);
                }});
  EXPECT_EQ(ChooseOpenFile(nullptr, "Kivo Launcher - 更改用户头像", "*.bmp;*.jpg;*.png;*.gif"),
            std::nullopt);
  EXPECT_TRUE(seen);
}

}  // namespace
}  // namespace kivo::win
