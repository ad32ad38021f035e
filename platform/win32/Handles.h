#pragma once
// The one owner template for system handles, the owners of the handles that are not GDI objects
// (those are in toolkit/Gdi.h), and the borrowed handle: whether a handle is ours to free is in its
// type, never in a comment. An owner gives its handle back exactly once, also when an error
// leaves the scope early; a borrowed handle is used and never freed.
#include <windows.h>
// after windows.h
#include <objbase.h>

#include <utility>

namespace krelmix {

// Owns one system handle and gives it back with Traits::Close; Traits::Valid says which values
// are a handle at all. Each kind of handle freed by one call has its owner made from this (the GDI
// objects' GdiObject in toolkit/Gdi.h too); the device contexts, which are given back to the window
// or the selection they came from, have their scoped owners there.
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

// An open registry key (the predefined roots such as HKEY_CURRENT_USER are never held in one).
struct RegistryKeyTraits {
  static bool Valid(HKEY key) { return key != nullptr; }
  static void Close(HKEY key) { RegCloseKey(key); }
};
using RegistryKey = UniqueHandle<HKEY, RegistryKeyTraits>;

// Memory a system function allocated for us, given back with `Free`.
template <void (*Free)(void*)>
struct SystemMemoryTraits {
  template <typename Pointer>
  static bool Valid(Pointer memory) {
    return memory != nullptr;
  }
  template <typename Pointer>
  static void Close(Pointer memory) {
    Free(const_cast<void*>(static_cast<const void*>(memory)));
  }
};
inline void FreeLocalMemory(void* memory) { LocalFree(memory); }
inline void FreeTaskMemory(void* memory) { CoTaskMemFree(memory); }

// LocalAlloc memory (CommandLineToArgvW, FormatMessage).
template <typename Pointer>
using LocalMemory = UniqueHandle<Pointer, SystemMemoryTraits<FreeLocalMemory>>;
// Task-allocator memory of COM and the shell (SHBrowseForFolder's item list); its user links ole32.
template <typename Pointer>
using CoTaskMemory = UniqueHandle<Pointer, SystemMemoryTraits<FreeTaskMemory>>;

// A window that is not one of our Window objects (a tooltip control, a helper window) and that its
// maker destroys.
struct OwnedWindowTraits {
  static bool Valid(HWND hwnd) { return hwnd != nullptr; }
  static void Close(HWND hwnd) { DestroyWindow(hwnd); }
};
using OwnedWindow = UniqueHandle<HWND, OwnedWindowTraits>;

// A handle that someone else owns and frees (a font or picture a form lends its controls, a
// stock object, a window we only talk to). It is made from an owner, or explicitly from a raw
// handle, and never frees anything; its owner must outlive its use.
template <typename Handle>
class Borrowed {
 public:
  Borrowed() = default;
  explicit Borrowed(Handle handle) : handle_(handle) {}
  template <typename Traits>
  Borrowed(const UniqueHandle<Handle, Traits>& owner) : handle_(owner.Get()) {}  // NOLINT: lending is implicit
  // An owner about to go frees its handle at once: there is nothing to borrow.
  template <typename Traits>
  Borrowed(UniqueHandle<Handle, Traits>&&) = delete;

  Handle Get() const { return handle_; }
  explicit operator bool() const { return handle_ != Handle{}; }
  bool operator==(const Borrowed&) const = default;

 private:
  Handle handle_{};
};

using BorrowedFont = Borrowed<HFONT>;
using BorrowedBitmap = Borrowed<HBITMAP>;
using BorrowedBrush = Borrowed<HBRUSH>;
using BorrowedWindow = Borrowed<HWND>;
using BorrowedCursor = Borrowed<HCURSOR>;  // a shared cursor (LoadCursor) is freed by nobody

}  // namespace krelmix
