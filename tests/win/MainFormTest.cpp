// The main window in this process, with its services replaced: a sound output that records
// instead of playing (the start and exit sounds come at the right moments, and the close waits for
// the exit sound), and a file system, drives and settings held in memory.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <memory>

#include "../unit/FakeAutostart.h"
#include "../unit/FakeStorage.h"
#include "../unit/MemoryFileSystem.h"
#include "KeyPress.h"
#include "ScaleChange.h"
#include "ScreenReader.h"
#include "forms/FormSkin.h"
#include "forms/MainForm.h"
#include "forms/OptionsForm.h"
#include "platform/SoundOutput.h"
#include "platform/win32/Win32AnsiCodec.h"
#include "platform/win32/Win32Clock.h"
#include "platform/win32/Win32Drives.h"
#include "platform/win32/Win32FileSystem.h"
#include "platform/win32/Win32SettingsStorage.h"
#include "resources/ResourceIds.h"
#include "skin/RegionData.h"
#include "toolkit/ErrorReport.h"

namespace krelmix {
namespace {

std::wstring ProgramFolder() {
  wchar_t path[MAX_PATH] = {};
  GetModuleFileNameW(nullptr, path, MAX_PATH);
  std::wstring folder = path;
  return folder.substr(0, folder.find_last_of(L'\\') + 1);
}

// Writes the settings file the window reads from this test program's folder, and removes it.
class SettingsBesideProgram {
 public:
  explicit SettingsBesideProgram(const std::string& text) : path_(ProgramFolder() + L"Krelmix.ini") {
    std::ofstream(std::filesystem::path(path_), std::ios::binary) << text;
  }
  ~SettingsBesideProgram() { DeleteFileW(path_.c_str()); }

 private:
  std::wstring path_;
};

struct Played {
  std::wstring path;
  bool asynchronous;
  bool windowVisible;
};

// Holds the thread for a while, as a real synchronous sound does.
class RecordingSound : public SoundOutput {
 public:
  HWND watched = nullptr;
  std::vector<Played> played;
  void PlayFile(const std::wstring& path, bool asynchronous, bool) override {
    played.push_back({path, asynchronous, IsWindow(watched) && IsWindowVisible(watched)});
    Sleep(200);
  }
  void StopAll() override {}
};

// What the program makes for its main window besides the services, made as the program makes it.
struct MainProgram {
  explicit MainProgram(const MainFormServices& given) : services(given) { state.ExeDir = ProgramFolder(); }
  TForm1& Window(HWND owner, std::vector<std::wstring> args = {}, bool previousInstance = false) {
    form.emplace(owner, std::move(args), previousInstance, services, MainFormParts{state, settings, engine, view});
    return *form;
  }
  MainFormServices services;
  ProgramState state;
  SettingsFile settings{services.settingsStorage, services.codec, ProgramFolder() + L"Krelmix.ini"};
  MainWindowView view{state};
  CleanupEngine engine{state, services.fileSystem, view, settings, services.clock};
  std::optional<TForm1> form;
};

// The real services but for the sound.
struct Win32Services {
  Win32FileSystem fileSystem;
  Win32Drives drives;
  Win32SettingsStorage settingsStorage;
  Win32AnsiCodec codec;
  Win32Clock clock;
  test::FakeAutostart autostart;
  MainFormServices With(SoundOutput& sound) {
    return {sound, fileSystem, drives, settingsStorage, codec, clock, autostart};
  }
};

void Pump(int milliseconds) {
  for (int waited = 0; waited < milliseconds; waited += 10) {
    MSG msg;
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
      if (msg.message == WM_QUIT) continue;  // the window's end request, meant for a program loop
      TranslateMessage(&msg);
      DispatchMessageW(&msg);
    }
    Sleep(10);
  }
}

const char kSoundsOn[] =
    "[Options]\r\n0=0\r\n[UseSoundz]\r\nSubj=1\r\n"
    "[Soundz]\r\nstart.wav=1\r\nexit.wav=1\r\ntmp.wav=1\r\nnothing.wav=1\r\nfound.wav=1\r\nkilled.wav=1\r\n";

// Stands in for the program's hidden application window.
HWND HiddenOwner() {
  WNDCLASSW wc{};
  wc.lpfnWndProc = DefWindowProcW;
  wc.hInstance = GetModuleHandleW(nullptr);
  wc.lpszClassName = L"MainFormTestOwner";
  RegisterClassW(&wc);
  return CreateWindowExW(0, wc.lpszClassName, L"", WS_POPUP, 0, 0, 0, 0, nullptr, nullptr, wc.hInstance, nullptr);
}

TEST(MainFormSounds, StartSoundOnFirstActivationAndCloseWaitsForTheExitSound) {
  SettingsBesideProgram settings(kSoundsOn);
  RecordingSound sound;
  HWND owner = HiddenOwner();
  {
    Win32Services services;
    MainProgram program(services.With(sound));
    TForm1& form = program.Window(owner, {}, false);
    form.Load();
    sound.watched = form.Handle();
    form.Show();
    SetForegroundWindow(form.Handle());
    Pump(500);
    ASSERT_EQ(sound.played.size(), 1u);
    EXPECT_EQ(sound.played[0].path, ProgramFolder() + L"start.wav");  // relative to the program
    // Activating the window again does not replay the start sound.
    SetForegroundWindow(owner);
    SetForegroundWindow(form.Handle());
    Pump(200);
    EXPECT_EQ(sound.played.size(), 1u);

    PostMessageW(form.Handle(), WM_CLOSE, 0, 0);
    Pump(600);
    ASSERT_EQ(sound.played.size(), 2u);
    EXPECT_EQ(sound.played[1].path, ProgramFolder() + L"exit.wav");
    EXPECT_FALSE(sound.played[1].asynchronous);
    EXPECT_TRUE(sound.played[1].windowVisible) << "the window went before its exit sound had ended";
    EXPECT_FALSE(form.Exists());
  }
  DestroyWindow(owner);
}

TEST(MainFormSounds, SoundsOffPlaysNothingAtStartOrClose) {
  SettingsBesideProgram settings(
      "[Options]\r\n0=0\r\n[UseSoundz]\r\nSubj=0\r\n[Soundz]\r\nstart.wav=1\r\nexit.wav=1\r\n");
  RecordingSound sound;
  HWND owner = HiddenOwner();
  {
    Win32Services services;
    MainProgram program(services.With(sound));
    TForm1& form = program.Window(owner, {}, false);
    form.Load();
    form.Show();
    SetForegroundWindow(form.Handle());
    Pump(300);
    PostMessageW(form.Handle(), WM_CLOSE, 0, 0);
    Pump(300);
    EXPECT_TRUE(sound.played.empty());
    EXPECT_FALSE(form.Exists());
  }
  DestroyWindow(owner);
}

// Run by a timer inside the options dialog's modal loop: unticks "Использовать звуки", then "Отмена".
void CALLBACK UntickSoundsAndCancel(HWND, UINT, UINT_PTR timer, DWORD) {
  KillTimer(nullptr, timer);
  HWND dialog = FindWindowW(L"TOptionsForm", nullptr);
  SendMessageW(GetDlgItem(dialog, 402), BM_CLICK, 0, 0);
  const LPARAM cancelButton = MAKELPARAM(309, 262);
  PostMessageW(dialog, WM_LBUTTONDOWN, MK_LBUTTON, cancelButton);
  PostMessageW(dialog, WM_LBUTTONUP, 0, cancelButton);
}

TEST(OptionsDialog, CancelTurnsTheSoundsOffInTheRunningProgramOnly) {
  SettingsBesideProgram settings(kSoundsOn);
  RecordingSound sound;
  HWND owner = HiddenOwner();
  {
    Win32Services services;
    MainProgram program(services.With(sound));
    TForm1& form = program.Window(owner, {}, false);
    form.Load();
    form.Show();
    SetForegroundWindow(form.Handle());
    Pump(500);
    ASSERT_TRUE(form.State().UseSounds);
    SetTimer(nullptr, 0, 700, UntickSoundsAndCancel);
    const LPARAM settingsButton = MAKELPARAM(400, 40);
    PostMessageW(form.Handle(), WM_LBUTTONDOWN, MK_LBUTTON, settingsButton);
    PostMessageW(form.Handle(), WM_LBUTTONUP, 0, settingsButton);
    Pump(1500);
    EXPECT_FALSE(FindWindowW(L"TOptionsForm", nullptr));
    EXPECT_FALSE(form.State().UseSounds);
    std::ifstream file(std::filesystem::path(ProgramFolder() + L"Krelmix.ini"), std::ios::binary);
    EXPECT_EQ(std::string(std::istreambuf_iterator<char>(file), {}), kSoundsOn);
    PostMessageW(form.Handle(), WM_CLOSE, 0, 0);
    Pump(600);
    EXPECT_EQ(sound.played.size(), 1u) << "the exit sound played with the sounds switched off";
  }
  DestroyWindow(owner);
}

// Run by a timer inside the message box's own loop: keeps its text and closes it.
std::wstring g_notice;
void CALLBACK ReadAndCloseMessageBox(HWND, UINT, UINT_PTR timer, DWORD) {
  HWND box = FindWindowW(L"#32770", L"Krelmix");
  if (!box) return;
  KillTimer(nullptr, timer);
  wchar_t text[1024] = {};
  GetWindowTextW(GetDlgItem(box, 0xFFFF), text, 1024);
  g_notice = text;
  PostMessageW(box, WM_COMMAND, IDOK, 0);
}

// As under User Account Control: the machine's Run key refuses the user's removal.
TEST(OptionsDialog, AValueAnEarlierVersionLeftForEveryUserIsReportedWhenItStays) {
  test::FakeStorage storage;
  Win32AnsiCodec codec;
  SettingsFile settings(storage, codec, ProgramFolder() + L"Krelmix.ini");
  ProgramState state;
  test::FakeAutostart autostart;
  autostart.machineValues[L"Krelmix2001 TMP"] = L"C:\\Old\\Krelmix.exe /nighttrash";
  autostart.refuseMachineWrites = true;
  RecordingSound sound;
  test::MemoryFileSystem disk;
  TOptionsForm form({state, settings, autostart, sound, L"C:\\Krelmix\\Krelmix.exe", disk});
  form.CreateForm(nullptr);
  const UINT_PTR timer = SetTimer(nullptr, 0, 200, ReadAndCloseMessageBox);
  const LPARAM saveButton = MAKELPARAM(52, 262);
  SendMessageW(form.Handle(), WM_LBUTTONDOWN, MK_LBUTTON, saveButton);
  SendMessageW(form.Handle(), WM_LBUTTONUP, 0, saveButton);  // the save, and its message box within
  KillTimer(nullptr, timer);
  EXPECT_EQ(g_notice, MachineLeftoverNotice({L"Krelmix2001 TMP"}));
  EXPECT_EQ(form.CurrentModalResult(), mrOk);
  EXPECT_EQ(autostart.machineValues.size(), 1u);
}

// One fixed drive T:, as the drive list sees it.
class OneDrive : public Drives {
 public:
  uint32_t LogicalDrives() override { return 1u << ('T' - 'A'); }
  DriveKind Kind(wchar_t) override { return DriveKind::Fixed; }
  std::optional<std::wstring> VolumeLabel(wchar_t) override { return L"scratch"; }
  std::optional<std::wstring> RemoteName(wchar_t) override { return std::nullopt; }
};

// Drive T: in memory; each folder listing may take a while, so that a test can act during a run.
class MemoryDriveT : public test::MemoryFileSystem {
 public:
  DWORD listingMs = 0;
  bool ListFolder(const std::wstring& dir, std::vector<DirEntry>& entries) override {
    Sleep(listingMs);
    return test::MemoryFileSystem::ListFolder(dir, entries);
  }
};

// Every service in memory: drive T: with a file system of its own, and a settings file.
struct MemoryServices {
  RecordingSound sound;
  MemoryDriveT fileSystem;
  OneDrive drives;
  test::FakeStorage storage;
  Win32AnsiCodec codec;
  Win32Clock clock;
  test::FakeAutostart autostart;
  explicit MemoryServices(const std::string& settings) { storage.files[ProgramFolder() + L"Krelmix.ini"] = settings; }
  MainFormServices Get() { return {sound, fileSystem, drives, storage, codec, clock, autostart}; }
};

std::vector<std::wstring> ListLines(HWND list) {
  std::vector<std::wstring> lines;
  const LRESULT count = SendMessageW(list, LB_GETCOUNT, 0, 0);
  for (LRESULT i = 0; i < count; ++i) {
    std::wstring text(static_cast<size_t>(SendMessageW(list, LB_GETTEXTLEN, i, 0)), L'\0');
    SendMessageW(list, LB_GETTEXT, i, reinterpret_cast<LPARAM>(text.data()));
    lines.push_back(text);
  }
  return lines;
}

TEST(MainFormServices, DrivesSettingsAndFilesComeFromTheServicesItIsGiven) {
  MemoryServices services("[Area]\r\nT=1\r\n[Options]\r\n0=0\r\n[Kill]\r\n*.tmp=1\r\n");
  services.fileSystem.AddFile(L"T:\\a.tmp", 10);
  services.fileSystem.AddFile(L"T:\\keep.txt", 10);
  services.fileSystem.AddFile(L"T:\\sub\\b.tmp", 10);
  HWND owner = HiddenOwner();
  {
    MainProgram program(services.Get());
    TForm1& form = program.Window(owner, {}, false);
    form.Load();
    form.Show();
    HWND driveList = GetDlgItem(form.Handle(), 101);
    EXPECT_EQ(ListLines(driveList), std::vector<std::wstring>{L"T: [SCRATCH]"});
    // The search button, pressed and released.
    const LPARAM searchButton = MAKELPARAM(115, 40);
    PostMessageW(form.Handle(), WM_LBUTTONDOWN, MK_LBUTTON, searchButton);
    PostMessageW(form.Handle(), WM_LBUTTONUP, 0, searchButton);
    Pump(500);
    EXPECT_EQ(ListLines(GetDlgItem(form.Handle(), 102)), (std::vector<std::wstring>{L"T:\\a.tmp", L"T:\\sub\\b.tmp"}));
    EXPECT_TRUE(services.fileSystem.Exists(L"T:\\a.tmp"));  // a search deletes nothing
    PostMessageW(form.Handle(), WM_CLOSE, 0, 0);
    Pump(300);
  }
  DestroyWindow(owner);
}

// The rule by which Windows gives a window a button on the taskbar and an entry in Alt+Tab: a
// visible top-level window marked as an application window, or one neither owned nor a tool window.
bool HasTaskbarButton(HWND window) {
  if (!IsWindowVisible(window) || (GetWindowLongPtrW(window, GWL_STYLE) & WS_CHILD)) return false;
  const LONG_PTR exStyle = GetWindowLongPtrW(window, GWL_EXSTYLE);
  if (exStyle & WS_EX_APPWINDOW) return true;
  return !GetWindow(window, GW_OWNER) && !(exStyle & WS_EX_TOOLWINDOW);
}

TEST(MainFormTaskbar, TheMainWindowIsTheOneEntryWithTitleAndIconAndTheUnattendedRunsHaveNone) {
  HWND owner = HiddenOwner();
  {
    MemoryServices services("[Options]\r\n0=0\r\n");
    MainProgram program(services.Get());
    TForm1& form = program.Window(owner, {}, false);
    form.Load();
    form.Show();
    EXPECT_TRUE(HasTaskbarButton(form.Handle()));
    EXPECT_FALSE(HasTaskbarButton(owner));
    wchar_t title[64] = {};
    GetWindowTextW(form.Handle(), title, 64);
    EXPECT_STREQ(title, L"Krelmix");
    EXPECT_NE(GetClassLongPtrW(form.Handle(), GCLP_HICON), 0u);
    // What a click on the taskbar entry sends: minimise, then restore.
    SendMessageW(form.Handle(), WM_SYSCOMMAND, SC_MINIMIZE, 0);
    EXPECT_TRUE(IsIconic(form.Handle()));
    SendMessageW(form.Handle(), WM_SYSCOMMAND, SC_RESTORE, 0);
    EXPECT_FALSE(IsIconic(form.Handle()));
    EXPECT_TRUE(IsWindowVisible(form.Handle()));
  }
  {
    // The temporary folder is the program's own: the window stays up, without an entry.
    MemoryServices services("[Options]\r\n0=0\r\n");
    services.fileSystem.tempPath = ProgramFolder();
    MainProgram program(services.Get());
    TForm1& form = program.Window(owner, {L"/nighttrash"}, false);
    form.Load();
    ASSERT_TRUE(form.ShowOnStart());
    EXPECT_FALSE(form.EndRequested());
    form.Show();
    Pump(300);
    EXPECT_TRUE(IsWindowVisible(form.Handle()));
    EXPECT_FALSE(HasTaskbarButton(form.Handle()));
  }
  DestroyWindow(owner);
}

// A second copy asked to clean empties the temporary folder and then the ticked drives: the end
// that the second-copy rule and the first run ask for waits until the last run is over.
TEST(MainFormEnd, EveryRunOfTheCommandLineHappensBeforeTheEndIsPosted) {
  MemoryServices services("[Area]\r\nT=1\r\n[Options]\r\n0=0\r\n");
  services.fileSystem.AddFile(L"T:\\Temp\\old.txt", 10);
  for (int i = 0; i < 40; ++i) services.fileSystem.AddFile(L"T:\\d" + std::to_wstring(i) + L"\\x.tmp", 10);
  Pump(100);  // takes the end an earlier test's window posted when it went
  HWND owner = HiddenOwner();
  {
    MainProgram program(services.Get());
    TForm1& form = program.Window(owner, {L"/nighttrash", L"/nightfly"}, true);
    form.Load();
    EXPECT_TRUE(form.EndRequested());
    EXPECT_FALSE(form.ShowOnStart());
    EXPECT_FALSE(services.fileSystem.Exists(L"T:\\Temp\\old.txt"));
    int left = 0;
    for (int i = 0; i < 40; ++i) left += services.fileSystem.Exists(L"T:\\d" + std::to_wstring(i) + L"\\x.tmp");
    EXPECT_EQ(left, 0);
    MSG quit;
    EXPECT_FALSE(PeekMessageW(&quit, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE)) << "the end was posted while loading";
  }
  Pump(100);
  DestroyWindow(owner);
}

// A settings file another program holds is waited for a moment and never taken for a missing one:
// a drive tick then writes nothing, the options dialog closes unsaved, and a start-up that cannot
// read it ends before anything is shown, written or deleted, telling the user which file it was
// unless it runs unattended.
TEST(MainFormSettings, AHeldSettingsFileIsWaitedForAndNeverTakenForAMissingOne) {
  const std::string settings = "[Area]\r\nT=1\r\n[Options]\r\n0=0\r\n[Kill]\r\n*.tmp=1\r\n";
  MemoryServices services(settings);
  services.fileSystem.AddFile(L"T:\\a.tmp", 10);
  test::FakeStorage& storage = services.storage;
  const std::wstring path = ProgramFolder() + L"Krelmix.ini";
  std::vector<std::wstring> errors;
  SetErrorReportHandler([&errors](HWND, const std::wstring& text) { errors.push_back(text); });
  const std::vector<std::wstring> unread = {L"Не удалось прочитать файл настроек " + path};
  HWND owner = HiddenOwner();
  {
    storage.heldReads = 3;
    MainProgram program(services.Get());
    TForm1& form = program.Window(owner, {}, false);
    form.Load();
    form.Show();
    HWND driveList = GetDlgItem(form.Handle(), 101);
    EXPECT_EQ(SendMessageW(driveList, LB_GETITEMDATA, 0, 0), 1);  // ticked from the file
    storage.heldReads = test::FakeStorage::kAlways;
    SendMessageW(driveList, WM_LBUTTONUP, 0, MAKELPARAM(30, 6));  // a click on the line writes its ticks
    EXPECT_EQ(errors, unread);
    storage.heldReads = 0;
    PostMessageW(form.Handle(), WM_CLOSE, 0, 0);
    Pump(300);
  }
  for (const std::vector<std::wstring>& args : {std::vector<std::wstring>{}, {L"/nightfly"}, {L"/nighttrash"}}) {
    errors.clear();
    storage.heldReads = test::FakeStorage::kAlways;
    MainProgram program(services.Get());
    TForm1& form = program.Window(owner, args, false);
    form.Load();
    EXPECT_FALSE(form.ShowOnStart());
    EXPECT_TRUE(form.EndRequested());
    EXPECT_EQ(errors, args.empty() ? unread : std::vector<std::wstring>{});
  }
  errors.clear();
  ProgramState state;
  SettingsFile file(storage, services.codec, path);
  EXPECT_EQ(TOptionsForm::Execute(
                owner, {state, file, services.autostart, services.sound, L"C:\\Krelmix.exe", services.fileSystem}),
            mrCancel);
  EXPECT_EQ(errors, unread);
  EXPECT_FALSE(state.UseSounds);
  EXPECT_TRUE(services.autostart.calls.empty());
  EXPECT_EQ(storage.writes, 0);
  EXPECT_EQ(storage.files[path], settings);
  EXPECT_TRUE(services.fileSystem.Exists(L"T:\\a.tmp"));
  SetErrorReportHandler(nullptr);
  Pump(100);
  DestroyWindow(owner);
}

// --- Keys and screen readers.

using test::PressKey;

// The windows a command opened, in order; each is closed (a question answered g_answer, "Нет"
// unless a test says otherwise) by a timer that runs inside its modal loop. g_questions holds
// each question's text and whether "Нет" was its default.
std::vector<std::wstring> g_opened;
WPARAM g_answer = IDNO;
std::vector<std::pair<std::wstring, bool>> g_questions;
void CALLBACK CloseWhatOpens(HWND, UINT, UINT_PTR, DWORD) {
  for (const wchar_t* kind : {L"TAboutForm", L"TOptionsForm", L"TDirKillerForm2"}) {
    HWND window = FindWindowW(kind, nullptr);
    if (!window || !IsWindowVisible(window)) continue;
    g_opened.push_back(kind);
    PostMessageW(window, WM_CLOSE, 0, 0);
  }
  for (const wchar_t* question : {L"Подтверждение", L"Информация"}) {
    HWND box = FindWindowW(L"#32770", question);
    if (!box || !IsWindowVisible(box)) continue;
    g_opened.push_back(question);
    wchar_t text[256] = {};
    GetDlgItemTextW(box, 101, text, 256);
    g_questions.emplace_back(text, LOWORD(SendMessageW(box, DM_GETDEFID, 0, 0)) == IDNO);
    PostMessageW(box, WM_COMMAND, g_answer, 0);
  }
}

// A main window over drive T: in memory holding three garbage files, the drive ticked.
class MainWindowOverT {
 public:
  MainWindowOverT() : services_("[Area]\r\nT=1\r\n[Options]\r\n0=0\r\n[Kill]\r\n*.tmp=1\r\n") {
    for (const wchar_t* file : {L"T:\\a.tmp", L"T:\\b.tmp", L"T:\\sub\\c.tmp"}) services_.fileSystem.AddFile(file, 10);
    owner_ = HiddenOwner();
    form_ = &program_.Window(owner_);
    form_->Load();
    form_->Show();
    SetForegroundWindow(form_->Handle());
    Pump(100);
    g_opened.clear();
    closer_ = SetTimer(nullptr, 0, 50, CloseWhatOpens);
  }
  ~MainWindowOverT() {
    KillTimer(nullptr, closer_);
    program_.form.reset();
    DestroyWindow(owner_);
  }
  HWND Handle() const { return form_->Handle(); }
  TForm1& Form() { return *form_; }
  MainWindowView& View() { return program_.view; }
  HWND FoundList() const { return GetDlgItem(Handle(), 102); }
  MemoryDriveT& Files() { return services_.fileSystem; }

 private:
  test::ComScope com_;
  MemoryServices services_;
  MainProgram program_{services_.Get()};
  HWND owner_ = nullptr;
  TForm1* form_ = nullptr;
  UINT_PTR closer_ = 0;
};

// Whether the window wears the skin painted for `scale`: the brushed metal and vents between the
// settings and the exit button, where no control lies, are that skin's pixels one for one (the
// skin of another scale stretched has another grain), and the outline is that skin's.
bool WearsSkinFor(HWND window, DisplayScale scale) {
  const HINSTANCE instance = GetModuleHandleW(nullptr);
  const Bitmap art = LoadBitmapResource(instance, ArtResource(IDB_SKIN_MAIN, scale));
  const std::vector<uint8_t> bytes = LoadResourceBytes(instance, ArtResource(IDR_SKIN_MAIN_OUTLINE, scale));
  const StoredOutline stored = ParseStoredOutline(bytes);
  const GdiObject<HRGN> outline(ExtCreateRegion(nullptr, static_cast<DWORD>(stored.regionData.size()),
                                                reinterpret_cast<const RGNDATA*>(stored.regionData.data())));
  const GdiObject<HRGN> shown(CreateRectRgn(0, 0, 0, 0));
  if (!art || !outline || GetWindowRgn(window, shown.Get()) == ERROR || !EqualRgn(shown.Get(), outline.Get()))
    return false;
  RedrawWindow(window, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
  const WindowDC screen(window);
  MemoryDC memory(screen.Get());
  SelectGuard select(memory.Get(), art.Get());
  int differing = 0;
  for (int y = scale(12); y < scale(66); ++y)
    for (int x = scale(440); x < scale(526); ++x)
      differing += GetPixel(screen.Get(), x, y) != GetPixel(memory.Get(), x, y);
  return differing == 0;
}

// Moved to a monitor of another scale, the main window is laid out again there: skin, lists,
// buttons, banners and counters, the skin and its outline those painted for that scale. The status
// line's paths are shortened to a width given at 96 DPI, so the window tells their widths at 96 DPI
// whatever its scale.
TEST(MainFormScale, TheMainWindowFollowsItsMonitorsScale) {
  MainWindowOverT window;
  const std::wstring path = L"T:\\Work\\Photos\\2007\\December\\index.tmp";
  const int designWidth = window.View().TextWidth(path);
  for (int dpi : {120, 192}) {
    SCOPED_TRACE(dpi);
    test::ExpectLaidOutAgainAt(window.Form(), dpi, [&] {
      EXPECT_NEAR(window.View().TextWidth(path), designWidth, designWidth / 10);
      EXPECT_TRUE(WearsSkinFor(window.Form().Handle(), DisplayScale(dpi)));
    });
    EXPECT_TRUE(WearsSkinFor(window.Form().Handle(), DisplayScale()));
  }
}

// The two keys that delete ask first, "Нет" the default: "Нет" leaves every file, "Да" goes on.
TEST(MainFormKeys, EachCommandKeyRunsItsCommandTheDeletingOnesAskFirstAndTheClosingKeyClosesTheWindow) {
  MainWindowOverT window;
  const struct {
    UINT key;
    bool ctrl, shift;
    const wchar_t* opens;
  } commands[] = {{VK_F1, false, false, L"TAboutForm"},
                  {'O', true, false, L"TOptionsForm"},
                  {'T', true, false, L"Информация"}};  // the temporary folder's question, declined
  for (const auto& c : commands) {
    g_opened.clear();
    PressKey(c.key, c.ctrl, c.shift);
    Pump(100);
    EXPECT_EQ(g_opened, std::vector<std::wstring>{c.opens}) << c.key;
  }
  for (UINT key : {static_cast<UINT>(VK_F3), static_cast<UINT>('F')}) {
    SendMessageW(window.FoundList(), LB_RESETCONTENT, 0, 0);
    PressKey(key, key == 'F');
    Pump(400);
    EXPECT_EQ(SendMessageW(window.FoundList(), LB_GETCOUNT, 0, 0), 3) << "search by " << key;
  }
  g_questions.clear();
  PressKey(VK_DELETE);
  PressKey(VK_DELETE, true, true);
  Pump(100);
  EXPECT_EQ(g_questions,
            (std::vector<std::pair<std::wstring, bool>>{{L"Удалить отмеченные файлы?", true},
                                                        {L"Найти и удалить мусор на отмеченных дисках?", true}}));
  for (const wchar_t* file : {L"T:\\a.tmp", L"T:\\b.tmp", L"T:\\sub\\c.tmp"}) EXPECT_TRUE(window.Files().Exists(file));
  g_answer = IDYES;
  PressKey(VK_DELETE, true, true);  // "Очистка": search and delete at once
  Pump(400);
  g_answer = IDNO;
  EXPECT_FALSE(window.Files().Exists(L"T:\\a.tmp"));
  EXPECT_FALSE(window.Files().Exists(L"T:\\sub\\c.tmp"));
  PressKey('Q', true);
  Pump(300);
  EXPECT_FALSE(IsWindow(window.Handle()));
}

// Before, during and after a search, as a screen reader reads the window, and what the keys do
// meanwhile: a greyed command's key does nothing, as a click on the greyed button does nothing.
std::vector<std::wstring> g_duringRun;
test::ReadElement g_treeDuringRun;
void CALLBACK ActDuringRun(HWND, UINT, UINT_PTR timer, DWORD) {
  KillTimer(nullptr, timer);
  HWND main = FindWindowW(L"TForm1", nullptr);
  g_treeDuringRun = test::ReadWindow(main);
  g_opened.clear();
  PressKey(VK_F3);
  PressKey('O', true);
  PressKey('T', true);
  PressKey(VK_DELETE, true, true);
  PressKey('Q', true);
  Pump(100);
  g_duringRun = g_opened;
  PressKey(VK_ESCAPE);  // "Стоп": its question comes, answered "Нет", and the run goes on
  g_duringRun.insert(g_duringRun.end(), g_opened.begin(), g_opened.end());
}

TEST(MainFormAccessibility, TheTreeAndTheKeysFollowTheButtonsBeforeDuringAndAfterARun) {
  MainWindowOverT window;
  test::ReadElement tree = test::ReadWindow(window.Handle());
  EXPECT_EQ(tree.role, ROLE_SYSTEM_CLIENT);
  const test::ReadElement search = test::Child(tree, L"Поиск");
  EXPECT_EQ(search.role, ROLE_SYSTEM_PUSHBUTTON);
  EXPECT_EQ(search.action, L"Нажать");
  EXPECT_EQ(search.shortcut, L"F3");
  EXPECT_FALSE(search.Has(STATE_SYSTEM_UNAVAILABLE));
  EXPECT_TRUE(test::Child(tree, L"Удалить").Has(STATE_SYSTEM_UNAVAILABLE));
  EXPECT_TRUE(test::Child(tree, L"Стоп").Has(STATE_SYSTEM_UNAVAILABLE));
  const test::ReadElement banner = test::Child(tree, L"d3ir");  // no caption: named by its hint
  EXPECT_EQ(banner.role, ROLE_SYSTEM_GRAPHIC);
  EXPECT_EQ(banner.action, L"Перейти");
  EXPECT_EQ(test::Child(tree, L"Каталогов:").role, ROLE_SYSTEM_STATICTEXT);
  const test::ReadElement drives = test::Child(tree, L"Диски");
  EXPECT_EQ(drives.role, ROLE_SYSTEM_LIST);
  EXPECT_TRUE(drives.Has(STATE_SYSTEM_FOCUSED));
  ASSERT_EQ(drives.children.size(), 1u);
  EXPECT_EQ(drives.children[0].name, L"T: [SCRATCH]");
  EXPECT_EQ(drives.children[0].role, ROLE_SYSTEM_LISTITEM);
  EXPECT_TRUE(drives.children[0].Has(STATE_SYSTEM_CHECKED));
  PressKey(VK_DELETE);  // "Удалить" is greyed: nothing happens
  PressKey(VK_ESCAPE);  // so is "Стоп": no question
  Pump(100);
  EXPECT_TRUE(g_opened.empty());

  window.Files().listingMs = 100;
  SetTimer(nullptr, 0, 50, ActDuringRun);
  PressKey(VK_F3);
  EXPECT_EQ(g_duringRun, std::vector<std::wstring>{L"Подтверждение"});
  EXPECT_TRUE(IsWindow(window.Handle()));
  EXPECT_TRUE(test::Child(g_treeDuringRun, L"Поиск").Has(STATE_SYSTEM_UNAVAILABLE));
  EXPECT_TRUE(test::Child(g_treeDuringRun, L"Выход").Has(STATE_SYSTEM_UNAVAILABLE));
  EXPECT_FALSE(test::Child(g_treeDuringRun, L"Стоп").Has(STATE_SYSTEM_UNAVAILABLE));
  EXPECT_TRUE(test::Child(g_treeDuringRun, L"Диски").Has(STATE_SYSTEM_UNAVAILABLE));
  window.Files().listingMs = 0;
  Pump(100);

  tree = test::ReadWindow(window.Handle());
  EXPECT_FALSE(test::Child(tree, L"Удалить").Has(STATE_SYSTEM_UNAVAILABLE));
  EXPECT_TRUE(test::Child(tree, L"Стоп").Has(STATE_SYSTEM_UNAVAILABLE));
  const test::ReadElement finds = test::Child(tree, L"Найденные файлы");
  ASSERT_EQ(finds.children.size(), 3u);
  EXPECT_EQ(finds.children[0].name, L"T:\\a.tmp");
  EXPECT_TRUE(finds.children[0].Has(STATE_SYSTEM_CHECKED));
  // A line unticked by its default action stays; Del deletes the ticked ones.
  IAccessible* list = test::ClientObject(window.FoundList());
  ASSERT_NE(list, nullptr);
  VARIANT first;
  first.vt = VT_I4;
  first.lVal = 1;
  EXPECT_EQ(list->accDoDefaultAction(first), S_OK);
  Pump(50);
  VARIANT state;
  VariantInit(&state);
  list->get_accState(first, &state);
  EXPECT_FALSE(state.lVal & STATE_SYSTEM_CHECKED);
  list->Release();
  g_answer = IDYES;
  PressKey(VK_DELETE);
  Pump(100);
  g_answer = IDNO;
  EXPECT_TRUE(window.Files().Exists(L"T:\\a.tmp"));
  EXPECT_FALSE(window.Files().Exists(L"T:\\b.tmp"));
  EXPECT_FALSE(window.Files().Exists(L"T:\\sub\\c.tmp"));
  // A screen reader's press of "О..." does what a click does.
  g_opened.clear();
  EXPECT_EQ(test::DoDefaultAction(window.Handle(), L"О..."), S_OK);
  Pump(200);
  EXPECT_EQ(g_opened, std::vector<std::wstring>{L"TAboutForm"});
}

// What has the keyboard in a window: the focused painted control's caption, else the focused
// window's text.
std::wstring FocusedControl(Form& form) {
  if (GetFocus() == form.Handle() && form.FocusedGraphic()) return form.FocusedGraphic()->Caption();
  wchar_t text[128] = {};
  GetWindowTextW(GetFocus(), text, 128);
  return text;
}

TEST(OptionsDialogKeys, TabReachesEveryControlInReadingOrderEnterSavesAndAFocusedButtonTakesEnter) {
  test::ComScope com;
  test::FakeStorage storage;
  const std::wstring path = ProgramFolder() + L"Krelmix.ini";
  storage.files[path] = "[UseSoundz]\r\nSubj=1\r\n";
  Win32AnsiCodec codec;
  SettingsFile settings(storage, codec, path);
  ProgramState state;
  test::FakeAutostart autostart;
  RecordingSound sound;
  test::MemoryFileSystem disk;
  TOptionsForm form({state, settings, autostart, sound, L"C:\\Krelmix\\Krelmix.exe", disk});
  form.CreateForm(nullptr);
  form.Show();
  SetForegroundWindow(form.Handle());
  Pump(100);
  std::vector<std::wstring> order;
  for (int step = 0; step < 8; ++step) {
    if (step > 0) PressKey(VK_TAB);
    order.push_back(FocusedControl(form));
  }
  EXPECT_EQ(order,
            (std::vector<std::wstring>{L"CheckListBox2", L"Использовать звуки", L"Настроить звуки", L"Типы файлов",
                                       L"Исключить", L"Сохранить", L"Отмена", L"CheckListBox2"}));
  PressKey(VK_TAB, false, true);
  EXPECT_EQ(FocusedControl(form), L"Отмена");
  // As a screen reader reads it: the focused painted button, the keys, the option rows.
  const test::ReadElement tree = test::ReadWindow(form.Handle());
  EXPECT_TRUE(test::Child(tree, L"Отмена").Has(STATE_SYSTEM_FOCUSED | STATE_SYSTEM_FOCUSABLE));
  EXPECT_EQ(test::Child(tree, L"Сохранить").shortcut, L"Enter");
  EXPECT_EQ(test::Child(tree, L"Параметры").children.size(), kOptionRowCount);
  const test::ReadElement soundBox = test::Child(tree, L"Использовать звуки");
  EXPECT_EQ(soundBox.role, ROLE_SYSTEM_CHECKBUTTON);
  EXPECT_TRUE(soundBox.Has(STATE_SYSTEM_CHECKED));
  PressKey(VK_RETURN);  // on "Отмена": cancels
  EXPECT_EQ(form.CurrentModalResult(), mrCancel);
  EXPECT_EQ(storage.writes, 0);
  form.SetModalResult(mrNone);
  PressKey(VK_TAB);
  PressKey(VK_RETURN);  // on the option rows: saves as "Сохранить" does
  EXPECT_EQ(form.CurrentModalResult(), mrOk);
  EXPECT_EQ(storage.writes, 1);
}

}  // namespace
}  // namespace krelmix
