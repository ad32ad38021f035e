#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace krelmix {

// Settings file held as its original lines, so that rewriting it keeps
// comments, blank lines and anything we do not understand.
//
// A section name may occur more than once in a hand-edited file. Reads and
// in-place writes use the first occurrence only (that is what the user sees
// first when editing), EraseSection removes every occurrence. Section and key
// names are matched as Windows matches names (platform/CaseFold).
class IniDocument {
 public:
  static IniDocument Parse(std::wstring_view text);
  // The same, keeping the text itself rather than a copy of it.
  static IniDocument ParseText(std::wstring&& text);

  // Every line is terminated, the last one included. The line break is
  // "\n" if the parsed text used bare "\n" throughout, otherwise "\r\n".
  std::wstring Serialize() const;
  // What Serialize writes after each line.
  const std::wstring& LineBreak() const { return newline_; }
  // Calls visit(text, section) for every line in file order, without its line break; section is
  // the name of the section the line stands in (a header its own), empty above the first header.
  template <typename Visit>
  void ForEachLine(Visit visit) const {
    std::wstring_view section;
    for (const Line& line : lines_) {
      if (line.kind == Kind::Header) section = HeaderName(line);
      visit(TextOf(line), section);
    }
  }

  std::vector<std::wstring> KeyNames(std::wstring_view section) const;
  // Every key of the section in file order with the value Value() gives for it, read in one
  // pass however many keys the section holds. The views point into the document.
  std::vector<std::pair<std::wstring_view, std::wstring_view>> Entries(std::wstring_view section) const;
  std::optional<std::wstring> Value(std::wstring_view section, std::wstring_view key) const;
  bool HasSection(std::wstring_view section) const;
  void EraseSection(std::wstring_view section);

  // Replaces the value of an existing key where it stands, or adds the key
  // after the last entry of the section, or adds the section at the end.
  // Returns false, changing nothing, when the names or the value could not
  // be read back as written (line breaks, '=' in the key, ']' in the
  // section name, an empty key).
  bool Write(std::wstring_view section, std::wstring_view key, std::wstring_view value);
  // Whether a key name would be read back as written (Write refuses the others); the list
  // editors refuse such a text at once rather than lose it at the save.
  static bool CanHoldKey(std::wstring_view key);

 private:
  enum class Kind { Header, Entry, Other };
  // A line is a stretch of text_, so reading a file costs no allocation per line.
  struct Line {
    Kind kind = Kind::Other;
    size_t start = 0;
    size_t length = 0;
    size_t equals = 0;  // position of the first '=' in an entry, from the line's start
  };

  // A new line holding `text`, kept at the end of text_.
  Line MakeLine(std::wstring_view text);
  void Classify(Line& line) const;
  std::wstring_view TextOf(const Line& line) const;
  std::wstring_view HeaderName(const Line& line) const;
  std::wstring_view EntryKey(const Line& line) const;
  std::wstring_view EntryValue(const Line& line) const;

  // Index of the first header named section, or npos.
  size_t FindHeader(std::wstring_view section) const;
  // One past the last line that belongs to the section starting at header.
  size_t SectionEnd(size_t header) const;
  // Index of the key's entry inside the first occurrence of section, or npos.
  size_t FindEntry(std::wstring_view section, std::wstring_view key) const;

  std::vector<Line> lines_;
  // The text of every line, those written since the file was read after those read from it.
  std::wstring text_;
  std::wstring newline_ = L"\r\n";
};

}  // namespace krelmix
