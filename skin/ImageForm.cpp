#include "skin/ImageForm.h"

#include <algorithm>
#include <cstdlib>
#include <exception>
#include <utility>

#include "platform/win32/Handles.h"
#include "toolkit/MessageLoop.h"

namespace krelmix {

namespace {

// State shared by every skin control of the process (all on the one GUI thread).
struct SharedState {
  std::vector<TfcCustomImageForm*> controls;  // the live ones, oldest first
  WindowsHook hook;                           // present while a control lives
  bool dragging = false;                      // a drag started by the hook is running
  // The press that started the last drag, to tell the second click of a double-click (below).
  DWORD lastPressTime = 0;
  POINT lastPressPoint{};
  bool hadPress = false;
};

SharedState& Shared() {
  static SharedState state;
  return state;
}

class DragFlag {
 public:
  DragFlag() { Shared().dragging = true; }
  ~DragFlag() { Shared().dragging = false; }
  DragFlag(const DragFlag&) = delete;
  DragFlag& operator=(const DragFlag&) = delete;
};

std::wstring Widen(const char* text) {
  std::wstring wide;
  for (const char* p = text; *p; ++p) wide += static_cast<wchar_t>(static_cast<unsigned char>(*p));
  return wide;
}

uint32_t ToGridColour(COLORREF colour) {
  return static_cast<uint32_t>(GetRValue(colour)) << 16 | static_cast<uint32_t>(GetGValue(colour)) << 8 |
         GetBValue(colour);
}

// The outline rectangle: the form's whole size, at `topLeft`, drawn as three nested dotted
// rectangles by inverting the screen. Drawing it again erases it.
void DrawOutline(const RECT& outline) {
  WindowDC screen(nullptr);
  RECT r = outline;
  for (int i = 0; i < 3; ++i) {
    DrawFocusRect(screen.Get(), &r);
    InflateRect(&r, -1, -1);
  }
}

// A palette made from a bitmap's colour table, for drawing on displays of 256 colours or fewer.
GdiObject<HPALETTE> PaletteOf(HDC bitmapDc) {
  RGBQUAD colours[256];
  const UINT count = GetDIBColorTable(bitmapDc, 0, 256, colours);
  if (count == 0) return {};
  std::vector<uint8_t> block(sizeof(LOGPALETTE) + count * sizeof(PALETTEENTRY));
  auto* palette = reinterpret_cast<LOGPALETTE*>(block.data());
  palette->palVersion = 0x300;
  palette->palNumEntries = static_cast<WORD>(count);
  for (UINT i = 0; i < count; ++i)
    palette->palPalEntry[i] = {colours[i].rgbRed, colours[i].rgbGreen, colours[i].rgbBlue, 0};
  return GdiObject<HPALETTE>(CreatePalette(palette));
}

}  // namespace

TfcCustomImageForm::TfcCustomImageForm() {
  SharedState& shared = Shared();
  shared.controls.push_back(this);
  if (shared.controls.size() == 1)
    shared.hook.Reset(SetWindowsHookExW(WH_MOUSE, MouseHookProc, nullptr, GetCurrentThreadId()));
}

TfcCustomImageForm::~TfcCustomImageForm() {
  SharedState& shared = Shared();
  shared.controls.erase(std::remove(shared.controls.begin(), shared.controls.end(), this), shared.controls.end());
  if (shared.controls.empty()) shared.hook.Reset();
}

bool TfcCustomImageForm::MouseHookInstalled() { return Shared().hook.Get() != nullptr; }

void TfcCustomImageForm::Attach(HWND window, Callbacks callbacks) {
  // A control given a child window goes onto that window's form.
  form_ = GetAncestor(window, GA_ROOT);
  if (!form_) form_ = window;
  callbacks_ = std::move(callbacks);

  const LONG_PTR style = GetWindowLongPtrW(form_, GWL_STYLE);
  SetWindowLongPtrW(
      form_, GWL_STYLE,
      style & ~static_cast<LONG_PTR>(WS_CAPTION | WS_THICKFRAME | WS_BORDER | WS_DLGFRAME | WS_CLIPCHILDREN));
  const LONG_PTR exStyle = GetWindowLongPtrW(form_, GWL_EXSTYLE);
  SetWindowLongPtrW(
      form_, GWL_EXSTYLE,
      exStyle & ~static_cast<LONG_PTR>(WS_EX_CLIENTEDGE | WS_EX_WINDOWEDGE | WS_EX_DLGMODALFRAME | WS_EX_STATICEDGE));
  SetWindowPos(form_, nullptr, 0, 0, 0, 0, SWP_FRAMECHANGED | SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
  FitFormToControl();
  ApplyOutline();
  InvalidateRect(form_, nullptr, FALSE);
}

void TfcCustomImageForm::SetPicture(Bitmap picture, int artDpi) {
  picture_ = std::move(picture);
  artDpi_ = artDpi;
  // The outline stays as it was applied; only the size follows a new skin.
  FitFormToControl();
  if (form_) InvalidateRect(form_, nullptr, FALSE);
}

void TfcCustomImageForm::SetAutoSize(bool on) {
  autoSize_ = on;
  FitFormToControl();
}

SIZE TfcCustomImageForm::PictureSize() const {
  BITMAP info{};
  if (!picture_ || !GetObjectW(picture_.Get(), sizeof info, &info)) return {0, 0};
  return {info.bmWidth, info.bmHeight < 0 ? -info.bmHeight : info.bmHeight};
}

RECT TfcCustomImageForm::Bounds() const {
  const SIZE size = ShownSize();
  if (autoSize_ && size.cx > 0 && size.cy > 0) return {0, 0, size.cx, size.cy};
  RECT client{};
  if (form_) GetClientRect(form_, &client);
  return client;
}

// With AutoSize the control takes the skin's size and the form's client area takes the control's.
void TfcCustomImageForm::FitFormToControl() const {
  const SIZE size = ShownSize();
  if (!form_ || !autoSize_ || size.cx <= 0 || size.cy <= 0) return;
  RECT client{}, frame{0, 0, size.cx, size.cy};
  GetClientRect(form_, &client);
  if (client.right == size.cx && client.bottom == size.cy) return;
  AdjustWindowRectEx(&frame, static_cast<DWORD>(GetWindowLongPtrW(form_, GWL_STYLE)), FALSE,
                     static_cast<DWORD>(GetWindowLongPtrW(form_, GWL_EXSTYLE)));
  SetWindowPos(form_, nullptr, 0, 0, frame.right - frame.left, frame.bottom - frame.top,
               SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void TfcCustomImageForm::ChangeScale(DisplayScale scale) {
  scale_ = scale;
  if (!form_) return;
  FitFormToControl();
  ApplyOutline();
  InvalidateRect(form_, nullptr, TRUE);
}

// The stored outline when there is one, else the skin's. A block that is not well-formed region
// data is not handed to GDI; the skin's outline is used instead, as for N = 0.
void TfcCustomImageForm::ApplyOutline() const {
  GdiObject<HRGN> region;
  const StoredOutline stored = ParseStoredOutline(regionData_);
  if (stored.kind == StoredOutlineKind::Outline)
    region.Reset(ExtCreateRegion(nullptr, static_cast<DWORD>(stored.regionData.size()),
                                 reinterpret_cast<const RGNDATA*>(stored.regionData.data())));
  else
    region = ComputeOutlineRegion(picture_.Get(), transparentColor_);
  if (region && scale_.Dpi() != artDpi_) {
    // The outline of the skin as painted, each of its rectangles scaled as the skin is.
    std::vector<uint8_t> data(GetRegionData(region.Get(), 0, nullptr));
    const float s = static_cast<float>(scale_.Dpi()) / static_cast<float>(artDpi_);
    const XFORM scaling{s, 0, 0, s, 0, 0};
    if (!data.empty() &&
        GetRegionData(region.Get(), static_cast<DWORD>(data.size()), reinterpret_cast<RGNDATA*>(data.data())))
      region.Reset(
          ExtCreateRegion(&scaling, static_cast<DWORD>(data.size()), reinterpret_cast<const RGNDATA*>(data.data())));
  }
  // Once set, the region belongs to the window; if it cannot be set, the window stays a rectangle.
  if (region && SetWindowRgn(form_, region.Get(), TRUE)) region.Release();
}

std::vector<uint8_t> TfcCustomImageForm::ComputeRegionData() const {
  const GdiObject<HRGN> region = ComputeOutlineRegion(picture_.Get(), transparentColor_);
  return region ? StoredOutlineOf(region.Get()) : NoStoredOutline();
}

void TfcCustomImageForm::Paint(HDC dc) const {
  const SIZE size = PictureSize();
  if (size.cx <= 0 || size.cy <= 0) return;
  MemoryDC memory(dc);
  SelectGuard picture(memory.Get(), picture_.Get());
  const bool paletteDisplay = GetDeviceCaps(dc, BITSPIXEL) * GetDeviceCaps(dc, PLANES) <= 8;
  GdiObject<HPALETTE> palette = paletteDisplay ? PaletteOf(memory.Get()) : GdiObject<HPALETTE>();
  std::optional<PaletteSelection> selected;
  if (palette) selected.emplace(dc, palette.Get());
  const SIZE shown = ShownSize();
  if (shown.cx == size.cx && shown.cy == size.cy) {  // art painted for this scale
    BitBlt(dc, 0, 0, size.cx, size.cy, memory.Get(), 0, 0, SRCCOPY);
    return;
  }
  SetStretchBltMode(dc, COLORONCOLOR);
  StretchBlt(dc, 0, 0, shown.cx, shown.cy, memory.Get(), 0, 0, size.cx, size.cy, SRCCOPY);
}

void TfcCustomImageForm::ReportError(const std::wstring& text) const {
  if (callbacks_.onError) callbacks_.onError(text);
}

// ---- Dragging ---------------------------------------------------------------------------------

LRESULT CALLBACK TfcCustomImageForm::MouseHookProc(int code, WPARAM wParam, LPARAM lParam) {
  const LRESULT next = CallNextHookEx(nullptr, code, wParam, lParam);
  // Only messages that are really being taken out of the queue; a peek that leaves the press in
  // the queue must not start a drag, or the press would reach the window afterwards after all.
  if (code != HC_ACTION) return next;
  try {
    if (StartDragOnPress(static_cast<UINT>(wParam), *reinterpret_cast<const MOUSEHOOKSTRUCT*>(lParam)))
      return 1;  // the press was the start of a drag: no control sees it
  } catch (const std::exception& e) {
    // Not from a form's callback (those are reported by their own control): the oldest control,
    // normally the main window's, reports it.
    if (!Shared().controls.empty()) Shared().controls.front()->ReportError(Widen(e.what()));
  } catch (...) {
    if (!Shared().controls.empty()) Shared().controls.front()->ReportError(L"Unknown error");
  }
  return next;
}

namespace {

bool IsLeftPress(UINT message) {
  return message == WM_LBUTTONDOWN || message == WM_LBUTTONDBLCLK || message == WM_NCLBUTTONDOWN ||
         message == WM_NCLBUTTONDBLCLK;
}

// Whether a press that started a drag is the second click of a double-click: the system says it
// is one, and it follows the press of the previous drag within the double-click time and area
// (a press taken twice, as Wine offers it, also reads as a double-click of itself).
bool SecondClickOfPair(const MSG& press) {
  SharedState& shared = Shared();
  const bool second = (press.message == WM_LBUTTONDBLCLK || press.message == WM_NCLBUTTONDBLCLK) && shared.hadPress &&
                      press.time - shared.lastPressTime <= GetDoubleClickTime() &&
                      std::abs(press.pt.x - shared.lastPressPoint.x) <= GetSystemMetrics(SM_CXDOUBLECLK) / 2 &&
                      std::abs(press.pt.y - shared.lastPressPoint.y) <= GetSystemMetrics(SM_CYDOUBLECLK) / 2;
  // A double-click ends the pair; a third press starts a new one.
  shared.hadPress = !second;
  shared.lastPressTime = press.time;
  shared.lastPressPoint = press.pt;
  return second;
}

}  // namespace

bool TfcCustomImageForm::StartDragOnPress(UINT message, const MOUSEHOOKSTRUCT& mouse) {
  SharedState& shared = Shared();
  if (shared.dragging || (message != WM_LBUTTONDOWN && message != WM_NCLBUTTONDOWN)) return false;
  const HWND focus = GetFocus();
  const HWND activeForm = focus ? GetAncestor(focus, GA_ROOT) : nullptr;
  if (!activeForm) return false;
  // The pressed window must be one of ours; a window of another thread or program is none.
  HWND pressed = WindowFromPoint(mouse.pt);
  if (pressed && GetWindowThreadProcessId(pressed, nullptr) != GetCurrentThreadId()) pressed = nullptr;
  if (!pressed) return false;

  POINT client = mouse.pt;
  ScreenToClient(activeForm, &client);
  const std::vector<TfcCustomImageForm*> controls = shared.controls;  // a drag may add or remove some
  for (TfcCustomImageForm* control : controls) {
    if (control->form_ != activeForm) continue;
    bool wanted = false;
    try {
      wanted = control->WantsDrag(activeForm, pressed, client);
    } catch (const std::exception& e) {
      control->ReportError(Widen(e.what()));  // the press then goes on as if no skin were there
      return false;
    }
    if (!wanted) continue;
    DragFlag flag;
    SetWindowPos(activeForm, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
    control->DragLoop(mouse.pt);
    return true;
  }
  return false;
}

bool TfcCustomImageForm::WantsDrag(HWND activeForm, HWND pressed, POINT client) const {
  const bool handled = callbacks_.isHandledAt && callbacks_.isHandledAt(client);
  if (handled) return false;
  if (captionBar_ == CaptionBar::Skin) {
    const RECT bounds = Bounds();
    return PtInRect(&bounds, client) && pressed == form_;
  }
  return pressed == activeForm;
}

void TfcCustomImageForm::DragLoop(POINT pressScreen) {
  const HWND form = form_;
  const int tolerance = kDragTolerance;
  const std::weak_ptr<int> alive = lifeToken_;

  RECT window{};
  GetWindowRect(form, &window);
  const LONG width = window.right - window.left, height = window.bottom - window.top;
  // Where the press lies within the window: the outline keeps the cursor at that spot.
  const POINT offset{pressScreen.x - window.left, pressScreen.y - window.top};

  bool dragging = false;
  bool pressSeen = false;
  RECT last{};
  SetCapture(form);
  // However the loop ends, no outline is left on the screen and the capture is given back.
  struct Cleanup {
    const bool& dragging;
    const RECT& last;
    HWND form;
    ~Cleanup() {
      if (dragging) DrawOutline(last);
      if (GetCapture() == form) ReleaseCapture();
    }
  } cleanup{dragging, last, form};

  while (GetCapture() == form) {
    MSG msg;
    const BOOL got = GetMessageW(&msg, nullptr, 0, 0);
    if (got == -1) break;
    if (got == 0) {
      PostQuitMessage(static_cast<int>(msg.wParam));  // for the main message loop
      break;
    }
    // Some systems (Wine) call the hook before the press leaves the queue, so this loop takes the
    // press that started it once more; it must reach no window. Taken a second time, it may come
    // as a double-click of itself, which would reach a double-click handler on a single click.
    if (IsLeftPress(msg.message) && !pressSeen && msg.pt.x == pressScreen.x && msg.pt.y == pressScreen.y) {
      pressSeen = true;
      // Wine also offers the second press of a double-click to the hook as a plain press; taken
      // here it is a double-click, which must reach its window as on any system.
      if (SecondClickOfPair(msg)) {
        Deliver(msg);
      }
      continue;
    }
    if (msg.message == WM_MOUSEMOVE) {
      // The position the move was made at, not wherever the cursor has got to since.
      const POINT cursor = msg.pt;
      if (std::abs(cursor.x - pressScreen.x) <= tolerance && std::abs(cursor.y - pressScreen.y) <= tolerance) continue;
      if (dragging) DrawOutline(last);
      last = {cursor.x - offset.x, cursor.y - offset.y, cursor.x - offset.x + width, cursor.y - offset.y + height};
      DrawOutline(last);
      dragging = true;
      continue;  // moves are not dispatched while the button is held
    }
    if (msg.message == WM_LBUTTONUP) {
      if (dragging) {
        dragging = false;
        DrawOutline(last);
        SetWindowPos(form, nullptr, last.left, last.top, 0, 0,
                     SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_SHOWWINDOW);
      }
      Deliver(msg);
      if (GetCapture() == form) ReleaseCapture();
      break;
    }
    Deliver(msg);
    if (alive.expired()) break;  // the control went with its window
  }
}

// ---- Outlines and resources -------------------------------------------------------------------

std::optional<PixelGrid> ReadPixels(HBITMAP picture) {
  BITMAP info{};
  if (!picture || !GetObjectW(picture, sizeof info, &info)) return std::nullopt;
  const int width = info.bmWidth, height = info.bmHeight < 0 ? -info.bmHeight : info.bmHeight;
  if (width <= 0 || height <= 0) return std::nullopt;
  BITMAPINFO request{};
  request.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
  request.bmiHeader.biWidth = width;
  request.bmiHeader.biHeight = -height;  // top row first
  request.bmiHeader.biPlanes = 1;
  request.bmiHeader.biBitCount = 32;
  request.bmiHeader.biCompression = BI_RGB;
  PixelGrid grid{width, height, std::vector<uint32_t>(static_cast<size_t>(width) * height)};
  WindowDC screen(nullptr);
  if (GetDIBits(screen.Get(), picture, 0, static_cast<UINT>(height), grid.pixels.data(), &request, DIB_RGB_COLORS) !=
      height)
    return std::nullopt;
  for (uint32_t& pixel : grid.pixels) pixel &= 0xFFFFFF;
  return grid;
}

GdiObject<HRGN> ComputeOutlineRegion(HBITMAP picture, std::optional<COLORREF> transparentColor) {
  const std::optional<PixelGrid> grid = ReadPixels(picture);
  if (!grid) return {};
  const uint32_t key = transparentColor ? ToGridColour(*transparentColor) : DefaultKeyColour(*grid);
  const OpaqueAt opaque = [&](int x, int y) { return grid->At(x, y) != key; };
  GdiObject<HRGN> outline(CreateRectRgn(0, 0, 0, 0));
  if (!outline) return {};
  for (int y = 0; y < grid->height; ++y) {
    for (const PixelRun& run : RowRuns(grid->width, y, opaque)) {
      GdiObject<HRGN> row(CreateRectRgn(run.x1, y, run.x2, y + 1));
      if (row) CombineRgn(outline.Get(), outline.Get(), row.Get(), RGN_OR);
    }
  }
  return outline;
}

std::vector<uint8_t> StoredOutlineOf(HRGN region) {
  const DWORD size = GetRegionData(region, 0, nullptr);
  if (size == 0) return NoStoredOutline();
  std::vector<uint8_t> stored(4 + size);
  // RGNDATA wants DWORD alignment; a separate DWORD buffer guarantees it.
  std::vector<DWORD> data((size + 3) / 4);
  if (GetRegionData(region, size, reinterpret_cast<RGNDATA*>(data.data())) != size) return NoStoredOutline();
  for (int i = 0; i < 4; ++i) stored[i] = static_cast<uint8_t>(size >> (8 * i));
  const auto* bytes = reinterpret_cast<const uint8_t*>(data.data());
  std::copy(bytes, bytes + size, stored.begin() + 4);
  return stored;
}

std::vector<uint8_t> LoadResourceBytes(HINSTANCE instance, UINT id) {
  const HRSRC found = FindResourceW(instance, MAKEINTRESOURCEW(id), RT_RCDATA);
  if (!found) return {};
  const HGLOBAL loaded = LoadResource(instance, found);
  const DWORD size = SizeofResource(instance, found);
  const auto* bytes = static_cast<const uint8_t*>(loaded ? LockResource(loaded) : nullptr);
  if (!bytes) return {};
  return std::vector<uint8_t>(bytes, bytes + size);
}

}  // namespace krelmix
