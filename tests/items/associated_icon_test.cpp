#include "items/associated_icon.h"

#include <gtest/gtest.h>

#include <vector>

#include "core/text.h"
#include "support/iconv_codec.h"
#include "support/memory_file_system.h"
#include "support/memory_registry.h"

namespace kivo {
namespace {

const std::string CR = "HKEY_CLASSES_ROOT\\";
const std::string LM = "HKEY_LOCAL_MACHINE\\SOFTWARE\\Classes\\";
const std::string T = CR + "txtfile\\";  // the program id of ".txt" in most cases

// Like ExpandEnvironmentStrings: names matched without regard to case, unknown ones kept.
std::string FakeExpand(std::string_view path) {
  std::string out(path);
  const std::size_t at = AsciiUpper(out).find("%SYSTEMROOT%");
  if (at != std::string::npos) out.replace(at, 12, "C:\\Windows");
  return out;
}

TEST(LookupAssociatedIcon, ClassIconOwnIconThenTheOpenCommand) {
  struct Case {
    std::vector<std::pair<std::string, std::string>> keys;  // key path -> default value
    const char* expected;                                   // "file|index", "" for nothing
    const char* extension = ".txt";
  };
  // clang-format off
  const Case cases[] = {
      {{{T + "CLSID", "{C1}"}, {CR + "CLSID\\{C1}\\DefaultIcon", "C:\\c.dll,2"}, {T + "DefaultIcon", "C:\\p.dll,3"}}, "C:\\c.dll|2"},
      {{{T + "CLSID", "{C1}"}, {CR + "CLSID\\{C1}\\DefaultIcon", "C:\\gone.dll,2"}, {T + "DefaultIcon", "C:\\p.dll,-3"}}, "C:\\p.dll|-3"},
      {{{T + "DefaultIcon", " \"C:\\App Dir\\app.exe\" , 1 ,9"}}, "C:\\App Dir\\app.exe|1"},  // split at the first comma
      {{{T + "DefaultIcon", "%SystemRoot%\\system32\\shell32.dll,-152"}}, "C:\\Windows\\system32\\shell32.dll|-152"},
      {{{T + "DefaultIcon", "C:\\p.dll,+12x"}}, "C:\\p.dll|12"},
      {{{T + "DefaultIcon", "C:\\p.dll,-99999999999"}}, "C:\\p.dll|-2147483648"},
      {{{T + "shell\\open\\command", "\"C:\\App Dir\\app.exe\" \"%1\""}}, "C:\\App Dir\\app.exe|0"},
      {{{T + "DefaultIcon", "%1"}, {T + "shell\\open\\command", " C:\\App Dir\\APP.EXE"}}, "C:\\App Dir\\APP.EXE|0"},
      {{{T + "shell\\open\\command", "rundll32 x.dll,Run"}}, ""},
      {{{T + "DefaultIcon", "x,abc"}, {T + "shell\\open\\command", "C:\\gone.exe %1"}}, ""},
      // The machine's classes when the root has no program id, and only then.
      {{{LM + ".xyz", "xyzfile"}, {LM + "xyzfile\\CLSID", "{C2}"}, {LM + "CLSID\\{C2}\\DefaultIcon", "C:\\c.dll,5"}, {CR + "xyzfile\\DefaultIcon", "C:\\p.dll"}}, "C:\\c.dll|5", ".XYZ"},
      {{{LM + ".txt", "txtfile"}, {LM + "txtfile\\DefaultIcon", "C:\\p.dll,1"}}, ""},
      {{}, "", ".abc"},
  };
  // clang-format on
  testing::IconvCodec codec{"CP1252"};
  testing::MemoryFileSystem files;
  for (const char* file :
       {"C:\\c.dll", "C:\\p.dll", "C:\\App Dir\\app.exe", "C:\\Windows\\system32\\shell32.dll"})
    files.Put(file, "");
  for (const Case& c : cases) {
    testing::MemoryRegistry registry;
    auto keys = c.keys;
    keys.emplace_back(CR + ".txt", " txtfile ");  // values are cleaned before use
    for (const auto& [path, value] : keys) {
      const RegistryPath split = SplitRegistryPath(path);
      registry.Put(split.root, split.subKey, "", {kRegSz, codec.Encode(value) + '\0'});
    }
    const auto found = LookupAssociatedIcon(registry, codec, files, c.extension, FakeExpand);
    EXPECT_EQ(found ? found->file + "|" + std::to_string(found->index) : "", c.expected)
        << (c.keys.empty() ? "" : c.keys.back().second);
  }
}

}  // namespace
}  // namespace kivo
