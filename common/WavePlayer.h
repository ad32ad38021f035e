#pragma once
// The WAV player component (SRWavePlayer1 on the main window): one file name and two switches.
#include <functional>
#include <string>
#include <utility>

#include "platform/SoundOutput.h"

namespace krelmix {

class WavePlayer {
 public:
  explicit WavePlayer(SoundOutput& output) : output_(output) {}
  WavePlayer(const WavePlayer&) = delete;
  WavePlayer& operator=(const WavePlayer&) = delete;

  const std::wstring& FileName() const { return fileName_; }
  void SetFileName(std::wstring fileName) { fileName_ = std::move(fileName); }

  // Both off at creation. Turning asynchronous play off turns looping off too; looping can only
  // be turned on while asynchronous play is on, because a synchronous loop would never return.
  bool Asynchronous() const { return asynchronous_; }
  void SetAsynchronous(bool on);
  bool Looping() const { return looping_; }
  void SetLooping(bool on);

  // Plays FileName; with asynchronous play off, returns when the sound has ended.
  void Play();
  // Ends any sound the program is playing, through this player or another.
  void Stop();

  std::function<void(WavePlayer& sender)> OnBeforePlay;
  std::function<void(WavePlayer& sender)> OnAfterPlay;

 private:
  SoundOutput& output_;
  std::wstring fileName_;
  bool asynchronous_ = false;
  bool looping_ = false;
};

}  // namespace krelmix
