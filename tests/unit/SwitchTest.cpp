#include "settings/Switch.h"

#include <gtest/gtest.h>

namespace krelmix {
namespace {

TEST(ParseSwitchNumber, AcceptsEveryWrittenForm) {
  struct Case {
    const wchar_t* text;
    int32_t expected;
  };
  const Case cases[] = {
      {L"0", 0},
      {L"1", 1},
      {L"0x1", 1},
      {L"0X1f", 31},
      {L"0x00", 0},
      {L"$0", 0},
      {L"$Ff", 255},
      {L"x1F", 31},
      {L"X10", 16},
      {L"-$a", -10},
      {L"+x1", 1},
      {L" +1", 1},
      {L"\t -7", -7},
      {L"007", 7},
      {L"2147483647", 2147483647},
      {L"-2147483648", INT32_MIN},
      {L"0xFFFFFFFF", -1},
      {L"$80000000", INT32_MIN},
  };
  for (const Case& c : cases) {
    auto parsed = ParseSwitchNumber(c.text);
    ASSERT_TRUE(parsed.has_value()) << "text: " << testing::PrintToString(std::wstring(c.text));
    EXPECT_EQ(*parsed, c.expected) << "text: " << testing::PrintToString(std::wstring(c.text));
  }
}

TEST(ParseSwitchNumber, RejectsMalformedAndOverflowingText) {
  const wchar_t* rejected[] = {
      L"",           L" ",           L"+",           L"-",          L"$",
      L"x",          L"0x",          L"1x",          L"1 ",         L"12a",
      L"0xG",        L"0x-1",        L" 0x1",        L"$-1",        L"+-1",
      L"2147483648", L"-2147483649", L"0x100000000", L"$100000000", L"99999999999999999999",
      L"on",
  };
  for (const wchar_t* text : rejected) {
    EXPECT_FALSE(ParseSwitchNumber(text).has_value()) << "text: " << testing::PrintToString(std::wstring(text));
  }
}

TEST(ReadSwitch, FallsBackToDefaultOnlyWhenNoNumberIsThere) {
  EXPECT_TRUE(ReadSwitch(std::nullopt, true));
  EXPECT_FALSE(ReadSwitch(std::nullopt, false));
  EXPECT_TRUE(ReadSwitch(L"1x", true));
  EXPECT_FALSE(ReadSwitch(L"1x", false));
  EXPECT_TRUE(ReadSwitch(L"0x", true));
  EXPECT_TRUE(ReadSwitch(L"", true));

  EXPECT_FALSE(ReadSwitch(L"$0", true));
  EXPECT_FALSE(ReadSwitch(L"0", true));
  EXPECT_TRUE(ReadSwitch(L"0x1", false));
  EXPECT_TRUE(ReadSwitch(L" +1", false));
  EXPECT_TRUE(ReadSwitch(L"-1", false));
  EXPECT_TRUE(ReadSwitch(L"x1F", false));
}

TEST(SwitchText, ReadsBackAsTheSameState) {
  EXPECT_STREQ(SwitchText(true), L"1");
  EXPECT_STREQ(SwitchText(false), L"0");
  EXPECT_TRUE(ReadSwitch(SwitchText(true), false));
  EXPECT_FALSE(ReadSwitch(SwitchText(false), true));
}

}  // namespace
}  // namespace krelmix
