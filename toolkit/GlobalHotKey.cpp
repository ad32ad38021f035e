#include "toolkit/GlobalHotKey.h"

#include <atomic>

namespace krelmix {

namespace {
const wchar_t kWindowClass[] = L"KrelmixGlobalHotKey";

// The atom is the hotkey's identifier in the system's table; its text only has to differ
// between instances, in this process and in any other that adds atoms.
ATOM AddInstanceAtom() {
  static std::atomic<unsigned> counter{0};
  const std::wstring text = std::to_wstring(GetCurrentProcessId()) + L"." + std::to_wstring(++counter);
  return GlobalAddAtomW(text.c_str());
}
}  // namespace

GlobalHotKey::GlobalHotKey(ErrorHandler onError) : onError_(std::move(onError)) {
  atom_ = AddInstanceAtom();
  window_.Create();
}

GlobalHotKey::~GlobalHotKey() {
  SetHotKey(0);
  if (atom_) GlobalDeleteAtom(atom_);
}

UINT GlobalHotKey::ModifierFlags(uint16_t hotKey) {
  UINT flags = 0;
  if (hotKey & kShift) flags |= MOD_SHIFT;
  if (hotKey & kCtrl) flags |= MOD_CONTROL;
  if (hotKey & kAlt) flags |= MOD_ALT;
  return flags;
}

HotKeyModifiers GlobalHotKey::Modifiers(uint16_t hotKey) {
  return {(hotKey & kShift) != 0, (hotKey & kCtrl) != 0, (hotKey & kAlt) != 0};
}

void GlobalHotKey::Register(uint16_t hotKey) {
  if (!window_.Exists() || hotKey == 0) return;
  // The result is ignored: a shortcut held by another program just does nothing here.
  RegisterHotKey(window_.Handle(), atom_, ModifierFlags(hotKey), hotKey & kKeyMask);
}

void GlobalHotKey::Unregister() {
  if (window_.Exists()) UnregisterHotKey(window_.Handle(), atom_);
}

void GlobalHotKey::SetHotKey(uint16_t hotKey) {
  if (hotKey == hotKey_) return;
  if (active_) {
    // The old shortcut goes first: registering under the same identifier would otherwise keep
    // it grabbed from every other program until this component is destroyed.
    if (hotKey_ != 0) Unregister();
    Register(hotKey);
  }
  hotKey_ = hotKey;
}

void GlobalHotKey::SetActive(bool active) {
  if (active == active_) return;
  active_ = active;
  if (active)
    Register(hotKey_);
  else if (hotKey_ != 0)
    Unregister();
}

// The handler may destroy this component (Esc cancels the dialog that owns it), so everything
// it needs is copied out first and nothing of `this` is touched after the call.
void GlobalHotKey::KeyDown() {
  const KeyDownHandler handler = OnKeyDown;
  const ErrorHandler onError = onError_;
  const uint16_t hotKey = hotKey_;
  if (!handler) return;
  try {
    handler(*this, static_cast<uint16_t>(hotKey & kKeyMask), Modifiers(hotKey));
  } catch (...) {
    try {
      if (onError) onError(CurrentExceptionText());
    } catch (...) {
      // the error report itself failed; nothing may leave the window procedure
    }
  }
}

void GlobalHotKey::Receiver::Create() {
  RegisterClassOnce(kWindowClass, 0, nullptr, nullptr);
  CreateHandle(0, kWindowClass, L"", 0, {0, 0, 0, 0}, HWND_MESSAGE);
}

LRESULT GlobalHotKey::Receiver::OnMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  if (message != WM_HOTKEY) return Default(message, wParam, lParam);
  // The identifier is not examined: each of these windows carries exactly one shortcut.
  owner_.KeyDown();
  return 0;
}

}  // namespace krelmix
