#pragma once
// The system-wide hotkey component (LMDGlobalHotKey1, the main window's Alt+X): one shortcut,
// registered with the system for a message-only window of its own, and a handler called when the
// shortcut is pressed in any program. (The options dialog's Escape is no hotkey: it would take the
// key from every other program.)
#include <windows.h>

#include <cstdint>
#include <functional>
#include <string>

#include "toolkit/ErrorReport.h"
#include "toolkit/Window.h"

namespace krelmix {

struct HotKeyModifiers {
  bool shift = false;
  bool ctrl = false;
  bool alt = false;
  bool operator==(const HotKeyModifiers&) const = default;
};

class GlobalHotKey {
 public:
  // The shortcut encoding: the virtual-key code in the low 13 bits and three modifier bits.
  static constexpr uint16_t kKeyMask = 0x1FFF;
  static constexpr uint16_t kShift = 0x2000;
  static constexpr uint16_t kCtrl = 0x4000;
  static constexpr uint16_t kAlt = 0x8000;
  static constexpr uint16_t kAltX = kAlt | 'X';  // 32856, the main window's close key

  using KeyDownHandler = std::function<void(GlobalHotKey& sender, uint16_t key, HotKeyModifiers modifiers)>;
  using ErrorHandler = std::function<void(const std::wstring& text)>;

  // Active from creation, with no shortcut. An error raised by OnKeyDown goes to `onError`.
  explicit GlobalHotKey(ErrorHandler onError = ShowErrorReport);
  ~GlobalHotKey();
  GlobalHotKey(const GlobalHotKey&) = delete;
  GlobalHotKey& operator=(const GlobalHotKey&) = delete;

  uint16_t HotKey() const { return hotKey_; }
  // While active, a new non-zero value replaces the registered shortcut and zero unregisters it;
  // the same value again does nothing. A shortcut another program holds fails silently.
  void SetHotKey(uint16_t hotKey);
  bool Active() const { return active_; }
  void SetActive(bool active);

  KeyDownHandler OnKeyDown;

  // The message-only window that receives WM_HOTKEY and the identifier it is registered under.
  HWND Handle() const { return window_.Handle(); }
  int Id() const { return atom_; }

  static UINT ModifierFlags(uint16_t hotKey);
  static HotKeyModifiers Modifiers(uint16_t hotKey);

 private:
  // A message-only window: it receives WM_HOTKEY like any other, and it never shows up in window
  // enumerations or takes part in activation.
  class Receiver : public Window {
   public:
    explicit Receiver(GlobalHotKey& owner) : owner_(owner) {}
    void Create();

   protected:
    LRESULT OnMessage(UINT message, WPARAM wParam, LPARAM lParam) override;

   private:
    GlobalHotKey& owner_;
  };

  void Register(uint16_t hotKey);
  void Unregister();
  void KeyDown();

  ErrorHandler onError_;
  uint16_t hotKey_ = 0;
  bool active_ = true;
  ATOM atom_ = 0;
  Receiver window_{*this};  // last, so that it goes after the shortcut is unregistered
};

}  // namespace krelmix
