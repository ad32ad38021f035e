#pragma once
// Unix symbolic links made and removed from inside Wine, which reports a link to a folder as a
// folder link (DIRECTORY | REPARSE_POINT) and cannot remove one itself. Wine starts Unix
// programs from CreateProcess, so /bin/sh does the work.
#include <windows.h>

#include <string>

namespace krelmix::test {

inline std::string Utf8(const std::wstring& text) {
  std::string out(WideCharToMultiByte(CP_UTF8, 0, text.c_str(), -1, nullptr, 0, nullptr, nullptr), '\0');
  WideCharToMultiByte(CP_UTF8, 0, text.c_str(), -1, out.data(), static_cast<int>(out.size()), nullptr, nullptr);
  out.pop_back();
  return out;
}

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

// The Unix name of an entry without resolving the entry itself, which may be a link.
inline std::string UnixEntryName(const std::wstring& path) {
  const size_t slash = path.rfind(L'\\');
  const std::string folder = UnixName(path.substr(0, slash));
  return folder.empty() ? folder : folder + "/" + Utf8(path.substr(slash + 1));
}

inline std::wstring Extended(const std::wstring& path) {
  return path.size() > 1 && path[1] == L':' ? L"\\\\?\\" + path : path;
}

inline bool EntryExists(const std::wstring& path) {
  return GetFileAttributesW(Extended(path).c_str()) != INVALID_FILE_ATTRIBUTES;
}

// Runs a shell command about `entry` and waits for it: the Unix process cannot be waited for,
// so it leaves a marker file beside the entry when it is done.
inline bool RunShell(const std::string& command, const std::wstring& entry) {
  const std::wstring marker = entry + L".done~";
  // A marker left by an earlier command that outlived its wait would end this wait at once,
  // while this command still runs.
  DeleteFileW(Extended(marker).c_str());
  // The command line is split the Windows way: one double-quoted argument for the shell.
  const std::string line = "/bin/sh -c \"" + command + "; touch '" + UnixEntryName(marker) + "'\"";
  std::wstring wide(MultiByteToWideChar(CP_UTF8, 0, line.c_str(), -1, nullptr, 0), L'\0');
  MultiByteToWideChar(CP_UTF8, 0, line.c_str(), -1, wide.data(), static_cast<int>(wide.size()));
  STARTUPINFOW startup{};
  startup.cb = sizeof startup;
  PROCESS_INFORMATION process{};
  if (!CreateProcessW(nullptr, wide.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &process))
    return false;
  CloseHandle(process.hThread);
  CloseHandle(process.hProcess);
  for (int i = 0; i < 2400; ++i) {  // up to a minute: emptying a big scratch tree takes a while
    if (EntryExists(marker)) return DeleteFileW(Extended(marker).c_str()) != 0;
    Sleep(25);
  }
  return false;
}

// Makes `link` (its folder existing) point to the folder `target`.
inline bool MakeUnixLink(const std::wstring& link, const std::wstring& target) {
  const std::string unixTarget = UnixName(target), unixLink = UnixEntryName(link);
  if (unixTarget.empty() || unixLink.empty()) return false;
  return RunShell("ln -sn '" + unixTarget + "' '" + unixLink + "'", link) && EntryExists(link);
}

// Removes a link itself (rm without -r never reaches into what it points to).
inline bool RemoveUnixLink(const std::wstring& link) {
  const std::string unixLink = UnixEntryName(link);
  return !unixLink.empty() && RunShell("rm -f '" + unixLink + "'", link);
}

}  // namespace krelmix::test
