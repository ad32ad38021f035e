// Writes the upper-case table of the system it runs on as the compact ranges platform/CaseFold.cpp
// folds names with. Run under Wine (tools/casefold/regenerate.sh) and commit its output.
#include <windows.h>

#include <cstdio>
#include <vector>

namespace {

using Upcase = WCHAR(NTAPI*)(WCHAR);

struct Range {
  unsigned first, last, step;
  int delta;
};

// Runs of characters that move by the same distance: each character in turn (step 1), or every
// second one with the character between them left alone (step 2, as the pairs of Latin Extended).
std::vector<Range> Ranges(Upcase upcase) {
  std::vector<int> delta(0x10000);
  for (unsigned c = 0; c < 0x10000; ++c)
    delta[c] = static_cast<int>(upcase(static_cast<WCHAR>(c))) - static_cast<int>(c);
  std::vector<Range> ranges;
  for (unsigned c = 0; c < 0x10000; ++c) {
    if (delta[c] == 0) continue;
    unsigned last = c;
    while (last + 1 < 0x10000 && delta[last + 1] == delta[c]) ++last;
    if (last > c) {
      ranges.push_back({c, last, 1, delta[c]});
      c = last;
      continue;
    }
    while (last + 2 < 0x10000 && delta[last + 2] == delta[c] && delta[last + 1] == 0) last += 2;
    ranges.push_back({c, last, last > c ? 2u : 1u, delta[c]});
    c = last;
  }
  return ranges;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: casefold OUTPUT\n");
    return 2;
  }
  const auto upcase = reinterpret_cast<Upcase>(
      reinterpret_cast<void*>(GetProcAddress(GetModuleHandleW(L"ntdll.dll"), "RtlUpcaseUnicodeChar")));
  if (!upcase) {
    std::fprintf(stderr, "casefold: the system has no RtlUpcaseUnicodeChar\n");
    return 1;
  }
  FILE* out = _wfopen(argv[1], L"wb");
  if (!out) {
    std::fprintf(stderr, "casefold: cannot write the output\n");
    return 1;
  }
  std::fprintf(out,
               "// The system's upper-case table (RtlUpcaseUnicodeChar) for the Basic Multilingual Plane, written\n"
               "// by tools/casefold: first, last, step, distance. Characters not named here stay as they are.\n");
  for (const Range& r : Ranges(upcase))
    std::fprintf(out, "{0x%04X, 0x%04X, %u, %d},\n", r.first, r.last, r.step, r.delta);
  return std::fclose(out) == 0 ? 0 : 1;
}
