#include "restore/RestoreRecord.h"

#include <charconv>
#include <unordered_map>

#include "settings/TextEncoding.h"

namespace krelmix {

namespace {
constexpr std::string_view kMagic = "KRELMIX-RESTORE";
constexpr std::string_view kVersion = "1";
constexpr wchar_t kRecordEnding[] = L".run";

std::string Utf8(std::wstring_view text) { return Utf8Codec().Encode(text).value_or(std::string()); }
std::wstring FromUtf8(std::string_view bytes) { return Utf8Codec().Decode(bytes); }

// A path may hold characters a line cannot (Windows names cannot, names from other systems
// can): tabs, line breaks, and the escape character itself are written as %XX.
std::wstring Escaped(std::wstring_view text) {
  std::wstring out;
  out.reserve(text.size());
  for (const wchar_t c : text) {
    if (c < 0x20 || c == L'%') {
      constexpr wchar_t kHex[] = L"0123456789ABCDEF";
      out += L'%';
      out += kHex[(c >> 4) & 0xF];
      out += kHex[c & 0xF];
    } else {
      out += c;
    }
  }
  return out;
}

std::optional<std::wstring> Unescaped(std::wstring_view text) {
  std::wstring out;
  out.reserve(text.size());
  for (size_t i = 0; i < text.size(); ++i) {
    if (text[i] != L'%') {
      out += text[i];
      continue;
    }
    if (i + 2 >= text.size()) return std::nullopt;
    unsigned value = 0;
    for (size_t k = 1; k <= 2; ++k) {
      const wchar_t c = text[i + k];
      const int digit = c >= L'0' && c <= L'9' ? c - L'0' : c >= L'A' && c <= L'F' ? c - L'A' + 10 : -1;
      if (digit < 0) return std::nullopt;
      value = value * 16 + static_cast<unsigned>(digit);
    }
    out += static_cast<wchar_t>(value);
    i += 2;
  }
  return out;
}

std::vector<std::string_view> Fields(std::string_view line) {
  std::vector<std::string_view> fields;
  size_t start = 0;
  for (;;) {
    const size_t tab = line.find('\t', start);
    fields.push_back(line.substr(start, tab == std::string_view::npos ? std::string_view::npos : tab - start));
    if (tab == std::string_view::npos) return fields;
    start = tab + 1;
  }
}

template <typename T>
std::optional<T> Number(std::string_view text) {
  T value{};
  const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
  if (text.empty() || error != std::errc() || end != text.data() + text.size()) return std::nullopt;
  return value;
}

std::optional<KeptCommand> CommandOf(std::string_view text) {
  for (KeptCommand command : {KeptCommand::Delete, KeptCommand::Clean, KeptCommand::NightFly})
    if (text == Utf8(CommandName(command))) return command;
  return std::nullopt;
}

std::optional<RecordHeader> ParseHeader(std::string_view line) {
  const std::vector<std::string_view> fields = Fields(line);
  if (fields.size() != 5 || fields[0] != kMagic || fields[1] != kVersion) return std::nullopt;
  const auto run = Number<uint64_t>(fields[2]), time = Number<uint64_t>(fields[3]);
  const auto command = CommandOf(fields[4]);
  if (!run || !time || !command) return std::nullopt;
  return RecordHeader{*run, *time, *command};
}

std::optional<RecordEntry> ParseEntry(std::string_view line) {
  const std::vector<std::string_view> fields = Fields(line);
  if (fields.size() != 7 || (fields[0] != "K" && fields[0] != "L") || fields[1].empty()) return std::nullopt;
  const auto size = Number<uint64_t>(fields[2]), lastWrite = Number<uint64_t>(fields[3]);
  const auto attributes = Number<uint32_t>(fields[4]);
  const auto index = Number<uint64_t>(fields[5]);
  const auto path = Unescaped(FromUtf8(fields[6]));
  if (!size || !lastWrite || !attributes || !index || !path || path->empty()) return std::nullopt;
  return RecordEntry{fields[0] == "K", FromUtf8(fields[1]), *size, *lastWrite, *attributes, *index, *path};
}
}  // namespace

std::wstring_view CommandName(KeptCommand command) {
  switch (command) {
    case KeptCommand::Delete:
      return L"Удалить";
    case KeptCommand::Clean:
      return L"Очистка";
    case KeptCommand::NightFly:
      break;
  }
  return L"/nightfly";
}

std::string HeaderLine(const RecordHeader& header) {
  return std::string(kMagic) + '\t' + std::string(kVersion) + '\t' + std::to_string(header.run) + '\t' +
         std::to_string(header.time) + '\t' + Utf8(CommandName(header.command)) + '\n';
}

std::string EntryLine(const RecordEntry& entry) {
  return std::string(entry.kept ? "K" : "L") + '\t' + Utf8(entry.keptName) + '\t' + std::to_string(entry.size) + '\t' +
         std::to_string(entry.lastWrite) + '\t' + std::to_string(entry.attributes) + '\t' +
         std::to_string(entry.index) + '\t' + Utf8(Escaped(entry.path)) + '\n';
}

std::optional<Record> ParseRecord(std::string_view bytes) {
  std::optional<Record> record;
  std::unordered_map<std::wstring, size_t> byName;
  size_t start = 0;
  for (size_t end; (end = bytes.find('\n', start)) != std::string_view::npos; start = end + 1) {
    std::string_view line = bytes.substr(start, end - start);
    if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
    if (!record) {
      const std::optional<RecordHeader> header = ParseHeader(line);
      if (!header) return std::nullopt;
      record = Record{*header, {}};
      continue;
    }
    std::optional<RecordEntry> entry = ParseEntry(line);
    if (!entry) continue;
    // A later line of the same kept name tells what became of the file after all.
    const auto [at, added] = byName.emplace(entry->keptName, record->entries.size());
    if (added)
      record->entries.push_back(std::move(*entry));
    else
      record->entries[at->second] = std::move(*entry);
  }
  return record;
}

std::wstring RecordName(uint64_t run) { return std::to_wstring(run) + kRecordEnding; }

namespace {
// Kept files lie in folders of a few dozen: a system that looks for a new name in every letter
// case (Wine) reads the whole folder for each file moved in, so the folder's size is paid on every
// move, while each folder more costs one folder made and one listed.
constexpr uint64_t kFilesPerFolder = 64;
}  // namespace

std::wstring KeptFolderName(uint64_t run, uint64_t n) {
  return std::to_wstring(run) + L"-" + std::to_wstring(n / kFilesPerFolder);
}

std::wstring KeptName(uint64_t run, uint64_t n) {
  return KeptFolderName(run, n) + L"\\" + std::to_wstring(run) + L"." + std::to_wstring(n);
}

std::wstring_view FolderOfKeptName(std::wstring_view name) {
  const size_t slash = name.find(L'\\');
  return slash == std::wstring_view::npos ? std::wstring_view() : name.substr(0, slash);
}

std::optional<uint64_t> RunOfRecordName(std::wstring_view name) {
  const std::wstring_view ending = kRecordEnding;
  if (name.size() <= ending.size() || name.substr(name.size() - ending.size()) != ending) return std::nullopt;
  const std::wstring_view digits = name.substr(0, name.size() - ending.size());
  uint64_t run = 0;
  for (const wchar_t c : digits) {
    if (c < L'0' || c > L'9' || run > (UINT64_MAX - 9) / 10) return std::nullopt;
    run = run * 10 + static_cast<uint64_t>(c - L'0');
  }
  return run;
}

}  // namespace krelmix
