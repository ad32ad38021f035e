#pragma once

#include <optional>
#include <string>
#include <string_view>

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

struct DecodedText {
  std::wstring text;
  TextEncoding encoding;
};

// A byte order mark decides; otherwise text that is valid UTF-8 and not plain
// ASCII is UTF-8, and everything else goes through the ANSI code page.
// The byte order mark is not part of the returned text.
DecodedText DecodeSettingsText(std::string_view bytes, const AnsiCodec& ansi);

// Encodes in the given encoding (with its byte order mark, if any). When the
// ANSI code page cannot hold the text, encoding is switched to Utf16LeBom and
// the text is written that way instead of being lost.
std::string EncodeSettingsText(std::wstring_view text, TextEncoding& encoding, const AnsiCodec& ansi);

}  // namespace krelmix
