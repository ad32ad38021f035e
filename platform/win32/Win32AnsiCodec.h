#pragma once
#include "platform/AnsiCodec.h"

namespace krelmix {

// The system's ANSI code page, as earlier versions wrote the settings file.
class Win32AnsiCodec : public AnsiCodec {
 public:
  std::wstring Decode(std::string_view bytes) const override;
  std::optional<std::string> Encode(std::wstring_view text) const override;
};

}  // namespace krelmix
