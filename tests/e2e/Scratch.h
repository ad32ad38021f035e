#pragma once
// The scratch drive T: the end-to-end tests search and clean, and the files they lay out on it.
#include <windows.h>

#include <string>

namespace krelmix::e2e {

// Empties T:\ of everything but its label file.
void ClearScratchDrive();
void MakeFolder(const std::wstring& path);  // with its parents
void MakeFile(const std::wstring& path, size_t bytes = 1024);
bool Exists(const std::wstring& path);
// A Unix symbolic link at `link` pointing to folder `target`, as another program on the machine
// would make it; Windows programs under Wine see it as a folder link (a reparse point).
bool MakeFolderLink(const std::wstring& link, const std::wstring& target);
// The same for a file: Windows programs under Wine see it as a plain file.
bool MakeFileLink(const std::wstring& link, const std::wstring& target);
// Settings that tick only T: and use the given extra sections.
std::string SettingsTickingScratch(const std::string& more = "");

}  // namespace krelmix::e2e
