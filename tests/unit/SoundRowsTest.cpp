#include <gtest/gtest.h>

#include "common/SoundRows.h"
#include "common/StartupSettings.h"

namespace krelmix {
namespace {

std::vector<std::wstring> Files(const SoundRows& rows) {
  std::vector<std::wstring> files;
  for (const SoundRow& row : rows) files.push_back(row.file + (row.ticked ? L"+" : L""));
  return files;
}

// What the next start makes of the saved section.
std::array<std::wstring, 6> SlotsAfterRestart(const IniDocument& saved) {
  ProgramState state;
  ReadStartupSettings(IniDocument::Parse(saved.Serialize()), state);
  return state.SoundFiles;
}

TEST(SoundRows, AlwaysSixRowsMissingKeysEmptyAndUnticked) {
  EXPECT_EQ(Files(ReadSoundRows(IniDocument::Parse(L""))), std::vector<std::wstring>(6, L""));
  EXPECT_EQ(Files(ReadSoundRows(IniDocument::Parse(L"[Soundz]\r\na.wav=1\r\nb.wav=0\r\nc.wav=x\r\n"))),
            (std::vector<std::wstring>{L"a.wav+", L"b.wav", L"c.wav+", L"", L"", L""}));
  EXPECT_EQ(Files(ReadSoundRows(IniDocument::Parse(L"[soundz]\r\n1=1\r\n2=1\r\n3=1\r\n4=1\r\n5=1\r\n6=0\r\n7=1\r\n"))),
            (std::vector<std::wstring>{L"1+", L"2+", L"3+", L"4+", L"5+", L"6"}));
}

TEST(SoundRows, AnEmptyRowBeforeAFileHoldsItsSlotAndTrailingEmptyRowsAreNotWritten) {
  SoundRows rows;
  rows[1] = SoundRow(L"C:\\s\\exit.wav", true);
  rows[3] = SoundRow(L"C:\\s\\none.wav", true);
  IniDocument document = IniDocument::Parse(L"[Soundz]\r\nold.wav=1\r\n[Kill]\r\n*.bak=1\r\n");
  WriteSoundRows(document, rows);

  EXPECT_EQ(document.KeyNames(L"Soundz").size(), 4u);
  EXPECT_EQ(document.Value(L"Kill", L"*.bak"), L"1");
  EXPECT_EQ(SlotsAfterRestart(document),
            (std::array<std::wstring, 6>{L"", L"C:\\s\\exit.wav", L"", L"C:\\s\\none.wav", L"", L""}));
  EXPECT_EQ(Files(ReadSoundRows(document)),
            (std::vector<std::wstring>{L"", L"C:\\s\\exit.wav+", L"", L"C:\\s\\none.wav+", L"", L""}));

  WriteSoundRows(document, SoundRows());
  EXPECT_FALSE(document.HasSection(L"Soundz"));
}

TEST(SoundRows, OneFileForSeveralEventsKeepsEachEventsSoundAndTick) {
  SoundRows rows;
  rows[0] = SoundRow(L"C:\\Звуки\\ding.wav", true);
  rows[2] = SoundRow(L"c:\\звуки\\DING.wav", false);  // the same file, in other letters
  rows[4] = SoundRow(L"C:\\Звуки\\ding.wav", true);
  rows[5] = SoundRow(L"ding.wav", true);  // beside the program, a key of its own
  IniDocument document;
  WriteSoundRows(document, rows);

  const auto slots = SlotsAfterRestart(document);
  EXPECT_EQ(slots[0], L"C:\\Звуки\\ding.wav");
  EXPECT_EQ(slots[2], L"");
  EXPECT_EQ(slots[4], L"C:\\Звуки\\.\\.\\ding.wav");
  EXPECT_EQ(slots[5], L"ding.wav");
  EXPECT_EQ(Files(ReadSoundRows(document)),
            (std::vector<std::wstring>{L"C:\\Звуки\\ding.wav+", L"", L"c:\\звуки\\DING.wav", L"",
                                       L"C:\\Звуки\\ding.wav+", L"ding.wav+"}));

  // Saving what was read writes the same section again.
  const std::wstring first = document.Serialize();
  WriteSoundRows(document, ReadSoundRows(document));
  EXPECT_EQ(document.Serialize(), first);
}

TEST(SoundRows, APathTheFileCannotHoldLeavesItsEventSilentNotTheNextOnesMoved) {
  SoundRows rows;
  rows[0] = SoundRow(L"C:\\a=b.wav", true);
  rows[1] = SoundRow(L"C:\\exit.wav", true);
  IniDocument document;
  WriteSoundRows(document, rows);
  EXPECT_EQ(SlotsAfterRestart(document), (std::array<std::wstring, 6>{L"", L"C:\\exit.wav", L"", L"", L"", L""}));
}

TEST(SoundRows, OnlyTheAddedCurrentFolderStepsAreTakenOut) {
  EXPECT_EQ(PlainSoundPath(L"C:\\a\\.\\.\\b.wav"), L"C:\\a\\b.wav");
  EXPECT_EQ(PlainSoundPath(L".\\b.wav"), L"b.wav");
  EXPECT_EQ(PlainSoundPath(L"C:.\\b.wav"), L"C:b.wav");
  EXPECT_EQ(PlainSoundPath(L"..\\b.wav"), L"..\\b.wav");
  EXPECT_EQ(PlainSoundPath(L"C:\\a.\\b.wav"), L"C:\\a.\\b.wav");
  EXPECT_EQ(PlainSoundPath(L"C:\\.\\a\\b.wav"), L"C:\\.\\a\\b.wav");
}

}  // namespace
}  // namespace krelmix
