#include "forms/MainForm.h"

#include <shellapi.h>

#include <algorithm>

#include "common/CommandLine.h"
#include "common/EventSounds.h"
#include "common/StartupSettings.h"
#include "forms/About.h"
#include "forms/FormSkin.h"
#include "forms/OptionsForm.h"
#include "forms/RestoreForm.h"
#include "resources/ResourceIds.h"
#include "restore/KeptRuns.h"
#include "settings/SettingsSchema.h"
#include "toolkit/Application.h"
#include "toolkit/ErrorReport.h"
#include "toolkit/MessageDialog.h"
#include "toolkit/OneInstance.h"

namespace krelmix {

namespace {
constexpr SIZE kClientSize{600, 463};
constexpr COLORREF kSkinColor = RGB(17, 19, 24);
// The skin's own colours under the counters panel and the status line.
constexpr COLORREF kPanelColor = RGB(63, 69, 82);
constexpr COLORREF kStatusColor = RGB(49, 54, 65);
constexpr COLORREF kCounterColor = RGB(210, 230, 240);
constexpr UINT kDriveListId = 101, kFoundListId = 102, kCountersId = 103, kStatusId = 104;

const wchar_t kDeleteKeyQuestion[] = L"Удалить отмеченные файлы?";
const wchar_t kCleanKeyQuestion[] = L"Найти и удалить мусор на отмеченных дисках?";

const wchar_t kRestoreHint[] = L"Вернуть удалённое (Ctrl+Z)";

const wchar_t kBanner1Address[] = L"https://krelmix.example.org/";
const wchar_t kBanner2Address[] = L"https://krelmix.example.org/d3ir/";

FormStyle MainFormStyle() {
  FormStyle style;
  style.className = L"TForm1";
  style.title = kApplicationTitle;
  style.clientSize = kClientSize;
  style.style = WS_POPUP | WS_SYSMENU | WS_MINIMIZEBOX;
  // The program's taskbar and Alt+Tab entry: Windows gives one to an unowned window (or one marked
  // as an application window), never to a window owned by the hidden application window.
  style.exStyle = WS_EX_APPWINDOW;
  style.color = kSkinColor;
  style.icon = LoadIconW(ModuleInstance(), MAKEINTRESOURCEW(1));
  return style;
}

}  // namespace

TForm1::TForm1(HWND applicationWindow, std::vector<std::wstring> args, bool previousInstance,
               const MainFormServices& services, const MainFormParts& parts)
    : Form(MainFormStyle()),
      application_(applicationWindow),
      args_(std::move(args)),
      previousInstance_(previousInstance),
      services_(services),
      state_(parts.state),
      settings_(parts.settings),
      engine_(parts.engine),
      view_(parts.view),
      SRWavePlayer1(services.sound) {}

TForm1::~TForm1() = default;

void TForm1::Load() {
  CreateForm(nullptr);
  LoadComponents();
  FormCreate();
}

// What the window's loading does before FormCreate: the hotkey is registered, then a second copy
// hands over to the first and asks for the end (FormCreate still runs in full).
void TForm1::LoadComponents() {
  LMDGlobalHotKey1.OnKeyDown = [this](GlobalHotKey&, uint16_t, HotKeyModifiers) { LMDGlobalHotKey1KeyDown(); };
  LMDGlobalHotKey1.SetHotKey(GlobalHotKey::kAltX);
  if (previousInstance_) {
    BringPreviousInstanceForward(application_, kApplicationTitle);
    RequestEnd();
  }
}

void TForm1::LMDGlobalHotKey1KeyDown() { Close(); }

void TForm1::CreateControls() {
  LMDShapeHint1.SetEnabled(true);
  CreateSkin();
  LoadPictures();
  CreateFonts();
  RuledButtons ruled =
      CreateCommandBar(*this, Commands(), font_, [this](const wchar_t* question) { return AskBeforeKey(question); });
  CreateLists();
  CreateBannersAndPanels();
  view_.Bind({*this,
              CheckListBox1,
              std::move(ruled),
              SRWavePlayer1,
              *listFontMeter_,
              {Label1, Label2, Panel2, Panel1, RxCheckListBox1}});
  SetTabOrder({CheckListBox1.Handle(), RxCheckListBox1.Handle()});
  Keys().Add({'Z', true}, [this] { OpenRestoreWindow(); });
  onActivate = [this] { FormActivate(); };
  onClose = [this] { FormClose(); };
  onCloseQuery = [this] { return FormCloseQuery(); };
}

// The skin covers the whole client area, gives the window its outline and moves it when dragged
// anywhere no clickable control lies.
void TForm1::CreateSkin() {
  SkinLook look(IDB_SKIN_MAIN, IDR_SKIN_MAIN_OUTLINE);
  look.captionBar = TfcImageForm::CaptionBar::Skin;
  look.autoSize = true;
  AttachSkin(*this, fcImageForm1, look);
}

// The glyphs and banners painted for the window's scale; loaded again when the scale changes.
void TForm1::LoadPictures() {
  std::vector<Bitmap> previous = std::move(pictures_);  // freed once no control shows them
  pictures_.clear();
  const DisplayScale scale = Scale();
  int dpi = scale.ArtDpi();
  auto picture = [&](UINT id) {
    ArtPicture art = LoadArtPicture(id, scale);
    dpi = art.dpi;
    pictures_.push_back(std::move(art.picture));
    return BorrowedBitmap(pictures_.back());
  };
  auto glyphs = [&](SpeedButton& button, UINT on, UINT off) {
    const BorrowedBitmap enabled = picture(on);
    button.SetGlyphs(enabled, off ? picture(off) : BorrowedBitmap(), dpi);
  };
  glyphs(SpeedButton1, IDB_GLYPH_ABOUT, 0);
  glyphs(SpeedButton2, IDB_GLYPH_SEARCH, IDB_GLYPH_SEARCH_OFF);
  glyphs(SpeedButton3, IDB_GLYPH_DELETE, IDB_GLYPH_DELETE_OFF);
  glyphs(SpeedButton4, IDB_GLYPH_STOP, IDB_GLYPH_STOP_OFF);
  glyphs(SpeedButton5, IDB_GLYPH_CLEAN, IDB_GLYPH_CLEAN_OFF);
  glyphs(SpeedButton6, IDB_GLYPH_TMP, IDB_GLYPH_TMP_OFF);
  glyphs(SpeedButton7, IDB_GLYPH_EXIT, IDB_GLYPH_EXIT_OFF);
  glyphs(SpeedButton8, IDB_GLYPH_SETTINGS, 0);
  const BorrowedBitmap banner1 = picture(IDB_BANNER1);
  Image1.SetPicture(banner1, dpi);
  const BorrowedBitmap banner2 = picture(IDB_BANNER2);
  Image3.SetPicture(banner2, dpi);
}

void TForm1::CreateFonts() {
  font_ = CreatePointFont(L"MS Sans Serif", 8);
  listFont_ = CreatePointFont(L"Courier New", 8, FW_NORMAL, RUSSIAN_CHARSET);
  listFontMeter_ = std::make_unique<TextMeter>(listFont_.Get());
}

// The status line is shortened in the found list's font as the list now has it.
void TForm1::ScaleChanged() {
  listFontMeter_->SetFont(RxCheckListBox1.CaptionFont());
  LoadPictures();
}

// SpeedButton7 "Выход" stands apart, at the bar's right end.
std::vector<MainCommand> TForm1::Commands() {
  return {
      {SpeedButton1,
       {20, 15, 50, 50},
       L"О...",
       L"О программе... (F1)",
       {{VK_F1}},
       [this] { SpeedButton1Click(); },
       std::nullopt,
       true,
       nullptr,
       IDC_HELP},
      // Ctrl+F: the other search key a Windows user tries.
      {SpeedButton2,
       {90, 15, 50, 50},
       L"Поиск",
       L"Поиск мусора (F3)",
       {{VK_F3}, {'F', true}},
       [this] { SpeedButton2Click(); },
       MainButton::Search},
      // The two keys that delete ask first. Del is where most programs remove the current line, and
      // after a search the keyboard is in the found list, where every find is ticked.
      {SpeedButton3,
       {140, 15, 50, 50},
       L"Удалить",
       L"Удалить отмеченные (Del)",
       {{VK_DELETE}},
       [this] { SpeedButton3Click(); },
       MainButton::Delete,
       false,
       kDeleteKeyQuestion},
      {SpeedButton4,
       {190, 15, 50, 50},
       L"Стоп",
       L"Стоп!!! (Esc)",
       {{VK_ESCAPE}},
       [this] { SpeedButton4Click(); },
       MainButton::Stop,
       false},
      {SpeedButton5,
       {240, 15, 50, 50},
       L"Очистка",
       L"Удалить сразу все (Ctrl+Shift+Del)",
       {{VK_DELETE, true, true}},
       [this] { SpeedButton5Click(); },
       MainButton::Clean,
       true,
       kCleanKeyQuestion},
      {SpeedButton6,
       {290, 15, 50, 50},
       L"TMP",
       L"Очистить TMP (Ctrl+T)",
       {{'T', true}},
       [this] { SpeedButton6Click(); },
       MainButton::Tmp},
      {SpeedButton8,
       {370, 15, 60, 50},
       L"Настройки",
       L"Настройки (Ctrl+O)",
       {{'O', true}},
       [this] { SpeedButton8Click(); },
       MainButton::Settings},
      {SpeedButton7,
       {535, 15, 50, 50},
       L"Выход",
       L"Выход (Ctrl+Q)",
       {{'Q', true}},
       [this] { SpeedButton7Click(); },
       MainButton::Exit},
  };
}

void TForm1::CreateLists() {
  CheckListBox1.Look().tick = TickStyle::Box;
  CheckListBox1.Look().itemHeight = 13;
  Add(CheckListBox1, kDriveListId, {.bounds = {47, 76, 110, 140}, .font = font_});
  CheckListBox1.SetAccessibleName(L"Диски");
  CheckListBox1.onClick = [this] { CheckListBox1Click(); };
  CheckListBox1.onDblClick = [this] { CheckListBox1DblClick(); };
  CheckListBox1.onTickToggled = [this](size_t index) {
    if (index < driveLines_.size()) driveLines_[index].ticked = CheckListBox1.Ticked(index);
  };
  // A tick set with the space bar is stored at once, as a click's is: an unattended run reads
  // only the settings file, and must not skip a drive the window showed ticked.
  CheckListBox1.onKeyTick = [this](size_t) { CheckListBox1Click(); };

  RxCheckListBox1.Look().tick = TickStyle::Mark;
  RxCheckListBox1.Look().itemHeight = 14;
  Add(RxCheckListBox1, kFoundListId, {.bounds = {162, 96, 429, 336}, .font = listFont_});
  RxCheckListBox1.SetAccessibleName(L"Найденные файлы");
  RxCheckListBox1.onDblClick = [this] { RxCheckListBox1DblClick(); };
  foundList_ =
      std::make_unique<FoundListAdapter>(engine_.Finds(), RxCheckListBox1, [this] { view_.Display().HoldList(); });
}

void TForm1::CreateBannersAndPanels() {
  const BorrowedCursor hand = SystemCursor(IDC_HAND);
  Add(Image1, {.bounds = {58, 220, 88, 31}, .hint = L"Deve zezizore dedoza"});
  Add(Image3, {.bounds = {58, 254, 88, 31}, .hint = L"d3ir"});
  Image1.SetCursor(hand);
  Image1.onClick = [this] { Image1Click(); };
  Image3.SetCursor(hand);
  Image3.onClick = [this] { Image3Click(); };

  for (Label* label : {&Label1, &Label2}) {
    label->SetColor(kCounterColor);
    label->SetBackground(kPanelColor);
  }
  Panel2.AddGraphic(Label1, {.bounds = {4, 4, 101, 13}, .caption = L"Каталогов:", .font = font_});
  Panel2.AddGraphic(Label2, {.bounds = {4, 16, 101, 13}, .caption = L"Файлов:", .font = font_});
  Panel2.Look() = {.bevel = Bevel::Raised, .color = kPanelColor};
  Add(Panel2, kCountersId, {.bounds = {48, 288, 109, 33}, .font = font_});

  Panel1.Look() = {.bevel = Bevel::Lowered, .color = kStatusColor, .textColor = kCounterColor};
  // The status line tells what a run deleted; a click on it opens what can be put back.
  Panel1.SetShowHint(true);
  Add(Panel1, kStatusId, {.bounds = {161, 434, 432, 22}, .hint = kRestoreHint, .font = font_});
  Panel1.onClick = [this] { OpenRestoreWindow(); };
}

// Start-up order (the program folder is set by the program): modes, drive list, option defaults,
// settings, command line.
void TForm1::FormCreate() {
  state_.TestMode = state_.NightTrashMode = state_.NightFlyMode = false;
  driveLines_ = FillDriveList(services_.drives);
  ApplyOptionDefaults(state_);
  state_.MaskList.clear();
  state_.ExcludeList.clear();
  std::optional<IniDocument> document;
  try {
    document = settings_.LoadExisting();
  } catch (const SettingsReadError& error) {
    EndWithoutSettings(error);
    return;
  }
  if (document) {
    RestoreDriveTicks(driveLines_, *document);
    ReadStartupSettings(*document, state_);
  }
  // Kept deletions past their days, or taking too much room, go at each start (a second copy
  // leaves that to the first).
  if (!previousInstance_)
    ReclaimSpace(services_.fileSystem, FixedRoots(services_.drives), services_.clock.WallTime(),
                 {document ? ReadKeepDays(*document) : kKeepDaysDefault});
  ShowDriveLines();
  ProcessCommandLine();
}

// A start-up that cannot read its settings file must not run on defaults: the first drive tick or
// save would write them over the user's file, and an unattended run would clean with the built-in
// masks and no exclusions. It ends before anything is shown, written or deleted; a windowed start
// first tells the user which file could not be read, an unattended one ends silently.
void TForm1::EndWithoutSettings(const SettingsReadError& error) {
  showOnStart_ = false;
  const std::vector<Switch> switches = ParseSwitches(args_);
  const bool unattended = std::any_of(switches.begin(), switches.end(),
                                      [](Switch s) { return s == Switch::NightFly || s == Switch::NightTrash; });
  if (unattended)
    HideTaskbarEntry();
  else
    ReportError(nullptr, error.Message());
  RequestEnd();
}

void TForm1::ProcessCommandLine() {
  for (Switch s : ParseSwitches(args_)) {
    switch (s) {
      case Switch::Test:
        state_.TestMode = true;
        break;
      case Switch::Help:
        MessageBoxW(Handle(), kHelpText, kHelpCaption, MB_OK);
        RequestEnd();
        break;
      case Switch::NightFly:
        // A run that could not read its settings ends the program having deleted nothing.
        if (!RunNightFly()) return;
        break;
      case Switch::NightTrash:
        // A temporary folder that is the program's own folder ends the command line here.
        if (!RunNightTrash()) return;
        break;
    }
  }
}

void TForm1::FormActivate() {
  if (state_.NightTrashMode) {
    HideTaskbarEntry();
    return;
  }
  if (state_.ShowSplash) SpeedButton1Click();  // the rest waits until the splash has closed
  view_.PlayEventSound(SoundEvent::evStart);
}

void TForm1::SpeedButton1Click() { TAboutForm::Execute(Handle()); }

bool TForm1::AskBeforeKey(const wchar_t* question) {
  return ShowMessageDialog(Handle(), MessageDialogKind::Confirmation, question, DefaultAnswer::No);
}

// The unattended runs show no taskbar entry. A tool window gets none, nor an Alt+Tab entry;
// Windows reads the styles when it shows the window, so this comes before the window is shown.
void TForm1::HideTaskbarEntry() {
  const LONG_PTR exStyle = GetWindowLongPtrW(Handle(), GWL_EXSTYLE);
  SetWindowLongPtrW(Handle(), GWL_EXSTYLE, (exStyle & ~WS_EX_APPWINDOW) | WS_EX_TOOLWINDOW);
}

void TForm1::FormClose() {
  state_.MaskList.clear();
  state_.ExcludeList.clear();
  if (state_.UseSounds) {
    // Synchronous play holds the close until the sound has ended.
    SRWavePlayer1.SetAsynchronous(false);
    view_.PlayEventSound(SoundEvent::evExit);
  }
}

void TForm1::OnDestroyed() { PostQuitMessage(0); }

void TForm1::ShowDriveLines() {
  CheckListBox1.Clear();
  for (const auto& line : driveLines_) CheckListBox1.Add(line.text, line.ticked);
}

void TForm1::CheckListBox1Click() {
  settings_.Update([this](IniDocument& document) { WriteDriveTicks(driveLines_, document); });
}

void TForm1::CheckListBox1DblClick() {
  const int index = CheckListBox1.ItemIndex();
  if (index < 0 || static_cast<size_t>(index) >= driveLines_.size()) return;
  driveLines_[index].ticked = !driveLines_[index].ticked;
  CheckListBox1.SetTicked(static_cast<size_t>(index), driveLines_[index].ticked);
}

void TForm1::RxCheckListBox1DblClick() {
  const int index = RxCheckListBox1.ItemIndex();
  if (index < 0) return;
  RxCheckListBox1.SetTicked(static_cast<size_t>(index), !RxCheckListBox1.Ticked(static_cast<size_t>(index)));
}

void TForm1::SpeedButton7Click() { Close(); }

// Not while a run works: what it deletes meanwhile would not be listed, and a restore would run
// beside it.
void TForm1::OpenRestoreWindow() {
  if (engine_.Running()) return;
  try {
    TRestoreForm::Execute(Handle(), services_.fileSystem, services_.drives);
  } catch (...) {
    ReportCurrentException(Handle());
  }
}

// The dialog sets the in-memory settings itself; nothing is read again here. It is freed when it
// closes, also when an error ends it.
void TForm1::SpeedButton8Click() {
  try {
    TOptionsForm::Execute(
        Handle(), {state_, settings_, services_.autostart, services_.sound, ExecutablePath(), services_.fileSystem});
  } catch (...) {
    ReportCurrentException(Handle());
  }
}

void TForm1::Image1Click() { ShellExecuteW(Handle(), nullptr, kBanner1Address, nullptr, nullptr, SW_SHOWNORMAL); }
void TForm1::Image3Click() { ShellExecuteW(Handle(), nullptr, kBanner2Address, nullptr, nullptr, SW_SHOWNORMAL); }

}  // namespace krelmix
