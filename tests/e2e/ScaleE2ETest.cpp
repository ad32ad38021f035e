// Every window of the program at the display scales of today's PCs: 96, 120, 144 and 192 DPI.
// Each window's rectangle is its 96-DPI rectangle times the scale (within 2 px), no caption runs
// out of its control, each list's rows are the scaled height, and its picture, scaled back to
// 96, is close to the 96-DPI picture. For a window with a caption bar the client area is held to
// the rule: the frame is the system's, and Wine 8 draws its caption and borders at sizes of its own.
//
// How Wine 8 is given a DPI: it reads LogPixels (a DWORD) under HKCU\Control Panel\Desktop when
// each process starts, and hands that DPI to a program that declares itself DPI aware, as Windows
// hands it its monitor's. The test writes the value, starts the program, waits for its main window
// and puts the value back; Wine's server needs no restart, and the test process keeps the DPI it
// started with. The end-to-end tests run one at a time, so no other program starts meanwhile.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <string>
#include <vector>

#include "../win/UnixLink.h"
#include "Harness.h"
#include "Scratch.h"

namespace krelmix::e2e {

namespace {

constexpr int kScaledDpis[] = {120, 144, 192};

// A picture and the 96-DPI one, both scaled to half the 96-DPI size (each pixel the mean of what
// it covers), may differ by this much: the mean over every pixel and colour channel of the
// absolute difference, on the 0-255 scale. Text and art drawn at another size are shaped and
// anti-aliased differently; a control out of place or a part left unscaled moves whole areas of
// colour and goes past it.
constexpr double kMostMeanDifference = 14.0;

class SystemDpi {
 public:
  explicit SystemDpi(DWORD dpi) {
    RegCreateKeyExW(HKEY_CURRENT_USER, L"Control Panel\\Desktop", 0, nullptr, 0, KEY_QUERY_VALUE | KEY_SET_VALUE,
                    nullptr, &key_, nullptr);
    DWORD size = sizeof previous_;
    had_ = RegQueryValueExW(key_, L"LogPixels", nullptr, nullptr, reinterpret_cast<BYTE*>(&previous_), &size) ==
           ERROR_SUCCESS;
    RegSetValueExW(key_, L"LogPixels", 0, REG_DWORD, reinterpret_cast<const BYTE*>(&dpi), sizeof dpi);
  }
  ~SystemDpi() {
    if (had_)
      RegSetValueExW(key_, L"LogPixels", 0, REG_DWORD, reinterpret_cast<const BYTE*>(&previous_), sizeof previous_);
    else
      RegDeleteValueW(key_, L"LogPixels");
    RegCloseKey(key_);
  }
  SystemDpi(const SystemDpi&) = delete;
  SystemDpi& operator=(const SystemDpi&) = delete;

 private:
  HKEY key_ = nullptr;
  DWORD previous_ = 0;
  bool had_ = false;
};

// 32-bit pixels, top row first, blue-green-red-unused.
struct Picture {
  int width = 0, height = 0;
  std::vector<unsigned char> pixels;
  const unsigned char* At(int x, int y) const { return &pixels[(static_cast<size_t>(y) * width + x) * 4]; }
};

// The screen as X shows it (ImageMagick's `import`, as the README's pictures are taken): Wine's
// own screen reads leave out what other programs' windows draw.
Picture Capture(RECT area) {
  Picture p{area.right - area.left, area.bottom - area.top, {}};
  if (p.width <= 0 || p.height <= 0) return {};
  wchar_t temp[MAX_PATH + 1] = {};
  GetTempPathW(MAX_PATH + 1, temp);
  const std::wstring file = std::wstring(temp) + L"krelmix-scale.bmp";
  DeleteFileW(file.c_str());
  char crop[96];
  std::snprintf(crop, sizeof crop, "%dx%d+%ld+%ld", p.width, p.height, area.left, area.top);
  if (!test::RunShell("import -window root -crop " + std::string(crop) + " +repage -type TrueColor BMP3:'" +
                          test::UnixName(temp) + "/krelmix-scale.bmp'",
                      file))
    return {};
  // 24-bit rows, bottom row first, each padded to four bytes.
  std::ifstream in(std::filesystem::path(file), std::ios::binary);
  BITMAPFILEHEADER header{};
  BITMAPINFOHEADER info{};
  in.read(reinterpret_cast<char*>(&header), sizeof header).read(reinterpret_cast<char*>(&info), sizeof info);
  if (!in || info.biBitCount != 24 || info.biWidth != p.width || std::abs(info.biHeight) != p.height) return {};
  in.seekg(header.bfOffBits);
  const size_t stride = (static_cast<size_t>(p.width) * 3 + 3) & ~size_t{3};
  std::vector<unsigned char> rows(stride * p.height);
  in.read(reinterpret_cast<char*>(rows.data()), static_cast<std::streamsize>(rows.size()));
  p.pixels.resize(static_cast<size_t>(p.width) * p.height * 4);
  for (int y = 0; y < p.height; ++y) {
    const unsigned char* row = &rows[stride * (info.biHeight > 0 ? p.height - 1 - y : y)];
    for (int x = 0; x < p.width; ++x)
      std::copy(row + x * 3, row + x * 3 + 3, &p.pixels[(static_cast<size_t>(y) * p.width + x) * 4]);
  }
  DeleteFileW(file.c_str());
  return p;
}

// Each pixel of the smaller picture the mean of the pixels of the larger one it covers.
Picture ScaledDown(const Picture& p, int width, int height) {
  Picture out{width, height, std::vector<unsigned char>(static_cast<size_t>(width) * height * 4)};
  for (int y = 0; y < height; ++y) {
    const int y0 = y * p.height / height, y1 = std::max(y0 + 1, (y + 1) * p.height / height);
    for (int x = 0; x < width; ++x) {
      const int x0 = x * p.width / width, x1 = std::max(x0 + 1, (x + 1) * p.width / width);
      for (int c = 0; c < 3; ++c) {
        int sum = 0;
        for (int sy = y0; sy < y1 && sy < p.height; ++sy)
          for (int sx = x0; sx < x1 && sx < p.width; ++sx) sum += p.At(sx, sy)[c];
        out.pixels[(static_cast<size_t>(y) * width + x) * 4 + c] =
            static_cast<unsigned char>(sum / std::max(1, (y1 - y0) * (x1 - x0)));
      }
    }
  }
  return out;
}

double MeanDifference(const Picture& a, const Picture& b) {
  const int w = std::min(a.width, b.width), h = std::min(a.height, b.height);
  if (w <= 0 || h <= 0) return 255;
  double sum = 0;
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x)
      for (int c = 0; c < 3; ++c) sum += std::abs(a.At(x, y)[c] - b.At(x, y)[c]);
  return sum / (3.0 * w * h);
}

// One kind of window: how the program is started for it and how the window is opened.
struct WindowKind {
  std::string name;
  std::function<void(RunningProgram&)> start = [](RunningProgram& program) { program.Start(); };
  std::function<HWND(RunningProgram&)> open;
  bool describes = true;  // one of the program's forms, which lists its controls (a hint is not)
  double mostDifference = kMostMeanDifference;
};

struct Sight {
  RECT window{};
  RECT client{};  // in screen coordinates
  bool framed = false;
  std::vector<ControlInfo> controls;
  std::vector<int> rowHeights;  // of each list in the window
  Picture picture;
};

BOOL CALLBACK AddRowHeight(HWND child, LPARAM out) {
  wchar_t name[16] = {};
  GetClassNameW(child, name, 16);
  if (lstrcmpiW(name, L"ListBox") == 0)
    reinterpret_cast<std::vector<int>*>(out)->push_back(static_cast<int>(SendMessageW(child, LB_GETITEMHEIGHT, 0, 0)));
  return TRUE;
}

std::vector<int> RowHeights(HWND window) {
  std::vector<int> heights;
  EnumChildWindows(window, AddRowHeight, reinterpret_cast<LPARAM>(&heights));
  return heights;
}

const std::string kSettings = SettingsTickingScratch(
    "[Options]\r\n0=0\r\n[Kill]\r\n*.bak=1\r\n*.tmp=1\r\n[ExcludeDir]\r\nT:\\Keep=1\r\n"
    "[UseSoundz]\r\nSubj=1\r\n[Soundz]\r\nsounds\\start.wav=1\r\nsounds\\exit.wav=1\r\n");
const std::wstring kTemp = L"T:\\ScaleTemp";

Sight Look(const WindowKind& kind, int dpi) {
  Sight sight;
  RunningProgram program(kSettings);
  {
    SystemDpi scope(static_cast<DWORD>(dpi));
    kind.start(program);
    if (!program.MainWindow()) return sight;
  }
  HWND window = kind.open(program);
  if (!window) return sight;
  // The mouse out of the way, but where a hint is looked at.
  if (kind.describes) SetCursorPos(GetSystemMetrics(SM_CXSCREEN) - 1, GetSystemMetrics(SM_CYSCREEN) - 1);
  Sleep(600);  // painted
  GetWindowRect(window, &sight.window);
  GetClientRect(window, &sight.client);
  MapWindowPoints(window, nullptr, reinterpret_cast<POINT*>(&sight.client), 2);
  sight.framed = (GetWindowLongW(window, GWL_STYLE) & WS_CAPTION) == WS_CAPTION;
  if (kind.describes) sight.controls = DescribeControls(window);
  sight.rowHeights = RowHeights(window);
  sight.picture = Capture(sight.client);
  return sight;
}

// How far each caption reaches past its control: the width and height it takes in its font over
// the control's, above 1 where it runs out (painted over its neighbours or cut).
std::vector<std::pair<double, double>> CaptionReach(const Sight& sight) {
  std::vector<std::pair<double, double>> reach;
  for (const ControlInfo& c : sight.controls) {
    const bool measured = !c.caption.empty() && c.visible && c.kind != L"edit" && c.kind != L"checklistbox";
    const long w = c.bounds.right - c.bounds.left, h = c.bounds.bottom - c.bounds.top;
    reach.emplace_back(measured && w > 0 ? double(c.text.cx) / w : 0, measured && h > 0 ? double(c.text.cy) / h : 0);
  }
  return reach;
}

// Each caption fits its control; where a stand-in font is wider than the design's, a one-line
// caption is drawn condensed to fit at 96 DPI already, and may reach out no further at another,
// but for a pixel or two of rounding.
void ExpectCaptionsInside(const Sight& sight, const Sight& design) {
  const auto reach = CaptionReach(sight), designReach = CaptionReach(design);
  ASSERT_EQ(reach.size(), designReach.size());
  for (size_t i = 0; i < reach.size(); ++i) {
    const ControlInfo& c = sight.controls[i];
    const double w = c.bounds.right - c.bounds.left, h = c.bounds.bottom - c.bounds.top;
    const std::string name = testing::PrintToString(c.name);
    EXPECT_LE(reach[i].first * w, std::max(1.0, designReach[i].first) * w + 2) << "too wide: " << name;
    EXPECT_LE(reach[i].second * h, std::max(1.0, designReach[i].second) * h + 2) << "too tall: " << name;
  }
}

void ExpectScaledAtEveryDpi(const WindowKind& kind) {
  const Sight design = Look(kind, 96);
  ASSERT_FALSE(design.picture.pixels.empty()) << kind.name << " did not open";
  const int width = design.client.right - design.client.left, height = design.client.bottom - design.client.top;
  const Picture designCoarse = ScaledDown(design.picture, width / 2, height / 2);
  for (int dpi : kScaledDpis) {
    SCOPED_TRACE(kind.name + " at " + std::to_string(dpi) + " DPI");
    const Sight scaled = Look(kind, dpi);
    ASSERT_FALSE(scaled.picture.pixels.empty());
    EXPECT_NEAR(scaled.client.right - scaled.client.left, MulDiv(width, dpi, 96), 2);
    EXPECT_NEAR(scaled.client.bottom - scaled.client.top, MulDiv(height, dpi, 96), 2);
    if (!design.framed) {
      EXPECT_EQ(scaled.window.right - scaled.window.left, scaled.client.right - scaled.client.left);
      EXPECT_EQ(scaled.window.bottom - scaled.window.top, scaled.client.bottom - scaled.client.top);
    }
    ExpectCaptionsInside(scaled, design);
    ASSERT_EQ(scaled.rowHeights.size(), design.rowHeights.size());
    for (size_t i = 0; i < design.rowHeights.size(); ++i)
      EXPECT_NEAR(scaled.rowHeights[i], MulDiv(design.rowHeights[i], dpi, 96), 1) << "the rows of list " << i;
    const double difference = MeanDifference(ScaledDown(scaled.picture, width / 2, height / 2), designCoarse);
    EXPECT_LE(difference, kind.mostDifference);
  }
}

HWND Opened(RunningProgram& program, const wchar_t* className) {
  HWND window = program.WaitForWindow(className, 10000);
  for (int i = 0; i < 30 && window && GetForegroundWindow() != window; ++i) Sleep(100);
  return window;
}

HWND OpenOptions(RunningProgram& program) {
  program.ClickControl(L"SpeedButton8");  // "Настройки"
  return Opened(program, L"TOptionsForm");
}

HWND OpenFromOptions(RunningProgram& program, const wchar_t* button, const wchar_t* className) {
  HWND options = OpenOptions(program);
  if (!options) return nullptr;
  ClickControlOf(options, button);
  return Opened(program, className);
}

// The program's own resources, read from the built program as data.
class ProgramArt {
 public:
  ProgramArt() : module_(LoadLibraryExW(BuiltProgram().c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE)) {}
  ~ProgramArt() {
    if (module_) FreeLibrary(module_);
  }
  ProgramArt(const ProgramArt&) = delete;
  ProgramArt& operator=(const ProgramArt&) = delete;
  bool Loaded() const { return module_ != nullptr; }

  Picture Bitmap(UINT id) const {
    const HBITMAP bitmap =
        static_cast<HBITMAP>(LoadImageW(module_, MAKEINTRESOURCEW(id), IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION));
    BITMAP info{};
    if (!bitmap || !GetObjectW(bitmap, sizeof info, &info)) return {};
    Picture p{info.bmWidth, std::abs(info.bmHeight), {}};
    p.pixels.resize(static_cast<size_t>(p.width) * p.height * 4);
    BITMAPINFO request{};
    request.bmiHeader = {sizeof(BITMAPINFOHEADER), p.width, -p.height, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
    const HDC screen = GetDC(nullptr);
    if (GetDIBits(screen, bitmap, 0, p.height, p.pixels.data(), &request, DIB_RGB_COLORS) != p.height) p = {};
    ReleaseDC(nullptr, screen);
    DeleteObject(bitmap);
    return p;
  }

  // A stored outline (its size, then the region data) as a region; null when there is none.
  HRGN Outline(UINT id) const {
    const HRSRC found = FindResourceW(module_, MAKEINTRESOURCEW(id), RT_RCDATA);
    const HGLOBAL loaded = found ? LoadResource(module_, found) : nullptr;
    const auto* bytes = static_cast<const unsigned char*>(loaded ? LockResource(loaded) : nullptr);
    const DWORD size = found ? SizeofResource(module_, found) : 0;
    if (!bytes || size <= 4) return nullptr;
    std::vector<DWORD> data((size - 4 + 3) / 4);
    std::copy(bytes + 4, bytes + size, reinterpret_cast<unsigned char*>(data.data()));
    return ExtCreateRegion(nullptr, size - 4, reinterpret_cast<const RGNDATA*>(data.data()));
  }

 private:
  HMODULE module_;
};

}  // namespace

// At 96, 144 and 192 DPI the main window wears the skin painted for 100, 150 and 200%: its
// outline is that skin's stored outline, and the brushed metal and vents between the settings and
// the exit button, where no control lies, are that skin's pixels one for one, every edge as sharp
// as painted (the 96-DPI skin stretched has a grain twice as coarse, and its vents fall elsewhere).
TEST(Scale, TheMainSkinIsPaintedForTheScale) {
  const ProgramArt art;
  ASSERT_TRUE(art.Loaded());
  constexpr UINT kStep = 1000, kSkin = 100, kOutline = 101;  // see resources/ResourceIds.h
  for (const auto& [dpi, step] : {std::pair{96, 0u}, std::pair{144, 2u}, std::pair{192, 4u}}) {
    SCOPED_TRACE(std::to_string(dpi) + " DPI");
    RunningProgram program(kSettings);
    HWND main = nullptr;
    {
      SystemDpi scope(static_cast<DWORD>(dpi));
      program.Start();
      main = program.MainWindow();
    }
    ASSERT_TRUE(main);
    SetCursorPos(GetSystemMetrics(SM_CXSCREEN) - 1, GetSystemMetrics(SM_CYSCREEN) - 1);
    Sleep(600);  // painted

    const HRGN shown = CreateRectRgn(0, 0, 0, 0), stored = art.Outline(kOutline + kStep * step);
    ASSERT_TRUE(stored);
    ASSERT_NE(GetWindowRgn(main, shown), ERROR);
    EXPECT_TRUE(EqualRgn(shown, stored)) << "the window's outline is not the skin's";
    DeleteObject(shown);
    DeleteObject(stored);

    const Picture skin = art.Bitmap(kSkin + kStep * step);
    ASSERT_EQ(skin.width, MulDiv(600, dpi, 96));
    RECT window{};
    GetWindowRect(main, &window);
    const RECT metal{MulDiv(440, dpi, 96), MulDiv(12, dpi, 96), MulDiv(526, dpi, 96), MulDiv(66, dpi, 96)};
    const Picture seen = Capture(
        {window.left + metal.left, window.top + metal.top, window.left + metal.right, window.top + metal.bottom});
    ASSERT_EQ(seen.width, metal.right - metal.left);
    int differing = 0;
    for (int y = 0; y < seen.height; ++y)
      for (int x = 0; x < seen.width; ++x)
        differing += !std::equal(seen.At(x, y), seen.At(x, y) + 3, skin.At(metal.left + x, metal.top + y));
    EXPECT_EQ(differing, 0) << "of " << seen.width * seen.height << " pixels";
  }
}

TEST(Scale, TheMainWindow) {
  ExpectScaledAtEveryDpi(
      {"main", [](RunningProgram& p) { p.Start(); }, [](RunningProgram& p) { return p.MainWindow(); }});
}

TEST(Scale, TheResultWindow) {
  ExpectScaledAtEveryDpi({"result",
                          [](RunningProgram& p) {
                            ClearScratchDrive();
                            for (const wchar_t* file : {L"\\setup.log", L"\\cache\\a.dat"})
                              MakeFile(kTemp + file, 5000);
                            p.StartWithTemp(L"", kTemp);
                          },
                          [](RunningProgram& p) -> HWND {
                            p.ClickControl(L"SpeedButton6");  // "TMP"
                            if (!AnswerDialog(p, L"#32770", L"Информация", L"&Да")) return nullptr;
                            return Opened(p, L"TDirKillerForm2");
                          }});
  ClearScratchDrive();
}

TEST(Scale, TheAboutWindow) {
  ExpectScaledAtEveryDpi({"about", [](RunningProgram& p) { p.Start(); },
                          [](RunningProgram& p) {
                            p.ClickControl(L"SpeedButton1");  // "О..."
                            return Opened(p, L"TAboutForm");
                          }});
}

TEST(Scale, TheOptionsWindow) {
  ExpectScaledAtEveryDpi({"options", [](RunningProgram& p) { p.Start(); }, OpenOptions});
}

TEST(Scale, TheListEditors) {
  ExpectScaledAtEveryDpi({"masks", [](RunningProgram& p) { p.Start(); },
                          [](RunningProgram& p) { return OpenFromOptions(p, L"SpeedButton1", L"TFileTypeForm"); }});
  ExpectScaledAtEveryDpi({"exclusions", [](RunningProgram& p) { p.Start(); },
                          [](RunningProgram& p) { return OpenFromOptions(p, L"SpeedButton2", L"TExcludeForm"); }});
}

TEST(Scale, TheSoundEditor) {
  ExpectScaledAtEveryDpi({"sounds", [](RunningProgram& p) { p.Start(); },
                          [](RunningProgram& p) { return OpenFromOptions(p, L"SpeedButton5", L"TSoundFRM"); }});
}

TEST(Scale, TheRestoreWindow) {
  ExpectScaledAtEveryDpi({"restore", [](RunningProgram& p) { p.Start(); },
                          [](RunningProgram& p) {
                            SetForegroundWindow(p.MainWindow());
                            SendKey(VK_CONTROL, false);
                            TapKey('Z');
                            SendKey(VK_CONTROL, true);
                            return Opened(p, L"TRestoreForm");
                          }});
}

TEST(Scale, TheHintBubble) {
  WindowKind hint{
      "hint", [](RunningProgram& p) { p.Start(); },
      [](RunningProgram& p) -> HWND {
        HWND main = p.MainWindow();
        RECT frame{};
        GetWindowRect(main, &frame);
        SetWindowPos(main, nullptr, 0, 0, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
        const ControlInfo search = FindControl(main, L"SpeedButton2");  // "Поиск"
        POINT centre{(search.bounds.left + search.bounds.right) / 2, (search.bounds.top + search.bounds.bottom) / 2};
        ClientToScreen(main, &centre);
        SetCursorPos(centre.x - 20, centre.y - 20);
        Sleep(300);
        SetCursorPos(centre.x, centre.y);
        return p.WaitForWindow(L"tooltips_class32", 5000);
      }};
  hint.describes = false;
  // The bubble is mostly text, and its corners and shadow show the screen beneath it.
  hint.mostDifference = 20;
  ExpectScaledAtEveryDpi(hint);
}

}  // namespace krelmix::e2e
