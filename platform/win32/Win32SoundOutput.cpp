#include "platform/win32/Win32SoundOutput.h"

#include <windows.h>
#include <mmsystem.h>

namespace krelmix {

unsigned long Win32SoundOutput::PlayFlags(bool asynchronous, bool looping) {
  DWORD flags = SND_FILENAME;
  if (asynchronous) flags |= SND_ASYNC;
  if (asynchronous && looping) flags |= SND_LOOP;  // a synchronous loop would never return
  return flags;
}

// The result is ignored: with no sound device (or under Wine) the call fails at once, and a
// missing sound is nothing the user must be told about.
void Win32SoundOutput::PlayFile(const std::wstring& path, bool asynchronous, bool looping) {
  PlaySoundW(path.c_str(), GetModuleHandleW(nullptr), PlayFlags(asynchronous, looping));
}

void Win32SoundOutput::StopAll() { PlaySoundW(nullptr, nullptr, SND_FILENAME); }

}  // namespace krelmix
