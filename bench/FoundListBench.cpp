// The found list under a million finds, the engine's list of finds shown in the main window's list
// control, filled and marked as a run does it: held
// between display updates four times a second, the messages read every 200 lines. Prints the
// memory a million lines take, what marking them all as deleted adds, the cost of an append at the
// start and at the end of the fill, and how long the window goes without reading its messages.
// Measured in this one run; never a test.
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

#include "bench/BenchTools.h"
#include "cleanup/FoundList.h"
#include "forms/FoundListAdapter.h"
#include "toolkit/CheckListBox.h"
#include "toolkit/Form.h"
#include "toolkit/Gdi.h"

namespace {
using namespace krelmix;
using bench::Now;

constexpr size_t kSampleMax = 10000;       // appends timed at the start and at the end
constexpr size_t kPumpEvery = 200;         // finds between two message pumps, as a search of small folders
constexpr double kDisplayInterval = 0.25;  // the main window's display updates

void Pump() {
  MSG msg;
  while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
    TranslateMessage(&msg);
    DispatchMessageW(&msg);
  }
}

// A line as the search writes it: a full path of typical depth, a thousand finds per folder as
// in the tree of bench/run.sh.
std::wstring FindLine(size_t i) {
  return L"C:\\Documents and Settings\\user\\Local Settings\\Temp\\folder" + std::to_wstring(i / 1000) + L"\\file" +
         std::to_wstring(i) + L".tmp";
}

// Runs `step` for every line, reading the messages every kPumpEvery lines and bringing the held
// list on screen every kDisplayInterval, as the main window does during a run. Returns the
// longest time the messages went unread.
template <typename Step>
double Fill(CheckListBox& list, size_t lines, Step step) {
  double longest = 0, lastPump = Now(), lastDisplay = Now();
  list.BeginUpdate();
  for (size_t i = 0; i < lines; ++i) {
    step(i);
    if (i % kPumpEvery != 0) continue;
    if (Now() - lastDisplay >= kDisplayInterval) {
      list.EndUpdate();
      list.BeginUpdate();
      lastDisplay = Now();
    }
    longest = std::max(longest, Now() - lastPump);
    Pump();
    lastPump = Now();
  }
  list.EndUpdate();
  Pump();
  return longest;
}

// The program's found list at its place and size in the main window, in its font.
class BenchForm : public Form {
 public:
  BenchForm() : Form(Style()) {}
  CheckListBox list{L"RxCheckListBox1"};
  Font font;

 protected:
  void CreateControls() override {
    font = CreatePointFont(L"Courier New", 8, FW_NORMAL, RUSSIAN_CHARSET);
    list.Look() = {.tick = TickStyle::Mark, .itemHeight = 14};
    Add(list, 102, {.bounds = {162, 96, 429, 336}, .font = font});
  }

 private:
  static FormStyle Style() {
    FormStyle style;
    style.className = L"FoundListBench";
    style.title = L"found list";
    style.clientSize = {600, 463};
    return style;
  }
};
}  // namespace

int wmain(int argc, wchar_t** argv) {
  // The number of lines can be given for a quick look; the measurement is at a million.
  const size_t kLines = argc > 1 ? static_cast<size_t>(_wtoi(argv[1])) : 1000000;
  const size_t kSample = std::max<size_t>(1, std::min(kSampleMax, kLines / 10));
  BenchForm form;
  form.CreateForm(nullptr);
  form.Show();
  Pump();
  FoundList finds;  // the holds come from Fill, as the window's display updates
  FoundListAdapter shown(finds, form.list, [] {});
  std::vector<double> appendTimes(kLines);  // before the first measurement: not part of the list
  const double before = bench::MemoryOf(GetCurrentProcess()).now;

  const double start = Now();
  const double longest = Fill(form.list, kLines, [&](size_t i) {
    const std::wstring line = FindLine(i);
    const double t0 = Now();
    finds.Add(line, {{1, i + 1}, 0, 0});
    form.list.SetItemIndex(static_cast<int>(i));  // following the report
    appendTimes[i] = Now() - t0;
  });
  const double fill = Now() - start;
  const double listed = bench::MemoryOf(GetCurrentProcess()).now;

  // The deletion pass marks every line, as when every find was deleted.
  const double markStart = Now();
  Fill(form.list, kLines, [&](size_t i) { finds.SetMark(i, FindMark::Deleted); });
  const double mark = Now() - markStart;
  const double marked = bench::MemoryOf(GetCurrentProcess()).now;

  auto mean = [&](size_t from) {
    double sum = 0;
    for (size_t i = from; i < from + kSample; ++i) sum += appendTimes[i];
    return sum / kSample;
  };
  const double first = mean(0), last = mean(kLines - kSample);
  std::printf("found list: %zu lines in %.1f s, every one marked as deleted in %.1f s\n", form.list.Count(), fill,
              mark);
  std::printf("  append, mean of the first %zu: %.2f us; of the last %zu: %.2f us; ratio last/first %.2f\n", kSample,
              first * 1e6, kSample, last * 1e6, last / first);
  std::printf("  memory of the whole program: %.0f MB empty, %.0f MB listed, %.0f MB marked, peak %.0f MB\n", before,
              listed, marked, bench::MemoryOf(GetCurrentProcess()).peak);
  std::printf("  longest time without reading the window's messages: %.1f ms\n", longest * 1000);
  bench::Figure("found list: memory added by marking them all deleted", marked - listed, " MB", 1);
  return 0;
}
