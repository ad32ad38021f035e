#include "cleanup/GarbageSearch.h"

#include "cleanup/FolderWalk.h"
#include "platform/PathText.h"
#include "settings/SettingsSchema.h"

namespace krelmix {

namespace {
// The attributes under which the two name tests of a find apply.
constexpr uint32_t kPlainFileBits =
    FileAttr::ReadOnly | FileAttr::Hidden | FileAttr::System | FileAttr::Archive | FileAttr::Compressed;

// Links are left alone: deleting one is never what its name promised. So are files whose data is
// elsewhere: deleting one frees nothing here and may take the only copy.
bool IsPlainFile(const DirEntry& entry) { return !entry.IsDirectory() && !entry.IsLink() && !entry.IsPlaceholder(); }

// Names that the search leaves alone although a mask matches them.
bool FailsNameTests(const DirEntry& entry) {
  if ((entry.attributes & ~kPlainFileBits) != 0) return false;
  const size_t dot = entry.name.rfind(L'.');
  if (dot != std::wstring::npos && entry.name.size() - dot > 4) return true;
  return entry.name == L"DATA.BAK";
}
}  // namespace

void GarbageSearch::LoadKillMasks(const IniDocument& settings) {
  ProgramState& state = run_.state;
  state.MaskList.clear();
  const std::vector<std::wstring> enabled = EnabledKeys(settings, SwitchList::Masks);
  for (const auto& mask : enabled) {
    // A mask like "*.*" or one reaching into another folder would take everything with it.
    if (IsUsableMask(mask)) state.MaskList.push_back(mask);
  }
  // The user switched the built-in masks off by enabling others: refusing those must not bring
  // the built-in ones back.
  masksRefused_ = !enabled.empty() && state.MaskList.empty();
}

void GarbageSearch::LoadExcludeDirs(const SettingsReadings& settings) {
  run_.state.ExcludeList = EnabledExclusions(settings);
}

// The walk works on its own copies: closing the window in the middle of it clears the lists.
void GarbageSearch::PrepareMasks() {
  masks_.clear();
  for (const auto& text : run_.state.MaskList)
    if (IsUsableMask(text)) masks_.push_back({text, Wildcard(text)});
  excludes_ = ExclusionSet(run_.state.ExcludeList, run_.fs);
}

void GarbageSearch::SearchDir(const std::wstring& dir) {
  if (run_.closing) return;
  std::vector<DirEntry> entries;
  run_.fs.ListFolder(dir, entries);
  if (IsDriveRoot(dir)) {
    if (run_.state.MaskList.empty() && !masksRefused_) run_.state.MaskList = {L"*.bak", L"*.tmp"};
    PrepareMasks();
    // A root's own files are listed even after a stop: only subfolder entries look at it.
    FindAllMasks(dir, entries);
    if (run_.closing) return;
  }
  Walk(dir, std::move(entries));
}

void GarbageSearch::FindGarbageFiles(const std::wstring& dir, const std::wstring& mask) {
  if (!run_.Pump() || !IsUsableMask(mask)) return;
  std::vector<DirEntry> entries;
  if (!run_.fs.ListFolder(dir, entries)) return;
  ListMatches(dir, entries, {mask, Wildcard(mask)});
}

// One listing serves every mask; the messages are still pumped once per folder and mask.
void GarbageSearch::FindAllMasks(const std::wstring& dir, const std::vector<DirEntry>& entries) {
  for (const auto& mask : masks_) {
    if (!run_.Pump()) return;
    ListMatches(dir, entries, mask);
  }
}

void GarbageSearch::ListMatches(const std::wstring& dir, const std::vector<DirEntry>& entries, const Mask& mask) {
  for (const auto& entry : entries) {
    if (!IsPlainFile(entry) || !mask.wildcard.Matches(entry.name)) continue;
    if (FailsNameTests(entry)) continue;
    AddFind(dir, entry);
  }
}

void GarbageSearch::AddFind(const std::wstring& dir, const DirEntry& entry) {
  ProgramState& state = run_.state;
  if (!state.NightFlyMode) {
    state.FoundBytes += entry.size;
    ++state.FoundFiles;
    run_.view.SetFileCounter(L"Файлов: " + std::to_wstring(state.FoundFiles));
  }
  finds_.Add(dir + L"\\" + entry.name, entry.Identity());
  if (!state.NightFlyMode && state.FollowReport) run_.view.MakeFoundCurrent(finds_.Count() - 1);
}

// Each folder's files are listed just before the walk descends into it, and the status line
// shows it once its subtree is done.
void GarbageSearch::Walk(const std::wstring& dir, std::vector<DirEntry> entries) {
  const auto visit = [this](WalkLevel&, const DirEntry& entry, WalkLevel& sub) {
    if (!run_.Pump()) return WalkStep::Stop;
    // A stop makes every level return at its next subfolder entry.
    if (run_.state.StopFlag) return WalkStep::LeaveFolder;
    // A folder whose content is elsewhere is not listed: that would fetch it to this disk.
    if (entry.IsLink() || entry.IsPlaceholder() || excludes_.Contains(sub.dir, entry.id)) return WalkStep::Skip;
    ++run_.state.DirCount;
    run_.view.SetFolderCounter(L"Каталогов: " + std::to_wstring(run_.state.DirCount));
    run_.fs.ListListedFolder(sub.dir, entry.id, sub.entries);
    FindAllMasks(sub.dir, sub.entries);
    return run_.closing ? WalkStep::Stop : WalkStep::Enter;
  };
  const auto leave = [this](const WalkLevel& done, bool start) {
    if (!start) run_.ShowFolder(done.dir);
  };
  WalkTree({dir, {}, std::move(entries)}, visit, leave);
}

}  // namespace krelmix
