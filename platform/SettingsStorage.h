#pragma once
// Whole-file access for the settings file. Writes replace the file atomically.
#include <string>

namespace krelmix {

// What one attempt to read the file found.
struct StoredFile {
  enum class State {
    Read,        // `bytes` is the whole file
    Missing,     // there is no such file (a folder of that name is no settings file either)
    Unreadable,  // the file is there but could not be read now: held by another program, access
                 // denied, an I/O error. Never to be taken for an empty file.
  };
  State state = State::Missing;
  std::string bytes;
};

enum class WriteOutcome {
  Written,
  Busy,     // another program holds the file for the moment: worth trying again
  Refused,  // the file or its folder refuses the write (read-only, no space, no access)
};

class SettingsStorage {
 public:
  virtual ~SettingsStorage() = default;
  virtual StoredFile Read(const std::wstring& path) = 0;
  // Replaces the file with the bytes, or creates it. Whatever the outcome, the file is the old one
  // or the new one, whole: a write that cannot be made whole is refused and changes nothing.
  virtual WriteOutcome Write(const std::wstring& path, const std::string& bytes) = 0;
  // Waits before a file that another program holds is tried again.
  virtual void Pause(unsigned milliseconds) = 0;
};

}  // namespace krelmix
