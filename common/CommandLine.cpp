#include "common/CommandLine.h"

#include "common/TextCase.h"

namespace krelmix {

const wchar_t kHelpCaption[] = L"Опции командной строки";
const wchar_t kHelpText[] =
    L"/? - эта помощь\n/test - тестирование скорости работы\n"
    L"/nightfly - фоновая очитска дисков\n/nighttrash - фоновая очистка каталога TMP";

std::vector<Switch> ParseSwitches(const std::vector<std::wstring>& args) {
  std::vector<Switch> switches;
  for (const auto& arg : args) {
    const std::wstring lower = AsciiLower(arg);
    if (lower == L"/test")
      switches.push_back(Switch::Test);
    else if (lower == L"/?")
      switches.push_back(Switch::Help);
    else if (lower == L"/nightfly")
      switches.push_back(Switch::NightFly);
    else if (lower == L"/nighttrash")
      switches.push_back(Switch::NightTrash);
  }
  return switches;
}

}  // namespace krelmix
