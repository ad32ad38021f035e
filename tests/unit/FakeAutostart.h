#pragma once
// The autostart lists in memory: the user's, with a switch to refuse writes, and the machine's,
// with a switch to refuse removals (a user without administrator rights); a log of the calls.
#include <map>
#include <string>
#include <vector>

#include "platform/AutostartRegistry.h"

namespace krelmix::test {

class FakeAutostart : public AutostartRegistry {
 public:
  std::map<std::wstring, std::wstring> values, machineValues;
  bool refuseWrites = false;
  bool refuseMachineWrites = false;
  std::vector<std::wstring> calls;  // "set NAME" / "remove NAME" / "remove machine NAME"

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
  bool RemoveMachineValue(const std::wstring& name) override {
    calls.push_back(L"remove machine " + name);
    if (!machineValues.count(name)) return true;
    if (refuseMachineWrites) return false;
    machineValues.erase(name);
    return true;
  }
};

}  // namespace krelmix::test
