// A game list comes from whatever file or clipboard the user points at: any
// bytes must be read, checked and applied without a crash, in either mode,
// and what is applied must keep every card within its schedule.
#include "import/gamelist.h"
#include "season/filemodule.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    using namespace penarin;
    static const Season sample = [] {
        Season season;
        if (LoadSeason(season, PENARIN_SAMPLES_DIR "/sample-a.ptr") == LoadStatus::Failed) {
            std::abort();
        }
        return season;
    }();
    Season season = sample;
    season.SimMode = size > 0 && (data[0] & 1) != 0 ? 1 : 0;
    const std::string_view bytes(reinterpret_cast<const char *>(data), size);
    const GameList list = ReadGameList(season, DecodeListText(bytes),
                                       ReadAliases(DecodeListText(bytes.substr(0, 64))));
    const std::optional<ImportOutcome> outcome = ApplyGameList(season, list, {true, true});
    if (!outcome) {
        std::abort(); // skipping the refused lines always imports
    }
    for (int a = 1; a <= season.TeamCount(); ++a) {
        const TeamRecord &team = outcome->season.team(a);
        for (int b = 1; b <= season.TeamCount(); ++b) {
            if (a != b && team.CardGames[b] >= 0 &&
                team.CardWins[b] + team.CardLosses[b] > team.CardGames[b]) {
                std::abort();
            }
        }
    }
    return 0;
}
