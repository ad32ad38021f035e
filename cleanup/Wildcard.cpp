#include "cleanup/Wildcard.h"

#include <vector>

#include "platform/CaseFold.h"

namespace krelmix {

namespace {
// The DOS forms FindFirstFile rewrites a pattern into before the file system matches it.
constexpr wchar_t kDosStar = L'<';  // '*' before a '.': stops at the name's last dot
constexpr wchar_t kDosQm = L'>';    // '?': one character, or none before a dot or the end
constexpr wchar_t kDosDot = L'"';   // '.' before a wildcard or at the end: a dot, or the end

bool IsWild(wchar_t c) { return c == L'*' || c == L'?'; }

class Matcher {
 public:
  Matcher(std::wstring_view pattern, std::wstring_view name)
      : p_(pattern), n_(name), memo_((p_.size() + 1) * (n_.size() + 1), kUnknown) {
    lastDot_ = n_.rfind(L'.');
  }
  bool Match(size_t pi, size_t ni) {
    signed char& known = memo_[pi * (n_.size() + 1) + ni];
    if (known == kUnknown) known = Compute(pi, ni) ? 1 : 0;
    return known == 1;
  }

 private:
  static constexpr signed char kUnknown = -1;

  bool Compute(size_t pi, size_t ni) {
    const size_t end = n_.size();
    if (pi == p_.size()) return ni == end;
    switch (p_[pi]) {
      case L'*':
        return Match(pi + 1, ni) || (ni < end && Match(pi, ni + 1));
      case kDosStar:
        return Match(pi + 1, ni) || (ni < end && ni != lastDot_ && Match(pi, ni + 1));
      case kDosQm:
        if (ni == end || n_[ni] == L'.') return Match(pi + 1, ni);
        return Match(pi + 1, ni + 1);
      case kDosDot:
        if (ni == end) return Match(pi + 1, ni);
        return n_[ni] == L'.' && Match(pi + 1, ni + 1);
      default:
        return ni < end && n_[ni] == p_[pi] && Match(pi + 1, ni + 1);
    }
  }

  std::wstring_view p_, n_;
  size_t lastDot_;
  std::vector<signed char> memo_;
};
}  // namespace

Wildcard::Wildcard(std::wstring_view mask) {
  const std::wstring upper = UpperCase(mask);
  for (size_t i = 0; i < upper.size(); ++i) {
    const wchar_t c = upper[i];
    const wchar_t next = i + 1 < upper.size() ? upper[i + 1] : L'\0';
    if (c == L'?')
      pattern_ += kDosQm;
    else if (c == L'*' && next == L'.')
      pattern_ += kDosStar;
    else if (c == L'.' && (IsWild(next) || next == L'\0'))
      pattern_ += kDosDot;
    else
      pattern_ += c;
  }
}

bool Wildcard::Matches(std::wstring_view name) const {
  const std::wstring upper = UpperCase(name);
  return Matcher(pattern_, upper).Match(0, 0);
}

namespace {
// The mask as the matcher reads it: upper case, the DOS wildcards in their plain forms, trailing
// dots and spaces gone (a trailing dot also matches the name's end).
std::wstring MatcherSpelling(std::wstring_view mask) {
  std::wstring spelling = UpperCase(mask);
  for (wchar_t& c : spelling) {
    if (c == kDosStar) c = L'*';
    if (c == kDosDot) c = L'.';
  }
  while (!spelling.empty() && (spelling.back() == L'.' || spelling.back() == L' ')) spelling.pop_back();
  return spelling;
}

bool IsProgramMask(std::wstring_view mask) {
  const std::wstring spelling = MatcherSpelling(mask);
  for (const wchar_t* program : {L"*.EXE", L"*.COM", L"*.SYS", L"*.DRV"})
    if (spelling == program) return true;
  return false;
}
}  // namespace

bool IsUsableMask(std::wstring_view mask) {
  if (mask.size() > kMaxMaskLength || IsProgramMask(mask)) return false;
  bool hasLiteral = false;
  for (wchar_t c : mask) {
    if (c == L'\\' || c == L'/' || c == L':') return false;
    const bool wild = IsWild(c) || c == kDosStar || c == kDosQm || c == kDosDot;
    if (!wild && c != L'.' && c != L' ') hasLiteral = true;
  }
  return hasLiteral;
}

}  // namespace krelmix
