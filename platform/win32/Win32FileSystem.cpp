#include "platform/win32/Win32FileSystem.h"

#include "platform/CaseFold.h"
#include "platform/win32/Handles.h"

#include <windows.h>
#include <aclapi.h>
#include <sddl.h>
#include <shlobj.h>

#include <algorithm>
#include <functional>

namespace krelmix {

namespace {
// Wine removes a host folder link by removing what it points to when that is empty, and refuses
// otherwise; it cannot remove the link alone. Under Wine folder links are therefore left in place.
bool RunningOnWine() {
  static const bool wine = GetProcAddress(GetModuleHandleW(L"ntdll.dll"), "wine_get_version") != nullptr;
  return wine;
}

std::wstring FullPath(const std::wstring& path) {
  const DWORD needed = GetFullPathNameW(path.c_str(), 0, nullptr, nullptr);
  if (needed == 0) return path;
  std::wstring full(needed, L'\0');
  const DWORD got = GetFullPathNameW(path.c_str(), needed, full.data(), nullptr);
  if (got == 0 || got >= needed) return path;
  full.resize(got);
  return full;
}

bool SameEntryPath(const std::wstring& finalPath, const std::wstring& path) {
  return SamePath(WithoutTrailingDots(finalPath), WithoutTrailingDots(WithoutPrefix(path)));
}

// The entry itself, never what a link at the end of the path points to; shared so that a file
// in use by others can still be looked at.
HANDLE OpenEntry(const std::wstring& path, DWORD access) {
  return CreateFileW(ExtendedPath(path).c_str(), access, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                     nullptr, OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS | FILE_FLAG_OPEN_REPARSE_POINT, nullptr);
}

uint64_t Join(DWORD high, DWORD low) { return (static_cast<uint64_t>(high) << 32) | low; }
FileId IdOf(const BY_HANDLE_FILE_INFORMATION& info) {
  return {info.dwVolumeSerialNumber, Join(info.nFileIndexHigh, info.nFileIndexLow)};
}

// Wine's GetFinalPathNameByHandle fails on paths longer than MAX_PATH; the object's own name,
// which Wine gives in the "\??\C:\..." form, is the same path. Empty when not under Wine.
std::wstring WineObjectName(HANDLE handle) {
  if (!RunningOnWine()) return {};
  using Query = LONG(WINAPI*)(HANDLE, int, void*, ULONG, ULONG*);
  static const auto query =
      reinterpret_cast<Query>(reinterpret_cast<void*>(GetProcAddress(GetModuleHandleW(L"ntdll.dll"), "NtQueryObject")));
  if (!query) return {};
  struct Name {
    USHORT length, maximum;
    wchar_t* buffer;
  };
  thread_local std::vector<uint64_t> storage(70000 / sizeof(uint64_t));
  ULONG length = 0;
  if (query(handle, 1 /* ObjectNameInformation */, storage.data(), static_cast<ULONG>(storage.size() * 8), &length) !=
      0)
    return {};
  const Name* name = reinterpret_cast<const Name*>(storage.data());
  std::wstring text(name->buffer, name->length / sizeof(wchar_t));
  return DosPathOfObjectName(text).value_or(std::wstring());
}

using QueryInformationFile = LONG(WINAPI*)(HANDLE, void*, void*, ULONG, int);
QueryInformationFile NtQueryInformation() {
  static const auto query = reinterpret_cast<QueryInformationFile>(
      reinterpret_cast<void*>(GetProcAddress(GetModuleHandleW(L"ntdll.dll"), "NtQueryInformationFile")));
  return query;
}

// A name of an entry in a folder: no folder part, no stream, no step up.
bool IsPlainName(const std::wstring& name) {
  return !name.empty() && name != L"." && name != L".." && name.find_first_of(L"\\/:") == std::wstring::npos &&
         name.size() * sizeof(wchar_t) <= 0xFFFF;
}

// Opens `name` (in an open folder, or a full "\\??\\" name without one) for `access`, the entry
// itself if it is a link, never a folder; the system's status.
LONG OpenNamed(HANDLE folder, const std::wstring& name, ACCESS_MASK access, bool anyCase, HANDLE& file,
               ULONG disposition = 1 /* FILE_OPEN */) {
  struct Text {
    USHORT length, maximum;
    const wchar_t* buffer;
  } text{static_cast<USHORT>(name.size() * sizeof(wchar_t)), static_cast<USHORT>(name.size() * sizeof(wchar_t)),
         name.c_str()};
  struct {
    ULONG length;
    HANDLE root;
    Text* name;
    ULONG attributes;
    void *security, *quality;
  } object{sizeof object, folder, &text, anyCase ? 0x40u /* OBJ_CASE_INSENSITIVE */ : 0u, nullptr, nullptr};
  struct {
    void* status;
    ULONG_PTR information;
  } io{};
  using Create =
      LONG(WINAPI*)(HANDLE*, ACCESS_MASK, void*, void*, LARGE_INTEGER*, ULONG, ULONG, ULONG, ULONG, void*, ULONG);
  static const auto create =
      reinterpret_cast<Create>(reinterpret_cast<void*>(GetProcAddress(GetModuleHandleW(L"ntdll.dll"), "NtCreateFile")));
  constexpr ULONG kSynchronous = 0x20, kNotFolder = 0x40, kBackup = 0x4000, kLinkItself = 0x200000;
  file = INVALID_HANDLE_VALUE;
  if (!create) return static_cast<LONG>(0xC0000002);  // STATUS_NOT_IMPLEMENTED
  return create(&file, access | SYNCHRONIZE, &object, &io, nullptr, 0,
                FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, disposition,
                kSynchronous | kNotFolder | kBackup | kLinkItself, nullptr, 0);
}

// A file of an open folder by its name alone, the entry itself if it is a link; nothing when it
// is missing, a folder, or the name is no plain name.
HANDLE OpenInFolder(HANDLE folder, const std::wstring& name) {
  if (!IsPlainName(name)) return INVALID_HANDLE_VALUE;
  HANDLE file;
  if (OpenNamed(folder, name, DELETE | FILE_READ_ATTRIBUTES | FILE_WRITE_ATTRIBUTES, true, file) != 0)
    return INVALID_HANDLE_VALUE;
  return file;
}

// After a deletion only "no such entry" tells that it took: a file whose deletion is still pending
// (another program holds it) answers "access denied", one the file system kept answers as a file.
constexpr LONG kNameNotFound = static_cast<LONG>(0xC0000034), kPathNotFound = static_cast<LONG>(0xC000003A);

bool OpensNothing(HANDLE folder, const std::wstring& name, bool anyCase) {
  HANDLE file = INVALID_HANDLE_VALUE;
  const LONG status = OpenNamed(folder, name, FILE_READ_ATTRIBUTES, anyCase, file);
  if (status == 0) CloseHandle(file);
  return status == kNameNotFound || status == kPathNotFound;
}

// An open that fails, the usual outcome: one request. (Asking for the attributes relative to the
// folder would be one too, but Wine 8 answers "not found" to it even for a file that is there.)
bool IsGoneInFolder(HANDLE folder, const std::wstring& name) { return OpensNothing(folder, name, true); }

// The same by the full path as the system spelled it when the file was deleted, letter case and
// all: Windows compares names in any case all the same, while Wine then looks for the name once
// instead of reading the whole folder for a name in another case.
bool IsGoneAt(const std::wstring& spelled) {
  std::wstring name = ExtendedPath(spelled);
  if (name.rfind(L"\\\\?\\", 0) != 0) return false;
  name[1] = L'?';  // the native form of the prefix
  return OpensNothing(nullptr, name, false);
}

// What a deletion checks of an open file. Read without asking for the volume, which under Wine is
// a round trip to the mount manager, and in one question where the system answers it.
struct FileFacts {
  uint64_t index = 0;  // the file's number on its volume; 0 when the system does not say
  uint64_t size = 0;
  uint64_t lastWrite = 0;
  DWORD attributes = 0;
  DWORD links = 0;
};

// The file number alone, in one question; 0 where the system does not tell it.
uint64_t FileNumberOf(HANDLE handle) {
  struct {
    void* status;
    ULONG_PTR information;
  } io{};
  LARGE_INTEGER index{};
  const QueryInformationFile query = NtQueryInformation();
  if (!query || query(handle, &io, &index, sizeof index, 6 /* FileInternalInformation */) != 0) return 0;
  return static_cast<uint64_t>(index.QuadPart);
}

std::optional<FileFacts> FactsOf(HANDLE handle) {
  struct {
    void* status;
    ULONG_PTR information;
  } io{};
  struct {
    LARGE_INTEGER fileId, creation, lastAccess, lastWrite, change, allocation, endOfFile;
    ULONG attributes, reparseTag, links;
    ACCESS_MASK access;
  } stat{};
  const QueryInformationFile query = NtQueryInformation();
  if (query && query(handle, &io, &stat, sizeof stat, 68 /* FileStatInformation */) == 0)
    return FileFacts{static_cast<uint64_t>(stat.fileId.QuadPart), static_cast<uint64_t>(stat.endOfFile.QuadPart),
                     static_cast<uint64_t>(stat.lastWrite.QuadPart), stat.attributes, stat.links};
  // Systems older than the one-question form.
  FILE_BASIC_INFO basic;
  FILE_STANDARD_INFO standard;
  if (!GetFileInformationByHandleEx(handle, FileBasicInfo, &basic, sizeof basic) ||
      !GetFileInformationByHandleEx(handle, FileStandardInfo, &standard, sizeof standard))
    return std::nullopt;
  FileFacts facts{0, static_cast<uint64_t>(standard.EndOfFile.QuadPart),
                  static_cast<uint64_t>(basic.LastWriteTime.QuadPart), basic.FileAttributes, standard.NumberOfLinks};
  facts.index = FileNumberOf(handle);
  return facts;
}

bool SetAttributesOf(HANDLE handle, DWORD attributes) {
  FILE_BASIC_INFO basic{};  // zero times are left as they are
  basic.FileAttributes = attributes == 0 ? FILE_ATTRIBUTE_NORMAL : attributes;
  return SetFileInformationByHandle(handle, FileBasicInfo, &basic, sizeof basic) != 0;
}

bool DeleteThrough(HANDLE handle) {
  FILE_DISPOSITION_INFO disposition{};
  disposition.DeleteFile = TRUE;
  return SetFileInformationByHandle(handle, FileDispositionInfo, &disposition, sizeof disposition) != 0;
}

// The facts of an open file when it is a plain file whose data is on this disk, that
// `isExpected` takes as it is now and, where a path check is due, `reached` holds.
std::optional<FileFacts> CheckedFacts(HANDLE file, uint64_t volume, const FileCheck& isExpected,
                                      const std::function<bool()>& reached) {
  const std::optional<FileFacts> facts = FactsOf(file);
  if (!facts) return std::nullopt;
  if (facts->attributes & (FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_REPARSE_POINT | FileAttr::NotOnThisDisk))
    return std::nullopt;
  if (!isExpected({{volume, facts->index}, facts->size, facts->lastWrite})) return std::nullopt;
  if (reached && !reached()) return std::nullopt;
  return facts;
}

// Asks for the deletion of an open, checked file. The system carries it out, or quietly does not,
// when the handle is closed.
bool DeleteChecked(HANDLE file, DWORD attributes) {
  const bool lift = (attributes & FILE_ATTRIBUTE_READONLY) != 0;
  if (lift && !SetAttributesOf(file, attributes & ~FILE_ATTRIBUTE_READONLY)) return false;
  const bool requested = DeleteThrough(file);
  // Read-only only stops the request, which stands once taken: it is put back before the close,
  // for a file that the close does not delete after all and for the file's other names.
  if (lift) SetAttributesOf(file, attributes);
  return requested;
}

bool RequestDeletion(HANDLE file, uint64_t volume, const FileCheck& isExpected, const std::function<bool()>& reached) {
  const std::optional<FileFacts> facts = CheckedFacts(file, volume, isExpected, reached);
  return facts && DeleteChecked(file, facts->attributes);
}

constexpr LONG kNameCollision = static_cast<LONG>(0xC0000035), kNotSameDevice = static_cast<LONG>(0xC00000D4);

// Renames an open file to `name` in the folder `folder` holds, never over another entry. Through
// ntdll: Wine's SetFileInformationByHandle makes a relative name full from the current folder
// before it passes it on.
LONG RenameThrough(HANDLE file, HANDLE folder, const std::wstring& name) {
  using SetInformationFile = LONG(WINAPI*)(HANDLE, void*, void*, ULONG, int);
  static const auto set = reinterpret_cast<SetInformationFile>(
      reinterpret_cast<void*>(GetProcAddress(GetModuleHandleW(L"ntdll.dll"), "NtSetInformationFile")));
  if (!set) return static_cast<LONG>(0xC0000002);
  std::vector<uint64_t> buffer((sizeof(FILE_RENAME_INFO) + name.size() * sizeof(wchar_t)) / 8 + 1);
  auto* info = reinterpret_cast<FILE_RENAME_INFO*>(buffer.data());
  info->ReplaceIfExists = FALSE;
  info->RootDirectory = folder;
  info->FileNameLength = static_cast<DWORD>(name.size() * sizeof(wchar_t));
  std::copy(name.begin(), name.end(), info->FileName);
  struct {
    void* status;
    ULONG_PTR information;
  } io{};
  return set(file, &io, info, static_cast<ULONG>(buffer.size() * 8), 10 /* FileRenameInformation */);
}

// The same checks as a deletion, then the file moved into `keep` when that lies on its volume;
// deleted for good otherwise.
GoneAs RequestKeepOf(HANDLE file, uint64_t volume, const FileCheck& isExpected, const std::function<bool()>& reached,
                     HANDLE keep, uint64_t keepVolume, const std::wstring& keptName, const GoingNote& note) {
  const std::optional<FileFacts> facts = CheckedFacts(file, volume, isExpected, reached);
  if (!facts) return GoneAs::NotGone;
  const GoingFile going{{{volume, facts->index}, facts->size, facts->lastWrite}, facts->attributes};
  if (keep && keepVolume == volume) {
    if (!note(going, true)) return GoneAs::NotGone;
    const LONG status = RenameThrough(file, keep, keptName);
    if (status == 0) return GoneAs::Kept;
    // A file of another volume mounted below this one cannot move here; anything else leaves it.
    if (status != kNotSameDevice) return GoneAs::NotGone;
  }
  if (!note(going, false)) return GoneAs::NotGone;
  return DeleteChecked(file, facts->attributes) ? GoneAs::Deleted : GoneAs::NotGone;
}

// Every entry an open folder lists, read in one pass.
void ReadListing(HANDLE folder, uint64_t volume, std::vector<uint64_t>& buffer, std::vector<DirEntry>& entries) {
  buffer.resize(64 * 1024 / sizeof(uint64_t));
  FILE_INFO_BY_HANDLE_CLASS kind = FileIdBothDirectoryRestartInfo;
  while (GetFileInformationByHandleEx(folder, kind, buffer.data(), static_cast<DWORD>(buffer.size() * 8))) {
    kind = FileIdBothDirectoryInfo;
    const char* at = reinterpret_cast<const char*>(buffer.data());
    for (;;) {
      const auto* entry = reinterpret_cast<const FILE_ID_BOTH_DIR_INFO*>(at);
      entries.push_back({std::wstring(entry->FileName, entry->FileNameLength / sizeof(wchar_t)),
                         entry->FileAttributes,
                         static_cast<uint64_t>(entry->EndOfFile.QuadPart),
                         static_cast<uint64_t>(entry->LastWriteTime.QuadPart),
                         {volume, static_cast<uint64_t>(entry->FileId.QuadPart)}});
      if (entry->NextEntryOffset == 0) break;
      at += entry->NextEntryOffset;
    }
  }
}

// A folder opened as itself that is no link, also as Wine shows one (only in its attributes).
bool IsPlainFolder(HANDLE folder, const std::wstring& path) {
  FILE_BASIC_INFO basic;
  if (!GetFileInformationByHandleEx(folder, FileBasicInfo, &basic, sizeof basic)) return false;
  if ((basic.FileAttributes & (FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_REPARSE_POINT)) != FILE_ATTRIBUTE_DIRECTORY)
    return false;
  const DWORD listed = GetFileAttributesW(ExtendedPath(path).c_str());
  return listed == INVALID_FILE_ATTRIBUTES || !(listed & FILE_ATTRIBUTE_REPARSE_POINT);
}

// The access list of a keep folder: its user, the system and the administrators, nobody else,
// nothing inherited from above.
std::wstring PrivateAccess(const std::wstring& user) {
  return L"D:P(A;OICI;FA;;;" + user + L")(A;OICI;FA;;;SY)(A;OICI;FA;;;BA)";
}

// A user the keep folder may be open to: its own, the system, the administrators.
bool IsTrusted(PSID sid, const std::wstring& user) {
  if (IsWellKnownSid(sid, WinLocalSystemSid) || IsWellKnownSid(sid, WinBuiltinAdministratorsSid)) return true;
  wchar_t* text = nullptr;
  if (!ConvertSidToStringSidW(sid, &text)) return false;
  LocalMemory<wchar_t*> held(text);
  return user == text;
}

// The folder's owner is one of those (another owner could open it to others at any time), and its
// access list lets nobody else in. Windows reads back the list the folder was made with; Wine 8
// keeps no access lists and reads one back from the Unix permissions, naming the owner and the
// system, and everyone as soon as others may read.
bool IsPrivate(HANDLE folder, const std::wstring& user) {
  PSID owner = nullptr;
  PACL access = nullptr;
  PSECURITY_DESCRIPTOR descriptor = nullptr;
  if (GetSecurityInfo(folder, SE_FILE_OBJECT, OWNER_SECURITY_INFORMATION | DACL_SECURITY_INFORMATION, &owner, nullptr,
                      &access, nullptr, &descriptor) != ERROR_SUCCESS)
    return false;
  LocalMemory<PSECURITY_DESCRIPTOR> held(descriptor);
  // No list at all lets everyone in.
  if (!owner || !access || !IsTrusted(owner, user)) return false;
  for (DWORD i = 0; i < access->AceCount; ++i) {
    void* entry = nullptr;
    if (!GetAce(access, i, &entry)) return false;
    const BYTE type = static_cast<ACE_HEADER*>(entry)->AceType;
    if (type == ACCESS_DENIED_ACE_TYPE) continue;
    if (type != ACCESS_ALLOWED_ACE_TYPE) return false;
    if (!IsTrusted(&static_cast<ACCESS_ALLOWED_ACE*>(entry)->SidStart, user)) return false;
  }
  return true;
}

std::wstring ShellFolder(int csidl) {
  wchar_t path[MAX_PATH] = {};
  if (SHGetFolderPathW(nullptr, csidl, nullptr, SHGFP_TYPE_CURRENT, path) != S_OK) return {};
  return path;
}

std::wstring Expanded(const std::wstring& text) {
  const DWORD needed = ExpandEnvironmentStringsW(text.c_str(), nullptr, 0);
  if (needed == 0) return text;
  std::wstring out(needed, L'\0');
  if (ExpandEnvironmentStringsW(text.c_str(), out.data(), needed) == 0) return text;
  out.resize(wcslen(out.c_str()));
  return out;
}

// A key of the 64-bit view opened for reading; empty when it cannot be.
RegistryKey OpenReadKey(HKEY parent, const wchar_t* path) {
  HKEY key = nullptr;
  return RegistryKey(RegOpenKeyExW(parent, path, 0, KEY_READ | KEY_WOW64_64KEY, &key) == ERROR_SUCCESS ? key : nullptr);
}

std::wstring RegistryText(HKEY key, const wchar_t* name) {
  wchar_t buffer[1024] = {};
  DWORD size = sizeof buffer - sizeof(wchar_t), type = 0;
  if (RegQueryValueExW(key, name, nullptr, &type, reinterpret_cast<BYTE*>(buffer), &size) != ERROR_SUCCESS) return {};
  if (type != REG_SZ && type != REG_EXPAND_SZ) return {};
  return Expanded(buffer);
}

std::wstring Environment(const wchar_t* name) {
  wchar_t buffer[1024] = {};
  const DWORD got = GetEnvironmentVariableW(name, buffer, 1024);
  return got > 0 && got < 1024 ? std::wstring(buffer) : std::wstring();
}
}  // namespace

std::wstring ExtendedPath(const std::wstring& path) {
  if (auto extended = ExtendedForm(path)) return std::move(*extended);
  const std::wstring full = FullPath(path);
  // A path the system cannot make full is passed on as it is and fails there.
  if (full == path) return path;
  return ExtendedPath(full);
}

Win32FileSystem::Win32FileSystem(LinkRules rules) : windowsLinks_(rules == LinkRules::Windows || !RunningOnWine()) {}

std::wstring Win32FileSystem::FinalPath(void* handle, const std::wstring& path) {
  // Under Wine the object's own name is that path already; asking for the final path would also
  // ask the mount manager, a round trip to another process for every file deleted.
  auto finalOf = [](HANDLE h) {
    std::wstring buffer = WineObjectName(h);
    if (buffer.empty()) {
      buffer.assign(32768, L'\0');  // the longest path there is
      const DWORD got = GetFinalPathNameByHandleW(h, buffer.data(), static_cast<DWORD>(buffer.size()), VOLUME_NAME_DOS);
      if (got == 0 || got >= buffer.size()) return std::wstring();
      buffer.resize(got);
    }
    return std::wstring(WithoutTrailingBackslashes(WithoutPrefix(buffer)));
  };
  const std::wstring real = finalOf(handle);
  const std::wstring root(PathRoot(path));
  if (real.empty() || root.empty()) return real;
  auto known = rootFinals_.find(root);
  if (known == rootFinals_.end()) {
    KernelHandle rootHandle(OpenEntry(root + L"\\", FILE_READ_ATTRIBUTES | SYNCHRONIZE));
    if (!rootHandle.Valid()) return real;
    known = rootFinals_.emplace(root, finalOf(rootHandle.Get())).first;
  }
  const std::wstring& rootReal = known->second;
  if (rootReal.empty() || real.size() < rootReal.size() || !SamePath(real.substr(0, rootReal.size()), rootReal))
    return real;
  if (real.size() > rootReal.size() && real[rootReal.size()] != L'\\') return real;
  return root + real.substr(rootReal.size());
}

uint64_t Win32FileSystem::VolumeOf(const std::wstring& path, void* handle) {
  std::wstring root(PathRoot(path));
  root = UpperCase(root);
  if (const auto known = rootVolumes_.find(root); !root.empty() && known != rootVolumes_.end()) return known->second;
  BY_HANDLE_FILE_INFORMATION info;
  if (!GetFileInformationByHandle(handle, &info)) return 0;
  if (!root.empty()) rootVolumes_.emplace(root, info.dwVolumeSerialNumber);
  return info.dwVolumeSerialNumber;
}

bool Win32FileSystem::ListFolder(const std::wstring& dir, std::vector<DirEntry>& entries) {
  return ListListedFolder(dir, {}, entries);
}

bool Win32FileSystem::ListListedFolder(const std::wstring& dir, const FileId& listed, std::vector<DirEntry>& entries) {
  entries.clear();
  KernelHandle folder(OpenEntry(dir, FILE_LIST_DIRECTORY | FILE_READ_ATTRIBUTES | SYNCHRONIZE));
  if (!folder.Valid()) return false;
  FILE_BASIC_INFO basic;
  if (!GetFileInformationByHandleEx(folder.Get(), FileBasicInfo, &basic, sizeof basic) ||
      !(basic.FileAttributes & FILE_ATTRIBUTE_DIRECTORY))
    return false;
  // A folder swapped for a link after its parent was listed would take a walk elsewhere, or round
  // a loop of its own folders with a longer path at every turn: a link is never listed. Wine opens
  // what a link points to and shows the link only in its attributes.
  if (basic.FileAttributes & FILE_ATTRIBUTE_REPARSE_POINT) return false;
  if (RunningOnWine()) {
    const DWORD attributes = GetFileAttributesW(ExtendedPath(dir).c_str());
    if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_REPARSE_POINT)) return false;
    // The path may have been a link when it was opened and a folder again when it was looked at:
    // the folder opened must be the one the parent listed.
    if (listed.Known()) {
      const uint64_t number = FileNumberOf(folder.Get());
      if (number != 0 && number != listed.index) return false;
    }
  }
  ReadListing(folder.Get(), VolumeOf(dir, folder.Get()), listing_, entries);  // aligned as the entries need
  return true;
}

std::optional<OpenedEntry> Win32FileSystem::Open(const std::wstring& path) {
  KernelHandle entry(OpenEntry(path, FILE_READ_ATTRIBUTES | SYNCHRONIZE));
  if (!entry.Valid()) return std::nullopt;
  BY_HANDLE_FILE_INFORMATION info;
  if (!GetFileInformationByHandle(entry.Get(), &info)) return std::nullopt;
  OpenedEntry opened{IdOf(info), info.dwFileAttributes, FinalPath(entry.Get(), path)};
  // Wine shows a folder link as one only in the folder's listing and its attributes.
  const DWORD attributes = GetFileAttributesW(ExtendedPath(path).c_str());
  if (attributes != INVALID_FILE_ATTRIBUTES) opened.attributes |= attributes & FILE_ATTRIBUTE_REPARSE_POINT;
  return opened;
}

std::wstring Win32FileSystem::LongPath(const std::wstring& path) {
  const std::wstring extended = ExtendedPath(path);
  std::wstring buffer(extended.size() + MAX_PATH, L'\0');
  DWORD got = GetLongPathNameW(extended.c_str(), buffer.data(), static_cast<DWORD>(buffer.size()));
  if (got >= buffer.size()) {
    buffer.assign(got + 1, L'\0');
    got = GetLongPathNameW(extended.c_str(), buffer.data(), static_cast<DWORD>(buffer.size()));
  }
  if (got == 0 || got >= buffer.size()) return path;
  buffer.resize(got);
  return WithoutPrefix(buffer);
}

bool Win32FileSystem::RemoveFileIf(const std::wstring& path, const FileCheck& isExpected) {
  std::wstring spelled;
  return RequestRemoval(path, isExpected, spelled) && IsGoneAt(spelled);
}

bool Win32FileSystem::RequestRemoval(const std::wstring& path, const FileCheck& isExpected, std::wstring& spelled) {
  KernelHandle file(OpenEntry(path, DELETE | FILE_READ_ATTRIBUTES | FILE_WRITE_ATTRIBUTES | SYNCHRONIZE));
  if (!file.Valid()) return false;
  // A link on the way, or one in the file's place that the platform shows as a plain file.
  return RequestDeletion(file.Get(), VolumeOf(path, file.Get()), isExpected, [&] {
    spelled = FinalPath(file.Get(), path);
    return SameEntryPath(spelled, path);
  });
}

// A keep folder held open. Its entries are opened by name relative to its handle, never
// following a link, and each is checked to be reached by its own path.
class Win32FileSystem::Keep : public KeepFolder {
 public:
  Keep(Win32FileSystem& fs, std::wstring path, KernelHandle folder, uint64_t volume)
      : fs_(fs), path_(std::move(path)), folder_(std::move(folder)), volume_(volume) {}
  HANDLE Handle() const { return folder_.Get(); }
  uint64_t Volume() const { return volume_; }

  bool Walk(const std::function<void(DirEntry&&)>& each, const std::function<void()>& breathe) override {
    std::vector<uint64_t> buffer;
    std::vector<DirEntry> top;
    ReadListing(folder_.Get(), volume_, buffer, top);
    DropDots(top);
    std::vector<std::wstring> folders;
    for (DirEntry& entry : top) {
      if (entry.IsDirectory() && !entry.IsLink()) folders.push_back(entry.name);
      each(std::move(entry));
    }
    top = {};
    std::vector<DirEntry> inner;
    for (const std::wstring& folder : folders) {
      KernelHandle opened(OpenFolder(folder, FILE_LIST_DIRECTORY | FILE_TRAVERSE | FILE_READ_ATTRIBUTES));
      if (!opened.Valid()) continue;
      inner.clear();
      ReadListing(opened.Get(), volume_, buffer, inner);
      DropDots(inner);
      for (DirEntry& entry : inner) {
        entry.name = folder + L"\\" + entry.name;
        each(std::move(entry));
      }
      if (breathe) breathe();
    }
    return true;
  }

  bool MakeFolder(const std::wstring& name) override {
    // Made with the keep folder's access list, which its folders inherit.
    if (IsPlainName(name)) CreateDirectoryW(ExtendedPath(path_ + L"\\" + name).c_str(), nullptr);
    return KernelHandle(OpenFolder(name, FILE_READ_ATTRIBUTES)).Valid();
  }

  bool RemoveFolder(const std::wstring& name) override {
    KernelHandle folder(OpenFolder(name, DELETE | FILE_LIST_DIRECTORY | FILE_READ_ATTRIBUTES));
    // The system refuses the deletion of a folder that is not empty.
    return folder.Valid() && DeleteThrough(folder.Get());
  }

  std::optional<std::string> Read(const std::wstring& name) override {
    KernelHandle file(OpenChild(name, FILE_READ_DATA | FILE_READ_ATTRIBUTES));
    if (!file.Valid()) return std::nullopt;
    std::string bytes;
    char chunk[64 * 1024];
    DWORD got = 0;
    while (ReadFile(file.Get(), chunk, sizeof chunk, &got, nullptr) && got > 0) bytes.append(chunk, got);
    return bytes;
  }

  ~Keep() override { FlushRecord(); }

  bool Append(const std::wstring& name, std::string_view bytes) override {
    if (!record_.Valid() || recordName_ != name) {
      FlushRecord();
      record_.Reset();
      HANDLE file = INVALID_HANDLE_VALUE;
      if (!IsPlainName(name) ||
          OpenNamed(folder_.Get(), name, FILE_WRITE_DATA | FILE_APPEND_DATA | FILE_READ_ATTRIBUTES, false, file,
                    3 /* FILE_OPEN_IF */) != 0)
        return false;
      KernelHandle opened(file);
      const std::optional<FileFacts> facts = FactsOf(opened.Get());
      LARGE_INTEGER end{};
      if (!facts || (facts->attributes & FILE_ATTRIBUTE_REPARSE_POINT) || !Reached(opened.Get(), name) ||
          !SetFilePointerEx(opened.Get(), end, nullptr, FILE_END))
        return false;
      record_ = std::move(opened);
      recordName_ = name;
    }
    DWORD written = 0;
    // Handed to the system line by line: a program killed after this call leaves the line in the
    // file. Flushed to the disk in batches and when the record is closed: a flush per line would
    // cost more than the move it records, and a power cut in the middle of a run may lose the
    // system's last moves as well as their lines.
    if (!WriteFile(record_.Get(), bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr) ||
        written != bytes.size())
      return false;
    if (++unflushed_ >= kLinesPerFlush) FlushRecord();
    return true;
  }

  PutBack MoveBack(const std::wstring& name, const FileCheck& isExpected, const std::wstring& path) override {
    if (!IsKeptName(name) || OpensNothing(folder_.Get(), name, false)) return PutBack::Missing;
    KernelHandle file(OpenChild(name, DELETE | FILE_READ_ATTRIBUTES));
    if (!file.Valid() || !CheckedFacts(file.Get(), volume_, isExpected, nullptr)) return PutBack::Refused;
    const std::optional<PathSplit> split = SplitLastStep(path);
    if (!split || !IsPlainName(std::wstring(split->name))) return PutBack::Failed;
    const std::wstring folder(split->folder);
    // The folders on the way, made again where they are gone.
    std::vector<std::wstring> missing;
    for (std::wstring up = folder; !IsRootPath(up) && !EntryAt(up);) {
      missing.push_back(up);
      const auto above = SplitLastStep(up);
      if (!above) break;
      up = std::wstring(above->folder);
    }
    for (auto it = missing.rbegin(); it != missing.rend(); ++it) CreateDirectoryW(ExtendedPath(*it).c_str(), nullptr);
    KernelHandle target(OpenEntry(folder, FILE_ADD_FILE | FILE_TRAVERSE | FILE_READ_ATTRIBUTES | SYNCHRONIZE));
    if (!target.Valid()) return PutBack::Failed;
    // A link on the way back would put the file where its path does not say.
    if (!IsPlainFolder(target.Get(), folder) || !SameEntryPath(fs_.FinalPath(target.Get(), folder), folder))
      return PutBack::Refused;
    const LONG status = RenameThrough(file.Get(), target.Get(), std::wstring(split->name));
    if (status == kNameCollision) return PutBack::PlaceTaken;
    return status == 0 ? PutBack::Done : PutBack::Failed;
  }

  bool Remove(const std::wstring& name, const FileCheck& isExpected) override {
    if (name == recordName_) {
      unflushed_ = 0;
      record_.Reset();
    }
    {
      KernelHandle file(OpenChild(name, DELETE | FILE_READ_ATTRIBUTES | FILE_WRITE_ATTRIBUTES));
      if (!file.Valid() || !RequestDeletion(file.Get(), volume_, isExpected, nullptr)) return false;
    }
    return IsGoneInFolder(folder_.Get(), name);
  }

 private:
  static bool EntryAt(const std::wstring& path) {
    return GetFileAttributesW(ExtendedPath(path).c_str()) != INVALID_FILE_ATTRIBUTES;
  }
  // Wine shows a Unix link to a file as that file: only its final path tells.
  bool Reached(HANDLE file, const std::wstring& name) {
    return SameEntryPath(fs_.FinalPath(file, path_ + L"\\" + name), path_ + L"\\" + name);
  }
  static void DropDots(std::vector<DirEntry>& entries) {
    entries.erase(std::remove_if(entries.begin(), entries.end(),
                                 [](const DirEntry& e) { return e.name == L"." || e.name == L".."; }),
                  entries.end());
  }
  // A kept file's name: plain, or in one of the keep folder's folders.
  static bool IsKeptName(const std::wstring& name) {
    const size_t slash = name.find(L'\\');
    return slash == std::wstring::npos ? IsPlainName(name)
                                       : IsPlainName(name.substr(0, slash)) && IsPlainName(name.substr(slash + 1));
  }
  // A plain folder of the keep folder reached by its own name.
  HANDLE OpenFolder(const std::wstring& name, ACCESS_MASK access) {
    if (!IsPlainName(name)) return INVALID_HANDLE_VALUE;
    const std::wstring path = path_ + L"\\" + name;
    KernelHandle folder(OpenEntry(path, access | SYNCHRONIZE));
    if (!folder.Valid() || !IsPlainFolder(folder.Get(), path) ||
        !SameEntryPath(fs_.FinalPath(folder.Get(), path), path))
      return INVALID_HANDLE_VALUE;
    return folder.Release();
  }
  // A plain file of the folder, the entry itself if it is a link, refused unless reached by its
  // own name.
  HANDLE OpenChild(const std::wstring& name, ACCESS_MASK access) {
    HANDLE file = INVALID_HANDLE_VALUE;
    if (!IsKeptName(name) || OpenNamed(folder_.Get(), name, access, false, file) != 0) return INVALID_HANDLE_VALUE;
    KernelHandle opened(file);
    const std::optional<FileFacts> facts = FactsOf(opened.Get());
    if (!facts || (facts->attributes & (FILE_ATTRIBUTE_REPARSE_POINT | FILE_ATTRIBUTE_DIRECTORY)) ||
        !Reached(opened.Get(), name))
      return INVALID_HANDLE_VALUE;
    return opened.Release();
  }

  void FlushRecord() {
    if (record_.Valid() && unflushed_ > 0) FlushFileBuffers(record_.Get());
    unflushed_ = 0;
  }

  static constexpr int kLinesPerFlush = 512;
  Win32FileSystem& fs_;
  std::wstring path_;
  KernelHandle folder_;
  uint64_t volume_;
  KernelHandle record_;  // the record being written, held open for the run
  std::wstring recordName_;
  int unflushed_ = 0;  // lines written since the record last reached the disk
};

GoneAs Win32FileSystem::RequestKeep(const std::wstring& path, const FileCheck& isExpected, KeepFolder* keep,
                                    const std::wstring& keptName, const GoingNote& note, std::wstring& spelled) {
  KernelHandle file(OpenEntry(path, DELETE | FILE_READ_ATTRIBUTES | FILE_WRITE_ATTRIBUTES | SYNCHRONIZE));
  if (!file.Valid()) return GoneAs::NotGone;
  const auto* into = dynamic_cast<Keep*>(keep);
  return RequestKeepOf(
      file.Get(), VolumeOf(path, file.Get()), isExpected,
      [&] {
        spelled = FinalPath(file.Get(), path);
        return SameEntryPath(spelled, path);
      },
      into ? into->Handle() : nullptr, into ? into->Volume() : 0, keptName, note);
}

std::wstring Win32FileSystem::UserKey() {
  if (!user_.empty()) return user_;
  HANDLE token = nullptr;
  if (!OpenProcessToken(GetCurrentProcess(), TOKEN_QUERY, &token)) return {};
  KernelHandle held(token);
  std::vector<uint64_t> buffer(256);
  DWORD size = 0;
  if (!GetTokenInformation(token, TokenUser, buffer.data(), static_cast<DWORD>(buffer.size() * 8), &size)) return {};
  wchar_t* text = nullptr;
  if (!ConvertSidToStringSidW(reinterpret_cast<TOKEN_USER*>(buffer.data())->User.Sid, &text)) return {};
  LocalMemory<wchar_t*> owned(text);
  user_ = text;
  return user_;
}

std::unique_ptr<KeepFolder> Win32FileSystem::OpenKeepFolder(const std::wstring& path, bool create) {
  const std::wstring user = UserKey();
  const std::optional<PathSplit> split = SplitLastStep(path);
  if (user.empty() || !split) return nullptr;
  const std::wstring parent(split->folder);
  if (create) {
    if (CreateDirectoryW(ExtendedPath(parent).c_str(), nullptr))
      SetFileAttributesW(ExtendedPath(parent).c_str(), FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM);
    PSECURITY_DESCRIPTOR descriptor = nullptr;
    if (!ConvertStringSecurityDescriptorToSecurityDescriptorW(PrivateAccess(user).c_str(), SDDL_REVISION_1, &descriptor,
                                                              nullptr))
      return nullptr;
    LocalMemory<PSECURITY_DESCRIPTOR> held(descriptor);
    SECURITY_ATTRIBUTES security{sizeof security, descriptor, FALSE};
    CreateDirectoryW(ExtendedPath(path).c_str(), &security);
  }
  KernelHandle folder(OpenEntry(
      path, FILE_LIST_DIRECTORY | FILE_ADD_FILE | FILE_TRAVERSE | FILE_READ_ATTRIBUTES | READ_CONTROL | SYNCHRONIZE));
  if (!folder.Valid() || !IsPlainFolder(folder.Get(), path)) return nullptr;
  // A link anywhere on the way, the holding folder's included, shows in the final path.
  if (!SameEntryPath(FinalPath(folder.Get(), path), path) || !IsPrivate(folder.Get(), user)) return nullptr;
  BY_HANDLE_FILE_INFORMATION info;
  if (!GetFileInformationByHandle(folder.Get(), &info)) return nullptr;
  return std::make_unique<Keep>(*this, path, std::move(folder), info.dwVolumeSerialNumber);
}

std::optional<VolumeSpace> Win32FileSystem::SpaceOf(const std::wstring& root) {
  const std::wstring folder = root + L"\\";
  ULARGE_INTEGER available{}, total{}, free{};
  if (!GetDiskFreeSpaceExW(folder.c_str(), &available, &total, &free)) return std::nullopt;
  return VolumeSpace{GetDriveTypeW(folder.c_str()) == DRIVE_FIXED, total.QuadPart, free.QuadPart};
}

// Windows' rules: the folder is opened and checked once, each file is opened relative to it. A
// folder swapped for a link after the check cannot redirect a file, since the name is looked up
// in the folder the handle holds, and a link in a file's place is opened itself and refused.
class Win32FileSystem::FolderHandleDeletion : public FolderDeletion {
 public:
  FolderHandleDeletion(Win32FileSystem& fs, const std::wstring& dir) {
    KernelHandle folder(OpenEntry(dir, FILE_LIST_DIRECTORY | FILE_TRAVERSE | FILE_READ_ATTRIBUTES | SYNCHRONIZE));
    FILE_BASIC_INFO basic;
    if (!folder.Valid() || !GetFileInformationByHandleEx(folder.Get(), FileBasicInfo, &basic, sizeof basic)) return;
    // Opened as itself, a folder link would hold none of the files; it is refused all the same.
    if ((basic.FileAttributes & (FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_REPARSE_POINT)) != FILE_ATTRIBUTE_DIRECTORY)
      return;
    if (!SameEntryPath(fs.FinalPath(folder.Get(), dir), dir)) return;
    volume_ = fs.VolumeOf(dir, folder.Get());
    folder_ = std::move(folder);
  }

 protected:
  bool RequestRemoval(const std::wstring& name, const FileCheck& isExpected) override {
    if (!folder_.Valid()) return false;
    KernelHandle file(OpenInFolder(folder_.Get(), name));
    return file.Valid() && RequestDeletion(file.Get(), volume_, isExpected, nullptr);
  }
  GoneAs RequestKeep(const std::wstring& name, const FileCheck& isExpected, KeepFolder* keep,
                     const std::wstring& keptName, const GoingNote& note) override {
    if (!folder_.Valid()) return GoneAs::NotGone;
    KernelHandle file(OpenInFolder(folder_.Get(), name));
    const auto* into = dynamic_cast<Keep*>(keep);
    return file.Valid() ? RequestKeepOf(file.Get(), volume_, isExpected, nullptr, into ? into->Handle() : nullptr,
                                        into ? into->Volume() : 0, keptName, note)
                        : GoneAs::NotGone;
  }
  bool IsGone(const std::wstring& name) override { return IsGoneInFolder(folder_.Get(), name); }

 private:
  KernelHandle folder_;
  uint64_t volume_ = 0;
};

// Wine's rules: each file by its full path, its final path checked (RemoveFileIf). Wine shows a
// Unix link to a file as that file, in the listing and through the handle alike, so the name is
// checked for every file however it is opened; opening the folder first would only add three
// requests to Wine's server per folder. Delete-on-close at the open is no shortcut either: Wine 8
// deletes such a file at the close whatever the handle is told meanwhile.
class Win32FileSystem::PathDeletion : public FolderDeletion {
 public:
  PathDeletion(Win32FileSystem& fs, std::wstring dir) : fs_(fs), dir_(std::move(dir)) {}

 protected:
  bool RequestRemoval(const std::wstring& name, const FileCheck& isExpected) override {
    return IsPlainName(name) && fs_.RequestRemoval(dir_ + L"\\" + name, isExpected, spelled_);
  }
  GoneAs RequestKeep(const std::wstring& name, const FileCheck& isExpected, KeepFolder* keep,
                     const std::wstring& keptName, const GoingNote& note) override {
    if (!IsPlainName(name)) return GoneAs::NotGone;
    return fs_.RequestKeep(dir_ + L"\\" + name, isExpected, keep, keptName, note, spelled_);
  }
  bool IsGone(const std::wstring&) override { return IsGoneAt(spelled_); }

 private:
  Win32FileSystem& fs_;
  std::wstring dir_;
  std::wstring spelled_;  // the last file asked for, as the system spelled it
};

std::unique_ptr<FolderDeletion> Win32FileSystem::OpenForDeletion(const std::wstring& dir) {
  if (windowsLinks_) return std::make_unique<FolderHandleDeletion>(*this, dir);
  return std::make_unique<PathDeletion>(*this, dir);
}

bool Win32FileSystem::RemoveFolder(const std::wstring& path, const FileId& expected) {
  KernelHandle folder(OpenEntry(path, DELETE | FILE_READ_ATTRIBUTES | SYNCHRONIZE));
  if (!folder.Valid()) return false;
  BY_HANDLE_FILE_INFORMATION info;
  if (!GetFileInformationByHandle(folder.Get(), &info) || !(info.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY))
    return false;
  const DWORD listed = GetFileAttributesW(ExtendedPath(path).c_str());
  const bool link = (info.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT) ||
                    (listed != INVALID_FILE_ATTRIBUTES && (listed & FILE_ATTRIBUTE_REPARSE_POINT));
  if (link) {
    if (RunningOnWine()) {
      SetLastError(ERROR_ACCESS_DENIED);
      return false;
    }
    return DeleteThrough(folder.Get());  // the link itself: it was opened, not followed
  }
  if (expected.Known() && IdOf(info) != expected) return false;
  if (!SameEntryPath(FinalPath(folder.Get(), path), path)) return false;
  return DeleteThrough(folder.Get());
}

std::wstring Win32FileSystem::TempPath() {
  std::wstring path(MAX_PATH + 1, L'\0');
  DWORD got = GetTempPathW(static_cast<DWORD>(path.size()), path.data());
  if (got > path.size()) {
    path.assign(got, L'\0');
    got = GetTempPathW(static_cast<DWORD>(path.size()), path.data());
  }
  if (got == 0 || got > path.size()) return {};
  path.resize(got);
  return path;
}

std::vector<std::wstring> Win32FileSystem::ProtectedFolders() {
  std::vector<std::wstring> folders;
  auto add = [&](std::wstring folder) {
    folder = WithoutTrailingBackslashesAfterRoot(folder);
    if (folder.empty()) return;
    if (std::find(folders.begin(), folders.end(), folder) == folders.end()) folders.push_back(std::move(folder));
  };
  wchar_t buffer[MAX_PATH] = {};
  if (GetWindowsDirectoryW(buffer, MAX_PATH)) add(buffer);
  if (GetSystemDirectoryW(buffer, MAX_PATH)) add(buffer);
  if (GetSystemWow64DirectoryW(buffer, MAX_PATH)) add(buffer);
  for (int csidl :
       {CSIDL_WINDOWS, CSIDL_SYSTEM, CSIDL_SYSTEMX86, CSIDL_PROFILE, CSIDL_PROGRAM_FILES, CSIDL_PROGRAM_FILESX86,
        CSIDL_PROGRAM_FILES_COMMON, CSIDL_PROGRAM_FILES_COMMONX86, CSIDL_COMMON_APPDATA, CSIDL_COMMON_DOCUMENTS})
    add(ShellFolder(csidl));
  // A 32-bit program is shown the 32-bit program folder under both names.
  for (const wchar_t* name : {L"ProgramW6432", L"ProgramFiles", L"ProgramFiles(x86)", L"ProgramData",
                              L"ALLUSERSPROFILE", L"PUBLIC", L"SystemRoot", L"USERPROFILE"})
    add(Environment(name));
  // Where deleted files are kept on each fixed disk.
  const DWORD drives = GetLogicalDrives();
  for (int i = 0; i < 26; ++i) {
    const std::wstring root = std::wstring(1, static_cast<wchar_t>(L'A' + i)) + L":";
    if ((drives >> i) & 1u && GetDriveTypeW((root + L"\\").c_str()) == DRIVE_FIXED) add(root + L"\\" + kKeepRootName);
  }
  // The folder holding the profiles, every folder in it, and every profile the system knows.
  std::vector<std::wstring> profileFolders;
  const std::wstring profile(WithoutTrailingBackslashesAfterRoot(ShellFolder(CSIDL_PROFILE)));
  if (const auto split = SplitLastStep(profile); split && split->folder.size() > 2)
    profileFolders.emplace_back(split->folder);
  if (const RegistryKey list =
          OpenReadKey(HKEY_LOCAL_MACHINE, L"SOFTWARE\\Microsoft\\Windows NT\\CurrentVersion\\ProfileList")) {
    profileFolders.push_back(RegistryText(list.Get(), L"ProfilesDirectory"));
    for (const wchar_t* name : {L"Public", L"Default", L"AllUsersProfile"}) add(RegistryText(list.Get(), name));
    wchar_t sid[256];
    for (DWORD i = 0;; ++i) {
      DWORD length = 256;
      if (RegEnumKeyExW(list.Get(), i, sid, &length, nullptr, nullptr, nullptr, nullptr) != ERROR_SUCCESS) break;
      if (const RegistryKey one = OpenReadKey(list.Get(), sid)) add(RegistryText(one.Get(), L"ProfileImagePath"));
    }
  }
  for (const auto& holder : profileFolders) {
    if (holder.empty()) continue;
    add(holder);
    std::vector<DirEntry> entries;
    const std::wstring folder(WithoutTrailingBackslashesAfterRoot(holder));
    if (!ListFolder(folder, entries)) continue;
    for (const auto& entry : entries)
      if (entry.IsDirectory() && entry.name != L"." && entry.name != L"..") add(folder + L"\\" + entry.name);
  }
  return folders;
}

}  // namespace krelmix
