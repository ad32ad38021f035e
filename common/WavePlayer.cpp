#include "common/WavePlayer.h"

namespace krelmix {

void WavePlayer::SetAsynchronous(bool on) {
  asynchronous_ = on;
  if (!on) looping_ = false;
}

void WavePlayer::SetLooping(bool on) { looping_ = on && asynchronous_; }

void WavePlayer::Play() {
  if (OnBeforePlay) OnBeforePlay(*this);
  output_.PlayFile(fileName_, asynchronous_, looping_);
  if (OnAfterPlay) OnAfterPlay(*this);
}

void WavePlayer::Stop() { output_.StopAll(); }

}  // namespace krelmix
