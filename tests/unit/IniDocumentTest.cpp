#include "settings/IniDocument.h"

#include <gtest/gtest.h>

#include "platform/CaseFold.h"

namespace krelmix {
namespace {

using Keys = std::vector<std::wstring>;

TEST(IniDocumentParse, KeepsEveryLineThroughARewrite) {
  const std::wstring text =
      L"; Krelmix settings\r\n"
      L"orphan=1\r\n"
      L"\r\n"
      L"  [ Options ]  \r\n"
      L"# not=a key\r\n"
      L"Beep = 1\r\n"
      L"garbage line\r\n"
      L"\r\n";
  EXPECT_EQ(IniDocument::Parse(text).Serialize(), text);

  const std::wstring unix = L"[A]\nk=v\n\n; end\n";
  EXPECT_EQ(IniDocument::Parse(unix).Serialize(), unix);

  EXPECT_EQ(IniDocument::Parse(L"[A]\r\nk=v").Serialize(), L"[A]\r\nk=v\r\n");
  EXPECT_EQ(IniDocument::Parse(L"").Serialize(), L"");
}

TEST(IniDocumentRead, SplitsEntriesAtTheFirstEquals) {
  auto doc = IniDocument::Parse(
      L"top=1\r\n"
      L"[Options]\r\n"
      L"  Beep  =  on  \r\n"
      L"Query=a=b\r\n"
      L"; Skip=1\r\n"
      L"Empty=\r\n"
      L"[Paths]\r\n"
      L"C:\\Temp\\a=b.txt=1\r\n");

  EXPECT_EQ(doc.Value(L"Options", L"Beep"), L"on");
  EXPECT_EQ(doc.Value(L"Options", L"Query"), L"a=b");
  EXPECT_EQ(doc.Value(L"Options", L"Empty"), L"");
  EXPECT_EQ(doc.Value(L"Options", L"Skip"), std::nullopt);
  EXPECT_EQ(doc.Value(L"Options", L"top"), std::nullopt);
  EXPECT_EQ(doc.KeyNames(L"Options"), (Keys{L"Beep", L"Query", L"Empty"}));
  EXPECT_EQ(doc.KeyNames(L"Paths"), (Keys{L"C:\\Temp\\a"}));
  EXPECT_EQ(doc.Value(L"Paths", L"C:\\Temp\\a"), L"b.txt=1");
  EXPECT_TRUE(doc.HasSection(L"paths"));
  EXPECT_FALSE(doc.HasSection(L"Missing"));
  EXPECT_TRUE(doc.KeyNames(L"Missing").empty());
}

TEST(IniDocumentRead, MatchesNamesIgnoringCaseIncludingCyrillic) {
  auto doc = IniDocument::Parse(L"[Папки]\r\nЁЛКА=1\r\nПуть=C:\\\r\n");
  EXPECT_TRUE(doc.HasSection(L"ПАПКИ"));
  EXPECT_EQ(doc.Value(L"папки", L"ёлка"), L"1");
  EXPECT_EQ(doc.Value(L"ПаПкИ", L"ПУТЬ"), L"C:\\");
  EXPECT_EQ(doc.Value(L"папки", L"елка"), std::nullopt);  // Ё is not Е

  EXPECT_TRUE(SameName(L"Krelmix", L"kRELMIX"));
  EXPECT_FALSE(SameName(L"ab", L"abc"));
}

TEST(IniDocumentRead, UsesTheFirstOccurrenceOfARepeatedSection) {
  auto doc = IniDocument::Parse(L"[A]\r\nx=1\r\n[B]\r\n[a]\r\nx=2\r\ny=3\r\n");
  EXPECT_EQ(doc.KeyNames(L"A"), (Keys{L"x"}));
  EXPECT_EQ(doc.Value(L"A", L"x"), L"1");
  EXPECT_EQ(doc.Value(L"A", L"y"), std::nullopt);
}

TEST(IniDocumentWrite, ReplacesInPlaceKeepingPositionAndSpelling) {
  auto doc = IniDocument::Parse(L"[Opts]\r\n; c\r\n  MiXed =old\r\nafter=2\r\n");
  ASSERT_TRUE(doc.Write(L"OPTS", L"mixed", L"new"));
  EXPECT_EQ(doc.Serialize(), L"[Opts]\r\n; c\r\n  MiXed =new\r\nafter=2\r\n");

  // A value containing '=' must survive being written and read back.
  ASSERT_TRUE(doc.Write(L"Opts", L"after", L"x=y"));
  EXPECT_EQ(doc.Value(L"Opts", L"after"), L"x=y");
}

TEST(IniDocumentWrite, AppendsAfterTheLastEntryOfTheSection) {
  auto doc = IniDocument::Parse(L"[A]\r\na=1\r\n; note\r\nb=2\r\n\r\n\r\n; about B\r\n[B]\r\nc=3\r\n");
  ASSERT_TRUE(doc.Write(L"a", L"New", L"x"));
  EXPECT_EQ(doc.Serialize(), L"[A]\r\na=1\r\n; note\r\nb=2\r\nNew=x\r\n\r\n\r\n; about B\r\n[B]\r\nc=3\r\n");
  EXPECT_EQ(doc.KeyNames(L"A"), (Keys{L"a", L"b", L"New"}));

  auto empty = IniDocument::Parse(L"[E]\r\n\r\n[F]\r\n");
  ASSERT_TRUE(empty.Write(L"E", L"k", L"v"));
  EXPECT_EQ(empty.Serialize(), L"[E]\r\nk=v\r\n\r\n[F]\r\n");
}

TEST(IniDocumentWrite, AddsAMissingSectionAtTheEnd) {
  auto doc = IniDocument::Parse(L"orphan=1\n[A]\nk=v\n");
  ASSERT_TRUE(doc.Write(L"Б", L"ключ", L"значение"));
  EXPECT_EQ(doc.Serialize(), L"orphan=1\n[A]\nk=v\n[Б]\nключ=значение\n");
  EXPECT_EQ(doc.Value(L"б", L"КЛЮЧ"), L"значение");

  auto blank = IniDocument::Parse(L"");
  ASSERT_TRUE(blank.Write(L"S", L"k", L"1"));
  EXPECT_EQ(blank.Serialize(), L"[S]\r\nk=1\r\n");
}

TEST(IniDocumentWrite, RefusesWhatCouldNotBeReadBack) {
  const std::wstring text = L"[A]\r\nk=v\r\n";
  auto doc = IniDocument::Parse(text);
  EXPECT_FALSE(doc.Write(L"A", L"a=b", L"1"));
  EXPECT_FALSE(doc.Write(L"A", L"", L"1"));
  EXPECT_FALSE(doc.Write(L"A", L"; c", L"1"));
  EXPECT_FALSE(doc.Write(L"A", L"k", L"line\r\nbreak"));
  EXPECT_FALSE(doc.Write(L"A]x", L"k", L"1"));
  EXPECT_FALSE(doc.Write(L"A\nB", L"k", L"1"));
  EXPECT_EQ(doc.Serialize(), text);
}

TEST(IniDocumentErase, RemovesEveryOccurrenceAndRewriteGoesToTheEnd) {
  auto doc = IniDocument::Parse(L"[Keep]\r\na=1\r\n[Drop]\r\nx=1\r\n; inside\r\n[Other]\r\nb=2\r\n[drop]\r\ny=2\r\n");
  doc.EraseSection(L"DROP");
  EXPECT_FALSE(doc.HasSection(L"Drop"));
  EXPECT_EQ(doc.Serialize(), L"[Keep]\r\na=1\r\n[Other]\r\nb=2\r\n");

  ASSERT_TRUE(doc.Write(L"Keep", L"a", L"3"));
  doc.EraseSection(L"Keep");
  ASSERT_TRUE(doc.Write(L"Keep", L"z", L"9"));
  EXPECT_EQ(doc.Serialize(), L"[Other]\r\nb=2\r\n[Keep]\r\nz=9\r\n");
  EXPECT_EQ(doc.KeyNames(L"Keep"), (Keys{L"z"}));

  doc.EraseSection(L"Absent");
  EXPECT_EQ(doc.Serialize(), L"[Other]\r\nb=2\r\n[Keep]\r\nz=9\r\n");
}

}  // namespace
}  // namespace krelmix
