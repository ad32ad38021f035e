// The main window in this process, with a sound output that records instead of playing: the
// start and exit sounds come at the right moments, and the close waits for the exit sound.
#include <gtest/gtest.h>

#include <fstream>
#include <filesystem>

#include "app/MainForm.h"
#include "platform/SoundOutput.h"

namespace krelmix {
namespace {

std::wstring ProgramFolder() {
  wchar_t path[MAX_PATH] = {};
  GetModuleFileNameW(nullptr, path, MAX_PATH);
  std::wstring folder = path;
  return folder.substr(0, folder.find_last_of(L'\\') + 1);
}

// Writes the settings file the window reads from this test program's folder, and removes it.
class SettingsBesideProgram {
 public:
  explicit SettingsBesideProgram(const std::string& text) : path_(ProgramFolder() + L"Krelmix.ini") {
    std::ofstream(std::filesystem::path(path_), std::ios::binary) << text;
  }
  ~SettingsBesideProgram() { DeleteFileW(path_.c_str()); }

 private:
  std::wstring path_;
};

struct Played {
  std::wstring path;
  bool asynchronous;
  bool windowVisible;
};

// Holds the thread for a while, as a real synchronous sound does.
class RecordingSound : public SoundOutput {
 public:
  HWND watched = nullptr;
  std::vector<Played> played;
  void PlayFile(const std::wstring& path, bool asynchronous, bool) override {
    played.push_back({path, asynchronous, IsWindow(watched) && IsWindowVisible(watched)});
    Sleep(200);
  }
  void StopAll() override {}
};

void Pump(int milliseconds) {
  for (int waited = 0; waited < milliseconds; waited += 10) {
    MSG msg;
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
      if (msg.message == WM_QUIT) continue;  // the window's end request, meant for a program loop
      TranslateMessage(&msg);
      DispatchMessageW(&msg);
    }
    Sleep(10);
  }
}

const char kSoundsOn[] =
    "[Options]\r\n0=0\r\n[UseSoundz]\r\nSubj=1\r\n"
    "[Soundz]\r\nstart.wav=1\r\nexit.wav=1\r\ntmp.wav=1\r\nnothing.wav=1\r\nfound.wav=1\r\nkilled.wav=1\r\n";

// Stands in for the program's hidden application window.
HWND HiddenOwner() {
  WNDCLASSW wc{};
  wc.lpfnWndProc = DefWindowProcW;
  wc.hInstance = GetModuleHandleW(nullptr);
  wc.lpszClassName = L"MainFormTestOwner";
  RegisterClassW(&wc);
  return CreateWindowExW(0, wc.lpszClassName, L"", WS_POPUP, 0, 0, 0, 0, nullptr, nullptr, wc.hInstance, nullptr);
}

TEST(MainFormSounds, StartSoundOnFirstActivationAndCloseWaitsForTheExitSound) {
  SettingsBesideProgram settings(kSoundsOn);
  RecordingSound sound;
  HWND owner = HiddenOwner();
  {
    TForm1 form(owner, {}, false, sound);
    form.Load();
    sound.watched = form.Handle();
    form.Show();
    SetForegroundWindow(form.Handle());
    Pump(500);
    ASSERT_EQ(sound.played.size(), 1u);
    EXPECT_EQ(sound.played[0].path, ProgramFolder() + L"start.wav");  // relative to the program
    // Activating the window again does not replay the start sound.
    SetForegroundWindow(owner);
    SetForegroundWindow(form.Handle());
    Pump(200);
    EXPECT_EQ(sound.played.size(), 1u);

    PostMessageW(form.Handle(), WM_CLOSE, 0, 0);
    Pump(600);
    ASSERT_EQ(sound.played.size(), 2u);
    EXPECT_EQ(sound.played[1].path, ProgramFolder() + L"exit.wav");
    EXPECT_FALSE(sound.played[1].asynchronous);
    EXPECT_TRUE(sound.played[1].windowVisible) << "the window went before its exit sound had ended";
    EXPECT_FALSE(form.Exists());
  }
  DestroyWindow(owner);
}

TEST(MainFormSounds, SoundsOffPlaysNothingAtStartOrClose) {
  SettingsBesideProgram settings(
      "[Options]\r\n0=0\r\n[UseSoundz]\r\nSubj=0\r\n[Soundz]\r\nstart.wav=1\r\nexit.wav=1\r\n");
  RecordingSound sound;
  HWND owner = HiddenOwner();
  {
    TForm1 form(owner, {}, false, sound);
    form.Load();
    form.Show();
    SetForegroundWindow(form.Handle());
    Pump(300);
    PostMessageW(form.Handle(), WM_CLOSE, 0, 0);
    Pump(300);
    EXPECT_TRUE(sound.played.empty());
    EXPECT_FALSE(form.Exists());
  }
  DestroyWindow(owner);
}

}  // namespace
}  // namespace krelmix
