#include "settings/TextEncoding.h"

#include <algorithm>
#include <array>
#include <cstdint>

namespace krelmix {
namespace {

constexpr char32_t kReplacement = 0xFFFD;
constexpr bool kWide16 = sizeof(wchar_t) == 2;

// Windows-1251, bytes 0x80..0xFF; 0 marks the one unassigned byte.
constexpr std::array<char16_t, 128> kCp1251High = {
    0x0402, 0x0403, 0x201A, 0x0453, 0x201E, 0x2026, 0x2020, 0x2021, 0x20AC, 0x2030, 0x0409, 0x2039, 0x040A,
    0x040C, 0x040B, 0x040F, 0x0452, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014, 0x0000, 0x2122,
    0x0459, 0x203A, 0x045A, 0x045C, 0x045B, 0x045F, 0x00A0, 0x040E, 0x045E, 0x0408, 0x00A4, 0x0490, 0x00A6,
    0x00A7, 0x0401, 0x00A9, 0x0404, 0x00AB, 0x00AC, 0x00AD, 0x00AE, 0x0407, 0x00B0, 0x00B1, 0x0406, 0x0456,
    0x0491, 0x00B5, 0x00B6, 0x00B7, 0x0451, 0x2116, 0x0454, 0x00BB, 0x0458, 0x0405, 0x0455, 0x0457, 0x0410,
    0x0411, 0x0412, 0x0413, 0x0414, 0x0415, 0x0416, 0x0417, 0x0418, 0x0419, 0x041A, 0x041B, 0x041C, 0x041D,
    0x041E, 0x041F, 0x0420, 0x0421, 0x0422, 0x0423, 0x0424, 0x0425, 0x0426, 0x0427, 0x0428, 0x0429, 0x042A,
    0x042B, 0x042C, 0x042D, 0x042E, 0x042F, 0x0430, 0x0431, 0x0432, 0x0433, 0x0434, 0x0435, 0x0436, 0x0437,
    0x0438, 0x0439, 0x043A, 0x043B, 0x043C, 0x043D, 0x043E, 0x043F, 0x0440, 0x0441, 0x0442, 0x0443, 0x0444,
    0x0445, 0x0446, 0x0447, 0x0448, 0x0449, 0x044A, 0x044B, 0x044C, 0x044D, 0x044E, 0x044F,
};

bool IsHighSurrogate(char32_t c) { return c >= 0xD800 && c <= 0xDBFF; }
bool IsLowSurrogate(char32_t c) { return c >= 0xDC00 && c <= 0xDFFF; }
bool IsSurrogate(char32_t c) { return c >= 0xD800 && c <= 0xDFFF; }

void AppendCodePoint(std::wstring& out, char32_t cp) {
  if (kWide16 && cp > 0xFFFF) {
    cp -= 0x10000;
    out += static_cast<wchar_t>(0xD800 + (cp >> 10));
    out += static_cast<wchar_t>(0xDC00 + (cp & 0x3FF));
  } else {
    out += static_cast<wchar_t>(cp);
  }
}

// Reads one code point from wide text. A lone surrogate (possible only in
// 16-bit text) or an out-of-range value comes back as U+FFFD.
char32_t NextCodePoint(std::wstring_view text, size_t& i) {
  char32_t c = static_cast<char32_t>(text[i++]);
  if (kWide16) {
    c &= 0xFFFF;
    if (IsHighSurrogate(c) && i < text.size()) {
      char32_t low = static_cast<char32_t>(text[i]) & 0xFFFF;
      if (IsLowSurrogate(low)) {
        ++i;
        return 0x10000 + ((c - 0xD800) << 10) + (low - 0xDC00);
      }
    }
  }
  if (IsSurrogate(c) || c > 0x10FFFF) return kReplacement;
  return c;
}

// Decodes one UTF-8 sequence starting at i; nullopt (i untouched) if the
// bytes there are not well-formed UTF-8.
std::optional<char32_t> NextUtf8(std::string_view bytes, size_t& i) {
  auto byte = [&](size_t k) { return static_cast<unsigned char>(bytes[k]); };
  unsigned char lead = byte(i);
  if (lead < 0x80) {
    ++i;
    return lead;
  }
  size_t length;
  char32_t cp;
  char32_t minimum;
  if ((lead & 0xE0) == 0xC0) {
    length = 2;
    cp = lead & 0x1F;
    minimum = 0x80;
  } else if ((lead & 0xF0) == 0xE0) {
    length = 3;
    cp = lead & 0x0F;
    minimum = 0x800;
  } else if ((lead & 0xF8) == 0xF0) {
    length = 4;
    cp = lead & 0x07;
    minimum = 0x10000;
  } else {
    return std::nullopt;
  }
  if (i + length > bytes.size()) return std::nullopt;
  for (size_t k = 1; k < length; ++k) {
    unsigned char b = byte(i + k);
    if ((b & 0xC0) != 0x80) return std::nullopt;
    cp = (cp << 6) | (b & 0x3F);
  }
  if (cp < minimum || cp > 0x10FFFF || IsSurrogate(cp)) return std::nullopt;
  i += length;
  return cp;
}

bool IsValidUtf8(std::string_view bytes) {
  for (size_t i = 0; i < bytes.size();) {
    if (!NextUtf8(bytes, i)) return false;
  }
  return true;
}

std::wstring DecodeUtf8(std::string_view bytes) {
  std::wstring out;
  out.reserve(bytes.size());
  for (size_t i = 0; i < bytes.size();) {
    if (auto cp = NextUtf8(bytes, i)) {
      AppendCodePoint(out, *cp);
    } else {
      out += static_cast<wchar_t>(kReplacement);
      ++i;
    }
  }
  return out;
}

std::wstring DecodeUtf16Le(std::string_view bytes) {
  std::wstring out;
  out.reserve(bytes.size() / 2);
  size_t units = bytes.size() / 2;
  auto unit = [&](size_t k) {
    return static_cast<char32_t>(static_cast<unsigned char>(bytes[2 * k]) |
                                 (static_cast<unsigned char>(bytes[2 * k + 1]) << 8));
  };
  for (size_t k = 0; k < units; ++k) {
    char32_t c = unit(k);
    if (kWide16) {
      // 16-bit wide strings hold UTF-16 as is, unpaired surrogates too.
      out += static_cast<wchar_t>(c);
      continue;
    }
    if (IsHighSurrogate(c) && k + 1 < units && IsLowSurrogate(unit(k + 1))) {
      out += static_cast<wchar_t>(0x10000 + ((c - 0xD800) << 10) + (unit(k + 1) - 0xDC00));
      ++k;
    } else {
      out += static_cast<wchar_t>(IsSurrogate(c) ? kReplacement : c);
    }
  }
  if (bytes.size() % 2 != 0) out += static_cast<wchar_t>(kReplacement);
  return out;
}

// Calls visit(code point) for each code point of wide text, as NextCodePoint reads them.
template <typename Visit>
void ForEachCodePoint(std::wstring_view text, Visit visit) {
  for (size_t i = 0; i < text.size();) visit(NextCodePoint(text, i));
}

std::string EncodeUtf8(std::wstring_view text) {
  std::string out;
  out.reserve(text.size());
  ForEachCodePoint(text, [&out](char32_t cp) {
    if (cp < 0x80) {
      out += static_cast<char>(cp);
    } else if (cp < 0x800) {
      out += static_cast<char>(0xC0 | (cp >> 6));
      out += static_cast<char>(0x80 | (cp & 0x3F));
    } else if (cp < 0x10000) {
      out += static_cast<char>(0xE0 | (cp >> 12));
      out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
      out += static_cast<char>(0x80 | (cp & 0x3F));
    } else {
      out += static_cast<char>(0xF0 | (cp >> 18));
      out += static_cast<char>(0x80 | ((cp >> 12) & 0x3F));
      out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
      out += static_cast<char>(0x80 | (cp & 0x3F));
    }
  });
  return out;
}

void AppendUnitLe(std::string& out, char32_t unit) {
  out += static_cast<char>(unit & 0xFF);
  out += static_cast<char>((unit >> 8) & 0xFF);
}

std::string EncodeUtf16Le(std::wstring_view text) {
  std::string out;
  out.reserve(2 * text.size() + 2);
  for (size_t i = 0; i < text.size();) {
    if (kWide16) {
      AppendUnitLe(out, static_cast<char32_t>(text[i++]) & 0xFFFF);
      continue;
    }
    char32_t cp = NextCodePoint(text, i);
    if (cp > 0xFFFF) {
      cp -= 0x10000;
      AppendUnitLe(out, 0xD800 + (cp >> 10));
      AppendUnitLe(out, 0xDC00 + (cp & 0x3FF));
    } else {
      AppendUnitLe(out, cp);
    }
  }
  return out;
}

bool StartsWith(std::string_view bytes, std::string_view prefix) { return bytes.substr(0, prefix.size()) == prefix; }

constexpr std::string_view kUtf8Bom = "\xEF\xBB\xBF";
constexpr std::string_view kUtf16LeBom = "\xFF\xFE";

}  // namespace

std::wstring Cp1251Codec::Decode(std::string_view bytes) const {
  std::wstring out(bytes.size(), L'\0');
  for (size_t i = 0; i < bytes.size(); ++i) {
    unsigned char b = static_cast<unsigned char>(bytes[i]);
    if (b < 0x80) {
      out[i] = static_cast<wchar_t>(b);
    } else {
      char16_t c = kCp1251High[b - 0x80];
      out[i] = static_cast<wchar_t>(c == 0 ? kReplacement : c);
    }
  }
  return out;
}

std::optional<std::string> Cp1251Codec::Encode(std::wstring_view text) const {
  std::string out;
  out.reserve(text.size());
  bool fits = true;
  ForEachCodePoint(text, [&](char32_t cp) {
    if (cp < 0x80) {
      out += static_cast<char>(cp);
      return;
    }
    const auto found = std::find(kCp1251High.begin(), kCp1251High.end(), cp);
    if (found == kCp1251High.end()) {
      fits = false;
    } else {
      out += static_cast<char>(0x80 + (found - kCp1251High.begin()));
    }
  });
  if (!fits) return std::nullopt;
  return out;
}

std::wstring Utf8Codec::Decode(std::string_view bytes) const { return DecodeUtf8(bytes); }

std::optional<std::string> Utf8Codec::Encode(std::wstring_view text) const { return EncodeUtf8(text); }

DecodedText DecodeSettingsText(std::string_view bytes, const AnsiCodec& ansi) {
  if (StartsWith(bytes, kUtf16LeBom)) {
    return {DecodeUtf16Le(bytes.substr(kUtf16LeBom.size())), TextEncoding::Utf16LeBom};
  }
  if (StartsWith(bytes, kUtf8Bom)) {
    return {DecodeUtf8(bytes.substr(kUtf8Bom.size())), TextEncoding::Utf8Bom};
  }
  bool hasNonAscii = false;
  for (char ch : bytes) {
    if (static_cast<unsigned char>(ch) >= 0x80) {
      hasNonAscii = true;
      break;
    }
  }
  if (hasNonAscii && IsValidUtf8(bytes)) {
    return {DecodeUtf8(bytes), TextEncoding::Utf8};
  }
  return {ansi.Decode(bytes), TextEncoding::Ansi};
}

std::string EncodeSettingsText(std::wstring_view text, TextEncoding& encoding, const AnsiCodec& ansi) {
  switch (encoding) {
    case TextEncoding::Ansi:
      if (auto bytes = ansi.Encode(text)) return *bytes;
      encoding = TextEncoding::Utf8Bom;
      break;
    case TextEncoding::Utf8:
      return EncodeUtf8(text);
    case TextEncoding::Utf8Bom:
      break;
    case TextEncoding::Utf16LeBom:
      return std::string(kUtf16LeBom) + EncodeUtf16Le(text);
  }
  return std::string(kUtf8Bom) + EncodeUtf8(text);
}

std::string_view ByteOrderMark(TextEncoding encoding) {
  switch (encoding) {
    case TextEncoding::Utf8Bom:
      return kUtf8Bom;
    case TextEncoding::Utf16LeBom:
      return kUtf16LeBom;
    case TextEncoding::Ansi:
    case TextEncoding::Utf8:
      break;
  }
  return {};
}

std::vector<StoredLine> SplitStoredLines(std::string_view body, TextEncoding encoding) {
  // A UTF-16 line feed is the unit 0x000A; every other encoding here has it as the byte 0x0A.
  const size_t unit = encoding == TextEncoding::Utf16LeBom ? 2 : 1;
  const auto isLineFeed = [&](size_t at) { return body[at] == '\n' && (unit == 1 || body[at + 1] == '\0'); };
  const auto isReturn = [&](size_t at) { return body[at] == '\r' && (unit == 1 || body[at + 1] == '\0'); };
  std::vector<StoredLine> lines;
  size_t start = 0;
  while (start < body.size()) {
    size_t end = start;
    while (end + unit <= body.size() && !isLineFeed(end)) end += unit;
    if (end + unit > body.size()) {
      lines.push_back({body.substr(start), {}});
      break;
    }
    size_t content = end;
    if (content >= start + unit && isReturn(content - unit)) content -= unit;
    lines.push_back({body.substr(start, content - start), body.substr(content, end + unit - content)});
    start = end + unit;
  }
  return lines;
}

std::wstring DecodeStoredLine(std::string_view bytes, TextEncoding encoding, const AnsiCodec& ansi) {
  switch (encoding) {
    case TextEncoding::Ansi:
      return ansi.Decode(bytes);
    case TextEncoding::Utf8:
    case TextEncoding::Utf8Bom:
      return DecodeUtf8(bytes);
    case TextEncoding::Utf16LeBom:
      break;
  }
  return DecodeUtf16Le(bytes);
}

std::optional<std::string> EncodeStoredLine(std::wstring_view text, TextEncoding encoding, const AnsiCodec& ansi) {
  switch (encoding) {
    case TextEncoding::Ansi: {
      std::optional<std::string> bytes = ansi.Encode(text);
      // A code page that reads its own bytes back as other text (U+FFFD written as such under
      // UTF-8, a best fit) would lose the line.
      if (bytes && ansi.Decode(*bytes) != text) return std::nullopt;
      return bytes;
    }
    case TextEncoding::Utf8:
    case TextEncoding::Utf8Bom:
      return EncodeUtf8(text);
    case TextEncoding::Utf16LeBom:
      break;
  }
  return EncodeUtf16Le(text);
}

}  // namespace krelmix
