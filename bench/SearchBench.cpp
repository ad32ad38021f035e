// Times the engine's search and deletion pass against the bare file-system work they cannot
// avoid, all in one run over the same generated tree, and prints the ratios. The engine reports to
// a view that keeps the finds in memory and shows nothing; the real window's cost is measured on
// the real program by program_bench.
//   search_bench [root]   (root defaults to K:, the drive bench/run.sh maps to its tree)
// BENCH_PUMP_MS sets the pump interval (bench/QuietEngine.h); BENCH_PROFILE=1 adds runs without
// pumping and with pumping at every pump point; BENCH_ONLY=floor, engine or kept times that deletion
// alone, once (for a profiler).
#include <windows.h>

#include <cstdio>
#include <functional>
#include <string>
#include <vector>

#include "bench/BenchTools.h"
#include "bench/QuietEngine.h"
#include "restore/KeptRuns.h"

namespace krelmix {
namespace {

int Run(const std::wstring& root) {
  using namespace bench;
  std::setvbuf(stdout, nullptr, _IONBF, 0);
  EngineBench bench;
  bench.root = root;
  std::printf("warming the cache: %zu entries\n", BareWalk(root));
  if (const wchar_t* only = _wgetenv(L"BENCH_ONLY")) {
    QuietView view;
    bench.Search(view);
    const std::vector<std::wstring> paths = bench.found;
    CreateFiles(paths);
    const std::wstring kind = only;
    size_t gone = 0;
    const double t = kind == L"floor"  ? Time([&] { gone = FloorDelete(paths); })
                     : kind == L"kept" ? bench.SearchThenDelete(view, bench.fs)
                                       : bench.SearchThenDelete(view, bench.forGood);
    std::printf("%ls: %.3f s\n", only, t);
    if (kind == L"floor") std::printf("%zu of %zu gone\n", gone, paths.size());
    CreateFiles(paths);
    return 0;
  }
  double bare = 0, quiet = 0;
  const int rounds = 4;
  QuietView quietView;
  // Interleaved, and in turned order every other round, so that caches favour no one.
  for (int round = 0; round < rounds; ++round) {
    if (round % 2 == 0) bare += Time([&] { BareWalk(root); });
    quiet += bench.Search(quietView);
    if (round % 2 == 1) bare += Time([&] { BareWalk(root); });
  }
  const std::vector<std::wstring> found = bench.found;
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

  // Deletion: the same files deleted by a bare loop, by the least checked loop, by the engine for
  // good and by the engine keeping them, each on fresh copies, in turned order every round; the
  // kept ones are then put back.
  double bareDelete = 0, floorDelete = 0, engineDelete = 0, keptDelete = 0, restore = 0;
  size_t restored = 0, floorGone = 0;
  for (int round = 0; round < rounds; ++round) {
    for (int turn = 0; turn < 4; ++turn) {
      CreateFiles(found);
      switch ((turn + round) % 4) {
        case 0:
          bareDelete += Time([&] { BareDelete(found); });
          break;
        case 1:
          floorDelete += Time([&] { floorGone += FloorDelete(found); });
          break;
        case 2:
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
  std::printf("checked delete floor  %8.3f s   %zu of %zu gone a round\n", floorDelete / rounds, floorGone / rounds,
              found.size());
  // A floor that deletes less than everything measures less than the work: its ratio would flatter.
  if (floorGone != found.size() * rounds) std::printf("THE FLOOR DID NOT DELETE EVERY FILE: its ratio is void\n");
  std::printf("deletion, quiet view  %8.3f s   ratio %.2f to bare, %.2f to the floor\n", engineDelete / rounds,
              engineDelete / bareDelete, engineDelete / floorDelete);
  std::printf("deletion kept         %8.3f s   ratio to deletion %.2f\n", keptDelete / rounds,
              keptDelete / engineDelete);
  std::printf("restoring %zu files %8.3f s   ratio to kept deletion %.2f\n", restored / rounds, restore / rounds,
              restore / keptDelete);
  std::printf("killed %llu, failed %llu\n", static_cast<unsigned long long>(bench.state.KilledFiles),
              static_cast<unsigned long long>(bench.state.FailedFiles));
  Figure("search in the engine / bare enumeration", quiet / bare, "", 1.05);
  Figure("deletion in the engine / bare DeleteFileW loop", engineDelete / bareDelete, "", 1.6);
  Figure("deletion in the engine / checked deletion floor", engineDelete / floorDelete, "", 1.15);
  Figure("deletion kept to be put back / deletion for good, in the engine", keptDelete / engineDelete, "", 1.15);
  Figure("putting the kept files back / deleting them", restore / keptDelete, "", 2);
  CreateFiles(found);  // the tree is left as it was generated
  return 0;
}

}  // namespace
}  // namespace krelmix

int wmain(int argc, wchar_t** argv) { return krelmix::Run(argc > 1 ? argv[1] : L"K:"); }
