// Times the engine's search and deletion pass against the bare file-system work they cannot
// avoid, all in one run over the same generated tree, and prints the ratios. The engine reports to
// a view that keeps the finds in memory and shows nothing; the real window's cost is measured on
// the real program by program_bench.
//   search_bench [root]   (root defaults to K:, the drive bench/run.sh maps to its tree)
// BENCH_PUMP_MS sets the pump interval (default 15 ms, 0 reads the queue at every pump point);
// BENCH_PROFILE=1 adds runs without pumping and with pumping at every pump point.
#include <windows.h>

#include <cstdio>
#include <functional>
#include <string>
#include <vector>

#include "bench/BenchTools.h"
#include "cleanup/CleanupEngine.h"
#include "platform/win32/Win32Clock.h"
#include "platform/win32/Win32FileSystem.h"
#include "restore/KeptRuns.h"
#include "toolkit/MessagePump.h"

namespace krelmix {
namespace {

uint32_t PumpInterval() {
  const wchar_t* text = _wgetenv(L"BENCH_PUMP_MS");
  return text ? static_cast<uint32_t>(_wtoi(text)) : 15;
}

class MemoryStorage : public SettingsStorage {
 public:
  explicit MemoryStorage(std::string text) : text_(std::move(text)) {}
  StoredFile Read(const std::wstring&) override { return {StoredFile::State::Read, text_}; }
  WriteOutcome Write(const std::wstring&, const std::string&) override { return WriteOutcome::Refused; }
  void Pause(unsigned) override {}

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
  void RunStarts(RunKind) override {}
  void RunEnds(RunKind, const RunEnd&) override {}
  bool PumpMessages() override {
    ++pumps;
    return !pump || pump_.Pump();
  }
  MessagePump pump_;
  bool Ask(QuestionKind, const std::wstring&) override { return true; }
  void ShowMessage(const std::wstring&) override {}
  void PlayEventSound(SoundEvent) override {}
};

// Deletion for good, as where no keep folder can be made.
class NoKeepFileSystem : public Win32FileSystem {
 public:
  std::unique_ptr<KeepFolder> OpenKeepFolder(const std::wstring&, bool) override { return nullptr; }
};

struct Bench {
  std::wstring root;
  ProgramState state;
  Win32FileSystem fs;
  NoKeepFileSystem forGood;
  Win32Clock clock;
  Cp1251Codec codec;
  MemoryStorage storage{"[Kill]\r\n*.tmp=1\r\n*.bak=1\r\n[Options]\r\n1=1\r\n"};
  SettingsFile settings{storage, codec, L"K:\\nowhere\\Krelmix.ini"};

  double Search(CleanupView& view) {
    CleanupEngine engine(state, fs, view, settings, clock);
    return bench::Time([&] { engine.SearchClick({false, {root}}); });
  }
  // The found files deleted through the engine, every line ticked. The engine deletes only what
  // its own search found (each find's identity is checked), so an untimed search comes first.
  double SearchThenDelete(CleanupView& view, FileSystem& through) {
    CleanupEngine engine(state, through, view, settings, clock);
    engine.SearchClick({false, {root}});
    for (size_t i = 0; i < view.FoundCount(); ++i) view.SetFoundTicked(i, true);
    return bench::Time([&] { engine.DeleteClick(); });
  }
};

int Run(const std::wstring& root) {
  using namespace bench;
  std::setvbuf(stdout, nullptr, _IONBF, 0);
  Bench bench;
  bench.root = root;
  std::printf("warming the cache: %zu entries\n", BareWalk(root));
  double bare = 0, quiet = 0;
  const int rounds = 4;
  QuietView quietView;
  // Interleaved, and in turned order every other round, so that caches favour no one.
  for (int round = 0; round < rounds; ++round) {
    if (round % 2 == 0) bare += Time([&] { BareWalk(root); });
    quiet += bench.Search(quietView);
    if (round % 2 == 1) bare += Time([&] { BareWalk(root); });
  }
  const std::vector<std::wstring> found = quietView.lines;
  if (_wgetenv(L"BENCH_PROFILE")) {
    QuietView silent, eager(0);
    silent.pump = false;
    const double nopump = bench.Search(silent), everyPump = bench.Search(eager);
    const double b = bare / rounds;
    std::printf("profile: no pumping %.2f, pumping every time %.2f (ratios to bare)\n", nopump / b, everyPump / b);
  }
  std::printf("tree: %llu folders below the root, %zu finds\n", static_cast<unsigned long long>(bench.state.DirCount),
              found.size());
  std::printf("bare enumeration      %8.3f s\n", bare / rounds);
  std::printf("search, quiet view    %8.3f s   ratio %.2f\n", quiet / rounds, quiet / bare);

  // Deletion: the same files deleted by a bare loop, by the engine for good and by the engine
  // keeping them, each on fresh copies; the kept ones are then put back.
  double bareDelete = 0, engineDelete = 0, keptDelete = 0, restore = 0;
  size_t restored = 0;
  for (int round = 0; round < rounds; ++round) {
    for (int turn = 0; turn < 3; ++turn) {
      CreateFiles(found);
      switch ((turn + round) % 3) {
        case 0:
          bareDelete += Time([&] { BareDelete(found); });
          break;
        case 1:
          engineDelete += bench.SearchThenDelete(quietView, bench.forGood);
          break;
        default:
          keptDelete += bench.SearchThenDelete(quietView, bench.fs);
          const std::vector<KeptRun> runs = ListRuns(bench.fs, {root});
          if (!runs.empty()) restore += Time([&] { restored += Restore(bench.fs, runs[0]).size(); });
          for (const KeptRun& run : ListRuns(bench.fs, {root})) Purge(bench.fs, run);
      }
    }
  }
  const std::wstring keep = KeepFolderOf(bench.fs, root);
  RemoveDirectoryW(keep.c_str());
  RemoveDirectoryW(keep.substr(0, keep.rfind(L'\\')).c_str());
  std::printf("bare delete loop      %8.3f s\n", bareDelete / rounds);
  std::printf("deletion, quiet view  %8.3f s   ratio %.2f\n", engineDelete / rounds, engineDelete / bareDelete);
  std::printf("deletion kept         %8.3f s   ratio to deletion %.2f\n", keptDelete / rounds,
              keptDelete / engineDelete);
  std::printf("restoring %zu files %8.3f s   ratio to kept deletion %.2f\n", restored / rounds, restore / rounds,
              restore / keptDelete);
  std::printf("killed %llu, failed %llu\n", static_cast<unsigned long long>(bench.state.KilledFiles),
              static_cast<unsigned long long>(bench.state.FailedFiles));
  Figure("search in the engine / bare enumeration", quiet / bare, "", 1.05);
  Figure("deletion in the engine / bare DeleteFileW loop", engineDelete / bareDelete, "", 1.6);
  Figure("deletion kept to be put back / deletion for good, in the engine", keptDelete / engineDelete, "", 1.15);
  Figure("putting the kept files back / deleting them", restore / keptDelete, "", 2);
  CreateFiles(found);  // the tree is left as it was generated
  return 0;
}

}  // namespace
}  // namespace krelmix

int wmain(int argc, wchar_t** argv) { return krelmix::Run(argc > 1 ? argv[1] : L"K:"); }
