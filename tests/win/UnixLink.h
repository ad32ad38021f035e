#pragma once
// Unix symbolic links made and removed from inside Wine, which reports a link to a folder as a
// folder link (DIRECTORY | REPARSE_POINT) and cannot remove one itself; and folders that refuse
// every deletion, which Wine, running as root, cannot make itself. Wine starts Unix programs from
// CreateProcess, so /bin/sh does the work.
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

// Starts a shell command (UTF-8 text) and leaves it running: Wine gives no handle to wait on for
// a Unix process.
inline bool StartShell(const std::string& command) {
  // The command line is split the Windows way: one double-quoted argument for the shell.
  const std::string line = "/bin/sh -c \"" + command + "\"";
  std::wstring wide(MultiByteToWideChar(CP_UTF8, 0, line.c_str(), -1, nullptr, 0), L'\0');
  MultiByteToWideChar(CP_UTF8, 0, line.c_str(), -1, wide.data(), static_cast<int>(wide.size()));
  STARTUPINFOW startup{};
  startup.cb = sizeof startup;
  PROCESS_INFORMATION process{};
  if (!CreateProcessW(nullptr, wide.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &process))
    return false;
  CloseHandle(process.hThread);
  CloseHandle(process.hProcess);
  return true;
}

// Runs a shell command about `entry` and waits for it: the command leaves a marker file beside
// the entry when it is done.
inline bool RunShell(const std::string& command, const std::wstring& entry) {
  const std::wstring marker = entry + L".done~";
  // A marker left by an earlier command that outlived its wait would end this wait at once.
  DeleteFileW(Extended(marker).c_str());
  if (!StartShell(command + "; touch '" + UnixEntryName(marker) + "'")) return false;
  // Starting a Unix program from Wine takes from a few milliseconds to several seconds on a busy
  // machine; giving up early would let the command go on working under the caller's next steps.
  for (int i = 0; i < 2400; ++i) {
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

// A folder made immutable on the host (chattr +i) until Undo or the end of the scope: nothing in
// it can be deleted, renamed or made, by anyone. Made() is false where the host refuses it.
class ImmutableFolder {
 public:
  explicit ImmutableFolder(std::wstring folder) : folder_(std::move(folder)), unixName_(UnixName(folder_)) {
    if (unixName_.empty()) return;
    tried_ = RunShell("chattr +i '" + unixName_ + "'", folder_);
    const std::wstring probe = Extended(folder_ + L"\\probe~");
    HANDLE file = CreateFileW(probe.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, 0, nullptr);
    made_ = tried_ && file == INVALID_HANDLE_VALUE;
    if (file != INVALID_HANDLE_VALUE) {
      CloseHandle(file);
      DeleteFileW(probe.c_str());
    }
  }
  ~ImmutableFolder() { Undo(); }
  ImmutableFolder(const ImmutableFolder&) = delete;
  ImmutableFolder& operator=(const ImmutableFolder&) = delete;
  bool Made() const { return made_; }
  void Undo() {
    if (tried_) RunShell("chattr -i '" + unixName_ + "'", folder_);
    tried_ = made_ = false;
  }

 private:
  std::wstring folder_;
  std::string unixName_;
  bool tried_ = false, made_ = false;
};

}  // namespace krelmix::test
