#pragma once
// Owners for the system handles that are not GDI objects (those are in toolkit/Gdi.h): each one is
// given back to the system exactly once, also when an error leaves the scope early.
#include <windows.h>

#include <utility>

namespace krelmix {

// A kernel object (file, mutex, event, process, thread), closed with CloseHandle. Both null and
// INVALID_HANDLE_VALUE mean "none", as the functions that make them disagree on which they return.
class KernelHandle {
 public:
  KernelHandle() = default;
  explicit KernelHandle(HANDLE handle) : handle_(handle) {}
  KernelHandle(const KernelHandle&) = delete;
  KernelHandle& operator=(const KernelHandle&) = delete;
  KernelHandle(KernelHandle&& other) noexcept : handle_(std::exchange(other.handle_, nullptr)) {}
  KernelHandle& operator=(KernelHandle&& other) noexcept {
    if (this != &other) Reset(std::exchange(other.handle_, nullptr));
    return *this;
  }
  ~KernelHandle() { Reset(); }

  HANDLE Get() const { return handle_; }
  bool Valid() const { return handle_ != nullptr && handle_ != INVALID_HANDLE_VALUE; }
  void Reset(HANDLE handle = nullptr) {
    if (Valid()) CloseHandle(handle_);
    handle_ = handle;
  }

 private:
  HANDLE handle_ = nullptr;
};

// A hook procedure installed with SetWindowsHookEx.
class WindowsHook {
 public:
  WindowsHook() = default;
  ~WindowsHook() { Reset(); }
  WindowsHook(const WindowsHook&) = delete;
  WindowsHook& operator=(const WindowsHook&) = delete;
  HHOOK Get() const { return hook_; }
  void Reset(HHOOK hook = nullptr) {
    if (hook_) UnhookWindowsHookEx(hook_);
    hook_ = hook;
  }

 private:
  HHOOK hook_ = nullptr;
};

}  // namespace krelmix
