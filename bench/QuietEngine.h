#pragma once
// The cleanup engine by itself in a benchmark: over the real file system, with settings held in
// memory and a view that shows nothing. What the engine costs, its found list included, without
// any window.
// BENCH_PUMP_MS sets the pump interval (default 15 ms, 0 reads the queue at every pump point).
#include <windows.h>

#include <cstdlib>
#include <string>
#include <vector>

#include "bench/BenchTools.h"
#include "cleanup/CleanupEngine.h"
#include "platform/win32/Win32Clock.h"
#include "platform/win32/Win32FileSystem.h"
#include "toolkit/MessagePump.h"

namespace krelmix::bench {

inline uint32_t PumpInterval() {
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

// Nothing shown: what the engine costs by itself, its found list included.
class QuietView : public CleanupView {
 public:
  explicit QuietView(uint32_t interval = PumpInterval()) : pump_(interval) {}
  bool pump = true;
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

struct EngineBench {
  std::wstring root;
  ProgramState state;
  Win32FileSystem fs;
  NoKeepFileSystem forGood;
  Win32Clock clock;
  Cp1251Codec codec;
  MemoryStorage storage{"[Kill]\r\n*.tmp=1\r\n*.bak=1\r\n[Options]\r\n1=1\r\n"};
  SettingsFile settings{storage, codec, L"K:\\nowhere\\Krelmix.ini"};

  std::vector<std::wstring> found;  // the paths the last search found

  double Search(CleanupView& view) {
    CleanupEngine engine(state, fs, view, settings, clock);
    const double time = bench::Time([&] { engine.SearchClick({false, {root}}); });
    found.clear();
    for (size_t i = 0; i < engine.Finds().Count(); ++i) found.push_back(engine.Finds().Path(i));
    return time;
  }
  // The found files deleted through the engine, every find ticked (as a search leaves them). The
  // engine deletes only what its own search found (each find's identity is checked), so an
  // untimed search comes first.
  double SearchThenDelete(CleanupView& view, FileSystem& through) {
    CleanupEngine engine(state, through, view, settings, clock);
    engine.SearchClick({false, {root}});
    return bench::Time([&] { engine.DeleteClick(); });
  }
};

}  // namespace krelmix::bench
