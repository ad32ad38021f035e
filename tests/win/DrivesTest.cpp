#include <gtest/gtest.h>

#include "cleanup/DriveList.h"
#include "platform/win32/Win32Drives.h"

namespace krelmix {
namespace {

// The prefix's C: is a fixed drive; whatever else is listed must be well formed.
TEST(Win32Drives, ListsTheFixedSystemDriveWithAVolumeText) {
  Win32Drives drives;
  const auto lines = FillDriveList(drives);
  bool sawC = false;
  for (const auto& line : lines) {
    ASSERT_GE(line.text.size(), 2u);
    EXPECT_EQ(line.text[1], L':');
    if (line.text.rfind(L"C: [", 0) == 0) sawC = true;
  }
  EXPECT_TRUE(sawC);
}

// The test prefix maps T: to a scratch folder labelled "scratch" and S: as a CD-ROM drive.
TEST(Win32Drives, LabelIsUpperCasedAndCdRomIsLeftOut) {
  Win32Drives drives;
  const auto lines = FillDriveList(drives);
  bool sawT = false;
  for (const auto& line : lines) {
    EXPECT_NE(line.text[0], L'S') << "a CD-ROM drive was listed";
    if (line.text[0] == L'T') {
      EXPECT_EQ(line.text, L"T: [SCRATCH]");
      sawT = true;
    }
  }
  EXPECT_TRUE(sawT);
  EXPECT_EQ(drives.Kind(L'S'), DriveKind::CdRom);
}

}  // namespace
}  // namespace krelmix
