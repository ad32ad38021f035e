#pragma once
// The emptying of the temporary folder: "TMP" in the window and the unattended /nighttrash.
#include <cstdint>
#include <string>

#include "cleanup/EngineContext.h"
#include "cleanup/TempFolderGuard.h"

namespace krelmix {

// What the result window TDirKillerForm2 shows.
struct TempCleanResult {
  TempOutcome outcome = TempOutcome::Cleaned;
  uint64_t removedDirs = 0;  // Label4
  uint64_t killedFiles = 0;  // Label5
  uint64_t killedBytes = 0;  // Label6 shows killedBytes / 1024 followed by " Kb"
  uint64_t failedDirs = 0;   // Label9
  uint64_t failedFiles = 0;  // Label10
};

inline constexpr wchar_t kTempFolderError[] = L"Ошибка размещения папки временных файлов!";

class TempCleanup {
 public:
  explicit TempCleanup(EngineContext& run) : run_(run) {}

  // "TMP": asks (WarnTmp), refuses with a message, empties, showing each folder in the status
  // line; "Стоп" (StopFlag) ends it between files.
  TempCleanResult Clean();
  // Sets TmpDir and empties it silently.
  TempCleanResult NightTrash();

 private:
  bool KeepCleaning();
  void KillDirFiles(const std::wstring& dir);
  void KillDirTree(const std::wstring& dir);
  void CountFolderRemoval(bool removed);
  void ResetCounters();
  TempCleanResult Result(TempOutcome outcome) const;

  EngineContext& run_;
};

}  // namespace krelmix
