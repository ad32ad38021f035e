// The built program as today's Windows reads it: the systems and the display handling its manifest
// declares, and the maker and copyright its version resource names beside the version.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "Harness.h"

namespace krelmix::e2e {
namespace {

std::string ManifestOf(const std::wstring& program) {
  HMODULE module = LoadLibraryExW(program.c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE | LOAD_LIBRARY_AS_IMAGE_RESOURCE);
  if (!module) return {};
  std::string text;
  if (HRSRC found = FindResourceW(module, MAKEINTRESOURCEW(1), MAKEINTRESOURCEW(24))) {
    const auto* bytes = static_cast<const char*>(LockResource(LoadResource(module, found)));
    if (bytes) text.assign(bytes, SizeofResource(module, found));
  }
  FreeLibrary(module);
  return text;
}

std::wstring VersionValue(const std::vector<char>& block, const wchar_t* name) {
  void* value = nullptr;
  UINT length = 0;
  const std::wstring path = std::wstring(L"\\StringFileInfo\\041904B0\\") + name;
  if (!VerQueryValueW(block.data(), path.c_str(), &value, &length) || !length) return {};
  return static_cast<const wchar_t*>(value);
}

TEST(ProgramFile, ManifestNamesTodaysSystemsAndVersionNamesTheMaker) {
  const std::string manifest = ManifestOf(BuiltProgram());
  ASSERT_FALSE(manifest.empty()) << "no manifest in the program";
  for (const char* system : {"e2011457-1546-43c5-a5fe-008deee3d3f0", "35138b9a-5d96-4fbd-8e2d-a2440225f93a",
                             "4a2f28e3-53b9-4441-ba9c-d69d4a4a6e38", "1f676c76-80e1-4239-95bb-83d0f6d0da78",
                             "8e0f7a12-bfb3-4fe8-b9a5-48fd50a15a9a"})
    EXPECT_NE(manifest.find(std::string("<supportedOS Id=\"{") + system + "}\"/>"), std::string::npos) << system;
  EXPECT_NE(manifest.find("<maxversiontested Id=\"10.0."), std::string::npos);
  EXPECT_NE(manifest.find(">PerMonitorV2, PerMonitor</dpiAwareness>"), std::string::npos);
  EXPECT_NE(manifest.find(">true/pm</dpiAware>"), std::string::npos);

  std::vector<char> block(GetFileVersionInfoSizeW(BuiltProgram().c_str(), nullptr));
  ASSERT_FALSE(block.empty());
  ASSERT_TRUE(GetFileVersionInfoW(BuiltProgram().c_str(), 0, static_cast<DWORD>(block.size()), block.data()));
  EXPECT_EQ(VersionValue(block, L"CompanyName"), L"Krelmix project");
  EXPECT_EQ(VersionValue(block, L"LegalCopyright"), L"© 2001-2007 Krelmix project");
  EXPECT_EQ(VersionValue(block, L"InternalName"), L"Krelmix");
  EXPECT_EQ(VersionValue(block, L"FileVersion"), L"0.8.0.0");
  EXPECT_EQ(VersionValue(block, L"ProductName"), L"Krelmix");
}

}  // namespace
}  // namespace krelmix::e2e
