#include "SkinWindow.h"

#include <thread>

namespace krelmix::test {

namespace {

const wchar_t kClassName[] = L"KrelmixSkinTestWindow";

void RegisterOnce() {
  static const bool registered = [] {
    WNDCLASSEXW wc{};
    wc.cbSize = sizeof wc;
    wc.lpfnWndProc = DefWindowProcW;
    wc.hInstance = GetModuleHandleW(nullptr);
    wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    wc.lpszClassName = kClassName;
    return RegisterClassExW(&wc) != 0;
  }();
  (void)registered;
}

void Send(DWORD flags, int x = 0, int y = 0) {
  INPUT input{};
  input.type = INPUT_MOUSE;
  input.mi.dwFlags = flags;
  input.mi.dx = x;
  input.mi.dy = y;
  SendInput(1, &input, sizeof input);
}

}  // namespace

SkinWindow::SkinWindow(const Options& options) {
  RegisterOnce();
  const HINSTANCE instance = GetModuleHandleW(nullptr);
  // Designed 600 x 464 with a caption and a frame, as a window definition might say; the skin
  // control takes both away and sizes the client area to the skin.
  hwnd_ = CreateWindowExW(0, kClassName, L"Skin test", WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN, options.at.x,
                          options.at.y, 600, 464, nullptr, nullptr, instance, nullptr);
  captureThief_ =
      CreateWindowExW(0, kClassName, L"Capture thief", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr, instance, nullptr);
  SetWindowLongPtrW(hwnd_, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
  SetWindowLongPtrW(hwnd_, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(Proc));

  skin_ = std::make_unique<TfcImageForm>();
  skin_->SetPicture(LoadBitmapResource(instance, IDB_SKIN_MAIN));
  if (!options.regionData.empty())
    skin_->SetRegionData(options.regionData);
  else if (options.storedOutline)
    skin_->SetRegionData(LoadResourceBytes(instance, IDR_SKIN_MAIN_OUTLINE));
  skin_->SetAutoSize(true);
  skin_->SetCaptionBarControl(TfcImageForm::CaptionBar::Skin);
  skin_->Attach(hwnd_, {options.isHandledAt, options.onError});
  SetWindowPos(hwnd_, nullptr, options.at.x, options.at.y, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
  ShowWindow(hwnd_, SW_SHOW);
  UpdateWindow(hwnd_);
  Focus();
  Pump(200);
}

SkinWindow::~SkinWindow() {
  skin_.reset();
  DestroyWindow(captureThief_);
  DestroyWindow(hwnd_);
  Pump(50);
}

void SkinWindow::Focus() {
  SetForegroundWindow(hwnd_);
  SetActiveWindow(hwnd_);
  SetFocus(hwnd_);
}

POINT SkinWindow::TopLeft() const {
  RECT r{};
  GetWindowRect(hwnd_, &r);
  return {r.left, r.top};
}

LRESULT CALLBACK SkinWindow::Proc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  auto* self = reinterpret_cast<SkinWindow*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
  switch (message) {
    case WM_PAINT: {
      PAINTSTRUCT ps;
      const HDC dc = BeginPaint(hwnd, &ps);
      if (self->skin_) self->skin_->Paint(dc);
      EndPaint(hwnd, &ps);
      return 0;
    }
    case WM_ERASEBKGND:
      return 1;
    case WM_LBUTTONDOWN:
      ++self->presses_;
      break;
    case kStealCapture:
      SetCapture(self->captureThief_);
      return 0;
  }
  return DefWindowProcW(hwnd, message, wParam, lParam);
}

void Pump(DWORD milliseconds) {
  const DWORD end = GetTickCount() + milliseconds;
  for (;;) {
    MSG msg;
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
      TranslateMessage(&msg);
      DispatchMessageW(&msg);
    }
    const DWORD now = GetTickCount();
    if (static_cast<LONG>(end - now) <= 0) return;
    MsgWaitForMultipleObjects(0, nullptr, FALSE, end - now, QS_ALLINPUT);
  }
}

int RunWithInput(const std::function<void()>& script) {
  HANDLE done = CreateEventW(nullptr, TRUE, FALSE, nullptr);
  std::thread input([&] {
    script();
    SetEvent(done);
  });
  int quitCode = -1;
  while (WaitForSingleObject(done, 0) != WAIT_OBJECT_0) {
    MsgWaitForMultipleObjects(1, &done, FALSE, INFINITE, QS_ALLINPUT);
    MSG msg;
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
      if (msg.message == WM_QUIT) quitCode = static_cast<int>(msg.wParam);
      TranslateMessage(&msg);
      DispatchMessageW(&msg);
    }
  }
  input.join();
  CloseHandle(done);
  Pump(100);
  return quitCode;
}

// Absolute coordinates run from 0 to 65535 over the screen; rounding up lands on the pixel.
void MoveMouse(int x, int y) {
  const int w = GetSystemMetrics(SM_CXSCREEN), h = GetSystemMetrics(SM_CYSCREEN);
  Send(MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE, (x * 65536 + w - 1) / w, (y * 65536 + h - 1) / h);
  Sleep(150);
}

void LeftDown() {
  Send(MOUSEEVENTF_LEFTDOWN);
  Sleep(150);
}

void LeftUp() {
  Send(MOUSEEVENTF_LEFTUP);
  Sleep(200);
}

std::vector<uint32_t> ScreenStrip(int x, int y, int width, int height) {
  WindowDC screen(nullptr);
  MemoryDC memory(screen.Get());
  BITMAPINFO info{};
  info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
  info.bmiHeader.biWidth = width;
  info.bmiHeader.biHeight = -height;
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 32;
  void* bits = nullptr;
  GdiObject<HBITMAP> bitmap(CreateDIBSection(screen.Get(), &info, DIB_RGB_COLORS, &bits, nullptr, 0));
  SelectGuard selected(memory.Get(), bitmap.Get());
  BitBlt(memory.Get(), 0, 0, width, height, screen.Get(), x, y, SRCCOPY);
  GdiFlush();
  const auto* pixels = static_cast<const uint32_t*>(bits);
  return std::vector<uint32_t>(pixels, pixels + static_cast<size_t>(width) * height);
}

}  // namespace krelmix::test
