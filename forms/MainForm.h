#pragma once
// The main window TForm1: the only window alive for the whole run. Every user action is a press
// of one of its buttons. The program makes what it works with (the services, the state, the
// settings file, the engine and the engine's view of this window) and hands them in.
#include <windows.h>

#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "cleanup/CleanupEngine.h"
#include "cleanup/DriveList.h"
#include "common/ProgramState.h"
#include "common/WavePlayer.h"
#include "forms/FoundListAdapter.h"
#include "forms/MainWindowView.h"
#include "platform/AnsiCodec.h"
#include "platform/AutostartRegistry.h"
#include "platform/Clock.h"
#include "platform/Drives.h"
#include "platform/FileSystem.h"
#include "platform/SettingsStorage.h"
#include "platform/SoundOutput.h"
#include "settings/SettingsFile.h"
#include "skin/ImageForm.h"
#include "toolkit/CheckListBox.h"
#include "toolkit/Form.h"
#include "toolkit/Gdi.h"
#include "toolkit/GlobalHotKey.h"
#include "toolkit/GraphicControl.h"
#include "toolkit/Panel.h"
#include "toolkit/ShapeHint.h"

namespace krelmix {

// What the main window works through: the program's entry hands it the Win32 implementations, a
// window test its own. They outlive the window.
struct MainFormServices {
  SoundOutput& sound;
  FileSystem& fileSystem;
  Drives& drives;
  SettingsStorage& settingsStorage;
  const AnsiCodec& codec;
  Clock& clock;
  AutostartRegistry& autostart;
};

// The program's state and what works on it; the settings file is the one in state.ExeDir.
struct MainFormParts {
  ProgramState& state;
  SettingsFile& settings;
  CleanupEngine& engine;
  MainWindowView& view;  // the engine's view, bound to this window's controls when it creates them
};

class TForm1 : public Form {
 public:
  // previousInstance: another copy of this executable runs (the single-instance mutex existed).
  TForm1(HWND applicationWindow, std::vector<std::wstring> args, bool previousInstance,
         const MainFormServices& services, const MainFormParts& parts);
  ~TForm1() override;

  // Creates the window and runs FormCreate; the window is shown by the caller unless a run hid it.
  void Load();
  bool ShowOnStart() const { return showOnStart_; }
  // An end asked for while the window loaded (a second copy, the help box, an unattended run).
  // It is remembered and posted by the caller once loading is over: a quit request waiting in the
  // queue would end the message pumping of every run the command line still asks for.
  bool EndRequested() const { return endRequested_; }
  ProgramState& State() { return state_; }

 protected:
  void CreateControls() override;
  void ScaleChanged() override;
  void OnDestroyed() override;

 private:
  void CreateSkin();
  void LoadPictures();
  void CreateFonts();
  void CreateButtons();
  void CreateLists();
  void CreateBannersAndPanels();

  void FormCreate();    // start-up: drive list, settings, command line
  void FormActivate();  // the start sound (or, in an unattended temp run, hiding the application)
  void FormClose();     // frees the lists and plays the exit sound to its end
  void ProcessCommandLine();
  void ShowDriveLines();
  void CheckListBox1Click();       // drive list: stores the drives' ticks in the settings file
  void CheckListBox1DblClick();    // drive list: toggles the line's tick
  void RxCheckListBox1DblClick();  // found list: toggles the line's tick
  void SpeedButton1Click();        // "О...": the About window
  void SpeedButton2Click();        // "Поиск": search the ticked drives
  void SpeedButton3Click();        // "Удалить": delete the ticked finds
  void SpeedButton4Click();        // "Стоп": ask, then stop the running walk
  void SpeedButton5Click();        // "Очистка": search and delete at once
  void SpeedButton6Click();        // "TMP": empty the temporary folder
  void SpeedButton7Click();        // "Выход": close the program
  void SpeedButton8Click();        // "Настройки": the options dialog
  void OpenRestoreWindow();        // Ctrl+Z, or a click on the status line
  // Asked before a key that deletes presses its button; true when answered "Да".
  bool AskBeforeKey(const wchar_t* question);
  std::vector<MainCommand> Commands();
  // Runs one engine command; a close asked for while it ran is carried out once it has returned.
  template <typename Command>
  void RunCommand(Command command);
  bool FormCloseQuery();
  void EndWithoutSettings(const SettingsReadError& error);
  bool RunNightFly();  // false: the settings file could not be read, the program ends
  bool RunNightTrash();
  void RequestEnd() { endRequested_ = true; }
  void HideTaskbarEntry();

  void Image1Click();  // the banners open their web addresses
  void Image3Click();

  void LoadComponents();
  void LMDGlobalHotKey1KeyDown();  // Alt+X closes the window

  ShapeHint LMDShapeHint1;  // the program's tooltips, from the moment this window is loaded
  HWND application_;
  std::vector<std::wstring> args_;
  bool previousInstance_;
  bool showOnStart_ = true;
  bool endRequested_ = false;
  MainFormServices services_;
  ProgramState& state_;
  SettingsFile& settings_;
  CleanupEngine& engine_;
  MainWindowView& view_;
  std::vector<DriveLine> driveLines_;
  std::unique_ptr<FoundListAdapter> foundList_;  // the engine's finds in RxCheckListBox1
  WavePlayer SRWavePlayer1;                      // plays the event sounds
  GlobalHotKey LMDGlobalHotKey1;                 // Alt+X, system-wide

  TfcImageForm fcImageForm1;                  // the skin: outline, picture, dragging
  std::vector<Bitmap> pictures_;              // glyphs and banners, alive as long as the controls showing them
  Font font_;                                 // "MS Sans Serif" 8 points, the window's default
  Font listFont_;                             // "Courier New" 8 points, Cyrillic, for the found list
  std::unique_ptr<TextMeter> listFontMeter_;  // the status line is shortened in the list's font
  // The command bar: SpeedButton1 "О..." (About), 2 "Поиск", 3 "Удалить", 4 "Стоп", 5 "Очистка",
  // 6 "TMP", 8 "Настройки" (Settings), 7 "Выход".
  SpeedButton SpeedButton1{L"SpeedButton1"};
  SpeedButton SpeedButton2{L"SpeedButton2"};
  SpeedButton SpeedButton3{L"SpeedButton3"};
  SpeedButton SpeedButton4{L"SpeedButton4"};
  SpeedButton SpeedButton5{L"SpeedButton5"};
  SpeedButton SpeedButton6{L"SpeedButton6"};
  SpeedButton SpeedButton8{L"SpeedButton8"};
  SpeedButton SpeedButton7{L"SpeedButton7"};
  CheckListBox CheckListBox1{L"CheckListBox1"};  // the drive list
  Image Image1{L"Image1"};                       // the two web banners
  Image Image3{L"Image3"};
  Panel Panel2{L"Panel2"};                           // the counters
  Label Label1{L"Label1"};                           // "Каталогов:" and the folder count
  Label Label2{L"Label2"};                           // "Файлов:" and the file count
  CheckListBox RxCheckListBox1{L"RxCheckListBox1"};  // the found list
  Panel Panel1{L"Panel1"};                           // the status line
};

}  // namespace krelmix
