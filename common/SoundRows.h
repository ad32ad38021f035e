#pragma once
// The sound editor's six rows, one per SoundEvent, and how they are kept in the settings file's
// sound list.
//
// A key's position in the list decides its event, and key names are unique regardless of letter
// case, so the rows are stored so that no event ever moves to another slot:
// - an empty row standing before a row with a file keeps its place with a placeholder key, switched
//   off, that can never name a file (it holds '<' and '>', which Windows forbids in names);
// - a file chosen for a second event is written in another spelling of the same path (".\" before
//   the file name), which names the same file and is a key of its own.
// Start-up reads these keys like any others: a placeholder leaves its slot silent, and a second
// spelling plays the same file. The editor shows both as the user chose them.
#include <array>
#include <string>
#include <string_view>
#include <utility>

#include "common/SoundEvent.h"
#include "settings/IniDocument.h"

namespace krelmix {

struct SoundRow {
  SoundRow() = default;
  SoundRow(std::wstring fileName, bool on) : file(std::move(fileName)), ticked(on) {}
  std::wstring file;  // empty: no file chosen
  bool ticked = false;
};

using SoundRows = std::array<SoundRow, kSoundEventCount>;

// The first six keys of the sound list; a row without a key, or with a placeholder, is empty and unticked.
SoundRows ReadSoundRows(const IniDocument& settings);

// Replaces the sound list with the rows up to the last one that names a file.
void WriteSoundRows(IniDocument& settings, const SoundRows& rows);

// A stored key as the user chose it: the ".\" steps put before the file name taken out again.
std::wstring PlainSoundPath(std::wstring_view key);

bool IsSoundPlaceholder(std::wstring_view key);

}  // namespace krelmix
