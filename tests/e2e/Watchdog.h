#pragma once
// A time limit for each end-to-end test. A test that outlives it is failed with what the harness
// was waiting for at that moment; the programs it started are ended with it, so that the next
// test (a process of its own under ctest) starts on a clean desktop.
#include <windows.h>

#include <string>

namespace krelmix::e2e {

// Names what the harness waits for while it lives; nested waits name the innermost.
class WaitingFor {
 public:
  explicit WaitingFor(std::wstring what);
  ~WaitingFor();
  WaitingFor(const WaitingFor&) = delete;
  WaitingFor& operator=(const WaitingFor&) = delete;
};

// The programs a test started, ended by the watchdog when the test runs out of time.
void TrackProgram(HANDLE process);
void UntrackProgram(HANDLE process);

// Arms the limit at the start of every test and disarms it at its end.
void InstallWatchdog(DWORD secondsPerTest);

}  // namespace krelmix::e2e
