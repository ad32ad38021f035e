// The real Krelmix.exe, driven as the end-to-end tests drive it and watched from outside.
//   program_bench PATH-TO-Krelmix.exe TREE-DRIVE MILLION-DRIVE   (bench/run.sh: K and M)
// On the tree drive its searches and cleanups with the live window, timed by the program's own
// timing message (/test), are set against a bare enumeration and a bare delete loop run here in
// the same run. On the million drive it searches 1,000,000 garbage files: how long that takes,
// the memory of the whole program, and how soon its window answers meanwhile.
// Prints what it measured; never a test.
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

#include "bench/BenchTools.h"
#include "tests/e2e/Harness.h"

namespace {
using namespace krelmix::e2e;
using namespace krelmix::bench;

std::string Settings(char drive) {
  return std::string("[Area]\r\n") + drive + "=1\r\n[Options]\r\n0=0\r\n1=1\r\n2=1\r\n[Kill]\r\n*.tmp=1\r\n*.bak=1\r\n";
}

// The elapsed time of the program's timing message ("Всего:" hours:minutes:seconds:milliseconds).
double ElapsedOf(const std::wstring& message) {
  const size_t at = message.find(L"Всего:");
  if (at == std::wstring::npos) return -1;
  int h = 0, m = 0, s = 0, ms = 0;
  if (swscanf(message.c_str() + at + 6, L" %d: %d: %d: %d", &h, &m, &s, &ms) != 4) return -1;
  return h * 3600.0 + m * 60.0 + s + ms / 1000.0;
}

struct RunWatch {
  double slowestAnswer = 0, answers = 0;
  int probes = 0;
};

// Presses a run's button and waits for its timing message; returns the run's own elapsed time.
// Meanwhile the window is asked, ten times a second, a message that needs only its message loop.
double TimedRun(RunningProgram& program, const std::wstring& button, RunWatch* watch = nullptr) {
  HWND main = program.MainWindow();
  program.ClickControl(button);
  const double start = Now();
  HWND box = nullptr;
  while (!(box = program.WaitForWindow(L"#32770", 1))) {
    if (watch) {
      DWORD_PTR answer = 0;
      const double asked = Now();
      SendMessageTimeoutW(main, WM_NULL, 0, 0, SMTO_NORMAL, 60000, &answer);
      const double took = Now() - asked;
      watch->slowestAnswer = std::max(watch->slowestAnswer, took);
      watch->answers += took;
      ++watch->probes;
    }
    Sleep(100);
    if (Now() - start > 1800) return -1;
  }
  const double elapsed = ElapsedOf(WindowText(GetDlgItem(box, 0xFFFF)));
  PressOk(box);
  WaitUntilIdle(main);
  return elapsed;
}

// Presses "Удалить" and waits until the last line carries its mark and the button is disabled.
// Timed from the release of the button, which is when the program starts deleting.
double TimedDelete(RunningProgram& program) {
  HWND main = program.MainWindow(), list = program.FoundList();
  const LRESULT last = SendMessageW(list, LB_GETCOUNT, 0, 0) - 1;
  const ControlInfo button = FindControl(main, L"SpeedButton3");
  PressMouseAt(main, {(button.bounds.left + button.bounds.right) / 2, (button.bounds.top + button.bounds.bottom) / 2});
  const double start = Now();
  ReleaseMouse();
  for (;;) {
    const std::wstring line = ListLine(list, last);
    if (!line.empty() && line.back() == L')' && !FindControl(main, L"SpeedButton3").enabled) break;
    if (Now() - start > 1800) return -1;
    Sleep(10);
  }
  return Now() - start;
}

int TreeRuns(char drive) {
  const std::wstring root = std::wstring(1, static_cast<wchar_t>(drive)) + L":";
  std::vector<std::wstring> garbage;
  BareWalk(root, &garbage);  // also warms the cache
  RunningProgram program(Settings(drive));
  program.Start(L"/test");
  HWND main = program.MainWindow();
  if (!main || !WaitUntilIdle(main)) return 1;

  // Interleaved, and in turned order every other round, so that caches favour no one.
  const int rounds = 3;
  double bare = 0, search = 0;
  for (int round = 0; round < rounds; ++round) {
    double b = 0, s = 0;
    if (round % 2 == 0) b = Time([&] { BareWalk(root, nullptr); });
    s = TimedRun(program, L"SpeedButton2");
    if (round % 2 == 1) b = Time([&] { BareWalk(root, nullptr); });
    std::printf("  round %d: bare enumeration %.3f s, search %.3f s\n", round + 1, b, s);
    bare += b;
    search += s;
  }
  // Deletion: "Удалить" after a search, every find ticked, against a bare delete loop over the
  // same files, each on fresh copies.
  double bareDelete = 0, deletion = 0;
  for (int round = 0; round < rounds; ++round) {
    CreateFiles(garbage);
    const double b = Time([&] { BareDelete(garbage); });
    CreateFiles(garbage);
    TimedRun(program, L"SpeedButton2");
    const double d = TimedDelete(program);
    std::printf("  round %d: bare delete loop %.3f s, deletion %.3f s\n", round + 1, b, d);
    bareDelete += b;
    deletion += d;
  }
  CreateFiles(garbage);  // the tree is left as it was generated
  std::printf("program on %ls (%zu finds), search timed by its own timing message:\n", root.c_str(), garbage.size());
  std::printf("  bare enumeration        %8.3f s\n", bare / rounds);
  std::printf("  search, live window     %8.3f s   ratio %.2f (target <= 1.5)\n", search / rounds, search / bare);
  std::printf("  bare delete loop        %8.3f s\n", bareDelete / rounds);
  std::printf("  deletion, live window   %8.3f s   ratio %.2f (target <= 1.2)\n", deletion / rounds,
              deletion / bareDelete);
  PostMessageW(main, WM_CLOSE, 0, 0);
  program.WaitForExit(20000);
  return 0;
}

int MillionRun(char drive) {
  RunningProgram program(Settings(drive));
  program.Start(L"/test");
  HWND main = program.MainWindow();
  if (!main || !WaitUntilIdle(main)) return 1;
  const Memory before = MemoryOf(program.Process());
  RunWatch watch;
  const double elapsed = TimedRun(program, L"SpeedButton2", &watch);
  const Memory after = MemoryOf(program.Process());
  HWND found = program.FoundList();
  const LRESULT lines = SendMessageW(found, LB_GETCOUNT, 0, 0);
  std::printf("program on %c: %ld lines found in %.1f s\n", drive, static_cast<long>(lines), elapsed);
  if (lines > 0) std::wprintf(L"  last line, read by this process: %ls\n", ListLine(found, lines - 1).c_str());
  std::printf("  memory of the whole program: %.0f MB before, %.0f MB after, peak %.0f MB (target 250 MB)\n",
              before.now, after.now, after.peak);
  std::printf("  its window answered a message during the search in at most %.1f ms (mean %.1f ms, %d probes)\n",
              watch.slowestAnswer * 1e3, watch.probes ? watch.answers / watch.probes * 1e3 : 0.0, watch.probes);
  PostMessageW(main, WM_CLOSE, 0, 0);
  program.WaitForExit(20000);
  return 0;
}
}  // namespace

int main(int argc, char** argv) {
  std::setvbuf(stdout, nullptr, _IONBF, 0);
  if (argc < 4) {
    std::fprintf(stderr, "usage: program_bench PATH-TO-Krelmix.exe TREE-DRIVE MILLION-DRIVE\n");
    return 2;
  }
  SetBuiltProgram(argv[1]);
  const int tree = TreeRuns(argv[2][0]);
  return tree != 0 ? tree : MillionRun(argv[3][0]);
}
