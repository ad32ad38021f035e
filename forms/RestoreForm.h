#pragma once
// The restore window "Восстановление": the runs whose deletions are kept, newest first and the
// newest chosen, with the chosen run's files beneath. "Вернуть" (Enter) puts the chosen run's
// files back, "Удалить навсегда" deletes them for good after a question, "Закрыть" (Esc) closes.
// Made when it is opened and freed when it closes; what is kept is read from the disks each time.
#include <windows.h>

#include <string>
#include <vector>

#include "platform/Drives.h"
#include "platform/FileSystem.h"
#include "restore/KeptRuns.h"
#include "skin/ImageForm.h"
#include "toolkit/CheckListBox.h"
#include "toolkit/Form.h"
#include "toolkit/Gdi.h"
#include "toolkit/GraphicControl.h"
#include "toolkit/LinkLabel.h"

namespace krelmix {

// The text lines of the window, kept apart from the window so their form can be checked alone.
std::wstring RunLine(const KeptRun& run);
std::wstring FileLine(const KeptFile& file);
std::wstring KeptTotalText(const std::vector<KeptRun>& runs);
// What a restore or purge did, for the message after it; empty when every file went as asked.
std::wstring OutcomeReport(const std::vector<FileResult>& results, FileOutcome wanted);

class TRestoreForm : public Form {
 public:
  TRestoreForm(FileSystem& fs, Drives& drives);
  // Shows the window modally over its owner; returns when it is closed.
  static void Execute(HWND owner, FileSystem& fs, Drives& drives);

 protected:
  void CreateControls() override;

 private:
  void CreateSkin();
  void CreateButtons();
  void Reload(size_t chosen);
  void ShowChosenRun();
  const KeptRun* ChosenRun() const;
  void RestoreClick();
  void PurgeClick();

  FileSystem& fs_;
  Drives& drives_;
  std::vector<KeptRun> runs_;
  TfcImageForm fcImageForm1;
  Font titleFont_, listFont_, textFont_;
  LinkLabel TitleLabel{L"TitleLabel"};
  CheckListBox RunsList{L"RunsList"};
  CheckListBox FilesList{L"FilesList"};
  Label KeptLabel{L"KeptLabel"};
  SpeedButton RestoreButton{L"RestoreButton"};
  SpeedButton PurgeButton{L"PurgeButton"};
  SpeedButton CloseButton{L"CloseButton"};
};

}  // namespace krelmix
