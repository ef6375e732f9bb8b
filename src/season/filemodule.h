#pragma once

#include "season/season.h"

#include <cstdint>
#include <filesystem>
#include <span>
#include <vector>

namespace penarin {

enum class LoadStatus
{
    Failed,          // season cleared; the window says "ファイルを開けません"
    Loaded,          // current format
    LoadedConverted, // previous format, converted: the window tells the user and
                     // asks for the games count
};

// Reads a season file into `season`. On failure the season is cleared (as
// after ClearSeason). On success SimResults are sized, CurrentFile is set,
// GameScope is 0 and IsSaved is true; displaying is the caller's business.
[[nodiscard]] LoadStatus LoadSeason(Season &season, const std::filesystem::path &path,
                                    const Clock &clock = systemNow);
// The same from bytes already in memory (CurrentFile is left empty).
[[nodiscard]] LoadStatus LoadSeasonFromBytes(Season &season, std::span<const std::uint8_t> bytes,
                                             const Clock &clock = systemNow);

// Saves the season: stamps UpdatedAt, appends the snapshot the prompt asked
// for (AddSnapshot), refreshes the newest snapshot's values, writes to a
// temporary file beside `path` and renames it over `path` only once it is
// complete. Returns false (and leaves any existing file untouched) when
// writing fails. On success CurrentFile is `path` and IsSaved is true.
[[nodiscard]] bool SaveSeason(Season &season, const std::filesystem::path &path,
                              const Clock &clock = systemNow);

// Where SaveSeason writes before it replaces `path`: beside it, so that the
// final rename stays within one file system.
[[nodiscard]] std::filesystem::path SaveTemporaryPath(const std::filesystem::path &path);

// The exact bytes SaveSeason writes, without touching the season's
// memory-only state or the snapshot values (for tests and the fuzzer). The
// signature and version written are always this program's own, so the bytes
// are a current-format file also for a season loaded from an older one.
[[nodiscard]] std::vector<std::uint8_t> EncodeSeason(const Season &season);

} // namespace penarin
