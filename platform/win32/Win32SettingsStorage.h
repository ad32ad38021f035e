#pragma once
#include "platform/SettingsStorage.h"

namespace krelmix {

// The settings file on disk. A write goes to a temporary file of its own beside the file, named
// afresh for every write so that nothing left behind can block it, and is swapped in; only where
// the folder takes no new file is the file written in place, and then only once the space for the
// new content is made sure of.
class Win32SettingsStorage : public SettingsStorage {
 public:
  StoredFile Read(const std::wstring& path) override;
  WriteOutcome Write(const std::wstring& path, const std::string& bytes) override;
  void Pause(unsigned milliseconds) override;
};

}  // namespace krelmix
