#include "toolkit/GraphicHost.h"

#include <commctrl.h>
#include <windowsx.h>

#include "toolkit/ShapeHint.h"
#include "toolkit/Window.h"

namespace krelmix {

namespace {
bool Contains(const RECT& r, POINT p) { return p.x >= r.left && p.x < r.right && p.y >= r.top && p.y < r.bottom; }
POINT PointOf(LPARAM lParam) { return {GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)}; }
}  // namespace

void GraphicHost::Add(GraphicControl& control) {
  controls_.push_back(&control);
  if (hwnd_) control.AttachTo(hwnd_);
}

void GraphicHost::Bind(HWND hwnd) {
  hwnd_ = hwnd;
  for (auto* control : controls_) control->AttachTo(hwnd);
  CreateTooltips();
}

void GraphicHost::Paint(HDC dc) const {
  for (auto* control : controls_) {
    if (control->Visible()) control->Paint(dc);
  }
}

GraphicControl* GraphicHost::ControlAt(POINT client, bool includeDisabled) const {
  for (auto it = controls_.rbegin(); it != controls_.rend(); ++it) {
    GraphicControl* control = *it;
    if (control->Visible() && (includeDisabled || control->Enabled()) && Contains(control->Bounds(), client))
      return control;
  }
  return nullptr;
}

void GraphicHost::SetHot(GraphicControl* control) {
  if (control == hot_) return;
  if (hot_) hot_->MouseLeave();
  hot_ = control;
  if (hot_) hot_->MouseEnter();
}

bool GraphicHost::HandleMessage(UINT message, WPARAM, LPARAM lParam, LRESULT& result) {
  result = 0;
  switch (message) {
    case WM_MOUSEMOVE: {
      if (!tracking_) {
        TRACKMOUSEEVENT track{};
        track.cbSize = sizeof track;
        track.dwFlags = TME_LEAVE;
        track.hwndTrack = hwnd_;
        tracking_ = TrackMouseEvent(&track) != FALSE;
      }
      GraphicControl* under = ControlAt(PointOf(lParam), false);
      // While a press is held only the pressed control lights up, as a push button does.
      SetHot(pressed_ ? (under == pressed_ ? pressed_ : nullptr) : under);
      return pressed_ != nullptr;
    }
    case WM_MOUSELEAVE:
      tracking_ = false;
      if (!pressed_) SetHot(nullptr);
      return false;
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK: {
      GraphicControl* control = ControlAt(PointOf(lParam), false);
      if (!control) return false;
      if (message == WM_LBUTTONDBLCLK && control->onDblClick && !control->HandlesPress()) {
        control->onDblClick();
        return true;
      }
      if (!control->HandlesPress()) return false;
      pressed_ = control;
      SetCapture(hwnd_);
      SetHot(control);
      control->MouseDown();
      return true;
    }
    case WM_LBUTTONUP: {
      if (!pressed_) return false;
      GraphicControl* control = pressed_;
      pressed_ = nullptr;
      if (GetCapture() == hwnd_) ReleaseCapture();
      const bool inside = control->Enabled() && Contains(control->Bounds(), PointOf(lParam));
      SetHot(ControlAt(PointOf(lParam), false));
      control->MouseUp(inside);
      return true;
    }
    case WM_CAPTURECHANGED:
      if (pressed_) {
        GraphicControl* control = pressed_;
        pressed_ = nullptr;
        control->MouseUp(false);
      }
      return false;
    case WM_SETCURSOR: {
      POINT p;
      GetCursorPos(&p);
      ScreenToClient(hwnd_, &p);
      GraphicControl* control = ControlAt(p, false);
      if (LOWORD(lParam) == HTCLIENT && control && control->Cursor()) {
        ::SetCursor(control->Cursor().Get());
        result = TRUE;
        return true;
      }
      return false;
    }
  }
  return false;
}

void GraphicHost::CreateTooltips() {
  tooltips_.Reset(CreateWindowExW(WS_EX_TOPMOST, TOOLTIPS_CLASSW, nullptr, WS_POPUP | TTS_NOPREFIX | TTS_ALWAYSTIP,
                                  CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, hwnd_, nullptr,
                                  ModuleInstance(), nullptr));
  UpdateTooltips();
}

void GraphicHost::UpdateTooltips() {
  if (!tooltips_) return;
  if (!shapedTooltips_ && ShapeHint::Program()) {
    shapedTooltips_ = true;
    ShapeHint::Program()->Adopt(tooltips_.Get(), [this] { return CurrentHint(); });
  }
  for (UINT_PTR id = 1; id <= controls_.size(); ++id) {
    TTTOOLINFOW tool{};
    tool.cbSize = sizeof tool;
    tool.hwnd = hwnd_;
    tool.uId = id;
    SendMessageW(tooltips_.Get(), TTM_DELTOOLW, 0, reinterpret_cast<LPARAM>(&tool));
    const GraphicControl& control = *controls_[id - 1];
    if (control.Hint().empty()) continue;
    tool.uFlags = TTF_SUBCLASS;
    tool.rect = control.Bounds();
    tool.lpszText = const_cast<wchar_t*>(control.Hint().c_str());
    SendMessageW(tooltips_.Get(), TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&tool));
  }
}

std::wstring GraphicHost::CurrentHint() const {
  POINT cursor;
  GetCursorPos(&cursor);
  const HWND under = WindowFromPoint(cursor);
  for (const WindowTool& tool : windowTools_)
    if (tool.child == under) return tool.hint();
  // A disabled control is never hot, but its hint still shows over it.
  ScreenToClient(hwnd_, &cursor);
  const GraphicControl* control = ControlAt(cursor, true);
  return control ? control->Hint() : std::wstring();
}

void GraphicHost::AddWindowTool(HWND child, std::function<std::wstring()> hint) {
  windowTools_.push_back({child, std::move(hint)});
  if (!tooltips_) return;
  TTTOOLINFOW tool{};
  tool.cbSize = sizeof tool;
  tool.uFlags = TTF_IDISHWND | TTF_SUBCLASS;
  tool.hwnd = hwnd_;
  tool.uId = reinterpret_cast<UINT_PTR>(child);
  tool.lpszText = LPSTR_TEXTCALLBACKW;
  SendMessageW(tooltips_.Get(), TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&tool));
}

bool GraphicHost::AnswerTextRequest(LPARAM lParam) {
  auto* request = reinterpret_cast<NMTTDISPINFOW*>(lParam);
  if (!tooltips_ || request->hdr.hwndFrom != tooltips_.Get() || request->hdr.code != TTN_GETDISPINFOW) return false;
  const HWND child = reinterpret_cast<HWND>(request->hdr.idFrom);
  for (const WindowTool& tool : windowTools_) {
    if (tool.child != child) continue;
    requestedText_ = tool.hint();
    request->lpszText = requestedText_.data();
    return true;
  }
  return false;
}

}  // namespace krelmix
