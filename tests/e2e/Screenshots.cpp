// The pictures of docs/: the built program started as a user starts it, driven as in the
// end-to-end tests, and each window cut out of the virtual screen with ImageMagick's `import`.
// Run by scripts/screenshots.sh.
#include "Screenshots.h"

#include <algorithm>
#include <cstdio>

#include "../win/UnixLink.h"
#include "Harness.h"
#include "Scratch.h"

namespace krelmix::e2e {

namespace {

const std::string kSettings = SettingsTickingScratch(
    "[Kill]\r\n*.bak=1\r\n*.tmp=1\r\n*.old=0\r\n[ExcludeDir]\r\nT:\\Keep=1\r\nC:\\Windows=0\r\n"
    "[UseSoundz]\r\nSubj=1\r\n[Soundz]\r\nsounds\\start.wav=1\r\nsounds\\exit.wav=1\r\nsounds\\tmp.wav=1\r\n"
    "sounds\\nothing.wav=1\r\nsounds\\found.wav=1\r\nsounds\\killed.wav=1\r\n");

class Camera {
 public:
  explicit Camera(std::string folder) : folder_(std::move(folder)) {}

  // Cuts `area` (screen coordinates) out of the screen into folder/name, the mouse out of the way.
  void Take(RECT area, const char* name, bool mouseAside = true) {
    if (mouseAside) SetCursorPos(GetSystemMetrics(SM_CXSCREEN) - 1, 0);
    Sleep(400);  // the window has painted
    const std::string file = folder_ + "/" + name;
    char crop[96];
    std::snprintf(crop, sizeof crop, "%ldx%ld+%ld+%ld", area.right - area.left, area.bottom - area.top, area.left,
                  area.top);
    wchar_t temp[MAX_PATH + 1] = {};
    GetTempPathW(MAX_PATH + 1, temp);
    const bool taken = test::RunShell("import -window root -crop " + std::string(crop) + " +repage '" + file + "'",
                                      std::wstring(temp) + L"krelmix-screenshot");
    std::printf("%s %s\n", taken ? "wrote" : "FAILED", file.c_str());
    failed_ = failed_ || !taken;
  }
  void Take(HWND window, const char* name) {
    RECT r{};
    GetWindowRect(window, &r);
    Take(r, name);
  }
  bool Failed() const { return failed_; }

 private:
  std::string folder_;
  bool failed_ = false;
};

RECT Union(RECT a, RECT b, int margin) {
  return {std::min(a.left, b.left) - margin, std::min(a.top, b.top) - margin, std::max(a.right, b.right) + margin,
          std::max(a.bottom, b.bottom) + margin};
}

RECT ScreenBounds(HWND form, const std::wstring& control) {
  RECT r = FindControl(form, control).bounds;
  MapWindowPoints(form, nullptr, reinterpret_cast<POINT*>(&r), 2);
  return r;
}

// The mouse resting on a control of the main window moved so that the control's centre is at
// `screen`: the picture holds the control and its hint.
void ShootHint(Camera& camera, RunningProgram& program, HWND main, const wchar_t* control, POINT screen,
               const char* name) {
  SetCursorPos(screen.x / 2 + 200, screen.y / 2 + 200);
  Sleep(600);
  const RECT now = ScreenBounds(main, control);
  RECT frame{};
  GetWindowRect(main, &frame);
  SetWindowPos(main, nullptr, frame.left + screen.x - (now.left + now.right) / 2,
               frame.top + screen.y - (now.top + now.bottom) / 2, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
  Sleep(500);
  // The system may keep a large window from leaving the screen: the mouse goes where the control
  // came to lie.
  const RECT placed = ScreenBounds(main, control);
  const POINT rest{(placed.left + placed.right) / 2, (placed.top + placed.bottom) / 2};
  SetCursorPos(rest.x - 20, rest.y - 20);
  Sleep(300);
  SetCursorPos(rest.x, rest.y);
  HWND hint = program.WaitForWindow(L"tooltips_class32", 5000);
  if (!hint) {
    std::fprintf(stderr, "no hint came for %ls: %s not taken\n", control, name);
    return;
  }
  RECT bubble{};
  GetWindowRect(hint, &bubble);
  camera.Take(Union(bubble, ScreenBounds(main, control), 10), name, false);
}

void LayOutScratch(const std::wstring& temp) {
  ClearScratchDrive();
  for (const wchar_t* file : {L"T:\\old.bak", L"T:\\Work\\report.bak", L"T:\\Work\\~draft.tmp",
                              L"T:\\Work\\Photos\\index.tmp", L"T:\\Keep\\kept.bak"})
    MakeFile(file, 3000);
  for (const wchar_t* file : {L"\\setup.log", L"\\cache\\a.dat", L"\\cache\\b.dat"}) MakeFile(temp + file, 5000);
}

}  // namespace

int TakeScreenshots(const std::string& folder) {
  const std::wstring temp = L"T:\\ScreenTemp";
  LayOutScratch(temp);
  Camera camera(folder);
  RunningProgram program(kSettings);
  program.StartWithTemp(L"", temp);
  HWND main = program.MainWindow();
  if (!main) return 1;

  program.ClickControl(L"SpeedButton2");  // "Поиск"
  WaitUntilIdle(main);
  camera.Take(main, "main-window.png");

  program.ClickControl(L"SpeedButton1");  // "О..."
  if (HWND about = program.WaitForWindow(L"TAboutForm")) {
    camera.Take(about, "about-window.png");
    AnswerDialog(program, L"TAboutForm", WindowText(about), L"Угу!");
  }

  program.ClickControl(L"SpeedButton6");  // "TMP"
  AnswerDialog(program, L"#32770", L"Информация", L"&Да");
  if (HWND result = program.WaitForWindow(L"TDirKillerForm2")) {
    camera.Take(result, "result-window.png");
    AnswerDialog(program, L"TDirKillerForm2", WindowText(result), L"Удостоверился");
  }

  program.ClickControl(L"SpeedButton8");  // "Настройки"
  if (HWND options = program.WaitForWindow(L"TOptionsForm")) {
    ClickControlOf(options, L"SpeedButton1");  // "Типы файлов"
    ClickControlOf(options, L"SpeedButton2");  // "Исключить"
    HWND masks = program.WaitForWindow(L"TFileTypeForm"), excludes = program.WaitForWindow(L"TExcludeForm");
    RECT all{}, r{};
    GetWindowRect(options, &all);
    for (HWND editor : {masks, excludes}) {
      if (editor && GetWindowRect(editor, &r)) all = Union(all, r, 0);
    }
    camera.Take(all, "editors.png");
    ClickControlOf(options, L"SpeedButton1");
    ClickControlOf(options, L"SpeedButton2");
    ClickControlOf(options, L"SpeedButton5");  // "Настроить звуки"
    if (HWND sounds = program.WaitForWindow(L"TSoundFRM")) {
      camera.Take(sounds, "sound-editor.png");
      ClickControlOf(sounds, L"SpeedButton2");  // "Отменить"
    }
    ClickControlOf(options, L"SpeedButton4");  // "Отмена"
  }

  const POINT screen{GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
  ShootHint(camera, program, main, L"SpeedButton2", {70, 40}, "hint-below-right.png");
  ShootHint(camera, program, main, L"SpeedButton7", {screen.x - 20, screen.y - 15}, "hint-bottom-right.png");
  program.ClickControl(L"SpeedButton7");  // "Выход"
  program.WaitForExit(15000);
  ClearScratchDrive();
  return camera.Failed() ? 1 : 0;
}

}  // namespace krelmix::e2e
