#include "platform/win32/Win32SettingsStorage.h"

#include <windows.h>

#include <algorithm>
#include <cwchar>
#include <cwctype>

#include "platform/CaseFold.h"
#include "platform/win32/Handles.h"

namespace krelmix {

namespace {

// The errors another program's hold on the file gives: a share mode that excludes ours, a locked
// range, or (on replacing it) a file open without delete sharing.
bool IsHeld(DWORD error) {
  return error == ERROR_SHARING_VIOLATION || error == ERROR_LOCK_VIOLATION || error == ERROR_ACCESS_DENIED;
}

bool WriteAll(HANDLE file, const std::string& bytes) {
  size_t done = 0;
  while (done < bytes.size()) {
    const DWORD chunk = static_cast<DWORD>(std::min<size_t>(bytes.size() - done, 1u << 20));
    DWORD written = 0;
    if (!WriteFile(file, bytes.data() + done, chunk, &written, nullptr) || written == 0) return false;
    done += written;
  }
  return FlushFileBuffers(file) != 0;
}

bool SetSize(HANDLE file, uint64_t size) {
  LARGE_INTEGER at;
  at.QuadPart = static_cast<LONGLONG>(size);
  return SetFilePointerEx(file, at, nullptr, FILE_BEGIN) && SetEndOfFile(file);
}

// A name beside the file that no earlier write, crash or other copy of the program has used:
// the process, a count of the names this process made, and the time.
std::wstring TemporaryName(const std::wstring& path) {
  static unsigned made = 0;
  wchar_t unique[64];
  swprintf(unique, 64, L".%lx-%x-%llx.new~", GetCurrentProcessId(), ++made,
           static_cast<unsigned long long>(GetTickCount64()));
  return path + unique;
}

// Whether `name` is one TemporaryName gives `fileName`, and which process made it.
bool IsTemporaryNameOf(const std::wstring& fileName, const std::wstring& name, DWORD& process) {
  const std::wstring suffix = L".new~";
  if (name.size() <= fileName.size() + 1 + suffix.size() || !SameName(name.substr(0, fileName.size()), fileName) ||
      name[fileName.size()] != L'.' || name.compare(name.size() - suffix.size(), suffix.size(), suffix) != 0)
    return false;
  const std::wstring middle = name.substr(fileName.size() + 1, name.size() - fileName.size() - 1 - suffix.size());
  size_t at = 0;
  unsigned long long parts[3] = {};
  for (int part = 0; part < 3; ++part) {
    const size_t start = at;
    while (at < middle.size() && iswxdigit(middle[at]) && at - start < 16) ++at;
    if (at == start || (part < 2 ? at >= middle.size() || middle[at] != L'-' : at != middle.size())) return false;
    parts[part] = wcstoull(middle.substr(start, at - start).c_str(), nullptr, 16);
    ++at;
  }
  process = static_cast<DWORD>(parts[0]);
  return parts[0] <= 0xFFFFFFFFull;
}

bool ProcessRuns(DWORD process) {
  KernelHandle handle(OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION, FALSE, process));
  if (!handle.Valid()) return GetLastError() != ERROR_INVALID_PARAMETER;  // refused: it runs
  DWORD code = 0;
  return !GetExitCodeProcess(handle.Get(), &code) || code == STILL_ACTIVE;
}

// Temporary files of saves that were cut off (the program killed between making one and swapping
// it in): only names of the program's own pattern beside the file, made by a process that no
// longer runs, plain files as the program makes them; one held open stays.
void RemoveLeftovers(const std::wstring& path) {
  const size_t slash = path.find_last_of(L"\\/");
  if (slash == std::wstring::npos) return;
  const std::wstring folder = path.substr(0, slash + 1), fileName = path.substr(slash + 1);
  WIN32_FIND_DATAW data;
  HANDLE find = FindFirstFileW((path + L".*").c_str(), &data);
  if (find == INVALID_HANDLE_VALUE) return;
  do {
    DWORD process = 0;
    constexpr DWORD kNotOurs = FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_REPARSE_POINT | FILE_ATTRIBUTE_READONLY;
    if ((data.dwFileAttributes & kNotOurs) == 0 && IsTemporaryNameOf(fileName, data.cFileName, process) &&
        process != GetCurrentProcessId() && !ProcessRuns(process))
      DeleteFileW((folder + data.cFileName).c_str());
  } while (FindNextFileW(find, &data));
  FindClose(find);
}

// Makes a new temporary file beside `path`; none when the folder takes no new file.
KernelHandle CreateTemporary(const std::wstring& path, std::wstring& name) {
  for (int attempt = 0; attempt < 16; ++attempt) {
    name = TemporaryName(path);
    KernelHandle file(CreateFileW(name.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (file.Valid()) return file;
    const DWORD error = GetLastError();
    if (error != ERROR_FILE_EXISTS && error != ERROR_ALREADY_EXISTS) break;
  }
  return KernelHandle();
}

// The file written where it stands, for a folder that takes no new file. It first grows to the
// new size, which claims the space (and fails on a full disk, leaving the file as it was); only
// then is anything overwritten. Shrinking comes last, after the new content is on the disk.
WriteOutcome WriteInPlace(const std::wstring& path, const std::string& bytes) {
  KernelHandle file(CreateFileW(path.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_EXISTING,
                                FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!file.Valid()) return IsHeld(GetLastError()) ? WriteOutcome::Busy : WriteOutcome::Refused;
  LARGE_INTEGER old{};
  if (!GetFileSizeEx(file.Get(), &old)) return WriteOutcome::Refused;
  const uint64_t oldSize = static_cast<uint64_t>(old.QuadPart), newSize = bytes.size();
  if (newSize > oldSize && !SetSize(file.Get(), newSize)) {
    SetSize(file.Get(), oldSize);
    return WriteOutcome::Refused;
  }
  LARGE_INTEGER start{};
  if (!SetFilePointerEx(file.Get(), start, nullptr, FILE_BEGIN) || !WriteAll(file.Get(), bytes))
    return WriteOutcome::Refused;
  if (newSize < oldSize && (!SetSize(file.Get(), newSize) || !FlushFileBuffers(file.Get())))
    return WriteOutcome::Refused;
  return WriteOutcome::Written;
}

}  // namespace

StoredFile Win32SettingsStorage::Read(const std::wstring& path) {
  KernelHandle file(CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!file.Valid()) {
    const DWORD error = GetLastError();
    if (error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND) return {StoredFile::State::Missing, {}};
    // A folder of that name cannot be opened as a file; it is no settings file.
    const DWORD attributes = GetFileAttributesW(path.c_str());
    if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY))
      return {StoredFile::State::Missing, {}};
    return {StoredFile::State::Unreadable, {}};
  }
  StoredFile stored{StoredFile::State::Read, {}};
  LARGE_INTEGER size{};
  if (GetFileSizeEx(file.Get(), &size) && size.QuadPart > 0 && size.QuadPart < (1LL << 31))
    stored.bytes.reserve(static_cast<size_t>(size.QuadPart));
  char buffer[65536];
  for (;;) {
    DWORD got = 0;
    // Part of a file is no settings file: a read that fails on the way reads nothing.
    if (!ReadFile(file.Get(), buffer, sizeof buffer, &got, nullptr)) return {StoredFile::State::Unreadable, {}};
    if (got == 0) return stored;
    stored.bytes.append(buffer, got);
  }
}

// Written beside the file and swapped in, so a crash or a full disk leaves the old file or the
// new one, never a cut one. A read-only file is a refusal, as the profile functions treat it.
WriteOutcome Win32SettingsStorage::Write(const std::wstring& path, const std::string& bytes) {
  const DWORD attributes = GetFileAttributesW(path.c_str());
  const bool exists = attributes != INVALID_FILE_ATTRIBUTES;
  if (exists && (attributes & (FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_DIRECTORY))) return WriteOutcome::Refused;
  std::wstring temp;
  KernelHandle file = CreateTemporary(path, temp);
  if (!file.Valid()) return exists ? WriteInPlace(path, bytes) : WriteOutcome::Refused;
  const bool written = WriteAll(file.Get(), bytes);
  file.Reset();
  if (written && MoveFileExW(temp.c_str(), path.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
    RemoveLeftovers(path);
    return WriteOutcome::Written;
  }
  const DWORD error = GetLastError();
  DeleteFileW(temp.c_str());
  return written && IsHeld(error) ? WriteOutcome::Busy : WriteOutcome::Refused;
}

void Win32SettingsStorage::Pause(unsigned milliseconds) { Sleep(milliseconds); }

}  // namespace krelmix
