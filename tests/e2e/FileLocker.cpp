// Stands in for a virus scanner or a backup tool in the end-to-end tests: it opens a file with no
// sharing at all, holds it, lets it go, and again, until a stop file appears (or five minutes
// have passed). Only Windows programs honour each other's share modes under Wine, so this is one.
//   file_locker <file> <held ms> <free ms> <stop file>     held 0: hold it until the stop file
#include <windows.h>

#include <shellapi.h>

#include <string>

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
  int count = 0;
  wchar_t** args = CommandLineToArgvW(GetCommandLineW(), &count);
  if (!args || count < 5) return 2;
  const std::wstring file = args[1], stop = args[4];
  const DWORD held = static_cast<DWORD>(_wtoi(args[2])), released = static_cast<DWORD>(_wtoi(args[3]));
  const auto stopped = [&stop] { return GetFileAttributesW(stop.c_str()) != INVALID_FILE_ATTRIBUTES; };
  const ULONGLONG end = GetTickCount64() + 5 * 60 * 1000;
  while (!stopped() && GetTickCount64() < end) {
    // The file may be in the middle of being replaced: then it is taken a moment later.
    HANDLE handle = CreateFileW(file.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    if (handle == INVALID_HANDLE_VALUE) {
      Sleep(1);
      continue;
    }
    if (held == 0) {
      while (!stopped() && GetTickCount64() < end) Sleep(20);
    } else {
      Sleep(held);
    }
    CloseHandle(handle);
    Sleep(released);
  }
  return 0;
}
