#pragma once

#include "season/season.h"

#include <cstdint>
#include <filesystem>
#include <span>
#include <string>
#include <vector>

namespace penarin {

enum class LoadStatus
{
    Failed,          // season cleared; the window says "ファイルを開けません"
    Loaded,          // current format
    LoadedConverted, // previous format, converted: the window tells the user and
                     // asks for the games count
};

// No season this program writes comes near it: 88 teams with the most
// snapshots a file can count (32767) take about 18 MiB; the rest is room
// for names and memos far beyond anything typed. A larger file is refused
// before it is read.
inline constexpr std::uint64_t MaxSeasonFileBytes = 64u << 20;
inline constexpr const char *SeasonFileTooLarge = "ファイルが大きすぎます";
inline constexpr const char *SeasonFileOutOfMemory = "メモリが足りません";

// Reads a season file into `season`. On failure the season is cleared (as
// after ClearSeason), and `reason` (when given) receives what the user can
// act on, if anything (a file too large to be a season); it stays as it was
// for a file that simply is no season. On success SimResults are sized,
// CurrentFile is set and GameScope is 0; displaying (and what is saved, which
// the season document keeps) is the caller's business. Only a regular file is read.
[[nodiscard]] LoadStatus LoadSeason(Season &season, const std::filesystem::path &path,
                                    const Clock &clock = systemNow, std::string *reason = nullptr);
// The same from bytes already in memory (CurrentFile is left empty).
[[nodiscard]] LoadStatus LoadSeasonFromBytes(Season &season, std::span<const std::uint8_t> bytes,
                                             const Clock &clock = systemNow);

// Why `path` did not load, in words the user can act on: no such file, not
// a plain file, no permission to read it, or not a season file (a file of
// another kind, or one cut short). Asked after LoadSeason failed.
[[nodiscard]] std::string LoadFailureReason(const std::filesystem::path &path);

// Saves the season: stamps UpdatedAt, appends the snapshot the prompt asked
// for (AddSnapshot), refreshes the newest snapshot's values and replaces the
// file as a whole (WriteFileSafely). Returns false, with the reason in
// `error`, when writing fails; the file and the season are then as they
// were. On success CurrentFile is `path`; the season document marks it saved.
[[nodiscard]] bool SaveSeason(Season &season, const std::filesystem::path &path,
                              const Clock &clock = systemNow, std::string *error = nullptr);

// The exact bytes SaveSeason writes, without touching the season's
// memory-only state or the snapshot values (for tests and the fuzzer). The
// signature and version written are always this program's own, so the bytes
// are a current-format file also for a season loaded from an older one.
[[nodiscard]] std::vector<std::uint8_t> EncodeSeason(const Season &season);

} // namespace penarin
