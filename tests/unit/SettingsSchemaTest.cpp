#include <gtest/gtest.h>

#include "settings/SettingsSchema.h"

namespace krelmix {
namespace {

using Keys = std::vector<std::wstring>;

TEST(SettingsSchema, OptionRowsTakeTheirOwnDefaultsAtStartAndOffInTheDialog) {
  const IniDocument settings = IniDocument::Parse(L"[Options]\r\n1=0\r\n2=x\r\n");
  EXPECT_TRUE(ReadOption(settings, kShowSplashRow));
  EXPECT_FALSE(ReadOption(settings, kFollowReportRow));
  EXPECT_TRUE(ReadOption(settings, kWarnTmpRow));
  EXPECT_FALSE(ReadOption(settings, kAnimationRow));
  // The dialog reads as many rows as there are keys (two), by number: row 0 has no key and is off.
  OptionRows rows{true, true, true, true, true, true};
  ReadOptionRows(settings, rows);
  EXPECT_EQ(rows, (OptionRows{false, false, true, true, true, true}));

  IniDocument written = IniDocument::Parse(L"[Options]\r\n7=1\r\n");
  WriteOptionRows(written, {true, false, false, true, false, true});
  EXPECT_EQ(written.Serialize(), L"[Options]\r\n0=1\r\n1=0\r\n2=0\r\n3=1\r\n4=0\r\n5=1\r\n");
}

TEST(SettingsSchema, SwitchListsKeepFileOrderAndEachSectionsFallback) {
  const IniDocument settings = IniDocument::Parse(
      L"[Kill]\r\n*.old=1\r\n*.tmp=zz\r\n*.bak=0\r\n[Soundz]\r\na.wav=zz\r\nb.wav=0\r\n"
      L"[ExcludeDir]\r\nT:\\Keep=$1\r\n");
  EXPECT_EQ(EnabledKeys(settings, SwitchList::Masks), Keys{L"*.old"});
  EXPECT_EQ(EnabledKeys(settings, SwitchList::Sounds), Keys{L"a.wav"});
  EXPECT_EQ(EnabledKeys(settings, SwitchList::Exclusions), Keys{L"T:\\Keep"});

  IniDocument written = IniDocument::Parse(L"[Kill]\r\n*.old=1\r\n");
  WriteSwitchList(written, SwitchList::Masks, {{L"*.a", true}, {L"x=y", true}, {L"", true}, {L"*.b", false}});
  EXPECT_EQ(written.Serialize(), L"[Kill]\r\n*.a=1\r\n*.b=0\r\n");
  EXPECT_FALSE(AddSwitch(written, SwitchList::Sounds, L"a=b.wav", true));
}

TEST(SettingsSchema, DriveTicksAreKeyedByLetterAndTheSoundSwitchIsOffWhenMissing) {
  IniDocument settings = IniDocument::Parse(L"[Area]\r\nC=1\r\nQ=1\r\n");
  EXPECT_TRUE(ReadDriveTick(settings, L'c'));
  EXPECT_FALSE(ReadDriveTick(settings, L'D'));
  ReplaceDriveTicks(settings, {{L'C', false}, {L'D', true}});
  EXPECT_EQ(settings.Serialize(), L"[Area]\r\nC=0\r\nD=1\r\n");
  EXPECT_FALSE(ReadUseSounds(settings));
  WriteUseSounds(settings, true);
  EXPECT_TRUE(ReadUseSounds(settings));
}

}  // namespace
}  // namespace krelmix
