// Random seasons through the race analysis: one or two leagues, with or
// without divisions, cards of any length (none at all, or with more results
// than games), real and simulated results, every view, scope, judgment and
// number of places. The analysis must never crash, hang or contradict
// itself, and an outcome it offers must load into the standings.
//
// The solver gets a few milliseconds per problem and a fraction of a second
// in all: what it cannot settle by then is Unknown, which is a valid answer,
// so the fuzzer spends its time on many seasons rather than a hard one.
#include "magic/calcodule.h"
#include "race/race.h"
#include "standings/viewlists.h"
#include "support/seasonbuilder.h"

#include <chrono>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

namespace {

using namespace penarin;

// The input read as a stream of small numbers; zeros once it runs out.
class Bytes
{
public:
    Bytes(const std::uint8_t *data, std::size_t size) : m_data(data), m_size(size) {}

    // A number in 0..count-1.
    int below(int count) { return count > 0 ? next() % count : 0; }
    bool flag() { return (next() & 1) != 0; }

private:
    int next() { return m_at < m_size ? m_data[m_at++] : 0; }

    const std::uint8_t *m_data;
    std::size_t m_size;
    std::size_t m_at = 0;
};

// The analysis claims both "sure" and "not even possible", or the like.
void check(bool holds)
{
    if (!holds) {
        std::abort();
    }
}

void checkConsistent(const race::RaceState &state)
{
    using race::Answer;
    check(!(state.Sure == Answer::Yes && state.Possible == Answer::No));
    check(!(state.Sure == Answer::Yes && state.SureUnlessTied == Answer::No));
    check(!(state.Possible == Answer::Yes && state.PossibleWithTie == Answer::No));
    check(!(state.OwnPower == Answer::Yes && state.Possible == Answer::No));
}

Season randomSeason(Bytes &in)
{
    test::SeasonBuilder builder;
    const int leagues = 1 + in.below(2);
    int teams = 0;
    for (int league = 1; league <= leagues; ++league) {
        const int divisions = in.below(3); // 0: a league without divisions
        const int count = 2 + in.below(6);
        for (int i = 0; i < count; ++i) {
            const int division = divisions == 0 ? 0 : 1 + i % divisions;
            builder.addTeam(u"T" + std::u16string(1, static_cast<char16_t>(u'A' + teams)), league,
                            division);
            ++teams;
        }
    }
    builder.roundRobin(1 + in.below(25), leagues > 1 && in.flag() ? in.below(7) : -1);
    builder.intCounts(in.flag() ? 1 : 0);
    builder.drawReplay(in.below(2), in.below(2), in.below(2));
    for (int a = 1; a <= teams; ++a) {
        for (int b = a + 1; b <= teams; ++b) {
            switch (in.below(8)) {
            case 0:
                builder.card(a, b, -1); // no card between the two
                break;
            case 1:
                // More results than games: the analysis must refuse.
                builder.result(a, b, in.below(40), in.below(40), in.below(3));
                break;
            default:
                builder.result(a, b, in.below(12), in.below(12), in.below(2));
                break;
            }
            if (in.below(4) == 0) {
                builder.simResult(a, b, in.below(4), in.below(4), in.below(2));
            }
        }
    }
    return builder.build();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    Bytes in(data, size);
    Season season = randomSeason(in);
    season.HasSeason = true;
    season.SimMode = in.flag() ? 1 : 0;

    const OrderSettings order{in.below(3), in.below(2), in.below(3)};
    const int leagues = static_cast<int>(LeagueSelectorEntries(season).size());
    const int league = in.below(leagues);
    const int divisions = static_cast<int>(DivisionSelectorEntries(season, league).size());
    const int division = divisions > 0 ? in.below(divisions) : -1;
    BuildViewLists(season, league, division);
    const int scopes[] = {ScopeOfficial, ScopeLeague, ScopeInterleague};
    season.GameScope = league < 1 ? ScopeInterleague : scopes[in.below(3)];
    const ViewRequest view{league, division};
    const RecalculateResult pass = RecalculateView(season, order, view);

    race::RaceRequest request =
        race::RaceRequestForView(season, *pass.Published, view, 1 + in.below(4));
    request.TimeLimit = std::chrono::milliseconds(20);
    request.TotalTimeLimit = std::chrono::milliseconds(200);
    const race::RaceAnalysis analysis = race::AnalyzeRace(season, request);
    if (analysis.Status != race::RaceStatus::Analysed) {
        return 0;
    }
    check(analysis.Teams.size() == request.Teams.size());
    for (const race::TeamRace &team : analysis.Teams) {
        checkConsistent(team.Title);
        checkConsistent(team.Top);
    }
    // The first outcome offered goes into the standings as the window's
    // button would load it.
    for (const race::TeamRace &team : analysis.Teams) {
        if (team.Title.Reach) {
            race::ApplyCertificate(season, *team.Title.Reach);
            (void)RecalculateView(season, order, view);
            break;
        }
    }
    return 0;
}
