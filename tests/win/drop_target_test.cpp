// The dock's drop target with the real system: what it reads from a data object (the
// shell's file list with Unicode paths, web addresses), its COM manners, and moving a
// dropped file to the recycle bin.
#include "ui/win32/drop_target.h"

#include <gtest/gtest.h>
#include <shlobj.h>

#include <cstring>
#include <stdexcept>
#include <string>
#include <vector>

#include "platform/win32/recycle_bin_win.h"
#include "platform/win32/unicode.h"

namespace kivo::win {
namespace {

// Puts `format` with `bytes` on the clipboard and returns the clipboard's data object.
IDataObject* OnClipboard(UINT format, const void* bytes, std::size_t size) {
  HGLOBAL global = ::GlobalAlloc(GMEM_MOVEABLE, size);
  if (global == nullptr) return nullptr;
  std::memcpy(::GlobalLock(global), bytes, size);
  ::GlobalUnlock(global);
  if (!::OpenClipboard(nullptr)) return nullptr;
  ::EmptyClipboard();
  ::SetClipboardData(format, global);
  ::CloseClipboard();
  IDataObject* data = nullptr;
  return SUCCEEDED(::OleGetClipboard(&data)) ? data : nullptr;
}

IDataObject* FileList(const std::vector<std::wstring>& paths) {
  std::vector<unsigned char> block(sizeof(DROPFILES));
  auto* header = reinterpret_cast<DROPFILES*>(block.data());
  header->pFiles = sizeof(DROPFILES);
  header->fWide = TRUE;
  for (const std::wstring& path : paths) {
    const auto* raw = reinterpret_cast<const unsigned char*>(path.c_str());
    block.insert(block.end(), raw, raw + (path.size() + 1) * sizeof(wchar_t));
  }
  block.insert(block.end(), sizeof(wchar_t), 0);
  return OnClipboard(CF_HDROP, block.data(), block.size());
}

IDataObject* Text(const std::wstring& text) {
  return OnClipboard(CF_UNICODETEXT, text.c_str(), (text.size() + 1) * sizeof(wchar_t));
}

class DropTargetTest : public ::testing::Test {
 protected:
  OleSession ole_;
};

TEST_F(DropTargetTest, TheShellsFileListInOrderWithUnicodePathsUpToTheLimit) {
  ASSERT_TRUE(ole_.ok());
  const std::vector<std::wstring> paths{L"C:\\文档\\报告.txt", L"D:\\a b\\c.exe", L"E:\\"};
  IDataObject* data = FileList(paths);
  ASSERT_NE(data, nullptr);
  EXPECT_TRUE(OffersPaths(data));
  EXPECT_EQ(DroppedPaths(data, 1024),
            (std::vector<std::string>{Narrow(paths[0]), Narrow(paths[1]), Narrow(paths[2])}));
  EXPECT_EQ(DroppedPaths(data, 2).size(), 2u);
  EXPECT_TRUE(DroppedPaths(data, 0).empty());
  data->Release();
}

TEST_F(DropTargetTest, AWebAddressInTextIsOneOtherTextNone) {
  ASSERT_TRUE(ole_.ok());
  const struct {
    const wchar_t* text;
    const char* address;
  } cases[] = {{L"https://example.com/a?b=1", "https://example.com/a?b=1"},
               {L"http://example.com/\r\n", "http://example.com/"},
               {L"see http://example.com/", ""},
               {L"http://a.com/ http://b.com/", ""},
               {L"ftp://example.com/", ""},
               {L"C:\\file.txt", ""}};
  for (const auto& c : cases) {
    EXPECT_EQ(WebAddressFromText(c.text), c.address) << Narrow(c.text);
    IDataObject* data = Text(c.text);
    ASSERT_NE(data, nullptr);
    EXPECT_EQ(OffersPaths(data), *c.address != '\0') << Narrow(c.text);
    EXPECT_EQ(DroppedPaths(data, 1024),
              *c.address ? std::vector<std::string>{c.address} : std::vector<std::string>{});
    data->Release();
  }
}

TEST_F(DropTargetTest, EffectsFollowTheDockAndNothingEscapes) {
  bool take = true;
  int leaves = 0;
  std::vector<std::string> dropped;
  DropTarget* target = DropTarget::Create({[&](POINT, bool) {
                                             if (!take) throw std::runtime_error("the dock failed");
                                             return true;
                                           },
                                           [&] { ++leaves; },
                                           [&](POINT, std::vector<std::string> paths) {
                                             dropped = std::move(paths);
                                             return take;
                                           }});
  ASSERT_NE(target, nullptr);
  IUnknown* unknown = nullptr;
  ASSERT_EQ(target->QueryInterface(IID_IUnknown, reinterpret_cast<void**>(&unknown)), S_OK);
  void* other = reinterpret_cast<void*>(1);
  EXPECT_EQ(target->QueryInterface(IID_IDataObject, &other), E_NOINTERFACE);
  EXPECT_EQ(other, nullptr);
  EXPECT_EQ(unknown->Release(), 1u);

  const struct {
    DWORD allowed, effect;
  } cases[] = {{DROPEFFECT_COPY | DROPEFFECT_MOVE, DROPEFFECT_COPY},
               {DROPEFFECT_LINK | DROPEFFECT_MOVE, DROPEFFECT_LINK},
               {DROPEFFECT_MOVE, DROPEFFECT_NONE}};
  for (const auto& c : cases) {
    DWORD effect = c.allowed;
    EXPECT_EQ(target->DragOver(0, POINTL{10, 10}, &effect), S_OK);
    EXPECT_EQ(effect, c.effect);
  }
  take = false;  // the callback throws: refused, and the exception stays inside
  DWORD effect = DROPEFFECT_COPY;
  EXPECT_EQ(target->DragOver(0, POINTL{10, 10}, &effect), S_OK);
  EXPECT_EQ(effect, static_cast<DWORD>(DROPEFFECT_NONE));
  EXPECT_EQ(target->DragLeave(), S_OK);
  EXPECT_EQ(leaves, 1);
  EXPECT_EQ(target->DragOver(0, POINTL{}, nullptr), E_INVALIDARG);

  IDataObject* data = FileList({L"C:\\x.txt"});
  ASSERT_NE(data, nullptr);
  effect = DROPEFFECT_COPY;
  EXPECT_EQ(target->Drop(data, 0, POINTL{1, 2}, &effect), S_OK);
  EXPECT_EQ(effect, static_cast<DWORD>(DROPEFFECT_NONE));  // the dock refused it
  EXPECT_EQ(dropped, std::vector<std::string>{"C:\\x.txt"});
  // Once the dock is gone, a drag still holding the target reaches nothing.
  target->Detach();
  take = true;
  effect = DROPEFFECT_COPY;
  dropped.clear();
  EXPECT_EQ(target->Drop(data, 0, POINTL{1, 2}, &effect), S_OK);
  EXPECT_EQ(effect, static_cast<DWORD>(DROPEFFECT_NONE));
  EXPECT_TRUE(dropped.empty());
  data->Release();
  EXPECT_EQ(target->Release(), 0u);
}

TEST(MoveToRecycleBin, MovesOneFileAndReportsWhatFailed) {
  wchar_t folder[MAX_PATH]{};
  ASSERT_GT(::GetTempPathW(MAX_PATH, folder), 0u);
  const std::wstring file = std::wstring(folder) + L"kivo drop 回收.txt";
  const HANDLE handle = ::CreateFileW(file.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                      FILE_ATTRIBUTE_NORMAL, nullptr);
  ASSERT_NE(handle, INVALID_HANDLE_VALUE);
  ::CloseHandle(handle);
  EXPECT_TRUE(MoveToRecycleBin(Narrow(file)));
  EXPECT_EQ(::GetFileAttributesW(file.c_str()), INVALID_FILE_ATTRIBUTES);
  EXPECT_TRUE(RecycleBinHasItems());
  EXPECT_FALSE(MoveToRecycleBin(Narrow(file)));  // gone already
  EXPECT_FALSE(MoveToRecycleBin(""));
}

}  // namespace
}  // namespace kivo::win
