// Any switch value is read without overflow, and every number read is written back as a switch
// that reads the same way.
#include "FuzzInput.h"
#include "settings/Switch.h"

using namespace krelmix;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::wstring text = fuzz::Wide(data, size);
  const std::optional<int32_t> number = ParseSwitchNumber(text);
  const bool on = ReadSwitch(text, false);
  fuzz::Check(on == ReadSwitch(text, true) || !number);
  if (number) {
    fuzz::Check(ParseSwitchNumber(std::to_wstring(*number)) == number);
    fuzz::Check(ReadSwitch(std::wstring(SwitchText(on)), !on) == on);
  }
  return 0;
}
