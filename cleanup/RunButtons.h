#pragma once
// Which of the main window's buttons a run leaves usable. The engine only says that a run of some
// kind starts and ends (CleanupView::RunStarts/RunEnds); this rule, kept portable so the unit
// tests' view applies it too, decides what that means for the buttons.
#include <array>
#include <cstddef>

namespace krelmix {

// The main window's buttons, numbered as SpeedButton1..SpeedButton8.
enum class MainButton { About = 1, Search = 2, Delete = 3, Stop = 4, Clean = 5, Tmp = 6, Exit = 7, Settings = 8 };

enum class RunKind {
  Search,       // "Поиск"
  Deletion,     // "Удалить": a deletion pass over the found list
  Clean,        // "Очистка": a search and the deletion of its finds
  TempCleanup,  // "TMP": the emptying of the temporary folder
};

// What a run ended with, as far as the buttons care.
struct RunEnd {
  bool completed = true;         // false: the run could not start (a settings file it cannot read)
  bool findsListed = false;      // the found list holds lines
  bool deletionStopped = false;  // a deletion pass ended at a stop, lines may still be ticked
};

class MainButtonRule {
 public:
  // As the window opens: everything but "Удалить" and "Стоп".
  MainButtonRule();

  // While a run goes on the window answers, and "Стоп" is the one command left ("О..." keeps its
  // state; "Очистка" leaves "Настройки" as it was).
  void RunStarts(RunKind kind);
  // Afterwards "Удалить" serves the finds still listed or ticked; after "TMP" it is as before.
  void RunEnds(RunKind kind, const RunEnd& end);

  bool Enabled(MainButton button) const { return enabled_[static_cast<size_t>(button)]; }

 private:
  void Set(MainButton button, bool enabled) { enabled_[static_cast<size_t>(button)] = enabled; }
  void SwitchCommands(RunKind kind, bool enabled);

  std::array<bool, 9> enabled_{};  // by MainButton; [0] unused
  bool deleteBefore_ = false;
};

}  // namespace krelmix
