#pragma once
// Whole-file access for the settings file. Writes replace the file atomically.
#include <optional>
#include <string>

namespace krelmix {

class SettingsStorage {
 public:
  virtual ~SettingsStorage() = default;
  virtual bool Exists(const std::wstring& path) = 0;
  // The file's bytes, or nothing when it is missing or unreadable.
  virtual std::optional<std::string> Read(const std::wstring& path) = 0;
  // Replaces the file with the bytes; false when the file system refuses. A refused or
  // interrupted write leaves the old file as it was.
  virtual bool Write(const std::wstring& path, const std::string& bytes) = 0;
};

}  // namespace krelmix
