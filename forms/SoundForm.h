#pragma once
// The sound editor TSoundFRM: for each of the six event sounds the WAV file and whether the event
// plays it, a try-out of the selected file, and section Soundz written at once by "Сохранить".
// Opened modally by the options dialog's "Настроить звуки".
#include <windows.h>

#include <functional>
#include <optional>
#include <string>

#include "common/SoundRows.h"
#include "common/WavePlayer.h"
#include "platform/SoundOutput.h"
#include "settings/SettingsFile.h"
#include "skin/ImageForm.h"
#include "toolkit/CheckListBox.h"
#include "toolkit/Form.h"
#include "toolkit/Gdi.h"
#include "toolkit/GraphicControl.h"

namespace krelmix {

struct SoundEditorServices {
  SettingsFile& settings;
  SoundOutput& sound;
};

class TSoundFRM : public Form {
 public:
  explicit TSoundFRM(const SoundEditorServices& services);

  // Creates the editor owned by `owner` (the options dialog), centred on the main window,
  // runs it modally and frees it; returns the modal result.
  static int Execute(HWND owner, const SoundEditorServices& services);

  // Asks the user for a WAV file; the full path, or nothing when the user cancelled. The common
  // file-open dialog; replaceable for the window tests.
  std::function<std::optional<std::wstring>(HWND owner)> chooseSoundFile;

 protected:
  void CreateControls() override;

 private:
  void CreateSkin();
  void CreateLabels();
  void CreateButtons();
  void CreateList();
  void CentreOnMainWindow();

  void FormActivate();       // loads the rows from the settings file
  void SpeedButton1Click();  // "Сохранить"
  void SpeedButton2Click();  // "Отменить"
  void SpeedButton3Click();  // "Проба"
  void SpeedButton5Click();  // "Обзор"
  void StopBeingTopmost();
  SoundRows Rows() const;

  SoundEditorServices services_;
  WavePlayer SRWavePlayer1;  // tries a file out without waiting for its end
  Font font_;
  Font headingFont_;
  TfcImageForm fcImageForm1;
  Label Label1{L"Label1", {8, 8, 139, 21}};    // "Событие"
  Label Label2{L"Label2", {130, 8, 350, 21}};  // "Звуковой файл"
  Label Label3{L"Label3", {10, 26, 130, 39}};  // the six events, each beside its row
  Label Label4{L"Label4", {10, 39, 130, 52}};
  Label Label5{L"Label5", {10, 52, 130, 65}};
  Label Label6{L"Label6", {10, 65, 130, 78}};
  Label Label7{L"Label7", {10, 78, 130, 91}};
  Label Label8{L"Label8", {10, 91, 130, 104}};
  CheckListBox RxCheckListBox1{L"RxCheckListBox1"};                 // the files and their ticks, one row per event
  SpeedButton SpeedButton3{L"SpeedButton3", {24, 208, 104, 233}};   // "Проба"
  SpeedButton SpeedButton4{L"SpeedButton4", {139, 208, 219, 233}};  // "Нет"
  SpeedButton SpeedButton5{L"SpeedButton5", {253, 208, 333, 233}};  // "Обзор"
  SpeedButton SpeedButton1{L"SpeedButton1", {72, 250, 152, 275}};   // "Сохранить"
  SpeedButton SpeedButton2{L"SpeedButton2", {214, 250, 294, 275}};  // "Отменить"
};

}  // namespace krelmix
