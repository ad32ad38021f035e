#pragma once
// A borderless test window carrying the main window's skin, and real mouse input sent from a
// second thread while the window's thread pumps messages (so the drag loop runs for real).
#include <windows.h>

#include <atomic>
#include <functional>
#include <memory>

#include "resources/ResourceIds.h"
#include "skin/ImageForm.h"

namespace krelmix::test {

constexpr UINT kStealCapture = WM_APP + 1;  // makes another window take the mouse capture

class SkinWindow {
 public:
  struct Options {
    POINT at{100, 100};
    bool storedOutline = true;
    std::vector<uint8_t> regionData{};  // used instead of the resource when not empty
    std::function<bool(POINT)> isHandledAt{};
    std::function<void(const std::wstring&)> onError{};
  };
  explicit SkinWindow(const Options& options);
  ~SkinWindow();
  SkinWindow(const SkinWindow&) = delete;
  SkinWindow& operator=(const SkinWindow&) = delete;

  HWND Hwnd() const { return hwnd_; }
  TfcImageForm& Skin() { return *skin_; }
  POINT TopLeft() const;
  int Presses() const { return presses_; }
  void Focus();

 private:
  static LRESULT CALLBACK Proc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);

  HWND hwnd_ = nullptr;
  HWND captureThief_ = nullptr;
  std::unique_ptr<TfcImageForm> skin_;
  int presses_ = 0;
};

// Pumps the calling thread's messages until `script` (run on a thread of its own) has finished;
// returns the exit code of a quit message taken meanwhile, or -1.
int RunWithInput(const std::function<void()>& script);
void Pump(DWORD milliseconds);

// Real input through SendInput, at screen pixels.
void MoveMouse(int x, int y);
void LeftDown();
void LeftUp();

// A copy of a strip of the screen, to tell whether an outline is drawn over it.
std::vector<uint32_t> ScreenStrip(int x, int y, int width, int height);

}  // namespace krelmix::test
