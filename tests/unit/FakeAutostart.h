#pragma once
// The autostart list in memory, with a switch to refuse writes and a log of the calls in order.
#include <map>
#include <string>
#include <vector>

#include "platform/AutostartRegistry.h"

namespace krelmix::test {

class FakeAutostart : public AutostartRegistry {
 public:
  std::map<std::wstring, std::wstring> values;
  bool refuseWrites = false;
  std::vector<std::wstring> calls;  // "set NAME" / "remove NAME"

  bool SetValue(const std::wstring& name, const std::wstring& data) override {
    calls.push_back(L"set " + name);
    if (refuseWrites) return false;
    values[name] = data;
    return true;
  }
  void RemoveValue(const std::wstring& name) override {
    calls.push_back(L"remove " + name);
    values.erase(name);
  }
};

}  // namespace krelmix::test
