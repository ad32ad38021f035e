#include "settings/IniDocument.h"

#include <algorithm>
#include <unordered_map>

#include "platform/CaseFold.h"

namespace krelmix {
namespace {

constexpr size_t npos = std::wstring::npos;

bool IsBlank(wchar_t c) { return c == L' ' || c == L'\t'; }

std::wstring_view Trim(std::wstring_view s) {
  while (!s.empty() && IsBlank(s.front())) s.remove_prefix(1);
  while (!s.empty() && IsBlank(s.back())) s.remove_suffix(1);
  return s;
}

bool HasLineBreak(std::wstring_view s) { return s.find_first_of(L"\r\n") != npos; }

}  // namespace

std::wstring_view IniDocument::TextOf(const Line& line) const {
  return std::wstring_view(text_).substr(line.start, line.length);
}

void IniDocument::Classify(Line& line) const {
  line.kind = Kind::Other;
  std::wstring_view text = TextOf(line);
  std::wstring_view trimmed = Trim(text);
  if (trimmed.empty()) return;

  if (trimmed.front() == L'[') {
    if (trimmed.find(L']') != npos) line.kind = Kind::Header;
    return;
  }
  // A commented-out "key=value" must stay a comment.
  if (trimmed.front() == L';' || trimmed.front() == L'#') return;

  size_t eq = text.find(L'=');
  if (eq != npos && !Trim(text.substr(0, eq)).empty()) {
    line.kind = Kind::Entry;
    line.equals = eq;
  }
}

IniDocument::Line IniDocument::MakeLine(std::wstring_view text) {
  Line line;
  line.start = text_.size();
  line.length = text.size();
  text_ += text;
  Classify(line);
  return line;
}

std::wstring_view IniDocument::HeaderName(const Line& line) const {
  std::wstring_view trimmed = Trim(TextOf(line));
  trimmed.remove_prefix(1);
  return Trim(trimmed.substr(0, trimmed.find(L']')));
}

std::wstring_view IniDocument::EntryKey(const Line& line) const { return Trim(TextOf(line).substr(0, line.equals)); }

std::wstring_view IniDocument::EntryValue(const Line& line) const { return Trim(TextOf(line).substr(line.equals + 1)); }

IniDocument IniDocument::Parse(std::wstring_view text) { return ParseText(std::wstring(text)); }

IniDocument IniDocument::ParseText(std::wstring&& owned) {
  IniDocument doc;
  doc.text_ = std::move(owned);
  const std::wstring_view text = doc.text_;
  bool sawCrLf = text.find(L"\r\n") != npos;
  bool sawLf = text.find(L'\n') != npos;
  doc.newline_ = (sawLf && !sawCrLf) ? L"\n" : L"\r\n";
  doc.lines_.reserve(static_cast<size_t>(std::count(text.begin(), text.end(), L'\n')) + 1);

  size_t start = 0;
  while (start < text.size()) {
    size_t end = text.find(L'\n', start);
    size_t next = end == npos ? text.size() : end + 1;
    Line line;
    line.start = start;
    line.length = (end == npos ? text.size() : end) - start;
    if (line.length > 0 && text[start + line.length - 1] == L'\r') --line.length;
    doc.Classify(line);
    doc.lines_.push_back(line);
    start = next;
  }
  return doc;
}

std::wstring IniDocument::Serialize() const {
  std::wstring out;
  out.reserve(text_.size() + lines_.size() * newline_.size());
  for (const Line& line : lines_) {
    out += TextOf(line);
    out += newline_;
  }
  return out;
}

size_t IniDocument::FindHeader(std::wstring_view section) const {
  section = Trim(section);
  for (size_t i = 0; i < lines_.size(); ++i) {
    if (lines_[i].kind == Kind::Header && SameName(HeaderName(lines_[i]), section)) return i;
  }
  return npos;
}

size_t IniDocument::SectionEnd(size_t header) const {
  size_t i = header + 1;
  while (i < lines_.size() && lines_[i].kind != Kind::Header) ++i;
  return i;
}

size_t IniDocument::FindEntry(std::wstring_view section, std::wstring_view key) const {
  size_t header = FindHeader(section);
  if (header == npos) return npos;
  key = Trim(key);
  size_t end = SectionEnd(header);
  for (size_t i = header + 1; i < end; ++i) {
    if (lines_[i].kind == Kind::Entry && SameName(EntryKey(lines_[i]), key)) return i;
  }
  return npos;
}

std::vector<std::wstring> IniDocument::KeyNames(std::wstring_view section) const {
  std::vector<std::wstring> names;
  size_t header = FindHeader(section);
  if (header == npos) return names;
  size_t end = SectionEnd(header);
  for (size_t i = header + 1; i < end; ++i) {
    if (lines_[i].kind == Kind::Entry) names.emplace_back(EntryKey(lines_[i]));
  }
  return names;
}

std::vector<std::pair<std::wstring_view, std::wstring_view>> IniDocument::Entries(std::wstring_view section) const {
  std::vector<std::pair<std::wstring_view, std::wstring_view>> entries;
  size_t header = FindHeader(section);
  if (header == npos) return entries;
  size_t end = SectionEnd(header);
  entries.reserve(end - header);
  // A key named twice reads the value of its first entry, as Value() does. Keys are found
  // again by the hash of their folded name.
  std::unordered_multimap<uint64_t, size_t> first;
  first.reserve(end - header);
  for (size_t i = header + 1; i < end; ++i) {
    if (lines_[i].kind != Kind::Entry) continue;
    std::wstring_view key = EntryKey(lines_[i]);
    uint64_t hash = 1469598103934665603ull;
    for (wchar_t c : key) hash = (hash ^ static_cast<uint64_t>(UpperChar(c))) * 1099511628211ull;
    std::wstring_view value = EntryValue(lines_[i]);
    auto [at, last] = first.equal_range(hash);
    for (; at != last; ++at) {
      if (SameName(entries[at->second].first, key)) {
        value = entries[at->second].second;
        break;
      }
    }
    if (at == last) first.emplace(hash, entries.size());
    entries.emplace_back(key, value);
  }
  return entries;
}

std::optional<std::wstring> IniDocument::Value(std::wstring_view section, std::wstring_view key) const {
  size_t entry = FindEntry(section, key);
  if (entry == npos) return std::nullopt;
  return std::wstring(EntryValue(lines_[entry]));
}

bool IniDocument::HasSection(std::wstring_view section) const { return FindHeader(section) != npos; }

void IniDocument::EraseSection(std::wstring_view section) {
  // Comments and blank lines inside the section go with it; leaving them
  // would silently attach them to the section above.
  for (size_t header = FindHeader(section); header != npos; header = FindHeader(section)) {
    lines_.erase(lines_.begin() + static_cast<std::ptrdiff_t>(header),
                 lines_.begin() + static_cast<std::ptrdiff_t>(SectionEnd(header)));
  }
}

bool IniDocument::CanHoldKey(std::wstring_view key) {
  key = Trim(key);
  if (key.empty() || HasLineBreak(key) || key.find(L'=') != npos) return false;
  return key.front() != L'[' && key.front() != L';' && key.front() != L'#';
}

bool IniDocument::Write(std::wstring_view section, std::wstring_view key, std::wstring_view value) {
  section = Trim(section);
  key = Trim(key);
  value = Trim(value);
  if (HasLineBreak(section) || section.find(L']') != npos) return false;
  if (!CanHoldKey(key)) return false;
  if (HasLineBreak(value)) return false;

  size_t entry = FindEntry(section, key);
  if (entry != npos) {
    Line& line = lines_[entry];
    const size_t equals = line.equals;
    line = MakeLine(std::wstring(TextOf(line).substr(0, equals + 1)) + std::wstring(value));
    return true;
  }

  std::wstring text = std::wstring(key) + L"=" + std::wstring(value);
  size_t header = FindHeader(section);
  if (header == npos) {
    lines_.push_back(MakeLine(L"[" + std::wstring(section) + L"]"));
    lines_.push_back(MakeLine(text));
    return true;
  }

  size_t insertAt = header + 1;
  size_t end = SectionEnd(header);
  for (size_t i = header + 1; i < end; ++i) {
    if (lines_[i].kind == Kind::Entry) insertAt = i + 1;
  }
  lines_.insert(lines_.begin() + static_cast<std::ptrdiff_t>(insertAt), MakeLine(text));
  return true;
}

}  // namespace krelmix
