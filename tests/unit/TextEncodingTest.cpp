#include "settings/TextEncoding.h"

#include <gtest/gtest.h>

namespace krelmix {
namespace {

// U+1F600 as wide text, whatever the width of wchar_t.
std::wstring NonBmpChar() {
  if constexpr (sizeof(wchar_t) == 2) {
    return std::wstring{static_cast<wchar_t>(0xD83D), static_cast<wchar_t>(0xDE00)};
  } else {
    return std::wstring(1, static_cast<wchar_t>(0x1F600));
  }
}

std::string Bytes(std::initializer_list<int> values) {
  std::string out;
  for (int v : values) out += static_cast<char>(v);
  return out;
}

const Cp1251Codec kCp1251;

TEST(Cp1251Codec, RoundTripsCyrillicAndPunctuation) {
  const std::wstring text = L"Привет, Ёж! ёЖ №5 «—» €";
  auto bytes = kCp1251.Encode(text);
  ASSERT_TRUE(bytes.has_value());
  EXPECT_EQ(bytes->substr(0, 2), Bytes({0xCF, 0xF0}));
  EXPECT_EQ(kCp1251.Decode(*bytes), text);

  EXPECT_EQ(kCp1251.Decode(Bytes({0xA8, 0xB8, 0xB9, 0x88, 0xC0, 0xFF})), std::wstring(L"Ёё№€Ая"));
}

TEST(Cp1251Codec, HasNoCharacterForTheUnassignedByte) {
  EXPECT_EQ(kCp1251.Decode(Bytes({0x98})), std::wstring(1, static_cast<wchar_t>(0xFFFD)));
  EXPECT_FALSE(kCp1251.Encode(std::wstring(1, static_cast<wchar_t>(0xFFFD))).has_value());
  EXPECT_FALSE(kCp1251.Encode(L"中").has_value());
  EXPECT_FALSE(kCp1251.Encode(L"é").has_value());
}

TEST(DecodeSettingsText, PicksTheEncodingFromTheBytes) {
  auto ascii = DecodeSettingsText("[A]\r\nk=v\r\n", kCp1251);
  EXPECT_EQ(ascii.encoding, TextEncoding::Ansi);
  EXPECT_EQ(ascii.text, L"[A]\r\nk=v\r\n");

  auto ansi = DecodeSettingsText(Bytes({'k', '=', 0xCF, 0xF0}), kCp1251);
  EXPECT_EQ(ansi.encoding, TextEncoding::Ansi);
  EXPECT_EQ(ansi.text, L"k=Пр");

  auto utf8 = DecodeSettingsText("k=\xD0\x9F\xD1\x80", kCp1251);
  EXPECT_EQ(utf8.encoding, TextEncoding::Utf8);
  EXPECT_EQ(utf8.text, L"k=Пр");

  auto bom = DecodeSettingsText("\xEF\xBB\xBFk=v", kCp1251);
  EXPECT_EQ(bom.encoding, TextEncoding::Utf8Bom);
  EXPECT_EQ(bom.text, L"k=v");

  // Overlong and surrogate forms are not UTF-8, so the file is ANSI.
  EXPECT_EQ(DecodeSettingsText("\xC0\xAF", kCp1251).encoding, TextEncoding::Ansi);
  EXPECT_EQ(DecodeSettingsText("\xED\xA0\x80", kCp1251).encoding, TextEncoding::Ansi);
  EXPECT_EQ(DecodeSettingsText("\xD0", kCp1251).encoding, TextEncoding::Ansi);
}

TEST(SettingsTextRoundTrip, KeepsTextInEveryEncoding) {
  const std::wstring text = L"[Папки]\r\n中=" + NonBmpChar() + L"\r\n";
  for (TextEncoding original : {TextEncoding::Utf8, TextEncoding::Utf8Bom, TextEncoding::Utf16LeBom}) {
    TextEncoding encoding = original;
    std::string bytes = EncodeSettingsText(text, encoding, kCp1251);
    EXPECT_EQ(encoding, original);
    DecodedText decoded = DecodeSettingsText(bytes, kCp1251);
    EXPECT_EQ(decoded.encoding, original);
    EXPECT_EQ(decoded.text, text);
  }
}

TEST(SettingsTextRoundTrip, WritesUtf16LeAsWindowsExpects) {
  TextEncoding encoding = TextEncoding::Utf16LeBom;
  std::string bytes = EncodeSettingsText(L"a中" + NonBmpChar(), encoding, kCp1251);
  EXPECT_EQ(bytes, Bytes({0xFF, 0xFE, 'a', 0x00, 0x2D, 0x4E, 0x3D, 0xD8, 0x00, 0xDE}));

  encoding = TextEncoding::Utf8;
  EXPECT_EQ(EncodeSettingsText(NonBmpChar(), encoding, kCp1251), "\xF0\x9F\x98\x80");
}

TEST(SettingsTextRoundTrip, AnsiFileThatCannotHoldTheTextBecomesUtf8WithBom) {
  TextEncoding encoding = TextEncoding::Ansi;
  std::string plain = EncodeSettingsText(L"[Папки]\r\n", encoding, kCp1251);
  EXPECT_EQ(encoding, TextEncoding::Ansi);
  EXPECT_EQ(plain, Bytes({'[', 0xCF, 0xE0, 0xEF, 0xEA, 0xE8, ']', '\r', '\n'}));

  const std::wstring grown = L"[Папки]\r\n中文=1\r\n";
  std::string bytes = EncodeSettingsText(grown, encoding, kCp1251);
  EXPECT_EQ(encoding, TextEncoding::Utf8Bom);
  EXPECT_EQ(bytes.substr(0, 3), "\xEF\xBB\xBF");
  DecodedText decoded = DecodeSettingsText(bytes, kCp1251);
  EXPECT_EQ(decoded.encoding, TextEncoding::Utf8Bom);
  EXPECT_EQ(decoded.text, grown);
}

TEST(DecodeSettingsText, ReplacesDamagedUnicodeInsteadOfDroppingIt) {
  const std::wstring replacement(1, static_cast<wchar_t>(0xFFFD));
  EXPECT_EQ(DecodeSettingsText("\xEF\xBB\xBF"
                               "a\xFF"
                               "b",
                               kCp1251)
                .text,
            L"a" + replacement + L"b");
  // A trailing odd byte in a UTF-16 file is not silently cut off.
  EXPECT_EQ(DecodeSettingsText(Bytes({0xFF, 0xFE, 'a', 0, 'b'}), kCp1251).text, L"a" + replacement);
}

}  // namespace
}  // namespace krelmix
