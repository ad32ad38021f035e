#pragma once
// What the benchmarks share: a clock, process memory, the bare file-system work a search and a
// deletion cannot avoid, re-creating deleted files, and the figures bench/run.sh gathers.
#include <windows.h>
#include <psapi.h>

#include <algorithm>
#include <cstdio>
#include <cwctype>
#include <functional>
#include <string>
#include <vector>

namespace krelmix::bench {

inline double Now() {
  static const LARGE_INTEGER frequency = [] {
    LARGE_INTEGER f;
    QueryPerformanceFrequency(&f);
    return f;
  }();
  LARGE_INTEGER t;
  QueryPerformanceCounter(&t);
  return static_cast<double>(t.QuadPart) / static_cast<double>(frequency.QuadPart);
}

inline double Time(const std::function<void()>& work) {
  const double start = Now();
  work();
  return Now() - start;
}

struct Memory {
  double now = 0, peak = 0;  // megabytes: the larger of private bytes and working set
};

inline Memory MemoryOf(HANDLE process) {
  PROCESS_MEMORY_COUNTERS_EX counters{};
  counters.cb = sizeof counters;
  GetProcessMemoryInfo(process, reinterpret_cast<PROCESS_MEMORY_COUNTERS*>(&counters), sizeof counters);
  constexpr double kMegabyte = 1024.0 * 1024.0;
  return {static_cast<double>(std::max(counters.PrivateUsage, counters.WorkingSetSize)) / kMegabyte,
          static_cast<double>(std::max(counters.PeakPagefileUsage, counters.PeakWorkingSetSize)) / kMegabyte};
}

// One figure against its target (at most `limit`), on a line of its own that bench/run.sh gathers
// into its closing table: "FIGURE", what, the measured value, the target, whether it is met.
inline void Figure(const char* what, double value, const char* unit, double limit) {
  char measured[32], target[32];
  std::snprintf(measured, sizeof measured, value < 10 ? "%.2f%s" : "%.1f%s", value, unit);
  std::snprintf(target, sizeof target, "<= %g%s", limit, unit);
  std::printf("FIGURE\t%s\t%s\t%s\t%s\n", what, measured, target, value <= limit ? "yes" : "NO");
}

inline bool IsGarbage(const std::wstring& name) {
  if (name.size() < 4) return false;
  std::wstring tail = name.substr(name.size() - 4);
  for (auto& c : tail) c = static_cast<wchar_t>(std::towlower(c));
  return tail == L".tmp" || tail == L".bak";
}

// The least any search must do: read every folder once, descending into real folders. Returns
// the entries read; collects the "*.tmp" and "*.bak" files on the way when asked.
inline size_t BareWalk(const std::wstring& dir, std::vector<std::wstring>* garbage = nullptr) {
  WIN32_FIND_DATAW data;
  HANDLE find = FindFirstFileExW((L"\\\\?\\" + dir + L"\\*").c_str(), FindExInfoBasic, &data, FindExSearchNameMatch,
                                 nullptr, FIND_FIRST_EX_LARGE_FETCH);
  if (find == INVALID_HANDLE_VALUE) return 0;
  size_t entries = 0;
  std::vector<std::wstring> subfolders;
  do {
    ++entries;
    const std::wstring name = data.cFileName;
    if (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
      if (!(data.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT) && name != L"." && name != L"..")
        subfolders.push_back(dir + L"\\" + name);
    } else if (garbage && IsGarbage(name)) {
      garbage->push_back(dir + L"\\" + name);
    }
  } while (FindNextFileW(find, &data));
  FindClose(find);
  for (const auto& sub : subfolders) entries += BareWalk(sub, garbage);
  return entries;
}

inline void BareDelete(const std::vector<std::wstring>& paths) {
  for (const auto& path : paths) DeleteFileW((L"\\\\?\\" + path).c_str());
}

// The least a sound deletion does, file by file: open the entry itself (a link at its end not
// followed) for deletion, read what it is (size, time, id, attributes) in as few questions as the system allows, read
// the path it really has, hand the deletion over through the handle, close it, and look once by name that it is gone.
// The same system calls the program makes, without anything around them: what no checked deletion can go below. Returns
// the files gone.
inline size_t FloorDelete(const std::vector<std::wstring>& paths) {
  using Query = LONG(WINAPI*)(HANDLE, void*, void*, ULONG, ULONG);
  using QueryObject = LONG(WINAPI*)(HANDLE, int, void*, ULONG, ULONG*);
  HMODULE ntdll = GetModuleHandleW(L"ntdll.dll");
  const auto query = reinterpret_cast<Query>(reinterpret_cast<void*>(GetProcAddress(ntdll, "NtQueryInformationFile")));
  const auto name = reinterpret_cast<QueryObject>(reinterpret_cast<void*>(GetProcAddress(ntdll, "NtQueryObject")));
  std::vector<uint64_t> buffer(8192);
  size_t gone = 0;
  for (const auto& path : paths) {
    const std::wstring spelled = L"\\\\?\\" + path;
    HANDLE file = CreateFileW(spelled.c_str(), DELETE | FILE_READ_ATTRIBUTES | SYNCHRONIZE,
                              FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr, OPEN_EXISTING,
                              FILE_FLAG_BACKUP_SEMANTICS | FILE_FLAG_OPEN_REPARSE_POINT, nullptr);
    if (file == INVALID_HANDLE_VALUE) continue;
    // The identity a sound deletion compares: in one question where the system answers it (Wine 8
    // does not), else in the three the engine falls back on.
    uint64_t io[2] = {}, stat[12] = {};
    ULONG got = 0;
    FILE_BASIC_INFO basic;
    FILE_STANDARD_INFO standard;
    const bool identified = query(file, io, stat, sizeof stat, 68 /* FileStatInformation */) == 0 ||
                            (GetFileInformationByHandleEx(file, FileBasicInfo, &basic, sizeof basic) &&
                             GetFileInformationByHandleEx(file, FileStandardInfo, &standard, sizeof standard) &&
                             query(file, io, stat, sizeof stat, 6 /* FileInternalInformation */) == 0);
    const bool known = identified && name(file, 1 /* ObjectNameInformation */, buffer.data(), 65536, &got) == 0;
    FILE_DISPOSITION_INFO disposition{TRUE};
    const bool asked = known && SetFileInformationByHandle(file, FileDispositionInfo, &disposition, sizeof disposition);
    CloseHandle(file);
    if (asked && GetFileAttributesW(spelled.c_str()) == INVALID_FILE_ATTRIBUTES &&
        GetLastError() == ERROR_FILE_NOT_FOUND)
      ++gone;
  }
  return gone;
}

inline void CreateFiles(const std::vector<std::wstring>& paths) {
  for (const auto& path : paths) {
    HANDLE file = CreateFileW((L"\\\\?\\" + path).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file != INVALID_HANDLE_VALUE) CloseHandle(file);
  }
}

}  // namespace krelmix::bench
