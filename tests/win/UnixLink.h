#pragma once
// A Unix symbolic link made from inside Wine, which reports it as a folder link
// (DIRECTORY | REPARSE_POINT). Wine starts Unix programs from CreateProcess, so /bin/ln does it.
#include <windows.h>

#include <string>

namespace krelmix::test {

// The Unix name of a Windows path through Wine's own export; empty when not under Wine.
inline std::string UnixName(const std::wstring& path) {
  using Convert = char*(CDECL*)(LPCWSTR);
  const auto convert = reinterpret_cast<Convert>(
      reinterpret_cast<void*>(GetProcAddress(GetModuleHandleW(L"kernel32.dll"), "wine_get_unix_file_name")));
  if (!convert) return {};
  char* name = convert(path.c_str());
  if (!name) return {};
  std::string result = name;
  HeapFree(GetProcessHeap(), 0, name);
  return result;
}

// Makes `link` point to `target` (both Windows paths, the link's folder existing); false when
// it could not be made. The Unix process cannot be waited for, so its result is polled.
inline bool MakeUnixLink(const std::wstring& link, const std::wstring& target) {
  const std::string unixTarget = UnixName(target);
  const size_t slash = link.rfind(L'\\');
  const std::string unixFolder = UnixName(link.substr(0, slash));
  if (unixTarget.empty() || unixFolder.empty()) return false;
  const std::wstring name = link.substr(slash + 1);
  std::string utf8Name(WideCharToMultiByte(CP_UTF8, 0, name.c_str(), -1, nullptr, 0, nullptr, nullptr), '\0');
  WideCharToMultiByte(CP_UTF8, 0, name.c_str(), -1, utf8Name.data(), static_cast<int>(utf8Name.size()), nullptr,
                      nullptr);
  utf8Name.pop_back();
  // The command line is split the Windows way: one double-quoted argument for the shell.
  const std::string command = "/bin/sh -c \"ln -s '" + unixTarget + "' '" + unixFolder + "/" + utf8Name + "'\"";
  std::wstring wide(MultiByteToWideChar(CP_UTF8, 0, command.c_str(), -1, nullptr, 0), L'\0');
  MultiByteToWideChar(CP_UTF8, 0, command.c_str(), -1, wide.data(), static_cast<int>(wide.size()));
  STARTUPINFOW startup{};
  startup.cb = sizeof startup;
  PROCESS_INFORMATION process{};
  if (!CreateProcessW(nullptr, wide.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &process))
    return false;
  CloseHandle(process.hThread);
  CloseHandle(process.hProcess);
  for (int i = 0; i < 100; ++i) {
    if (GetFileAttributesW(link.c_str()) != INVALID_FILE_ATTRIBUTES) return true;
    Sleep(50);
  }
  return false;
}

}  // namespace krelmix::test
