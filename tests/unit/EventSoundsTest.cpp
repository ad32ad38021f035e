#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "common/EventSounds.h"
#include "common/WavePlayer.h"

namespace krelmix {
namespace {

// A sound device that keeps a synchronous sound "playing" for the whole call and an
// asynchronous one until it is stopped, and records the order of everything it sees.
class FakeSoundOutput : public SoundOutput {
 public:
  struct Call {
    std::wstring path;
    bool asynchronous, looping;
  };
  std::vector<Call> calls;
  std::vector<std::string> log;
  bool playing = false;
  int stops = 0;

  void PlayFile(const std::wstring& path, bool asynchronous, bool looping) override {
    calls.push_back({path, asynchronous, looping});
    playing = true;
    log.push_back("sound starts");
    if (!asynchronous) {
      log.push_back("sound ends");
      playing = false;
    }
  }
  void StopAll() override {
    ++stops;
    playing = false;
  }
};

TEST(WavePlayer, LoopingFollowsAsynchronousPlay) {
  FakeSoundOutput output;
  WavePlayer player(output);
  EXPECT_FALSE(player.Asynchronous());
  EXPECT_FALSE(player.Looping());

  player.SetLooping(true);  // refused while synchronous
  EXPECT_FALSE(player.Looping());

  player.SetAsynchronous(true);
  player.SetLooping(true);
  EXPECT_TRUE(player.Looping());
  player.SetFileName(L"C:\\a.wav");
  player.Play();

  player.SetAsynchronous(false);  // as the close handler does before the exit sound
  EXPECT_FALSE(player.Looping());
  player.SetAsynchronous(true);  // looping does not come back by itself
  EXPECT_FALSE(player.Looping());
  player.Play();

  ASSERT_EQ(output.calls.size(), 2u);
  EXPECT_EQ(output.calls[0].path, L"C:\\a.wav");
  EXPECT_TRUE(output.calls[0].asynchronous && output.calls[0].looping);
  EXPECT_TRUE(output.calls[1].asynchronous);
  EXPECT_FALSE(output.calls[1].looping);
}

TEST(WavePlayer, SynchronousPlayReturnsOnlyWhenTheSoundHasEnded) {
  FakeSoundOutput output;
  WavePlayer player(output);
  player.SetFileName(L"C:\\exit.wav");
  player.OnBeforePlay = [&](WavePlayer&) { output.log.push_back("before"); };
  player.OnAfterPlay = [&](WavePlayer&) { output.log.push_back(output.playing ? "after, still playing" : "after"); };

  player.Play();
  EXPECT_FALSE(output.playing);
  EXPECT_EQ(output.log, (std::vector<std::string>{"before", "sound starts", "sound ends", "after"}));

  output.log.clear();
  player.SetAsynchronous(true);
  player.Play();
  EXPECT_EQ(output.log, (std::vector<std::string>{"before", "sound starts", "after, still playing"}));
  player.Stop();
  EXPECT_FALSE(output.playing);
  EXPECT_EQ(output.stops, 1);
}

class PlayEventSoundTest : public testing::Test {
 protected:
  PlayEventSoundTest() {
    state.ExeDir = L"D:\\Tools\\Krelmix\\";
    state.UseSounds = true;
    state.SoundFiles = {L"C:\\s\\start.wav", L"", L"C:\\s\\tmp.wav", L"C:\\s\\none.wav", L"C:\\s\\found.wav",
                        L"C:\\s\\killed.wav"};
  }
  FakeSoundOutput output;
  WavePlayer player{output};
  ProgramState state;
};

TEST_F(PlayEventSoundTest, PlaysTheEventsOwnSlotSynchronously) {
  PlayEventSound(state, player, SoundEvent::evFound);
  PlayEventSound(state, player, SoundEvent::evKilled);
  ASSERT_EQ(output.calls.size(), 2u);
  EXPECT_EQ(output.calls[0].path, L"C:\\s\\found.wav");
  EXPECT_EQ(output.calls[1].path, L"C:\\s\\killed.wav");
  EXPECT_FALSE(output.calls[0].asynchronous);
}

TEST_F(PlayEventSoundTest, SoundsOffOrAnEmptySlotPlayNothing) {
  PlayEventSound(state, player, SoundEvent::evExit);  // empty slot
  EXPECT_TRUE(output.calls.empty());
  PlayEventSound(state, player, SoundEvent::evStart);  // the other events still play
  EXPECT_EQ(output.calls.size(), 1u);

  state.UseSounds = false;
  for (int e = 0; e < 6; ++e) PlayEventSound(state, player, static_cast<SoundEvent>(e));
  EXPECT_EQ(output.calls.size(), 1u);
}

TEST_F(PlayEventSoundTest, RelativePathIsTakenFromTheProgramFolder) {
  state.SoundFiles[0] = L"Sounds\\start.wav";
  PlayEventSound(state, player, SoundEvent::evStart);
  ASSERT_EQ(output.calls.size(), 1u);
  EXPECT_EQ(output.calls[0].path, L"D:\\Tools\\Krelmix\\Sounds\\start.wav");
  EXPECT_EQ(player.FileName(), L"D:\\Tools\\Krelmix\\Sounds\\start.wav");
}

TEST(ResolveSoundPath, OnlyPlainRelativePathsAreJoinedToTheProgramFolder) {
  const std::wstring exe = L"C:\\Krelmix\\";
  EXPECT_EQ(ResolveSoundPath(exe, L"ding.wav"), L"C:\\Krelmix\\ding.wav");
  EXPECT_EQ(ResolveSoundPath(L"C:\\Krelmix", L"звук.wav"), L"C:\\Krelmix\\звук.wav");
  EXPECT_EQ(ResolveSoundPath(exe, L"e:\\Sounds\\ding.wav"), L"e:\\Sounds\\ding.wav");
  EXPECT_EQ(ResolveSoundPath(exe, L"E:ding.wav"), L"E:ding.wav");
  EXPECT_EQ(ResolveSoundPath(exe, L"\\Sounds\\ding.wav"), L"\\Sounds\\ding.wav");
  EXPECT_EQ(ResolveSoundPath(exe, L"\\\\server\\share\\ding.wav"), L"\\\\server\\share\\ding.wav");
}

}  // namespace
}  // namespace krelmix
