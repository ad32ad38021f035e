#pragma once
#include <windows.h>

#include "platform/AnsiCodec.h"

namespace krelmix {

// The system's ANSI code page, as earlier versions wrote the settings file (or another code page,
// for the tests of the code pages a user's system may have).
class Win32AnsiCodec : public AnsiCodec {
 public:
  explicit Win32AnsiCodec(UINT codePage = GetACP()) : codePage_(codePage) {}
  std::wstring Decode(std::string_view bytes) const override;
  std::optional<std::string> Encode(std::wstring_view text) const override;

 private:
  UINT codePage_;
};

}  // namespace krelmix
