// The about box, the input box and the picture dialog opened for real and driven with
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
#include "ui/win32/dialogs/dialog_ids.h"
#include "ui/win32/dialogs/dialog_support.h"
#include "ui/win32/dialogs/input_dialog.h"

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

class Dialogs : public ::testing::Test {
 protected:
  void SetUp() override { ASSERT_TRUE(gdiplus_.Start()); }
  GdiplusSession gdiplus_;
};

// Opens with the whole text selected and focused; Enter with only blanks keeps it open;
// Cancel gives back the default, Enter the typed text.
TEST_F(Dialogs, InputBox) {
  const auto type = [](HWND box, const wchar_t* text) {
    ::SetDlgItemTextW(box, IDC_INPUT_TEXT, text);
    ::PostMessageW(::GetDlgItem(box, IDC_INPUT_TEXT), WM_KEYDOWN, VK_RETURN, 0x001C0001);
  };
  const auto kept = Drive(L"Kivo Launcher Input",
                          {[&](HWND box) {
                             EXPECT_EQ(::GetFocus(), ::GetDlgItem(box, IDC_INPUT_TEXT));
                             EXPECT_EQ(::SendDlgItemMessageW(box, IDC_INPUT_TEXT, EM_GETSEL, 0, 0),
                                       MAKELRESULT(0, 9));
                             type(box, L"    ");
                           },
                           [](HWND box) {  // still open after the blanks
                             ::SetDlgItemTextW(box, IDC_INPUT_TEXT, L"changed");
                             Click(box, IDCANCEL);
                           }},
                          [] { return InputText(nullptr, "新建组的名称：", "", "New Group"); });
  EXPECT_EQ(kept, "New Group");
  EXPECT_EQ(Drive(L"标题", {[&](HWND box) { type(box, L" 工作 "); }},
                  [] { return InputText(nullptr, "名称", "标题", "x"); }),
            " 工作 ");
}

// The links open; "打开日志" says there is no log yet, and
// opens the file once there is one.
TEST_F(Dialogs, AboutBoxLinksAndLog) {
  wchar_t folder[MAX_PATH];
  ASSERT_GT(::GetTempPathW(MAX_PATH, folder), 0u);
  const std::string log = Narrow(folder) + "Kivo-about-test.log";
  ::DeleteFileW(Widen(log).c_str());
  std::vector<std::string> opened, told;
  Drive(L"About Kivo Launcher", {[&](HWND box) {
          for (const int link : {IDC_ABOUT_HOME, IDC_ABOUT_SUPPORT}) {
            ::SendMessageW(box, WM_COMMAND, MAKEWPARAM(link, STN_CLICKED),
                           reinterpret_cast<LPARAM>(::GetDlgItem(box, link)));
          }
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
  EXPECT_EQ(opened, (std::vector<std::string>{"https://www.kivosoft.com/",
                                              "mailto:support@kivosoft.com?subject=Help", log}));
}

}  // namespace
}  // namespace kivo::win
