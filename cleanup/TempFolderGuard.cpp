#include "cleanup/TempFolderGuard.h"

#include <optional>
#include <vector>

#include "platform/CaseFold.h"
#include "platform/PathText.h"

namespace krelmix {

namespace {
// Every spelling of a protected folder: as given, with long names, and as the system resolves it.
std::vector<std::wstring> Spellings(FileSystem& fs, const std::wstring& kept,
                                    const std::optional<OpenedEntry>& keptSelf) {
  std::vector<std::wstring> spellings = {kept};
  if (const auto keptLong = CanonicalFolderPath(fs.LongPath(kept))) spellings.push_back(*keptLong);
  if (keptSelf)
    if (const auto keptReal = CanonicalFolderPath(keptSelf->finalPath)) spellings.push_back(*keptReal);
  return spellings;
}

// The folder is, or holds, the protected folder `kept`.
bool HoldsProtected(FileSystem& fs, const std::wstring& folder, const std::optional<OpenedEntry>& self,
                    const std::wstring& kept) {
  const std::optional<OpenedEntry> keptSelf = fs.Open(kept);
  if (keptSelf && self && self->id.Known() && keptSelf->id == self->id) return true;
  for (const auto& spelling : Spellings(fs, kept, keptSelf)) {
    if (IsSameOrInside(spelling, folder)) return true;
    // The folder may hold a protected one under another name: compare the folders above it.
    if (!self || !self->id.Known()) continue;
    for (const auto& above : FoldersAbove(spelling)) {
      if (IsRootPath(above)) break;
      const auto aboveSelf = fs.Open(above);
      if (aboveSelf && aboveSelf->id == self->id) return true;
    }
  }
  return false;
}
}  // namespace

TempOutcome CheckTempFolder(FileSystem& fs, std::wstring& tmpDir, const std::wstring& exeDirGiven) {
  const std::wstring given(WithoutTrailingBackslashes(tmpDir));
  if (given.empty()) return TempOutcome::UnsafeFolder;
  const std::wstring exeDir(WithoutTrailingBackslashes(exeDirGiven));
  if (SamePath(given, exeDir)) return TempOutcome::ProgramFolder;
  const std::optional<std::wstring> spelled = CanonicalFolderPath(given);
  if (!spelled || IsRootPath(*spelled)) return TempOutcome::UnsafeFolder;
  const std::optional<std::wstring> folder = CanonicalFolderPath(fs.LongPath(*spelled));
  if (!folder || IsRootPath(*folder)) return TempOutcome::UnsafeFolder;
  const std::optional<OpenedEntry> self = fs.Open(*folder);
  std::wstring where = *folder;
  if (self) {
    // A link, or a link anywhere above: the folder is not where its path says.
    if (self->IsLink() || !(self->attributes & FileAttr::Directory)) return TempOutcome::UnsafeFolder;
    const std::optional<std::wstring> real = CanonicalFolderPath(self->finalPath);
    if (!real || !SameName(*real, *folder)) return TempOutcome::UnsafeFolder;
    where = *real;
    if (const auto program = fs.Open(exeDir); program && self->id.Known() && program->id == self->id)
      return TempOutcome::ProgramFolder;
  }
  // The program's own folder is protected too: a temporary folder holding it would take the
  // program and its settings with it.
  std::vector<std::wstring> protectedFolders = fs.ProtectedFolders();
  protectedFolders.push_back(exeDir);
  for (const auto& kept : protectedFolders) {
    const std::optional<std::wstring> keptPath = CanonicalFolderPath(kept);
    if (keptPath && HoldsProtected(fs, *folder, self, *keptPath)) return TempOutcome::UnsafeFolder;
  }
  tmpDir = where;
  return TempOutcome::Cleaned;
}

}  // namespace krelmix
