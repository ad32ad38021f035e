#pragma once
// An error whose text is meant for the user: the application's error report shows Message().
#include <stdexcept>
#include <string>

namespace krelmix {

class UserError : public std::runtime_error {
 public:
  explicit UserError(std::wstring message) : std::runtime_error("krelmix user error"), message_(std::move(message)) {}
  const std::wstring& Message() const { return message_; }

 private:
  std::wstring message_;
};

}  // namespace krelmix
