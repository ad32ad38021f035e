#pragma once
// Owners for the system handles that are not GDI objects (those are in toolkit/Gdi.h): each one is
// given back to the system exactly once, also when an error leaves the scope early.
#include <windows.h>

#include <utility>

namespace krelmix {

// Owns one system handle and gives it back with Traits::Close; Traits::Valid says which values
// are a handle at all. Every owner of the program is one of these (GdiObject in toolkit/Gdi.h too).
template <typename Handle, typename Traits>
class UniqueHandle {
 public:
  UniqueHandle() = default;
  explicit UniqueHandle(Handle handle) : handle_(handle) {}
  UniqueHandle(const UniqueHandle&) = delete;
  UniqueHandle& operator=(const UniqueHandle&) = delete;
  UniqueHandle(UniqueHandle&& other) noexcept : handle_(std::exchange(other.handle_, Handle{})) {}
  UniqueHandle& operator=(UniqueHandle&& other) noexcept {
    if (this != &other) Reset(std::exchange(other.handle_, Handle{}));
    return *this;
  }
  ~UniqueHandle() { Reset(); }

  Handle Get() const { return handle_; }
  bool Valid() const { return Traits::Valid(handle_); }
  explicit operator bool() const { return Valid(); }
  void Reset(Handle handle = Handle{}) {
    if (Valid()) Traits::Close(handle_);
    handle_ = handle;
  }
  // Hands the handle to a new owner (e.g. SetWindowRgn), which frees it from then on.
  Handle Release() { return std::exchange(handle_, Handle{}); }

 private:
  Handle handle_{};
};

// A kernel object (file, mutex, event, process, thread). Both null and INVALID_HANDLE_VALUE mean
// "none", as the functions that make them disagree on which they return.
struct KernelHandleTraits {
  static bool Valid(HANDLE handle) { return handle != nullptr && handle != INVALID_HANDLE_VALUE; }
  static void Close(HANDLE handle) { CloseHandle(handle); }
};
using KernelHandle = UniqueHandle<HANDLE, KernelHandleTraits>;

// A hook procedure installed with SetWindowsHookEx.
struct WindowsHookTraits {
  static bool Valid(HHOOK hook) { return hook != nullptr; }
  static void Close(HHOOK hook) { UnhookWindowsHookEx(hook); }
};
using WindowsHook = UniqueHandle<HHOOK, WindowsHookTraits>;

}  // namespace krelmix
