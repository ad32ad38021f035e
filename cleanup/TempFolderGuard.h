#pragma once
// The guard of the temporary-folder cleanup: the folder it would empty wholesale is judged by what
// it is, not how it is spelled.
#include <string>

#include "platform/FileSystem.h"

namespace krelmix {

enum class TempOutcome {
  Cleaned,        // the folder was emptied (a missing folder counts as emptied, with zeros)
  Declined,       // the user answered "&Нет": nothing deleted, nothing to show
  ProgramFolder,  // the temporary folder is the program's own folder: nothing deleted
  UnsafeFolder,   // not absolute, a root, a link or below one, a protected folder or above one,
                  // or a folder above the program's folder
  Interrupted,    // the main window was closed while the cleanup ran
};

// Made canonical with long names, opened, and refused when it or a folder above it is a link, or
// when it is or holds a protected folder or the program's folder (`exeDir`), each identified the
// same way. The program's folder itself is told apart: the unattended run goes on windowed for it.
// Cleaned means the folder may be emptied; `tmpDir` is then its canonical path, the one every
// later check compares with.
TempOutcome CheckTempFolder(FileSystem& fs, std::wstring& tmpDir, const std::wstring& exeDir);

}  // namespace krelmix
