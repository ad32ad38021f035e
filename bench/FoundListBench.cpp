// The found list under a million finds: memory of the whole program, the cost of an append at
// the start and at the end of the fill, and how long the window goes without reading its
// messages. Prints ratios and sizes measured in this one run; never a test.
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

#include "bench/BenchTools.h"
#include "toolkit/CheckListBox.h"
#include "toolkit/Form.h"
#include "toolkit/Gdi.h"

namespace {
using namespace krelmix;
using bench::Now;

constexpr size_t kSampleMax = 10000;  // appends timed at the start and at the end
constexpr size_t kPumpEvery = 200;    // finds between two message pumps, as a search of small folders

void Pump() {
  MSG msg;
  while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
    TranslateMessage(&msg);
    DispatchMessageW(&msg);
  }
}

// A line as the search writes it: a full path of typical depth.
std::wstring FindLine(size_t i) {
  return L"C:\\Documents and Settings\\user\\Local Settings\\Temp\\folder" + std::to_wstring(i / 100) + L"\\file" +
         std::to_wstring(i) + L".tmp";
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
    CheckListStyle style;
    style.tick = TickStyle::Mark;
    style.itemHeight = 14;
    style.font = font.Get();
    list.Create(Handle(), {162, 96, 591, 432}, 102, style);
    AddWindowed(list);
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
  const bool follow = argc <= 2 || argv[2][0] != L'0';
  const size_t kSample = std::max<size_t>(1, std::min(kSampleMax, kLines / 10));
  BenchForm form;
  form.CreateForm(nullptr);
  form.Show();
  Pump();
  const double before = bench::MemoryOf(GetCurrentProcess()).now;

  std::vector<double> appendTimes;
  appendTimes.reserve(kLines);
  std::vector<double> pumpTimes;  // bringing the list up to date, painting it and reading the queue
  double longestWithoutPump = 0, lastPump = Now();
  const double start = Now();
  form.list.BeginUpdate();
  for (size_t i = 0; i < kLines; ++i) {
    const std::wstring line = FindLine(i);
    const double t0 = Now();
    form.list.Add(line, false);
    // Following the report: the new line becomes the current one.
    if (follow) form.list.SetItemIndex(static_cast<int>(i));
    appendTimes.push_back(Now() - t0);
    if (i % kPumpEvery == 0) {
      // Between two pumps nothing is painted anyway: the list redraws once per pump. Bringing the
      // list up to date is part of the time the window does not answer.
      const double pumpStart = Now();
      form.list.EndUpdate();
      const double now = Now();
      longestWithoutPump = std::max(longestWithoutPump, now - lastPump);
      Pump();
      form.list.BeginUpdate();
      lastPump = Now();
      pumpTimes.push_back(lastPump - pumpStart);
    }
  }
  form.list.EndUpdate();
  Pump();
  const double fill = Now() - start;
  const double after = bench::MemoryOf(GetCurrentProcess()).now;

  // The deletion pass marks every line, as when every find was deleted.
  const double markStart = Now();
  form.list.BeginUpdate();
  for (size_t i = 0; i < kLines; ++i) {
    form.list.SetText(i, FindLine(i) + L" (Убит!)");
    if (i % kPumpEvery == 0) {
      form.list.EndUpdate();
      Pump();
      form.list.BeginUpdate();
    }
  }
  form.list.EndUpdate();
  Pump();
  const double mark = Now() - markStart;
  const double afterMarks = bench::MemoryOf(GetCurrentProcess()).now;

  auto mean = [&](size_t from) {
    double sum = 0;
    for (size_t i = from; i < from + kSample; ++i) sum += appendTimes[i];
    return sum / kSample;
  };
  const double first = mean(0), last = mean(kLines - kSample);
  std::printf("found list: %zu lines in %.1f s\n", form.list.Count(), fill);
  std::printf("  append, mean of the first %zu: %.2f us; of the last %zu: %.2f us; ratio last/first %.2f\n", kSample,
              first * 1e6, kSample, last * 1e6, last / first);
  std::printf("  memory of the whole program: %.0f MB before, %.0f MB after, peak %.0f MB (target 250 MB)\n", before,
              after, bench::MemoryOf(GetCurrentProcess()).peak);
  const size_t pumpSample = std::max<size_t>(1, std::min<size_t>(50, pumpTimes.size() / 10));
  auto meanPump = [&](size_t from) {
    double sum = 0;
    for (size_t i = from; i < from + pumpSample; ++i) sum += pumpTimes[i];
    return sum / pumpSample;
  };
  const double firstPump = meanPump(0), lastPumpMean = meanPump(pumpTimes.size() - pumpSample);
  std::printf("  list update and pump, mean of the first %zu: %.2f ms; of the last %zu: %.2f ms; ratio %.2f\n",
              pumpSample, firstPump * 1e3, pumpSample, lastPumpMean * 1e3, lastPumpMean / firstPump);
  std::printf("  every line marked as deleted in %.1f s: %.0f MB in use after\n", mark, afterMarks);
  std::printf("  longest time without reading the window's messages: %.1f ms\n", longestWithoutPump * 1000);
  return 0;
}
