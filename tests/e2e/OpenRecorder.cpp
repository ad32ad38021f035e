// Stands in for the browser in the end-to-end tests: registered as the handler of an address
// scheme, it appends the address it was started with to a file. open_recorder <file> <address>
#include <windows.h>

#include <shellapi.h>

#include <cstdio>
#include <string>

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
  int count = 0;
  wchar_t** args = CommandLineToArgvW(GetCommandLineW(), &count);
  if (!args || count < 3) return 2;
  FILE* out = _wfopen(args[1], L"ab");
  if (!out) return 3;
  const int bytes = WideCharToMultiByte(CP_UTF8, 0, args[2], -1, nullptr, 0, nullptr, nullptr);
  std::string text(bytes > 0 ? bytes - 1 : 0, '\0');
  WideCharToMultiByte(CP_UTF8, 0, args[2], -1, text.data(), bytes, nullptr, nullptr);
  std::fprintf(out, "%s\n", text.c_str());
  std::fclose(out);
  return 0;
}
