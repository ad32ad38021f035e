// The portable case folding against the system's own, for every character of the plane.
#include <windows.h>
#include <gtest/gtest.h>

#include "platform/CaseFold.h"

namespace krelmix {
namespace {

TEST(CaseFold, AgreesWithTheSystemForEveryCharacterOfThePlane) {
  using Upcase = WCHAR(NTAPI*)(WCHAR);
  const auto upcase = reinterpret_cast<Upcase>(
      reinterpret_cast<void*>(GetProcAddress(GetModuleHandleW(L"ntdll.dll"), "RtlUpcaseUnicodeChar")));
  ASSERT_NE(upcase, nullptr);
  int differing = 0;
  for (unsigned unit = 0; unit < 0x10000; ++unit) {
    const wchar_t c = static_cast<wchar_t>(unit), upper = UpperChar(c);
    const bool same = upper == upcase(c) && CompareStringOrdinal(&c, 1, &upper, 1, TRUE) == CSTR_EQUAL &&
                      SameName(std::wstring_view(&c, 1), std::wstring_view(&upper, 1));
    if (!same && ++differing <= 10) ADD_FAILURE() << std::hex << "U+" << unit << " folds to U+" << unsigned(upper);
  }
  EXPECT_EQ(differing, 0);
}

}  // namespace
}  // namespace krelmix
