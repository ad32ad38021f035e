// Times the search and the deletion pass against the bare file-system work they cannot avoid,
// all in one run over the same generated tree, and prints the ratios.
//   search_bench [root]   (root defaults to K:, the drive bench/run.sh maps to its tree)
// BENCH_PUMP_MS sets the pump interval (default 15 ms, 0 reads the queue at every pump point);
// BENCH_PROFILE=1 adds runs without the pump's interval and without holding back updates (slow:
// use a small tree).
#include <windows.h>

#include <cstdio>
#include <functional>
#include <map>
#include <string>
#include <vector>

#include "cleanup/CleanupEngine.h"
#include "platform/win32/Win32Clock.h"
#include "platform/win32/Win32FileSystem.h"
#include "platform/win32/Win32MessagePump.h"
#include "bench/BenchForm.h"

namespace krelmix {
namespace {

double Seconds() {
  static LARGE_INTEGER frequency = [] {
    LARGE_INTEGER f;
    QueryPerformanceFrequency(&f);
    return f;
  }();
  LARGE_INTEGER now;
  QueryPerformanceCounter(&now);
  return static_cast<double>(now.QuadPart) / static_cast<double>(frequency.QuadPart);
}

double Time(const std::function<void()>& work) {
  const double start = Seconds();
  work();
  return Seconds() - start;
}

uint32_t PumpInterval() {
  const wchar_t* text = _wgetenv(L"BENCH_PUMP_MS");
  return text ? static_cast<uint32_t>(_wtoi(text)) : 15;
}

class MemoryStorage : public SettingsStorage {
 public:
  explicit MemoryStorage(std::string text) : text_(std::move(text)) {}
  bool Exists(const std::wstring&) override { return true; }
  std::optional<std::string> Read(const std::wstring&) override { return text_; }
  bool Write(const std::wstring&, const std::string&) override { return false; }

 private:
  std::string text_;
};

// The found list in memory and nothing shown: what the engine costs by itself.
class QuietView : public CleanupView {
 public:
  explicit QuietView(uint32_t interval = PumpInterval()) : pump_(interval) {}
  bool pump = true;
  std::vector<std::wstring> lines;
  std::vector<bool> ticks;
  size_t FoundCount() override { return lines.size(); }
  void ClearFound() override {
    lines.clear();
    ticks.clear();
  }
  void AppendFound(const std::wstring& line) override {
    lines.push_back(line);
    ticks.push_back(false);
  }
  std::wstring FoundLine(size_t index) override { return lines[index]; }
  void SetFoundLine(size_t index, const std::wstring& text) override {
    lines[index] = text;
    ticks[index] = false;
  }
  bool FoundTicked(size_t index) override { return ticks[index]; }
  void SetFoundTicked(size_t index, bool ticked) override { ticks[index] = ticked; }
  void MakeFoundCurrent(size_t) override {}
  int pumps = 0;
  void SetFolderCounter(const std::wstring&) override {}
  void SetFileCounter(const std::wstring&) override {}
  void SetStatus(const std::wstring&) override {}
  int TextWidth(std::wstring_view text) override { return static_cast<int>(text.size()) * 6; }
  void EnableDriveList(bool) override {}
  void EnableButton(MainButton, bool) override {}
  bool PumpMessages() override {
    ++pumps;
    return !pump || pump_.Pump();
  }
  Win32MessagePump pump_;
  bool Ask(QuestionKind, const std::wstring&) override { return true; }
  void ShowMessage(const std::wstring&) override {}
  void PlayEventSound(SoundEvent) override {}
};

// The window a search reports to, updated as the main window does (painting and texts held to
// the next pump).
class WindowView : public CleanupView {
 public:
  explicit WindowView(bool holdBack = true, uint32_t interval = PumpInterval())
      : holdBack_(holdBack), pump_(interval) {
    form_.CreateForm(nullptr);
    form_.Show();
    pump_.PumpNow();
  }

  size_t FoundCount() override { return form_.list.Count(); }
  void ClearFound() override { form_.list.Clear(); }
  void AppendFound(const std::wstring& line) override {
    HoldListPainting();
    form_.list.Add(line, false);
  }
  std::wstring FoundLine(size_t index) override { return form_.list.Text(index); }
  void SetFoundLine(size_t index, const std::wstring& text) override {
    form_.list.SetText(index, text);
    form_.list.SetTicked(index, false);
  }
  bool FoundTicked(size_t index) override { return form_.list.Ticked(index); }
  void SetFoundTicked(size_t index, bool ticked) override { form_.list.SetTicked(index, ticked); }
  // Moving the current line scrolls the list at once; held back to the next pump, the user
  // sees the same.
  void MakeFoundCurrent(size_t index) override {
    current_ = index;
    if (!holdBack_) ShowPending();
  }
  void ShowPending() override {
    if (current_ != kNone) {
      form_.list.SetItemIndex(static_cast<int>(current_));
      if (GetFocus() != form_.list.Handle()) SetFocus(form_.list.Handle());
      current_ = kNone;
    }
    for (auto& [label, text] : texts_) SetWindowTextW(label, text.c_str());
    texts_.clear();
    if (listHeld_) {
      listHeld_ = false;
      form_.list.EndUpdate();
    }
  }
  void SetFolderCounter(const std::wstring& text) override { SetText(form_.folders, text); }
  void SetFileCounter(const std::wstring& text) override { SetText(form_.files, text); }
  void SetStatus(const std::wstring& text) override { SetText(form_.status, text); }
  int TextWidth(std::wstring_view text) override {
    WindowDC dc(form_.list.Handle());
    SelectGuard select(dc.Get(), form_.font.Get());
    SIZE size{};
    GetTextExtentPoint32W(dc.Get(), text.data(), static_cast<int>(text.size()), &size);
    return size.cx;
  }
  void EnableDriveList(bool) override {}
  void EnableButton(MainButton, bool) override {}
  bool PumpMessages() override {
    if (!pump_.Due()) return true;
    ShowPending();
    return pump_.PumpNow();
  }
  bool Ask(QuestionKind, const std::wstring&) override { return true; }
  void ShowMessage(const std::wstring&) override {}
  void PlayEventSound(SoundEvent) override {}

 private:
  // Between pumps nothing is seen anyway, so the list repaints once per pump, not per find.
  void HoldListPainting() {
    if (!holdBack_ || listHeld_) return;
    listHeld_ = true;
    form_.list.BeginUpdate();
  }

  // A static control paints itself as soon as its text changes: only the last text before a
  // pump is worth showing.
  void SetText(HWND label, const std::wstring& text) {
    texts_[label] = text;
    if (!holdBack_) ShowPending();
  }

  static constexpr size_t kNone = static_cast<size_t>(-1);
  BenchForm form_;
  std::map<HWND, std::wstring> texts_;
  bool holdBack_;
  bool listHeld_ = false;
  Win32MessagePump pump_;
  size_t current_ = kNone;
};

// The least any search must do: read every folder once, descending into real folders.
size_t BareWalk(const std::wstring& dir) {
  size_t entries = 0;
  WIN32_FIND_DATAW data;
  HANDLE find = FindFirstFileExW((ExtendedPath(dir) + L"\\*").c_str(), FindExInfoBasic, &data,
                                 FindExSearchNameMatch, nullptr, FIND_FIRST_EX_LARGE_FETCH);
  if (find == INVALID_HANDLE_VALUE) return 0;
  std::vector<std::wstring> subfolders;
  do {
    ++entries;
    const bool folder = (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) &&
                        !(data.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT) && data.cFileName[0] != L'.';
    if (folder) subfolders.push_back(dir + L"\\" + data.cFileName);
  } while (FindNextFileW(find, &data));
  FindClose(find);
  for (const auto& sub : subfolders) entries += BareWalk(sub);
  return entries;
}

void CreateFiles(const std::vector<std::wstring>& paths) {
  for (const auto& path : paths) {
    HANDLE file = CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file != INVALID_HANDLE_VALUE) CloseHandle(file);
  }
}

void BareDelete(const std::vector<std::wstring>& paths) {
  for (const auto& path : paths) DeleteFileW(path.c_str());
}

struct Bench {
  std::wstring root;
  ProgramState state;
  Win32FileSystem fs;
  Win32Clock clock;
  Cp1251Codec codec;
  MemoryStorage storage{"[Kill]\r\n*.tmp=1\r\n*.bak=1\r\n[Options]\r\n1=1\r\n"};
  SettingsFile settings{storage, codec, L"K:\\nowhere\\Krelmix.ini"};

  double Search(CleanupView& view) {
    CleanupEngine engine(state, fs, view, settings, clock);
    return Time([&] { engine.SearchClick({false, {root}}); });
  }
  // The found list's files deleted through the engine, every line ticked.
  double Delete(CleanupView& view) {
    CleanupEngine engine(state, fs, view, settings, clock);
    for (size_t i = 0; i < view.FoundCount(); ++i) view.SetFoundTicked(i, true);
    return Time([&] { engine.DeleteClick(); });
  }
};

int Run(const std::wstring& root) {
  std::setvbuf(stdout, nullptr, _IONBF, 0);
  Bench bench;
  bench.root = root;
  std::printf("warming the cache: %zu entries\n", BareWalk(root));
  double bare = 0, quiet = 0, live = 0;
  const int rounds = 4;
  QuietView quietView;
  WindowView windowView;
  // Interleaved, and in turned order every other round, so that caches favour no one.
  for (int round = 0; round < rounds; ++round) {
    if (round % 2 == 0) {
      bare += Time([&] { BareWalk(root); });
      quiet += bench.Search(quietView);
      live += bench.Search(windowView);
    } else {
      live += bench.Search(windowView);
      quiet += bench.Search(quietView);
      bare += Time([&] { BareWalk(root); });
    }
  }
  const std::vector<std::wstring> found = quietView.lines;
  if (_wgetenv(L"BENCH_PROFILE")) {
    QuietView silent, eager(0);
    silent.pump = false;
    WindowView eagerWindow(false, 0), immediate(false);
    const double nopump = bench.Search(silent), everyPump = bench.Search(eager);
    const double liveEager = bench.Search(eagerWindow), liveImmediate = bench.Search(immediate);
    const double b = bare / rounds;
    std::printf("profile: no pumping %.2f, pumping every time %.2f, live pumping every time %.2f, "
                "live without holding back %.2f (ratios to bare)\n",
                nopump / b, everyPump / b, liveEager / b, liveImmediate / b);
  }
  std::printf("tree: %llu folders below the root, %zu finds\n",
              static_cast<unsigned long long>(bench.state.DirCount), found.size());
  std::printf("bare enumeration      %8.3f s\n", bare / rounds);
  std::printf("search, quiet view    %8.3f s   ratio %.2f (target <= 1.2)\n", quiet / rounds, quiet / bare);
  std::printf("search, live window   %8.3f s   ratio %.2f (target <= 1.5)\n", live / rounds, live / bare);

  // Deletion: the same files deleted by a bare loop and by the engine, each on fresh copies.
  double bareDelete = 0, engineDelete = 0, liveDelete = 0;
  for (int round = 0; round < 4; ++round) {
    const bool bareFirst = round % 2 == 0;
    for (int turn = 0; turn < 2; ++turn) {
      CreateFiles(found);
      if ((turn == 0) == bareFirst) {
        bareDelete += Time([&] { BareDelete(found); });
      } else {
        quietView.ticks.assign(found.size(), false);
        quietView.lines = found;
        engineDelete += bench.Delete(quietView);
      }
    }
  }
  CreateFiles(found);
  bench.Search(windowView);
  std::printf("live list: %zu lines, %llu found\n", windowView.FoundCount(),
              static_cast<unsigned long long>(bench.state.FoundFiles));
  liveDelete = bench.Delete(windowView);
  std::printf("bare delete loop      %8.3f s\n", bareDelete / 4);
  std::printf("deletion, quiet view  %8.3f s   ratio %.2f (target <= 1.2)\n", engineDelete / 4, engineDelete / bareDelete);
  std::printf("deletion, live window %8.3f s   ratio %.2f\n", liveDelete, 4 * liveDelete / bareDelete);
  std::printf("killed %llu, failed %llu\n", static_cast<unsigned long long>(bench.state.KilledFiles),
              static_cast<unsigned long long>(bench.state.FailedFiles));
  CreateFiles(found);  // the tree is left as it was generated
  return 0;
}

}  // namespace
}  // namespace krelmix

int wmain(int argc, wchar_t** argv) { return krelmix::Run(argc > 1 ? argv[1] : L"K:"); }
