// Arbitrary bytes into the season loader: it must fail cleanly or load, and
// whatever it loads must save to bytes that load again to the same season.
#include "season/filemodule.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>

namespace {

// A fixed clock keeps runs reproducible (and skips the local-time lookup).
double fixedNow()
{
    return 46249.5;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    using namespace penarin;
    static const Clock clock = fixedNow;

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
