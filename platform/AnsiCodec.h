#pragma once
// The system's single-byte code page, injected so that code using it can be tested off Windows.
#include <optional>
#include <string>
#include <string_view>

namespace krelmix {

class AnsiCodec {
 public:
  virtual ~AnsiCodec() = default;
  virtual std::wstring Decode(std::string_view bytes) const = 0;
  // nullopt when a character cannot be represented.
  virtual std::optional<std::string> Encode(std::wstring_view text) const = 0;
};

}  // namespace krelmix
