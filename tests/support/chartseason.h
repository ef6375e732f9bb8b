#pragma once

#include "magic/calcodule.h"
#include "support/seasonbuilder.h"

#include <memory>

namespace penarin::test {

// Three teams of one league with four snapshots on 28 March, 2 April,
// 30 April and 3 May (the second one not shown); the standings read A, C, B. Every team's surplus
// at snapshot k is its number times k, negated for team 2; its percentage .500 + surplus / 100.
inline Season chartSeason()
{
    SeasonBuilder builder = SeasonBuilder::oneLeague({u"Aチーム", u"Bチーム", u"Cチーム"}, 24);
    builder.result(1, 2, 8, 2).result(1, 3, 5, 4).result(3, 2, 6, 3);
    Season season = builder.build();
    const double dates[] = {toOleDate({2026, 3, 28}), toOleDate({2026, 4, 2}),
                            toOleDate({2026, 4, 30}), toOleDate({2026, 5, 3})};
    const char16_t *memos[] = {u"開幕", u"交流戦前", u"交流戦後", u"(メモ)"};
    for (int k = 1; k <= 4; ++k) {
        season.Snapshots.push_back({dates[k - 1], memos[k - 1], k == 2 ? StoredFalse : StoredTrue});
        for (int t = 1; t <= 3; ++t) {
            const int surplus = (t == 2 ? -t : t) * k;
            season.TeamSnapshots[t].Surpluses.push_back(static_cast<std::int16_t>(surplus));
            season.TeamSnapshots[t].Pcts.push_back(0.5F + static_cast<float>(surplus) / 100.0F);
        }
    }
    return season;
}

// The standings of the league's view, as the window publishes them.
inline PublishedStandings chartStandings(Season &season)
{
    return *RecalculateView(season, {}, ViewRequest{1, -1}).Published;
}

} // namespace penarin::test
