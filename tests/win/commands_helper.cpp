// A small program the launch tests start. "record <file> [args...]" writes its current
// directory and its arguments, one a line, to <file> (UTF-8). "window <title>" shows a
// top-level window with that title until it is closed.
#include <windows.h>

#include <string>

namespace {

std::string Utf8(const std::wstring& text) {
  const int size = ::WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()),
                                         nullptr, 0, nullptr, nullptr);
  std::string out(static_cast<std::size_t>(size), '\0');
  ::WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), out.data(), size,
                        nullptr, nullptr);
  return out;
}

int Record(int argc, wchar_t** argv) {
  wchar_t directory[MAX_PATH] = {};
  ::GetCurrentDirectoryW(MAX_PATH, directory);
  std::string text = Utf8(directory) + "\n";
  for (int i = 3; i < argc; ++i) text += Utf8(argv[i]) + "\n";
  // Written under another name first, so that a reader never sees half of it.
  const std::wstring target = argv[2];
  const std::wstring partial = target + L".part";
  const HANDLE file = ::CreateFileW(partial.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                    FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) return 2;
  DWORD written = 0;
  ::WriteFile(file, text.data(), static_cast<DWORD>(text.size()), &written, nullptr);
  ::CloseHandle(file);
  return ::MoveFileExW(partial.c_str(), target.c_str(), MOVEFILE_REPLACE_EXISTING) ? 0 : 3;
}

LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_DESTROY) {
    ::PostQuitMessage(0);
    return 0;
  }
  return ::DefWindowProcW(window, message, wParam, lParam);
}

int Window(const wchar_t* title) {
  WNDCLASSW windowClass{};
  windowClass.lpfnWndProc = WindowProc;
  windowClass.hInstance = ::GetModuleHandleW(nullptr);
  windowClass.lpszClassName = L"KivoCommandsHelper";
  ::RegisterClassW(&windowClass);
  const HWND window =
      ::CreateWindowExW(0, L"KivoCommandsHelper", title, WS_OVERLAPPEDWINDOW | WS_VISIBLE, 50, 50,
                        300, 200, nullptr, nullptr, ::GetModuleHandleW(nullptr), nullptr);
  if (window == nullptr) return 2;
  MSG message;
  while (::GetMessageW(&message, nullptr, 0, 0) > 0) ::DispatchMessageW(&message);
  return 0;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
  if (argc >= 3 && std::wstring(argv[1]) == L"record") return Record(argc, argv);
  if (argc >= 3 && std::wstring(argv[1]) == L"window") return Window(argv[2]);
  return 1;
}
