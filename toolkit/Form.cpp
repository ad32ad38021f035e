#include "toolkit/Form.h"

#include <algorithm>
#include <stdexcept>

#include "toolkit/DisplayScale.h"
#include "toolkit/ErrorReport.h"
#include "toolkit/Gdi.h"
#include "toolkit/WindowedControl.h"

namespace krelmix {

const wchar_t kDescribeMessageName[] = L"Krelmix.DescribeControls";

namespace {
UINT DescribeMessage() {
  static const UINT message = RegisterWindowMessageW(kDescribeMessageName);
  return message;
}

RECT CentredRect(SIZE window, HWND around) {
  RECT area{0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
  if (around) GetWindowRect(around, &area);
  const int x = area.left + (area.right - area.left - window.cx) / 2;
  const int y = area.top + (area.bottom - area.top - window.cy) / 2;
  return {x, y, x + window.cx, y + window.cy};
}

void AppendField(std::wstring& out, const std::wstring& text) {
  for (wchar_t c : text) out += (c == L'\t' || c == L'\n') ? L' ' : c;
  out += L'\t';
}

SIZE CaptionExtent(const Control& c, RECT bounds) {
  const std::wstring caption = c.Caption();
  if (caption.empty()) return {};
  WindowDC screen(nullptr);
  SelectGuard select(screen.Get(),
                     c.CaptionFont() ? c.CaptionFont() : static_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT)));
  RECT text{0, 0, bounds.right - bounds.left, 0};
  DrawTextW(screen.Get(), caption.c_str(), static_cast<int>(caption.size()), &text,
            DT_CALCRECT | DT_WORDBREAK | DT_NOPREFIX);
  return {text.right - text.left, text.bottom - text.top};
}
}  // namespace

Form::~Form() {
  if (Exists()) DestroyWindow(Handle());
}

void Form::CreateForm(HWND owner, bool centreOnOwner) {
  owner_ = owner;
  RegisterClassOnce(style_.className.c_str(), CS_DBLCLKS, LoadCursorW(nullptr, IDC_ARROW), nullptr, style_.icon);
  // Made on the monitor it opens on: the owner's, else the primary one.
  scale_ = DisplayScale(DpiOf(centreOnOwner ? owner : nullptr));
  const DisplayScale scale = scale_;
  const SIZE client = scale(style_.clientSize);
  RECT frame{0, 0, client.cx, client.cy};
  AdjustWindowRectEx(&frame, style_.style, FALSE, style_.exStyle);
  const RECT bounds =
      CentredRect({frame.right - frame.left, frame.bottom - frame.top}, centreOnOwner ? owner : nullptr);
  CreateHandle(style_.exStyle, style_.className.c_str(), style_.title.c_str(), style_.style, bounds, owner);
  if (!Exists())
    throw std::runtime_error("The window could not be created (error " + std::to_string(GetLastError()) + ")");
  graphics_.Bind(Handle());
  DesignScaleScope designScale(scale);
  CreateControls();
  graphics_.UpdateTooltips();
  for (WindowedControl* control : windowed_)
    if (control->ShowsHint() && control->Handle())
      graphics_.AddWindowTool(control->Handle(), [control] { return control->Hint(); });
}

void Form::ChangeScale(int dpi, const RECT& bounds) {
  const DisplayScale from = scale_, to(dpi);
  scale_ = to;
  if (to.Dpi() != from.Dpi()) {
    const ScaleChange change{from, to, [this, from, to](BorrowedFont font) {
                               Font& scaled = scaledFonts_[{font.Get(), to.Dpi()}];
                               LOGFONTW look{};
                               if (!scaled && GetObjectW(font.Get(), sizeof look, &look)) {
                                 look.lfHeight = MulDiv(look.lfHeight, to.Dpi(), from.Dpi());
                                 look.lfWidth = MulDiv(look.lfWidth, to.Dpi(), from.Dpi());
                                 scaled = Font(CreateFontIndirectW(&look));
                               }
                               return scaled ? BorrowedFont(scaled) : font;
                             }};
    for (GraphicControl* control : graphics_.Controls()) control->ChangeScale(change);
    for (WindowedControl* control : windowed_) control->ChangeScale(change);
    if (onScaleChanged) onScaleChanged(to);
    ScaleChanged();
    graphics_.UpdateTooltips();
  }
  SetWindowPos(Handle(), nullptr, bounds.left, bounds.top, bounds.right - bounds.left, bounds.bottom - bounds.top,
               SWP_NOZORDER | SWP_NOACTIVATE);
  InvalidateRect(Handle(), nullptr, TRUE);
}

void Form::Show() { ShowWindow(Handle(), SW_SHOW); }
void Form::Hide() { ShowWindow(Handle(), SW_HIDE); }
void Form::Close() { SendMessageW(Handle(), WM_CLOSE, 0, 0); }

int Form::ShowModal() {
  modal_ = true;
  modalResult_ = mrNone;
  HWND owner = owner_;
  if (owner) EnableWindow(owner, FALSE);
  ShowWindow(Handle(), SW_SHOW);
  SetForegroundWindow(Handle());
  MSG msg;
  while (Exists() && modalResult_ == mrNone) {
    const BOOL got = GetMessageW(&msg, nullptr, 0, 0);
    if (got == -1) break;
    if (got == 0) {
      PostQuitMessage(static_cast<int>(msg.wParam));
      if (modalResult_ == mrNone) modalResult_ = mrCancel;
      break;
    }
    Deliver(msg);
  }
  // The owner comes back before this window goes, so the system activates it, not another program.
  if (owner) EnableWindow(owner, TRUE);
  if (Exists()) ShowWindow(Handle(), SW_HIDE);
  if (owner) SetForegroundWindow(owner);
  modal_ = false;
  return modalResult_ == mrNone ? mrCancel : modalResult_;
}

void Form::AddWindowed(WindowedControl& control) { windowed_.push_back(&control); }

void Form::FocusNext(HWND from, bool backwards) {
  std::vector<TabStop> usable;
  for (const TabStop& stop : tabOrder_)
    if (stop.Usable()) usable.push_back(stop);
  if (usable.empty()) return;
  const TabStop current = from == Handle() && paintedFocus_.Current() ? TabStop(*paintedFocus_.Current()) : from;
  auto it = std::find(usable.begin(), usable.end(), current);
  size_t index = 0;
  if (it != usable.end()) {
    index = static_cast<size_t>(it - usable.begin());
    index = backwards ? (index + usable.size() - 1) % usable.size() : (index + 1) % usable.size();
  } else if (backwards) {
    index = usable.size() - 1;
  }
  if (usable[index].painted) {
    paintedFocus_.Set(Handle(), usable[index].painted);
  } else {
    paintedFocus_.Set(Handle(), nullptr);
    SetFocus(usable[index].window);
  }
}

bool Form::PreTranslateMessage(MSG& msg) {
  // With no window focused (the focused list was greyed for a run) the active window gets the
  // keys as system keys; without Alt (context bit 29) they are the user's plain keys.
  const bool plain = msg.message == WM_KEYDOWN || (msg.message == WM_SYSKEYDOWN && !(msg.lParam & (1 << 29)));
  if (!Exists() || !plain || (msg.message == WM_SYSKEYDOWN && msg.hwnd != Handle())) return false;
  const UINT key = static_cast<UINT>(msg.wParam);
  const HWND from = msg.hwnd;
  const auto control =
      std::find_if(windowed_.begin(), windowed_.end(), [from](WindowedControl* c) { return c->Handle() == from; });
  if (from != Handle() && (control == windowed_.end() || (*control)->UsesKey(key))) return false;
  // A key the queue held until a modal window of ours read it was typed before that window came:
  // the form it held takes no keys, as it takes no clicks.
  if (!IsWindowEnabled(Handle())) return false;
  // A control moves the focus on at Ctrl+Tab too, as a dialog's controls do.
  if (key == VK_TAB && (from != Handle() || GetKeyState(VK_CONTROL) >= 0) && GetKeyState(VK_MENU) >= 0) {
    PaintedFocus::ShowMarks(true);
    FocusNext(from, GetKeyState(VK_SHIFT) < 0);
    return true;
  }
  GraphicControl* painted = from == Handle() ? paintedFocus_.Current() : nullptr;
  if (painted && (key == VK_SPACE || key == VK_RETURN) && !ModifierKeyHeld()) {
    if (painted->Visible() && painted->Enabled()) painted->DoDefaultAction();
    return true;
  }
  return keys_.Press(key, from);
}

void Form::CommandsChanged() {
  UpdateWindow(Handle());
  DropWaitingKeys(Handle());
}

void Form::Add(GraphicControl& control, const CreateArgs& args) {
  control.Create(ScaledToDesign(args));
  AddGraphic(control);
}

void Form::Add(WindowedControl& control, UINT id, const CreateArgs& args) {
  control.Create(Handle(), id, ScaledToDesign(args));
  AddWindowed(control);
}

std::wstring Form::DescribeControls() const {
  std::wstring out;
  auto line = [&out](const Control& c, RECT r) {
    AppendField(out, c.Name());
    AppendField(out, c.Kind());
    for (long v : {r.left, r.top, r.right - r.left, r.bottom - r.top}) AppendField(out, std::to_wstring(v));
    AppendField(out, c.Enabled() ? L"1" : L"0");
    AppendField(out, c.Visible() ? L"1" : L"0");
    AppendField(out, c.Caption());
    AppendField(out, c.Hint());
    const SIZE text = CaptionExtent(c, r);
    AppendField(out, std::to_wstring(text.cx));
    AppendField(out, std::to_wstring(text.cy));
    out.back() = L'\n';
  };
  for (const GraphicControl* c : graphics_.Controls()) line(*c, c->BoundsInParent());
  for (const WindowedControl* c : windowed_) {
    if (!c->Handle()) continue;
    const RECT bounds = c->BoundsInParent();
    line(*c, bounds);
    // Controls lying on a panel are listed in the form's coordinates.
    for (const GraphicControl* child : c->GraphicChildren()) {
      RECT r = child->BoundsInParent();
      OffsetRect(&r, bounds.left, bounds.top);
      line(*child, r);
    }
  }
  return out;
}

void Form::AnswerDescribe(HWND requester) const {
  const std::wstring text = DescribeControls();
  COPYDATASTRUCT data{kDescribeData, static_cast<DWORD>((text.size() + 1) * sizeof(wchar_t)),
                      const_cast<wchar_t*>(text.c_str())};
  // Never wait on the asking program for long: a requester that stops reading its messages must
  // not freeze this window.
  DWORD_PTR ignored = 0;
  SendMessageTimeoutW(requester, WM_COPYDATA, reinterpret_cast<WPARAM>(Handle()), reinterpret_cast<LPARAM>(&data),
                      SMTO_ABORTIFHUNG, 5000, &ignored);
}

void Form::PaintForm() {
  PaintDC paint(Handle());
  RECT client;
  GetClientRect(Handle(), &client);
  // Painted off-screen first, so buttons lit up over the skin do not flicker.
  MemoryDC buffer(paint.Get());
  Bitmap picture(CreateCompatibleBitmap(paint.Get(), client.right, client.bottom));
  SelectGuard select(buffer.Get(), picture.Get());
  Brush background(CreateSolidBrush(style_.color.Get()));
  FillRect(buffer.Get(), &client, background.Get());
  if (onPaintBackground) onPaintBackground(buffer.Get());
  graphics_.Paint(buffer.Get());
  paintedFocus_.Paint(buffer.Get(), Handle());
  const RECT& area = paint.Area();
  BitBlt(paint.Get(), area.left, area.top, area.right - area.left, area.bottom - area.top, buffer.Get(), area.left,
         area.top, SRCCOPY);
}

void Form::Activated(WPARAM wParam) {
  if (LOWORD(wParam) == WA_INACTIVE) {
    HWND focus = GetFocus();
    if (focus && IsChild(Handle(), focus)) lastFocus_ = focus;
    if (focus == Handle()) lastFocus_ = nullptr;  // a painted control keeps the focus
    return;
  }
  RestoreFocus();
  if (!activatedOnce_) {
    activatedOnce_ = true;
    if (onActivate) PostMessageW(Handle(), kFirstActivationMessage, 0, 0);  // after the activation settles
  }
}

// Back to the control that had the focus, else to the first of the tab order.
void Form::RestoreFocus() {
  if (GraphicControl* painted = paintedFocus_.Current(); painted && !lastFocus_ && TabStop(*painted).Usable()) {
    SetFocus(Handle());
    return;
  }
  paintedFocus_.Set(Handle(), nullptr);
  if (lastFocus_ && IsWindow(lastFocus_)) {
    SetFocus(lastFocus_);
    return;
  }
  for (const TabStop& stop : tabOrder_) {
    if (!stop.Usable()) continue;
    if (stop.painted)
      paintedFocus_.Set(Handle(), stop.painted);
    else
      SetFocus(stop.window);
    return;
  }
}

LRESULT Form::Reflect(HWND child, UINT message, WPARAM wParam, LPARAM lParam, bool& reflected) {
  reflected = false;
  if (!child || GetParent(child) != Handle()) return 0;
  for (WindowedControl* control : windowed_) {
    if (control->Handle() != child) continue;
    reflected = true;
    LRESULT result = 0;
    if (control->OnReflected(message, wParam, lParam, result)) return result;
    reflected = false;
  }
  return 0;
}

LRESULT Form::OnMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  LRESULT result = 0;
  // As in Windows, a click hides the focus marks until the keyboard is used again.
  if (message == WM_LBUTTONDOWN) PaintedFocus::ShowMarks(false);
  if (graphics_.HandleMessage(message, wParam, lParam, result)) return result;
  if (accessible_.HandleMessage(message, wParam, lParam, result)) return result;
  if (message == DescribeMessage()) {
    AnswerDescribe(reinterpret_cast<HWND>(wParam));
    return 1;
  }
  bool reflected = false;
  switch (message) {
    case WM_ERASEBKGND:
      return 1;
    case WM_DPICHANGED:
      ChangeScale(HIWORD(wParam), *reinterpret_cast<const RECT*>(lParam));
      return 0;
    case WM_SYSCOLORCHANGE:
    case WM_SETTINGCHANGE:
      // Every colour is read when drawn: a new scheme (high contrast on or off) shows at once.
      RedrawWindow(Handle(), nullptr, nullptr, RDW_INVALIDATE | RDW_FRAME | RDW_ALLCHILDREN);
      break;
    case WM_PAINT:
      PaintForm();
      return 0;
    case WM_ACTIVATE:
      Activated(wParam);
      return 0;
    case WM_SETFOCUS:
    case WM_KILLFOCUS:
      if (GraphicControl* painted = paintedFocus_.Current()) painted->Invalidate();
      break;
    case WM_QUERYUISTATE:
      return PaintedFocus::MarksShown() ? 0 : UISF_HIDEFOCUS;
    case kSetModalResultMessage:
      SetModalResult(static_cast<int>(wParam));
      return 0;
    case kFirstActivationMessage:
      if (onActivate) onActivate();
      return 0;
    case WM_NOTIFY:
      if (graphics_.AnswerTextRequest(lParam)) return 0;
      break;
    case WM_COMMAND:
      result = Reflect(reinterpret_cast<HWND>(lParam), message, wParam, lParam, reflected);
      if (reflected) return result;
      break;
    case WM_DRAWITEM:
      result = Reflect(reinterpret_cast<const DRAWITEMSTRUCT*>(lParam)->hwndItem, message, wParam, lParam, reflected);
      if (reflected) return result;
      break;
    case WM_MEASUREITEM:
      for (WindowedControl* control : windowed_) {
        if (GetDlgCtrlID(control->Handle()) == static_cast<int>(wParam) &&
            control->OnReflected(message, wParam, lParam, result))
          return result;
      }
      break;
    case WM_CTLCOLORLISTBOX:
    case WM_CTLCOLORSTATIC:
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORBTN:
      result = Reflect(reinterpret_cast<HWND>(lParam), message, wParam, lParam, reflected);
      if (reflected) return result;
      break;
    case WM_CLOSE:
      if (onCloseQuery && !onCloseQuery()) return 0;
      if (onClose) onClose();
      if (modal_) {
        if (modalResult_ == mrNone) modalResult_ = mrCancel;
      } else {
        DestroyWindow(Handle());
      }
      return 0;
  }
  return Default(message, wParam, lParam);
}

HWND FormAccessible::Window() const { return form_.Handle(); }

std::vector<FormAccessible::Child> FormAccessible::Children() const {
  std::vector<Child> children;
  for (GraphicControl* control : form_.graphics_.Controls()) children.push_back({control, nullptr, form_.Handle()});
  for (WindowedControl* control : form_.windowed_) {
    if (!control->Handle()) continue;
    children.push_back({nullptr, control->Handle(), nullptr});
    // A panel's labels are only read, never pressed.
    for (const GraphicControl* painted : control->GraphicChildren())
      children.push_back({const_cast<GraphicControl*>(painted), nullptr, control->Handle()});
  }
  return children;
}

AccessibleFacts FormAccessible::Facts(long child) const {
  AccessibleFacts facts;
  const HWND form = form_.Handle();
  if (child == CHILDID_SELF) {
    facts.name = form_.style_.title;
    facts.role = ROLE_SYSTEM_CLIENT;
    facts.state = BasicState(IsWindowVisible(form) != FALSE, IsWindowEnabled(form) != FALSE, true, GetFocus() == form);
    RECT client{};
    GetClientRect(form, &client);
    facts.screen = ClientToScreenRect(form, client);
    return facts;
  }
  const std::vector<Child> children = Children();
  const Child& c = children[static_cast<size_t>(child - 1)];
  if (!c.painted) {  // a window of its own answers for itself; its place serves the hit test
    GetWindowRect(c.window, &facts.screen);
    if (!IsWindowVisible(c.window)) facts.state = STATE_SYSTEM_INVISIBLE;
    return facts;
  }
  const GraphicControl& control = *c.painted;
  facts.name = control.Caption().empty() ? control.Hint() : control.Caption();
  facts.role = control.AccessibleRole();
  const bool inTabOrder =
      std::find(form_.tabOrder_.begin(), form_.tabOrder_.end(), TabStop(*c.painted)) != form_.tabOrder_.end();
  const bool focused = form_.paintedFocus_.Current() == c.painted && GetFocus() == form;
  facts.state = BasicState(control.Visible(), control.Enabled(), inTabOrder, focused);
  if (facts.role == ROLE_SYSTEM_LINK) facts.state |= STATE_SYSTEM_LINKED;
  if (c.host == form && control.HasDefaultAction())
    facts.defaultAction = facts.role == ROLE_SYSTEM_PUSHBUTTON ? kActionPress : kActionJump;
  facts.shortcut = form_.keys_.TextFor(control);
  facts.screen = ClientToScreenRect(c.host, control.Bounds());
  return facts;
}

HWND FormAccessible::ChildWindow(long child) const {
  const std::vector<Child> children = Children();
  return child >= 1 && static_cast<size_t>(child) <= children.size() ? children[static_cast<size_t>(child - 1)].window
                                                                     : nullptr;
}

void FormAccessible::DoDefaultAction(long child) {
  const std::vector<Child> children = Children();
  if (child < 1 || static_cast<size_t>(child) > children.size()) return;
  const Child& c = children[static_cast<size_t>(child - 1)];
  if (c.painted && c.host == form_.Handle() && c.painted->Visible() && c.painted->Enabled())
    c.painted->DoDefaultAction();
}

long FormAccessible::FocusedChild() const {
  const HWND focus = GetFocus();
  if (!focus) return -1;
  const std::vector<Child> children = Children();
  for (size_t i = 0; i < children.size(); ++i) {
    const Child& c = children[i];
    const bool isFocused = c.painted ? (focus == form_.Handle() && form_.paintedFocus_.Current() == c.painted)
                                     : (c.window == focus || IsChild(c.window, focus));
    if (isFocused) return static_cast<long>(i + 1);
  }
  return focus == form_.Handle() ? CHILDID_SELF : -1;
}

}  // namespace krelmix
