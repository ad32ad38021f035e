// The settings file against its size: files of many keys, and one of 20 MB, read and used as an
// unattended /nightfly run uses them (masks, exclusions, the follow option), over a small tree
// held in memory. A reader that is linear in the file shows the same time per thousand keys at
// every size. Run by bench/settings.sh.
#include <chrono>
#include <cstdio>
#include <string>

#include "../tests/unit/FakeStorage.h"
#include "../tests/unit/MemoryFileSystem.h"
#include "../tests/unit/RecordingView.h"
#include "cleanup/CleanupEngine.h"

using namespace krelmix;

namespace {
class StillClock : public Clock {
 public:
  TimeOfDay Now() override { return {}; }
  uint64_t SteadyMilliseconds() override { return 0; }
  uint64_t WallTime() override { return 0; }
};

// `keys` switched-off masks with a few used ones among them, and a tenth as many exclusions.
std::string ManyKeys(size_t keys, size_t nameLength) {
  std::string text = "[Area]\r\nT=1\r\n[Options]\r\n1=0\r\n[Kill]\r\n";
  const std::string padding(nameLength > 12 ? nameLength - 12 : 0, 'x');
  for (size_t i = 0; i < keys; ++i) {
    text += "*." + padding + std::to_string(i) + (i % 50000 == 7 ? "=1\r\n" : "=0\r\n");
  }
  text += "*.tmp=1\r\n[ExcludeDir]\r\n";
  for (size_t i = 0; i < keys / 10; ++i) text += "T:\\excluded\\" + std::to_string(i) + "=0\r\n";
  return text;
}

// Milliseconds for one read-and-use: the best of three.
double NightFlyMs(const std::string& bytes, size_t& found) {
  double best = 1e18;
  for (int round = 0; round < 3; ++round) {
    test::FakeStorage storage;
    storage.files[L"P:\\Krelmix.ini"] = bytes;
    Cp1251Codec codec;
    SettingsFile settings(storage, codec, L"P:\\Krelmix.ini");
    test::MemoryFileSystem fs;
    for (int i = 0; i < 20; ++i) fs.AddFile(L"T:\\d" + std::to_wstring(i) + L"\\f.tmp", 1);
    test::RecordingView view;
    StillClock clock;
    ProgramState state;
    state.ExeDir = L"P:\\";
    CleanupEngine engine(state, fs, view, settings, clock);
    const auto start = std::chrono::steady_clock::now();
    engine.NightFly({false, {L"T:"}});
    const double ms = std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count();
    found = fs.removedFiles.size();
    if (ms < best) best = ms;
  }
  return best;
}
}  // namespace

int main() {
  std::printf("%-22s %8s %6s %8s %8s %6s\n", "settings file", "keys", "MB", "ms", "ms/1000", "ms/MB");
  for (size_t keys : {10000u, 20000u, 40000u, 100000u}) {
    const std::string bytes = ManyKeys(keys, 12);
    size_t found = 0;
    const double ms = NightFlyMs(bytes, found);
    std::printf("%-22s %8zu %6.1f %8.1f %8.3f %6.1f  (%zu deleted)\n", "many disabled masks", keys, bytes.size() / 1e6,
                ms, ms * 1000 / keys, ms * 1e6 / bytes.size(), found);
  }
  const size_t bigKeys = 20'000'000 / 110;
  const std::string big = ManyKeys(bigKeys, 100);
  size_t found = 0;
  const double ms = NightFlyMs(big, found);
  std::printf("%-22s %8zu %6.1f %8.1f %8.3f %6.1f  (%zu deleted)\n", "20 MB of long masks", bigKeys, big.size() / 1e6,
              ms, ms * 1000 / bigKeys, ms * 1e6 / big.size(), found);
  std::printf("linear: the time per megabyte stays flat as the file grows\n");
  return 0;
}
