#include <gtest/gtest.h>

#include <map>

#include "cleanup/DriveList.h"
#include "settings/IniDocument.h"

namespace krelmix {
namespace {

struct FakeDrive {
  DriveKind kind;
  std::optional<std::wstring> label;
  std::optional<std::wstring> remote;
};

class FakeDrives : public Drives {
 public:
  std::map<wchar_t, FakeDrive> drives;
  uint32_t LogicalDrives() override {
    uint32_t mask = 0;
    for (auto& [letter, drive] : drives) mask |= 1u << (letter - L'A');
    return mask;
  }
  DriveKind Kind(wchar_t letter) override { return drives.at(letter).kind; }
  std::optional<std::wstring> VolumeLabel(wchar_t letter) override { return drives.at(letter).label; }
  std::optional<std::wstring> RemoteName(wchar_t letter) override { return drives.at(letter).remote; }
};

std::vector<std::wstring> Texts(const std::vector<DriveLine>& lines) {
  std::vector<std::wstring> texts;
  for (auto& line : lines) texts.push_back(line.text);
  return texts;
}

TEST(DriveList, EachKindIsDescribedOrLeftOut) {
  FakeDrives d;
  d.drives[L'A'] = {DriveKind::Removable, L"floppy", std::nullopt};
  d.drives[L'C'] = {DriveKind::Fixed, L"system", std::nullopt};
  d.drives[L'D'] = {DriveKind::CdRom, L"disc", std::nullopt};
  d.drives[L'E'] = {DriveKind::Fixed, std::nullopt, std::nullopt};
  d.drives[L'F'] = {DriveKind::Unknown, L"x", std::nullopt};
  d.drives[L'G'] = {DriveKind::NoRootDir, L"x", std::nullopt};
  d.drives[L'N'] = {DriveKind::Remote, L"share", L"\\\\server\\Public"};
  d.drives[L'O'] = {DriveKind::Remote, L"offline", std::nullopt};
  d.drives[L'R'] = {DriveKind::RamDisk, L"ramdrive", std::nullopt};
  d.drives[L'T'] = {DriveKind::Fixed, L"Диск", std::nullopt};
  EXPECT_EQ(Texts(FillDriveList(d)),
            (std::vector<std::wstring>{L"A:", L"C: [SYSTEM]", L"E: []", L"N: \\\\SERVER\\PUBLIC", L"O: [OFFLINE]",
                                       L"R: [RAMDRIVE]", L"T: [ДИСК]"}));
}

TEST(DriveList, TicksComeFromAreaAndAreWrittenBackInListOrder) {
  std::vector<DriveLine> lines = {{L"C: []"}, {L"E: []"}, {L"T: [X]"}};
  IniDocument doc = IniDocument::Parse(L"[Area]\r\nQ=1\r\nc=0x1\r\nE=1x\r\nT= +1\r\n[Options]\r\n0=0\r\n");
  RestoreDriveTicks(lines, doc);
  EXPECT_TRUE(lines[0].ticked);   // key matched without case, hexadecimal value
  EXPECT_FALSE(lines[1].ticked);  // not a number: the default
  EXPECT_TRUE(lines[2].ticked);

  lines[0].ticked = false;
  WriteDriveTicks(lines, doc);
  // The key of a drive no longer listed is gone; the other section is untouched.
  EXPECT_EQ(doc.KeyNames(L"Area"), (std::vector<std::wstring>{L"C", L"E", L"T"}));
  EXPECT_EQ(doc.Value(L"Area", L"C"), L"0");
  EXPECT_EQ(doc.Value(L"Area", L"E"), L"0");
  EXPECT_EQ(doc.Value(L"Area", L"T"), L"1");
  EXPECT_EQ(doc.Value(L"Options", L"0"), L"0");
}

TEST(DriveList, MissingAreaUnticksEverything) {
  std::vector<DriveLine> lines = {{L"C: []", true}};
  RestoreDriveTicks(lines, IniDocument::Parse(L""));
  EXPECT_FALSE(lines[0].ticked);
}

}  // namespace
}  // namespace krelmix
