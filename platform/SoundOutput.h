#pragma once
// Playing WAV files; Win32 implementation in platform/win32.
#include <string>

namespace krelmix {

class SoundOutput {
 public:
  virtual ~SoundOutput() = default;
  // Plays the file. Without `asynchronous` the call returns only when the sound has ended;
  // `looping` is only meaningful together with `asynchronous`. A file that is missing or not
  // playable gives the system's default sound. Failures are not reported.
  virtual void PlayFile(const std::wstring& path, bool asynchronous, bool looping) = 0;
  // Stops whatever sound the program is playing.
  virtual void StopAll() = 0;
};

}  // namespace krelmix
