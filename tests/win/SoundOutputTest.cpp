#include <gtest/gtest.h>

#include <windows.h>
#include <mmsystem.h>

#include "platform/win32/Win32SoundOutput.h"

namespace krelmix {
namespace {

// A missing file must still give the system's default sound, so SND_NODEFAULT never appears;
// and a loop is never asked of a synchronous play, which would never return.
TEST(Win32SoundOutput, FlagsNeverSuppressTheDefaultSoundNorLoopSynchronously) {
  for (bool asynchronous : {false, true})
    for (bool looping : {false, true}) {
      const unsigned long flags = Win32SoundOutput::PlayFlags(asynchronous, looping);
      EXPECT_TRUE(flags & SND_FILENAME);
      EXPECT_FALSE(flags & SND_NODEFAULT);
      EXPECT_EQ((flags & SND_ASYNC) != 0, asynchronous);
      EXPECT_EQ((flags & SND_LOOP) != 0, asynchronous && looping);
    }
  Win32SoundOutput output;  // no sound device here: both return at once, silently
  output.PlayFile(L"T:\\no such sound.wav", false, false);
  output.StopAll();
}

}  // namespace
}  // namespace krelmix
