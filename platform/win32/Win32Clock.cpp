#include "platform/win32/Win32Clock.h"

#include <windows.h>

namespace krelmix {

TimeOfDay Win32Clock::Now() {
  SYSTEMTIME now;
  GetLocalTime(&now);
  return {now.wHour, now.wMinute, now.wSecond, now.wMilliseconds};
}

uint64_t Win32Clock::SteadyMilliseconds() { return GetTickCount64(); }

}  // namespace krelmix
