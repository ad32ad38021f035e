#pragma once
// The scratch drive T: the end-to-end tests search and clean, and the files they lay out on it.
#include <windows.h>

#include <string>
#include <vector>

namespace krelmix::e2e {

// Empties T:\ of everything but its label file.
void ClearScratchDrive();
void MakeFolder(const std::wstring& path);  // with its parents
void MakeFile(const std::wstring& path, size_t bytes = 1024);
// Empty files f0<suffix> to f<count - 1><suffix> in an existing folder, made by the host's shell
// in one go (one by one under Wine, ten thousand take several seconds).
void MakeEmptyFiles(const std::wstring& folder, int count, const std::string& suffix);
bool Exists(const std::wstring& path);
// A Unix symbolic link at `link` pointing to folder `target`, as another program on the machine
// would make it; Windows programs under Wine see it as a folder link (a reparse point).
bool MakeFolderLink(const std::wstring& link, const std::wstring& target);
// The same for a file: Windows programs under Wine see it as a plain file.
bool MakeFileLink(const std::wstring& link, const std::wstring& target);
// A file that must outlive a run: its content and attributes are checked afterwards.
struct Canary {
  std::wstring path;
  std::string content;
  DWORD attributes;
};
Canary MakeCanary(const std::wstring& path, DWORD attributes = FILE_ATTRIBUTE_ARCHIVE);
void ExpectIntact(const std::vector<Canary>& canaries);
void RemoveCanaries(const std::vector<Canary>& canaries);
std::string Content(const std::wstring& path);
// The 8.3 form of an existing path; the path itself when the system gives none.
std::wstring ShortName(const std::wstring& path);

// Settings that tick only T: and use the given extra sections.
std::string SettingsTickingScratch(const std::string& more = "");

}  // namespace krelmix::e2e
