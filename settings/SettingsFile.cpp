#include "settings/SettingsFile.h"

#include <algorithm>
#include <unordered_map>

namespace krelmix {

namespace {
constexpr size_t kNew = static_cast<size_t>(-1);

// The code page of the program's own texts, in which it wrote the file on a Russian system.
const Cp1251Codec kOwnPage;

bool IsAscii(std::string_view bytes) {
  for (char c : bytes)
    if (static_cast<unsigned char>(c) >= 0x80) return false;
  return true;
}

bool IsAscii(std::wstring_view text) {
  for (wchar_t c : text)
    if (static_cast<uint32_t>(c) >= 0x80) return false;
  return true;
}

bool HasUnreadCharacter(std::wstring_view text) { return text.find(static_cast<wchar_t>(0xFFFD)) != text.npos; }

// A line of the file as it was read: its bytes, its text as the system reads it, and, where
// Windows-1251 reads it otherwise, that text.
struct ReadLine {
  StoredLine stored;
  std::wstring text;
  std::wstring ownPageText;
  bool lossless = true;  // the system's reading writes back to these very bytes
};

std::vector<ReadLine> ReadLines(std::string_view bytes, TextEncoding encoding, const AnsiCodec& codec) {
  std::vector<ReadLine> lines;
  for (const StoredLine& stored : SplitStoredLines(bytes.substr(ByteOrderMark(encoding).size()), encoding)) {
    // Decoded with its line break, as the whole file was: a code page may read the bytes at the
    // end of a buffer otherwise (Windows' UTF-8 drops a cut sequence there).
    std::wstring text =
        DecodeStoredLine({stored.bytes.data(), stored.bytes.size() + stored.lineBreak.size()}, encoding, codec);
    const size_t breakChars = stored.lineBreak.size() / (encoding == TextEncoding::Utf16LeBom ? 2 : 1);
    text.resize(text.size() - std::min(text.size(), breakChars));
    ReadLine line{stored, std::move(text), {}, true};
    // Plain ASCII reads the same in every code page here; only the others cost a second look.
    if (!IsAscii(stored.bytes)) {
      const std::optional<std::string> back = EncodeStoredLine(line.text, encoding, codec);
      line.lossless = back && *back == stored.bytes;
      if (encoding == TextEncoding::Ansi) {
        std::wstring own = kOwnPage.Decode(stored.bytes);
        if (own != line.text) line.ownPageText = std::move(own);
      }
    }
    lines.push_back(std::move(line));
  }
  return lines;
}

// For each line of the edited document, the line of the file it still is (kNew for none): one
// with the same text in either reading, taken in file order and each once, so that a section
// rewritten with the texts it had keeps its lines.
std::vector<size_t> MatchLines(const IniDocument& document, const std::vector<ReadLine>& read) {
  struct Candidates {
    std::vector<size_t> lines;
    size_t next = 0;
  };
  std::unordered_map<std::wstring_view, Candidates> byText;
  for (size_t i = 0; i < read.size(); ++i) {
    byText[read[i].text].lines.push_back(i);
    if (!read[i].ownPageText.empty()) byText[read[i].ownPageText].lines.push_back(i);
  }
  std::vector<bool> taken(read.size(), false);
  std::vector<size_t> matches;
  document.ForEachLine([&](std::wstring_view text, std::wstring_view) {
    size_t match = kNew;
    if (auto found = byText.find(text); found != byText.end()) {
      Candidates& candidates = found->second;
      while (candidates.next < candidates.lines.size() && taken[candidates.lines[candidates.next]]) ++candidates.next;
      if (candidates.next < candidates.lines.size()) taken[match = candidates.lines[candidates.next++]] = true;
    }
    matches.push_back(match);
  });
  return matches;
}

// Calls `attempt` until it no longer finds the file held by another program, pausing between
// tries for about a second in all; false when the file stayed held.
template <typename Attempt>
bool WhileHeld(SettingsStorage& storage, Attempt attempt) {
  for (unsigned waited = 0;; waited += SettingsFile::kRetryPauseMs) {
    if (attempt()) return true;
    if (waited >= SettingsFile::kRetryBudgetMs) return false;
    storage.Pause(SettingsFile::kRetryPauseMs);
  }
}
}  // namespace

SettingsWriteError::SettingsWriteError(const std::wstring& path) : UserError(L"Unable to write to " + path) {}

SettingsReadError::SettingsReadError(const std::wstring& path)
    : UserError(L"Не удалось прочитать файл настроек " + path) {}

SettingsFile::SettingsFile(SettingsStorage& storage, const AnsiCodec& codec, std::wstring path)
    : storage_(storage), codec_(codec), path_(std::move(path)) {}

StoredFile SettingsFile::ReadWaiting() const {
  StoredFile file;
  const bool read = WhileHeld(storage_, [&] {
    file = storage_.Read(path_);
    return file.state != StoredFile::State::Unreadable;
  });
  if (!read) throw SettingsReadError(path_);
  return file;
}

SettingsFile::Loaded SettingsFile::LoadWithEncoding() const {
  StoredFile file = ReadWaiting();
  if (file.state == StoredFile::State::Missing) return {IniDocument::Parse(L""), TextEncoding::Ansi, false, {}};
  DecodedText decoded = DecodeSettingsText(file.bytes, codec_);
  return {IniDocument::ParseText(std::move(decoded.text)), decoded.encoding, true, std::move(file.bytes)};
}

SettingsReadings SettingsFile::LoadReadings() const {
  StoredFile file = ReadWaiting();
  if (file.state == StoredFile::State::Missing) return {IniDocument::Parse(L""), std::nullopt, false};
  DecodedText decoded = DecodeSettingsText(file.bytes, codec_);
  std::optional<IniDocument> ownPage;
  if (decoded.encoding == TextEncoding::Ansi) {
    std::wstring text = kOwnPage.Decode(file.bytes);
    if (text != decoded.text) ownPage = IniDocument::ParseText(std::move(text));
  }
  return {IniDocument::ParseText(std::move(decoded.text)), std::move(ownPage), true};
}

IniDocument SettingsFile::Load() const { return LoadWithEncoding().document; }

std::optional<IniDocument> SettingsFile::LoadExisting() const {
  Loaded loaded = LoadWithEncoding();
  if (!loaded.exists) return std::nullopt;
  return std::move(loaded.document);
}

std::string SettingsFile::Encode(const Loaded& loaded) const {
  const TextEncoding encoding = loaded.encoding;
  const std::vector<ReadLine> read = ReadLines(loaded.bytes, encoding, codec_);
  const std::vector<size_t> matches = MatchLines(loaded.document, read);
  const std::wstring& lineBreak = loaded.document.LineBreak();
  // New text that is not ASCII goes into a file of the system's code page only when the file
  // itself is in it: one that the code page does not read back (bytes of another code page)
  // would become a mix that no code page reads whole.
  bool readsLosslessly = true;
  for (const ReadLine& line : read) readsLosslessly = readsLosslessly && line.lossless;

  std::string bytes(ByteOrderMark(encoding));
  const std::string encodedBreak = EncodeStoredLine(lineBreak, encoding, codec_).value_or("\r\n");
  bool fits = true;
  size_t at = 0;
  loaded.document.ForEachLine([&](std::wstring_view text, std::wstring_view) {
    const size_t match = matches[at++];
    if (!fits) return;
    if (match != kNew) {
      const StoredLine& stored = read[match].stored;
      bytes.append(stored.bytes).append(stored.lineBreak.empty() ? std::string_view(encodedBreak) : stored.lineBreak);
      return;
    }
    std::optional<std::string> line;
    if (encoding != TextEncoding::Ansi || readsLosslessly || IsAscii(text))
      line = EncodeStoredLine(text, encoding, codec_);
    if (line) {
      bytes.append(*line).append(encodedBreak);
    } else {
      fits = false;
    }
  });
  if (fits) return bytes;

  // The whole file in UTF-8, every line from a reading that lost nothing. An exclusion that read
  // otherwise in the program's own code page keeps both readings, as both held before.
  std::string utf8(ByteOrderMark(TextEncoding::Utf8Bom));
  const auto append = [&](std::wstring_view text) {
    utf8.append(*EncodeStoredLine(text, TextEncoding::Utf8Bom, codec_));
    utf8.append(*EncodeStoredLine(lineBreak, TextEncoding::Utf8Bom, codec_));
  };
  at = 0;
  loaded.document.ForEachLine([&](std::wstring_view text, std::wstring_view section) {
    const size_t match = matches[at++];
    if (match == kNew) return append(text);
    const ReadLine& line = read[match];
    const bool ownPageLossless = !line.ownPageText.empty() && !HasUnreadCharacter(line.ownPageText);
    const bool readAsSystem = text == line.text;
    append(readAsSystem && !line.lossless && ownPageLossless ? std::wstring_view(line.ownPageText) : text);
    if (IsExclusionSection(section) && line.lossless && ownPageLossless)
      append(readAsSystem ? std::wstring_view(line.ownPageText) : std::wstring_view(line.text));
  });
  return utf8;
}

void SettingsFile::Store(Loaded& loaded) {
  const std::string bytes = Encode(loaded);
  WriteOutcome outcome = WriteOutcome::Refused;
  WhileHeld(storage_, [&] {
    outcome = storage_.Write(path_, bytes);
    return outcome != WriteOutcome::Busy;
  });
  if (outcome != WriteOutcome::Written) throw SettingsWriteError(path_);
}

}  // namespace krelmix
