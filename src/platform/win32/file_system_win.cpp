#include "platform/win32/file_system_win.h"

#include <windows.h>

#include "core/text.h"
#include "platform/win32/handles.h"
#include "platform/win32/unicode.h"

namespace kivo::win {
namespace {

DWORD Attributes(const std::string& path) {
  if (path.empty()) return INVALID_FILE_ATTRIBUTES;
  return ::GetFileAttributesW(Widen(path).c_str());
}

}  // namespace

bool WinFileSystem::FileExists(const std::string& path) const {
  const DWORD attributes = Attributes(path);
  return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) == 0;
}

bool WinFileSystem::FolderExists(const std::string& path) const {
  const DWORD attributes = Attributes(path);
  return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
}

std::optional<std::uint64_t> WinFileSystem::FileSize(const std::string& path) const {
  WIN32_FILE_ATTRIBUTE_DATA data{};
  if (!::GetFileAttributesExW(Widen(path).c_str(), GetFileExInfoStandard, &data)) {
    return std::nullopt;
  }
  return (static_cast<std::uint64_t>(data.nFileSizeHigh) << 32) | data.nFileSizeLow;
}

std::optional<std::string> WinFileSystem::ReadFile(const std::string& path,
                                                   std::size_t maxBytes) const {
  UniqueKernelHandle file(::CreateFileW(Widen(path).c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr,
                                        OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!file) return std::nullopt;
  LARGE_INTEGER size{};
  if (!::GetFileSizeEx(file.get(), &size) || size.QuadPart < 0 ||
      static_cast<std::uint64_t>(size.QuadPart) > maxBytes) {
    return std::nullopt;
  }
  std::string bytes(static_cast<std::size_t>(size.QuadPart), '\0');
  std::size_t done = 0;
  while (done < bytes.size()) {
    const DWORD chunk = static_cast<DWORD>(std::min<std::size_t>(bytes.size() - done, 1 << 20));
    DWORD read = 0;
    if (!::ReadFile(file.get(), bytes.data() + done, chunk, &read, nullptr) || read == 0) {
      return std::nullopt;
    }
    done += read;
  }
  return bytes;
}

namespace {

bool WriteWhole(const std::string& path, const std::string& bytes, bool flush) {
  UniqueKernelHandle file(::CreateFileW(Widen(path).c_str(), GENERIC_WRITE, 0, nullptr,
                                        CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!file) return false;
  std::size_t done = 0;
  while (done < bytes.size()) {
    const DWORD chunk = static_cast<DWORD>(std::min<std::size_t>(bytes.size() - done, 1 << 20));
    DWORD written = 0;
    if (!::WriteFile(file.get(), bytes.data() + done, chunk, &written, nullptr) || written == 0) {
      return false;
    }
    done += written;
  }
  return !flush || ::FlushFileBuffers(file.get()) != 0;
}

}  // namespace

bool WinFileSystem::WriteFileFlushed(const std::string& path, const std::string& bytes) {
  return WriteWhole(path, bytes, true);
}

bool WinFileSystem::WriteFileLazily(const std::string& path, const std::string& bytes) {
  return WriteWhole(path, bytes, false);
}

bool WinFileSystem::AppendFile(const std::string& path, const std::string& bytes) {
  UniqueKernelHandle file(::CreateFileW(Widen(path).c_str(), FILE_APPEND_DATA,
                                        FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                        nullptr, OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!file) return false;
  if (bytes.size() > 0xFFFFFFFFu) return false;
  DWORD written = 0;
  return ::WriteFile(file.get(), bytes.data(), static_cast<DWORD>(bytes.size()), &written,
                     nullptr) != 0 &&
         written == bytes.size();
}

bool WinFileSystem::MoveReplacing(const std::string& from, const std::string& to) {
  return ::MoveFileExW(Widen(from).c_str(), Widen(to).c_str(),
                       MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH) != 0;
}

bool WinFileSystem::RemoveFile(const std::string& path) {
  return ::DeleteFileW(Widen(path).c_str()) != 0;
}

bool WinFileSystem::CreateFolder(const std::string& path) {
  return ::CreateDirectoryW(Widen(path).c_str(), nullptr) != 0;
}

std::vector<std::string> WinFileSystem::ListFiles(const std::string& folder,
                                                  const std::string& suffix) const {
  std::vector<std::string> names;
  std::string pattern = folder;
  if (!pattern.empty() && pattern.back() != '\\') pattern += '\\';
  pattern += '*';
  WIN32_FIND_DATAW found{};
  UniqueFindHandle find(::FindFirstFileW(Widen(pattern).c_str(), &found));
  if (!find) return names;
  const std::string upperSuffix = AsciiUpper(suffix);
  do {
    if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) continue;
    const std::string name = Narrow(found.cFileName);
    const std::string upper = AsciiUpper(name);
    if (upper.size() >= upperSuffix.size() &&
        upper.compare(upper.size() - upperSuffix.size(), upperSuffix.size(), upperSuffix) == 0) {
      names.push_back(name);
    }
  } while (::FindNextFileW(find.get(), &found));
  return names;
}

}  // namespace kivo::win
