#pragma once
// Cross-process tests: runs one helper test of this very executable in a process of its own.
// Helper tests are DISABLED_ so that they run only when a test asks for them; they read their
// parameters from environment variables, which the child inherits.
#include <windows.h>

#include <functional>
#include <string>
#include <utility>
#include <vector>

namespace krelmix::test {

// Pumps this thread's messages (hotkeys and cross-process requests arrive through them) until
// `done` holds or the time is up; returns whether it held.
inline bool PumpUntil(const std::function<bool()>& done, DWORD milliseconds) {
  const ULONGLONG end = GetTickCount64() + milliseconds;
  while (!done()) {
    if (GetTickCount64() >= end) return false;
    MsgWaitForMultipleObjects(0, nullptr, FALSE, 20, QS_ALLINPUT);
    MSG msg;
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
      TranslateMessage(&msg);
      DispatchMessageW(&msg);
    }
  }
  return true;
}

class ChildTest {
 public:
  // `test` is the full name of the helper, such as "Helper.DISABLED_SendAltX".
  explicit ChildTest(const std::wstring& test, const std::vector<std::pair<std::wstring, std::wstring>>& env = {}) {
    for (const auto& [name, value] : env) SetEnvironmentVariableW(name.c_str(), value.c_str());
    wchar_t self[MAX_PATH] = {};
    GetModuleFileNameW(nullptr, self, MAX_PATH);
    std::wstring command =
        L"\"" + std::wstring(self) + L"\" --gtest_filter=" + test + L" --gtest_also_run_disabled_tests";
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    started_ =
        CreateProcessW(nullptr, command.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &process_) != 0;
    for (const auto& [name, value] : env) SetEnvironmentVariableW(name.c_str(), nullptr);
  }
  ~ChildTest() {
    if (!started_) return;
    if (WaitForSingleObject(process_.hProcess, 0) == WAIT_TIMEOUT) TerminateProcess(process_.hProcess, 99);
    CloseHandle(process_.hThread);
    CloseHandle(process_.hProcess);
  }
  ChildTest(const ChildTest&) = delete;
  ChildTest& operator=(const ChildTest&) = delete;

  bool Started() const { return started_; }
  // The helper's exit code (0: it passed), pumping messages meanwhile; -1 when it is still running.
  int Wait(DWORD milliseconds) {
    if (!started_) return -1;
    const bool ended =
        PumpUntil([this] { return WaitForSingleObject(process_.hProcess, 0) == WAIT_OBJECT_0; }, milliseconds);
    if (!ended) return -1;
    DWORD code = 0;
    GetExitCodeProcess(process_.hProcess, &code);
    return static_cast<int>(code);
  }

 private:
  PROCESS_INFORMATION process_{};
  bool started_ = false;
};

inline std::wstring Environment(const wchar_t* name) {
  wchar_t value[1024] = {};
  const DWORD n = GetEnvironmentVariableW(name, value, 1024);
  return n && n < 1024 ? std::wstring(value, n) : std::wstring();
}

}  // namespace krelmix::test
