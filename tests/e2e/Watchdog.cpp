#include "Watchdog.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <mutex>
#include <set>
#include <thread>
#include <vector>

namespace krelmix::e2e {

namespace {
std::mutex g_mutex;
std::vector<std::wstring> g_waits;
std::set<HANDLE> g_programs;
std::string g_test;  // the test now running, for a crash report

std::string Utf8(const std::wstring& text) {
  const int size =
      WideCharToMultiByte(CP_UTF8, 0, text.c_str(), static_cast<int>(text.size()), nullptr, 0, nullptr, nullptr);
  std::string out(static_cast<size_t>(size), '\0');
  WideCharToMultiByte(CP_UTF8, 0, text.c_str(), static_cast<int>(text.size()), out.data(), size, nullptr, nullptr);
  return out;
}

// What the harness waits for, and the programs ended: taken without the lock after a crash,
// which may have happened while it was held.
std::string EndPrograms(bool locked) {
  std::unique_lock lock(g_mutex, std::defer_lock);
  if (locked) lock.lock();
  for (HANDLE program : g_programs) TerminateProcess(program, 1);
  return g_waits.empty() ? "nothing the harness names (the test's own steps)" : Utf8(g_waits.back());
}

[[noreturn]] void EndThisProcess() {
  std::fflush(stderr);
  std::fflush(stdout);
  TerminateProcess(GetCurrentProcess(), 1);
  for (;;) Sleep(INFINITE);
}

// Fails the whole process: a stalled test cannot be unwound from another thread.
[[noreturn]] void Expire(const std::string& test, DWORD seconds) {
  const std::string waiting = EndPrograms(true);
  std::fprintf(stderr, "\n[  FAILED  ] %s ran over its limit of %lu s while waiting for: %s\n", test.c_str(),
               static_cast<unsigned long>(seconds), waiting.c_str());
  EndThisProcess();
}

// A crash ends the test at once; under Wine it would otherwise wait for a debugger for ever.
LONG WINAPI ReportCrash(EXCEPTION_POINTERS* info) {
  const std::string waiting = EndPrograms(false);
  std::fprintf(stderr, "\n[  FAILED  ] %s crashed (exception %08lx at %p) while waiting for: %s\n", g_test.c_str(),
               static_cast<unsigned long>(info->ExceptionRecord->ExceptionCode),
               info->ExceptionRecord->ExceptionAddress, waiting.c_str());
  EndThisProcess();
}

class Limit : public testing::EmptyTestEventListener {
 public:
  explicit Limit(DWORD seconds) : seconds_(seconds) {}

  // Each test has its own event, so a watch that is slow to start can never outlive its test.
  void OnTestStart(const testing::TestInfo& info) override {
    const std::string name = std::string(info.test_suite_name()) + "." + info.name();
    g_test = name;
    HANDLE ended = CreateEventW(nullptr, TRUE, FALSE, nullptr);
    ended_ = ended;
    const DWORD seconds = seconds_;
    std::thread([ended, name, seconds] {
      if (WaitForSingleObject(ended, seconds * 1000) == WAIT_TIMEOUT) Expire(name, seconds);
      CloseHandle(ended);
    }).detach();
  }
  void OnTestEnd(const testing::TestInfo&) override { SetEvent(ended_); }

 private:
  DWORD seconds_;
  HANDLE ended_ = nullptr;
};
}  // namespace

WaitingFor::WaitingFor(std::wstring what) {
  std::lock_guard lock(g_mutex);
  g_waits.push_back(std::move(what));
}

WaitingFor::~WaitingFor() {
  std::lock_guard lock(g_mutex);
  g_waits.pop_back();
}

void TrackProgram(HANDLE process) {
  std::lock_guard lock(g_mutex);
  g_programs.insert(process);
}

void UntrackProgram(HANDLE process) {
  std::lock_guard lock(g_mutex);
  g_programs.erase(process);
}

void InstallWatchdog(DWORD secondsPerTest) {
  SetUnhandledExceptionFilter(ReportCrash);
  testing::UnitTest::GetInstance()->listeners().Append(new Limit(secondsPerTest));
}

}  // namespace krelmix::e2e
