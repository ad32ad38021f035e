#include "platform/win32/Win32SettingsStorage.h"

#include <windows.h>

#include <algorithm>

#include "platform/win32/Handles.h"

namespace krelmix {

namespace {

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

bool WriteInPlace(const std::wstring& path, const std::string& bytes) {
  KernelHandle file(CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, OPEN_ALWAYS,
                              FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!file.Valid()) return false;
  if (!WriteAll(file.Get(), bytes)) return false;
  return SetEndOfFile(file.Get()) != 0;
}
}  // namespace

bool Win32SettingsStorage::Exists(const std::wstring& path) {
  const DWORD attributes = GetFileAttributesW(path.c_str());
  return attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY);
}

std::optional<std::string> Win32SettingsStorage::Read(const std::wstring& path) {
  KernelHandle file(CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                              OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!file.Valid()) return std::nullopt;
  std::string bytes;
  LARGE_INTEGER size{};
  if (GetFileSizeEx(file.Get(), &size) && size.QuadPart > 0 && size.QuadPart < (1LL << 31))
    bytes.reserve(static_cast<size_t>(size.QuadPart));
  char buffer[65536];
  DWORD got = 0;
  while (ReadFile(file.Get(), buffer, sizeof buffer, &got, nullptr) && got > 0) bytes.append(buffer, got);
  return bytes;
}

// Written beside the file and swapped in, so a crash or a full disk leaves the old file or the
// new one, never a truncated one. A read-only file is a refusal, as the profile functions treat it.
bool Win32SettingsStorage::Write(const std::wstring& path, const std::string& bytes) {
  const DWORD attributes = GetFileAttributesW(path.c_str());
  const bool exists = attributes != INVALID_FILE_ATTRIBUTES;
  if (exists && (attributes & (FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_DIRECTORY))) return false;
  const std::wstring temp = path + L".new~";
  {
    KernelHandle file(CreateFileW(temp.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file.Valid()) {
      // The folder refuses new files but the file itself may still be writable.
      return exists && WriteInPlace(path, bytes);
    }
    const bool written = WriteAll(file.Get(), bytes);
    file.Reset();
    if (!written) {
      DeleteFileW(temp.c_str());
      return false;
    }
  }
  if (MoveFileExW(temp.c_str(), path.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH))
    return true;
  DeleteFileW(temp.c_str());
  return false;
}

}  // namespace krelmix
