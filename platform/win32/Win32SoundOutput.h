#pragma once
#include "platform/SoundOutput.h"

namespace krelmix {

// PlaySoundW with a file name. SND_NODEFAULT is never passed: a missing or unplayable file
// gives the system's default sound, as the user expects from any Windows program.
class Win32SoundOutput : public SoundOutput {
 public:
  void PlayFile(const std::wstring& path, bool asynchronous, bool looping) override;
  void StopAll() override;

  static unsigned long PlayFlags(bool asynchronous, bool looping);
};

}  // namespace krelmix
