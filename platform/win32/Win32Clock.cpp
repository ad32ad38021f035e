#include "platform/win32/Win32Clock.h"

#include <windows.h>

namespace krelmix {

TimeOfDay Win32Clock::Now() {
  SYSTEMTIME now;
  GetLocalTime(&now);
  return {now.wHour, now.wMinute, now.wSecond, now.wMilliseconds};
}

uint64_t Win32Clock::SteadyMilliseconds() { return GetTickCount64(); }

uint64_t Win32Clock::WallTime() {
  FILETIME now;
  GetSystemTimeAsFileTime(&now);
  return (static_cast<uint64_t>(now.dwHighDateTime) << 32) | now.dwLowDateTime;
}

}  // namespace krelmix
