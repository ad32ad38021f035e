#pragma once
// The sound editor TSoundFRM: for each of the six event sounds the WAV file and whether the event
// plays it, a try-out of the selected file, and the stored sound list written at once by "Сохранить".
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
  Label Label1{L"Label1"};  // "Событие"
  Label Label2{L"Label2"};  // "Звуковой файл"
  Label Label3{L"Label3"};  // the six events, each beside its row
  Label Label4{L"Label4"};
  Label Label5{L"Label5"};
  Label Label6{L"Label6"};
  Label Label7{L"Label7"};
  Label Label8{L"Label8"};
  CheckListBox RxCheckListBox1{L"RxCheckListBox1"};  // the files and their ticks, one row per event
  SpeedButton SpeedButton3{L"SpeedButton3"};         // "Проба"
  SpeedButton SpeedButton4{L"SpeedButton4"};         // "Нет"
  SpeedButton SpeedButton5{L"SpeedButton5"};         // "Обзор"
  SpeedButton SpeedButton1{L"SpeedButton1"};         // "Сохранить"
  SpeedButton SpeedButton2{L"SpeedButton2"};         // "Отменить"
};

}  // namespace krelmix
