#include <gtest/gtest.h>

#include "common/CommandLine.h"
#include "common/StartupSettings.h"

namespace krelmix {
namespace {

TEST(CommandLine, WholeArgumentsMatchWithoutCaseOthersAreDropped) {
  EXPECT_EQ(ParseSwitches({L"/NIGHTFLY", L"/nightfly:1", L"/?", L"/Test", L"nightfly", L"/NightTrash"}),
            (std::vector<Switch>{Switch::NightFly, Switch::Help, Switch::Test, Switch::NightTrash}));
  EXPECT_TRUE(ParseSwitches({L"/тест", L""}).empty());
}

TEST(StartupSettings, MissingOptionKeysTakeTheirOwnDefaults) {
  ProgramState state;
  state.UseAnimation = true;
  ReadStartupSettings(IniDocument::Parse(L"[Options]\r\n1=0\r\n"), state);
  EXPECT_TRUE(state.ShowSplash);
  EXPECT_FALSE(state.FollowReport);
  EXPECT_TRUE(state.WarnTmp);
  EXPECT_FALSE(state.UseAnimation);
  EXPECT_FALSE(state.UseSounds);
}

TEST(StartupSettings, SoundKeysFillSlotsByPositionAndNeverMoreThanSix) {
  ProgramState state;
  ReadStartupSettings(IniDocument::Parse(L"[Soundz]\r\na.wav=1\r\nb.wav=0\r\nc.wav=zz\r\nd.wav=1\r\n"
                                         L"e.wav=1\r\nf.wav=1\r\ng.wav=1\r\n[UseSoundz]\r\nsubj=$1\r\n"),
                      state);
  EXPECT_EQ(state.SoundFiles, (std::array<std::wstring, 6>{L"a.wav", L"", L"c.wav", L"d.wav", L"e.wav", L"f.wav"}));
  EXPECT_TRUE(state.UseSounds);
}

TEST(StartupSettings, FewerSoundKeysLeaveTheLaterSlotsEmpty) {
  ProgramState state;
  state.SoundFiles[5] = L"stale.wav";
  ReadStartupSettings(IniDocument::Parse(L"[Soundz]\r\nstart.wav=1\r\n"), state);
  EXPECT_EQ(state.SoundFiles[0], L"start.wav");
  EXPECT_EQ(state.SoundFiles[5], L"");
}

}  // namespace
}  // namespace krelmix
