#include "items/link_target.h"

#include <gtest/gtest.h>

#include <set>

#include "core/text.h"

namespace kivo {
namespace {

TEST(IsPlausibleTargetPath, OnlyAbsoluteFileSystemPathsWithoutGarbage) {
  // clang-format off
  for (const char* path : {"C:\\Windows\\notepad.exe", "c:\\", "D:\\测试 한\\说明 ü.txt", "\\\\server\\share", "\\\\server\\share\\a.txt",
                           "C:\\a/b.txt", "C:\\Users\\\xC2\xA0x"}) {  // U+00A0, a no-break space
    EXPECT_TRUE(IsPlausibleTargetPath(path)) << path;
  }
  // Relative, unexpanded, shell namespace, device paths, C0/C1 controls, U+FFFD, wildcards.
  for (const char* path : {"", "C:relative.txt", "1:\\x", "..\\x.exe", "\\x.exe", "%windir%\\notepad.exe", "\\\\server\\",
                           "\\\\?\\C:\\x.txt", "\\\\.\\pipe\\x", "C:\\Users\\\x01\x7F", "C:\\Users\\\xC2\x85x", "C:\\Users\\\xEF\xBF\xBDx.txt",
                           "C:\\a?b", "C:\\a|b", "C:\\a:b", "C:\\Users\\::{645FF040-5081-101B-9F08-00AA002F954E}", "http://example.com/"}) {
    EXPECT_FALSE(IsPlausibleTargetPath(path)) << path;
  }
  // clang-format on
}

TEST(ResolveLinkRelativePath, FoldsDotsFromTheLinksFolder) {
  // clang-format off
  const std::tuple<const char*, const char*, const char*> cases[] = {
      {"C:\\Users\\alice\\Desktop\\", "..\\..\\Public\\Desktop\\x.txt", "C:\\Users\\Public\\Desktop\\x.txt"},
      {"C:\\Links\\", "..\\..\\..\\x", ""},
      {"C:\\Links\\", "..", "C:\\"},
      {"C:\\Links\\", "\\Tools\\c.exe", "C:\\Tools\\c.exe"},
      {"C:\\Links\\", "D:\\elsewhere\\d.exe", "D:\\elsewhere\\d.exe"},
      {"\\\\server\\share\\links\\", "..\\docs/a.txt", "\\\\server\\share\\docs\\a.txt"},
      {"Links\\", "a.exe", ""},
  };
  // clang-format on
  for (const auto& [folder, relative, resolved] : cases) {
    EXPECT_EQ(ResolveLinkRelativePath(folder, relative), resolved) << folder << " + " << relative;
  }
}

// The places in their order: shell, raw, location block, relative, environment.
TEST(ChooseLinkTarget, FirstPlausibleWholePathPreferringOneThatExists) {
  const std::string garbage = "C:\\\x01\x05\xC2\x90Us";
  const std::string txt = "C:\\Users\\Public\\Desktop\\x.txt";
  const std::string notepad = "C:\\windows\\notepad.exe";
  // clang-format off
  const std::tuple<const char*, std::vector<std::string>, std::set<std::string>, std::string> cases[] = {
      {"the shell's path when it is right", {txt, txt, txt, txt, ""}, {txt}, txt},
      {"a base path cut from its suffix loses to the whole path", {"C:\\Users\\", "C:\\Users\\", txt, "", ""}, {txt, "C:\\Users\\"}, txt},
      {"an unexpanded variable is no path", {"%windir%\\notepad.exe", "", "", "", notepad}, {notepad}, notepad},
      {"garbage never wins, even alone", {garbage, "", "", "", ""}, {garbage}, ""},
      {"one that exists beats an earlier one that does not", {"C:\\Old\\gone.txt", "", txt, "", ""}, {txt}, txt},
      {"when none exists, the earliest", {"C:\\a\\1.txt", "C:\\b\\2.txt", "", "", ""}, {}, "C:\\a\\1.txt"},
      {"a prefix that is no folder of the other stays", {"C:\\Users\\Pub", txt, "", "", ""}, {"C:\\Users\\Pub"}, "C:\\Users\\Pub"},
  };
  // clang-format on
  for (const auto& [what, candidates, existing, expected] : cases) {
    // Only plausible paths are ever looked up on disk.
    const std::string chosen = ChooseLinkTarget(candidates, [&](const std::string& path) {
      EXPECT_TRUE(IsPlausibleTargetPath(path)) << what;
      return existing.count(path) != 0;
    });
    EXPECT_EQ(chosen, expected) << what;
  }
}

}  // namespace
}  // namespace kivo
