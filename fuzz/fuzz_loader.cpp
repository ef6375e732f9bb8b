// Arbitrary bytes into the season loader: it must fail cleanly or load, and
// whatever it loads must save to bytes that load again to the same season.
#include "fuzzclock.h"
#include "season/filemodule.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    using namespace penarin;
    static const Clock clock = fuzz::fixedNow;

    Season season;
    if (LoadSeasonFromBytes(season, {data, size}, clock) == LoadStatus::Failed) {
        return 0;
    }
    const std::vector<std::uint8_t> saved = EncodeSeason(season);
    Season reloaded;
    if (LoadSeasonFromBytes(reloaded, saved, clock) != LoadStatus::Loaded) {
        std::abort(); // a loaded season saved into something unreadable
    }
    if (EncodeSeason(reloaded) != saved) {
        std::abort(); // the second load lost or changed something
    }
    return 0;
}
