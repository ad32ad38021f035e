// The real Krelmix.exe, driven as the end-to-end tests drive it and watched from outside.
//   program_bench PATH-TO-Krelmix.exe TREE-DRIVE MILLION-DRIVE [tree|million]
// On the tree drive its searches, timed by the program's own timing message (/test), and its
// deletions are set against a bare enumeration, a bare delete loop and the engine's own deletion
// of the same files (in this process, showing nothing), run here in the same run.
// On the million drive it searches 1,000,000 garbage files: how long that takes, the memory of
// the whole program, and how long its window goes without answering.
//
// Every wait gives up within a minute once the program has ended, its window stops answering or
// nothing changes any more, and says what it waited for and how the program ended. Prints what it
// measured; never a test.
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

#include "bench/BenchTools.h"
#include "bench/QuietEngine.h"
#include "tests/e2e/AnswerProbe.h"
#include "tests/e2e/Harness.h"

namespace {
using namespace krelmix::e2e;
using namespace krelmix::bench;

constexpr double kGiveUpSeconds = 60;

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

std::string Narrow(const std::wstring& text) {
  std::string out(WideCharToMultiByte(CP_UTF8, 0, text.c_str(), -1, nullptr, 0, nullptr, nullptr), '\0');
  WideCharToMultiByte(CP_UTF8, 0, text.c_str(), -1, out.data(), static_cast<int>(out.size()), nullptr, nullptr);
  if (!out.empty()) out.pop_back();
  return out;
}

std::string HowItEnded(HANDLE process) {
  DWORD code = 0;
  if (!GetExitCodeProcess(process, &code)) return "its state cannot be read";
  char text[160];
  switch (code) {
    case STILL_ACTIVE:
      return "it still runs";
    case 1:
      return "it ended with exit code 1 (what Wine does when the program's X display goes away)";
    case 0xC0000005:
      return "it crashed: access violation (0xC0000005)";
    case 0xC00000FD:
      return "it crashed: stack overflow (0xC00000FD)";
    case 0xC0000409:
      return "it ended at a failed check or an unhandled C++ exception (0xC0000409)";
    default:
      std::snprintf(text, sizeof text, "it ended with exit code %lu (0x%08lX)", static_cast<unsigned long>(code),
                    static_cast<unsigned long>(code));
      return text;
  }
}

[[noreturn]] void GiveUp(RunningProgram& program, const std::string& what, const std::string& why) {
  std::printf("program_bench: gave up waiting for %s: %s; %s\n", what.c_str(), why.c_str(),
              HowItEnded(program.Process()).c_str());
  if (program.Running()) TerminateProcess(program.Process(), 3);
  std::exit(3);
}

// A wait on the program: ends the benchmark once the program has ended, its window has not
// answered for a minute, or the progress it shows has not changed for a minute.
class Wait {
 public:
  Wait(RunningProgram& program, const AnswerProbe& probe, std::string what)
      : program_(program), probe_(probe), what_(std::move(what)), changed_(Now()) {}
  void Look(const std::wstring& progress) {
    if (!program_.Running()) GiveUp(program_, what_, "the program is gone");
    if (probe_.Waiting() > kGiveUpSeconds) GiveUp(program_, what_, "its window has not answered for a minute");
    if (progress != last_) {
      last_ = progress;
      changed_ = Now();
    } else if (Now() - changed_ > kGiveUpSeconds) {
      GiveUp(program_, what_, "nothing it shows has changed for a minute");
    }
    Sleep(20);
  }
  const std::string& What() const { return what_; }

 private:
  RunningProgram& program_;
  const AnswerProbe& probe_;
  std::string what_;
  std::wstring last_;
  double changed_;
};

// What a run shows of its progress: the number of found lines and the last of them.
std::wstring FoundProgress(HWND list) {
  const LRESULT count = SendMessageW(list, LB_GETCOUNT, 0, 0);
  return std::to_wstring(count) + L"|" + (count > 0 ? ListLine(list, count - 1) : L"");
}

HWND MessageBoxOf(RunningProgram& program) { return program.WaitForWindow(L"#32770", 1); }

struct RunFigures {
  double elapsed = 0;        // by the program's own timing message
  double slowestAnswer = 0;  // the longest the window went without answering
  double slowestAt = 0;      // when that began, in seconds from the press
};

// Presses a run's button and waits for its timing message.
RunFigures TimedRun(RunningProgram& program, const std::wstring& button) {
  HWND main = program.MainWindow(), list = program.FoundList();
  AnswerProbe probe(main);
  program.ClickControl(button);
  Wait wait(program, probe, "the timing message of the run started with " + Narrow(button));
  for (;;) {
    if (HWND box = MessageBoxOf(program)) {
      // The run is over once its message is up. Closing a window makes Wine's X11 driver wait two
      // seconds for a window manager that Xvfb does not have, which is no part of the run.
      const RunFigures figures{0, probe.Longest(), probe.SlowestAt()};
      const std::wstring text = WindowText(GetDlgItem(box, 0xFFFF));
      const double elapsed = ElapsedOf(text);
      if (elapsed < 0) GiveUp(program, wait.What(), "the program showed another message: " + Narrow(text));
      PressOk(box);
      if (!WaitUntilIdle(main)) GiveUp(program, "the end of the run after its timing message", "it did not end");
      return {elapsed, figures.slowestAnswer, figures.slowestAt};
    }
    wait.Look(FoundProgress(list));
  }
}

// The first line without a deletion mark: marks are made first to last.
LRESULT FirstUnmarked(HWND list, LRESULT count) {
  LRESULT low = 0, high = count;
  while (low < high) {
    const LRESULT middle = (low + high) / 2;
    const std::wstring line = ListLine(list, middle);
    if (!line.empty() && line.back() == L')')
      low = middle + 1;
    else
      high = middle;
  }
  return low;
}

// Presses "Удалить" and waits until every line carries its mark and the run has ended. Timed from
// the release of the button, which is when the program starts deleting, to the last mark: the
// list answers with a line's text as it is, whenever the window is drawn.
RunFigures TimedDelete(RunningProgram& program) {
  HWND main = program.MainWindow(), list = program.FoundList();
  const LRESULT count = SendMessageW(list, LB_GETCOUNT, 0, 0);
  const ControlInfo button = FindControl(main, L"SpeedButton3");
  AnswerProbe probe(main);
  PressMouseAt(main, {(button.bounds.left + button.bounds.right) / 2, (button.bounds.top + button.bounds.bottom) / 2});
  const double start = Now();
  ReleaseMouse();
  Wait wait(program, probe, "the deletion of every found file");
  // Every question is one more message for the program to answer: the last line is asked after
  // it often, how far the deletion has come once a second.
  std::wstring progress;
  for (double asked = 0;;) {
    const std::wstring last = ListLine(list, count - 1);
    if (!last.empty() && last.back() == L')') break;
    if (Now() - asked >= 1) {
      progress = std::to_wstring(FirstUnmarked(list, count));
      asked = Now();
    }
    wait.Look(progress);
  }
  const double elapsed = Now() - start;
  if (!WaitUntilIdle(main)) GiveUp(program, "the end of the deletion", "its buttons did not come back");
  return {elapsed, probe.Slowest(), probe.SlowestAt()};
}

void Close(RunningProgram& program) {
  PostMessageW(program.MainWindow(), WM_CLOSE, 0, 0);
  // A copy still closing would turn the next start into a hand-over to it (one instance only).
  if (!program.WaitForExit(30000)) GiveUp(program, "the program to end after its window was closed", "it did not");
}

RunningProgram& Started(RunningProgram& program) {
  program.Start(L"/test");
  HWND main = program.MainWindow();
  if (!main) GiveUp(program, "the main window", program.Running() ? "none appeared" : "the program is gone");
  if (!WaitUntilIdle(main)) GiveUp(program, "the main window to be ready", "its buttons never came");
  return program;
}

void TreeRuns(char drive) {
  const std::wstring root = std::wstring(1, static_cast<wchar_t>(drive)) + L":";
  std::vector<std::wstring> garbage;
  BareWalk(root, &garbage);  // also warms the cache
  RunningProgram program(Settings(drive));
  Started(program);

  // Interleaved, and in turned order every other round, so that caches favour no one.
  const int rounds = 3;
  double bare = 0, search = 0;
  for (int round = 0; round < rounds; ++round) {
    double b = 0;
    if (round % 2 == 0) b = Time([&] { BareWalk(root, nullptr); });
    const double s = TimedRun(program, L"SpeedButton2").elapsed;
    if (round % 2 == 1) b = Time([&] { BareWalk(root, nullptr); });
    std::printf("  round %d: bare enumeration %.3f s, search %.3f s\n", round + 1, b, s);
    bare += b;
    search += s;
  }
  // Deletion: "Удалить" after a search, every find ticked, against a bare delete loop and the
  // engine's deletion over the same files, each on fresh copies.
  EngineBench engine;
  engine.root = root;
  QuietView quiet;
  double bareDelete = 0, engineDelete = 0, deletion = 0, slowest = 0;
  for (int round = 0; round < rounds; ++round) {
    CreateFiles(garbage);
    const double b = Time([&] { BareDelete(garbage); });
    CreateFiles(garbage);
    const double e = engine.SearchThenDelete(quiet, engine.fs);
    CreateFiles(garbage);
    TimedRun(program, L"SpeedButton2");
    const RunFigures d = TimedDelete(program);
    std::printf(
        "  round %d: bare delete loop %.3f s, engine %.3f s, program %.3f s (ratio %.2f to the engine), "
        "slowest answer %.0f ms (from %.2f s after the press)\n",
        round + 1, b, e, d.elapsed, d.elapsed / e, d.slowestAnswer * 1e3, d.slowestAt);
    bareDelete += b;
    engineDelete += e;
    deletion += d.elapsed;
    slowest = std::max(slowest, d.slowestAnswer);
  }
  CreateFiles(garbage);  // the tree is left as it was generated
  std::printf("program on %ls (%zu finds):\n", root.c_str(), garbage.size());
  std::printf("  bare enumeration        %8.3f s\n", bare / rounds);
  std::printf("  search, live window     %8.3f s\n", search / rounds);
  std::printf("  bare delete loop        %8.3f s\n", bareDelete / rounds);
  std::printf("  engine's own deletion   %8.3f s\n", engineDelete / rounds);
  std::printf("  deletion, live window   %8.3f s\n", deletion / rounds);
  Figure("search through the real program / bare enumeration", search / bare, "", 1.5);
  Figure("deletion through the real program / bare loop", deletion / bareDelete, "", 1.7);
  Figure("deletion through the real program / the engine's deletion of the same files", deletion / engineDelete, "",
         1.15);
  Figure("longest time the window does not answer, deleting 40,000 files", slowest * 1e3, " ms", 50);
  Close(program);
}

void MillionRun(char drive) {
  const std::wstring root = std::wstring(1, static_cast<wchar_t>(drive)) + L":";
  BareWalk(root);  // the cache warmed, as for the tree: a cold first run reads the disk
  const double bare = Time([&] { BareWalk(root); });
  RunningProgram program(Settings(drive));
  Started(program);
  const Memory before = MemoryOf(program.Process());
  const RunFigures run = TimedRun(program, L"SpeedButton2");
  const Memory after = MemoryOf(program.Process());
  HWND found = program.FoundList();
  const LRESULT lines = SendMessageW(found, LB_GETCOUNT, 0, 0);
  std::printf("program on %c: %ld lines found in %.1f s (a bare enumeration: %.1f s)\n", drive,
              static_cast<long>(lines), run.elapsed, bare);
  if (lines > 0) std::wprintf(L"  last line, read by this process: %ls\n", ListLine(found, lines - 1).c_str());
  std::printf("  memory of the whole program: %.0f MB before, %.0f MB after, peak %.0f MB\n", before.now, after.now,
              after.peak);
  std::printf("  its window's longest silence: %.0f ms, from %.1f s after the press\n", run.slowestAnswer * 1e3,
              run.slowestAt);
  Figure("a million finds in the real program: time", run.elapsed, " s", 10);
  Figure("the same: peak memory of the whole program", after.peak, " MB", 80);
  Figure("longest time the window does not answer, during the search", run.slowestAnswer * 1e3, " ms", 50);
  Close(program);
}
}  // namespace

int main(int argc, char** argv) {
  std::setvbuf(stdout, nullptr, _IONBF, 0);
  if (argc < 4) {
    std::fprintf(stderr, "usage: program_bench PATH-TO-Krelmix.exe TREE-DRIVE MILLION-DRIVE [tree|million]\n");
    return 2;
  }
  SetBuiltProgram(argv[1]);
  const std::string only = argc > 4 ? argv[4] : "";
  if (only != "million") TreeRuns(argv[2][0]);
  if (only != "tree") MillionRun(argv[3][0]);
  return 0;
}
