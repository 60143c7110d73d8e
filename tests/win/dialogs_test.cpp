// The about box, the quick-start window and the input box opened for real and driven with
// messages, as the user's clicks and keys would drive them.
#include <windows.h>

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "dialogs/about_texts.h"
#include "gfx/win32/gdiplus_session.h"
#include "platform/win32/file_system_win.h"
#include "platform/win32/unicode.h"
#include "ui/win32/dialogs/about_dialog.h"
#include "ui/win32/dialogs/change_user_win.h"
#include "ui/win32/dialogs/dialog_ids.h"
#include "ui/win32/dialogs/dialog_support.h"
#include "ui/win32/dialogs/input_dialog.h"
#include "ui/win32/dialogs/quick_start_dialog.h"

namespace kivo::win {
namespace {

using Step = std::function<void(HWND)>;

// Runs one step per timer tick on the dialog captioned `caption` once it is on screen, from
// inside the modal loop that `open` enters; cancels the box if the steps take over 15 s.
template <typename Open>
auto Drive(const wchar_t* caption, std::vector<Step> steps, Open open) {
  static struct {
    const wchar_t* caption;
    std::vector<Step> steps;
    std::size_t next;
    int ticks;
  } run;
  run = {caption, std::move(steps), 0, 0};
  const UINT_PTR timer = ::SetTimer(nullptr, 0, 60, [](HWND, UINT, UINT_PTR, DWORD) {
    HWND dialog = ::FindWindowW(L"#32770", run.caption);
    if (dialog == nullptr) return;
    if (++run.ticks > 250) {
      ::PostMessageW(dialog, WM_COMMAND, IDCANCEL, 0);
    } else if (run.next < run.steps.size()) {
      run.steps[run.next++](dialog);
    }
  });
  auto result = open();
  ::KillTimer(nullptr, timer);
  EXPECT_EQ(run.next, run.steps.size()) << "the steps did not finish";
  return result;
}

void Click(HWND dialog, int control) {
  ::SendMessageW(::GetDlgItem(dialog, control), BM_CLICK, 0, 0);
}

void Type(HWND box, const wchar_t* text) {
  ::SetDlgItemTextW(box, IDC_INPUT_TEXT, text);
  ::PostMessageW(::GetDlgItem(box, IDC_INPUT_TEXT), WM_KEYDOWN, VK_RETURN, 0x001C0001);
}

bool Underlined(HWND label) {
  auto font = reinterpret_cast<HFONT>(::SendMessageW(label, WM_GETFONT, 0, 0));
  LOGFONTW description{};
  return font != nullptr && ::GetObjectW(font, sizeof(description), &description) != 0 &&
         description.lfUnderline != 0;
}

class Dialogs : public ::testing::Test {
 protected:
  void SetUp() override { ASSERT_TRUE(gdiplus_.Start()); }
  GdiplusSession gdiplus_;
};

// Shows its texts with the whole text selected and focused; Enter with only blanks keeps
// it open; Cancel gives back the default, Enter the typed text.
TEST_F(Dialogs, InputBox) {
  const auto kept = Drive(
      L"Kivo Launcher Input",
      {[](HWND box) {
         EXPECT_EQ(ControlText(box, IDC_INPUT_PROMPT) + ControlText(box, IDOK) +
                       ControlText(box, IDCANCEL) + ControlText(box, IDC_INPUT_TEXT),
                   "新建组的名称：&OK&CancelNew Group");
         EXPECT_EQ(::GetFocus(), ::GetDlgItem(box, IDC_INPUT_TEXT));
         EXPECT_EQ(::SendDlgItemMessageW(box, IDC_INPUT_TEXT, EM_GETSEL, 0, 0), MAKELRESULT(0, 9));
         Type(box, L"    ");
       },
       [](HWND box) {  // still open after the blanks
         ::SetDlgItemTextW(box, IDC_INPUT_TEXT, L"changed");
         Click(box, IDCANCEL);
       }},
      [] { return InputText(nullptr, "新建组的名称：", "", "New Group"); });
  EXPECT_EQ(kept, "New Group");
  EXPECT_EQ(Drive(L"标题", {[](HWND box) { Type(box, L" 工作 "); }},
                  [] { return InputText(nullptr, "名称", "标题", "x"); }),
            " 工作 ");
}

TEST_F(Dialogs, AboutBoxTextsLinksAndHover) {
  std::vector<std::string> opened;
  Drive(L"About Kivo Launcher", {[](HWND box) {
          EXPECT_EQ(ControlText(box, IDC_ABOUT_OS), "Windows 7 SP1");
          EXPECT_EQ(ControlText(box, IDC_ABOUT_HOME) + ControlText(box, IDC_ABOUT_SUPPORT),
                    "官方网站：https://www.kivosoft.com/技术支持：support@kivosoft.com");
          EXPECT_EQ(ControlText(box, IDC_ABOUT_TEXT).rfind("Kivo Launcher 0.1.0\r\n", 0), 0u);
          HWND home = ::GetDlgItem(box, IDC_ABOUT_HOME);
          HWND support = ::GetDlgItem(box, IDC_ABOUT_SUPPORT);
          for (HWND under : {box, home, support, box}) {  // the label under the pointer, or none
            ::SendMessageW(box, WM_SETCURSOR, reinterpret_cast<WPARAM>(under),
                           MAKELPARAM(HTCLIENT, WM_MOUSEMOVE));
            EXPECT_EQ(Underlined(home), under == home);
            EXPECT_EQ(Underlined(support), under == support);
          }
          for (HWND link : {home, support}) {
            ::SendMessageW(box, WM_COMMAND, MAKEWPARAM(::GetDlgCtrlID(link), STN_CLICKED),
                           reinterpret_cast<LPARAM>(link));
          }
          Click(box, IDOK);
        }},
        [&] {
          ShowAbout(nullptr, {"0.1.0",
                              "Windows 7 SP1",
                              [&](const std::string& to) { opened.push_back(to); },
                              {},
                              nullptr});
          return 0;
        });
  EXPECT_EQ(opened, (std::vector<std::string>{"https://www.kivosoft.com/",
                                              "mailto:support@kivosoft.com?subject=Help"}));
}

// "打开日志" tells the user there is no log yet, and opens the file once there is one.
TEST_F(Dialogs, TheLogButtonOpensTheLogOrSaysThereIsNone) {
  wchar_t folder[MAX_PATH];
  ASSERT_GT(::GetTempPathW(MAX_PATH, folder), 0u);
  const std::string log = Narrow(folder) + "Kivo-about-test.log";
  ::DeleteFileW(Widen(log).c_str());
  std::vector<std::string> opened, told;
  Drive(L"About Kivo Launcher", {[&](HWND box) {
          EXPECT_EQ(ControlText(box, IDC_ABOUT_LOG), "打开日志");
          Click(box, IDC_ABOUT_LOG);
          ASSERT_TRUE(WinFileSystem().WriteFileFlushed(log, "line\r\n"));
          Click(box, IDC_ABOUT_LOG);
          Click(box, IDOK);
        }},
        [&] {
          ShowAbout(nullptr,
                    {"0.1.0", "Windows 7 SP1", [&](const std::string& to) { opened.push_back(to); },
                     log, [&](HWND, const std::string& text) { told.push_back(text); }});
          return 0;
        });
  ::DeleteFileW(Widen(log).c_str());
  EXPECT_EQ(told, std::vector<std::string>{NoLogYetText(log)});
  EXPECT_NE(told.at(0).find("还没有日志文件"), std::string::npos);
  EXPECT_EQ(opened, std::vector<std::string>{log});
}

// Paged to the end, turned off and closed; asked for again, it opens on the first page
// with the box checked, and a second call keeps the one window.
TEST_F(Dialogs, QuickStartPagesForwardToTheEndAndTurnsItselfOff) {
  std::int16_t started = 0;
  std::vector<std::int16_t> saved;
  QuickStartDialog dialog(started, [&] {
    saved.push_back(started);
    return true;
  });
  ASSERT_TRUE(dialog.Show(nullptr));
  HWND box = dialog.window();
  EXPECT_EQ(WindowText(box), "Kivo Launcher 快速入门");
  EXPECT_EQ(ControlText(box, IDC_STARTED_PREVIOUS) + ControlText(box, IDC_STARTED_NEXT) +
                ControlText(box, IDC_STARTED_CLOSE) + ControlText(box, IDC_STARTED_CHECK),
            "<< 上一条下一条 >>关闭不再显示");
  EXPECT_FALSE(::IsDlgButtonChecked(box, IDC_STARTED_CHECK));
  for (int page = 1; page <= 4; ++page) {
    ASSERT_TRUE(::IsWindowEnabled(::GetDlgItem(box, IDC_STARTED_NEXT))) << page;
    Click(box, IDC_STARTED_NEXT);
    EXPECT_EQ(started, page);  // stored at once
  }
  EXPECT_FALSE(::IsWindowEnabled(::GetDlgItem(box, IDC_STARTED_NEXT)) || !saved.empty());
  Click(box, IDC_STARTED_CHECK);
  Click(box, IDC_STARTED_CLOSE);
  EXPECT_FALSE(::IsWindow(box));
  EXPECT_EQ(saved, std::vector<std::int16_t>{-1});

  ASSERT_TRUE(dialog.Show(nullptr));
  box = dialog.window();
  EXPECT_TRUE(dialog.Show(nullptr) && dialog.window() == box && dialog.page() == 0);
  EXPECT_TRUE(::IsDlgButtonChecked(box, IDC_STARTED_CHECK));
  ::SendMessageW(box, WM_COMMAND, IDCANCEL, 0);
  EXPECT_FALSE(::IsWindow(box));
  EXPECT_EQ(saved.size(), 2u);
}

TEST_F(Dialogs, ThePictureDialogCarriesItsTitleAndCancelChoosesNothing) {
  EXPECT_EQ(Drive(L"Kivo Launcher - 更改用户头像",
                  {[](HWND box) { ::PostMessageW(box, WM_COMMAND, IDCANCEL, 0); }},
                  [] { return ChooseOpenFile(nullptr, "Kivo Launcher - 更改用户头像", "*.png"); }),
            std::nullopt);
}

}  // namespace
}  // namespace kivo::win
