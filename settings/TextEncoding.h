#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/AnsiCodec.h"

namespace krelmix {

enum class TextEncoding { Ansi, Utf8, Utf8Bom, Utf16LeBom };

// Windows-1251 from a built-in table. Byte 0x98 has no character: it decodes
// to U+FFFD, and nothing encodes to it.
class Cp1251Codec : public AnsiCodec {
 public:
  std::wstring Decode(std::string_view bytes) const override;
  std::optional<std::string> Encode(std::wstring_view text) const override;
};

// UTF-8 as a code page, as Windows has it when "Unicode UTF-8 for worldwide language support" is
// on (65001): bytes that are not UTF-8 read as U+FFFD, and every text can be written.
class Utf8Codec : public AnsiCodec {
 public:
  std::wstring Decode(std::string_view bytes) const override;
  std::optional<std::string> Encode(std::wstring_view text) const override;
};

struct DecodedText {
  std::wstring text;
  TextEncoding encoding;
};

// A byte order mark decides; otherwise text that is valid UTF-8 and not plain
// ASCII is UTF-8, and everything else goes through the ANSI code page.
// The byte order mark is not part of the returned text.
DecodedText DecodeSettingsText(std::string_view bytes, const AnsiCodec& ansi);

// Encodes in the given encoding (with its byte order mark, if any). When the
// ANSI code page cannot hold the text, encoding is switched to Utf8Bom and
// the text is written that way instead of being lost.
std::string EncodeSettingsText(std::wstring_view text, TextEncoding& encoding, const AnsiCodec& ansi);

// The byte order mark a file of this encoding starts with; empty for none.
std::string_view ByteOrderMark(TextEncoding encoding);

// One line of a file as it is stored: its bytes without the line break, and the break itself
// ("\r\n" or "\n" in the file's encoding, empty for a last line without one).
struct StoredLine {
  std::string_view bytes;
  std::string_view lineBreak;
};
// The lines of a file's bytes after its byte order mark; the same lines IniDocument makes of the
// decoded text, since no encoding here hides a line feed inside a character.
std::vector<StoredLine> SplitStoredLines(std::string_view body, TextEncoding encoding);
// One line's bytes as text, and text as one line's bytes; nothing when a character does not fit
// the encoding, or when the code page would read the bytes back as other text.
std::wstring DecodeStoredLine(std::string_view bytes, TextEncoding encoding, const AnsiCodec& ansi);
std::optional<std::string> EncodeStoredLine(std::wstring_view text, TextEncoding encoding, const AnsiCodec& ansi);

}  // namespace krelmix
