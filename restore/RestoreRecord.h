#pragma once
// The record of the files one run kept on one volume, a text file beside them: UTF-8, one line
// per file, fields split by tabs, a header line first. Each line is written before its file is
// moved, so a line whose kept file is missing while the original is in place means "not moved";
// a last line without its line feed was cut off and is not read.
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace krelmix {

// The command whose deletions a run kept.
enum class KeptCommand { Delete, Clean, NightFly };
// "Удалить", "Очистка", "/nightfly": as the program names them to the user.
std::wstring_view CommandName(KeptCommand command);

struct RecordHeader {
  uint64_t run = 0;   // the run's number, the same on every volume it touched
  uint64_t time = 0;  // when it started: 100 ns units since 1601-01-01 UTC
  KeptCommand command = KeptCommand::Delete;
};

struct RecordEntry {
  bool kept = false;      // moved into the keep folder; false: deleted for good
  std::wstring keptName;  // its name in the keep folder
  uint64_t size = 0;
  uint64_t lastWrite = 0;
  uint32_t attributes = 0;
  uint64_t index = 0;  // the file's number on its volume, 0 when unknown
  std::wstring path;   // where it was
};

struct Record {
  RecordHeader header;
  std::vector<RecordEntry> entries;  // one per kept name, its last line standing
};

std::string HeaderLine(const RecordHeader& header);
std::string EntryLine(const RecordEntry& entry);
// Nothing when the header is missing or unreadable; lines that do not read are passed over.
std::optional<Record> ParseRecord(std::string_view bytes);

// The names in a keep folder: the record of run `run`, and its `n`th kept file, which lies in the
// folder KeptFolderName(run, n) with the run's files of its few hundred.
std::wstring RecordName(uint64_t run);
std::wstring KeptFolderName(uint64_t run, uint64_t n);
std::wstring KeptName(uint64_t run, uint64_t n);
// A kept name's folder part; empty for a name of the keep folder itself.
std::wstring_view FolderOfKeptName(std::wstring_view name);
// The run a record's name gives; nothing for any other name.
std::optional<uint64_t> RunOfRecordName(std::wstring_view name);

}  // namespace krelmix
