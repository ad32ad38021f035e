#pragma once
// The texts a run leaves for the user: the status-line report, the timing message and the
// shortened folder path shown while the walk goes on.
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>

#include "platform/Clock.h"

namespace krelmix {

std::wstring NothingFoundReport(uint64_t dirCount);
std::wstring CleanedReport(uint64_t killedFiles, uint64_t killedBytes, uint64_t dirCount);
std::wstring FoundReport(uint64_t foundFiles, uint64_t foundBytes, uint64_t dirCount);

// Start and end as times of day; the elapsed time is given separately so a run across midnight
// shows how long it really took.
std::wstring TimingMessage(TimeOfDay start, TimeOfDay end, uint64_t elapsedMilliseconds);

using TextWidth = std::function<int(std::wstring_view)>;
// Drops leading folders (replaced by "...\") and then the drive until the path fits.
std::wstring ShortenPath(std::wstring_view path, const TextWidth& width, int maxWidth);

}  // namespace krelmix
