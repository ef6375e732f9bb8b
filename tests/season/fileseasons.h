#pragma once

// Seasons and hand-made files shared by the season file tests and the fuzz
// corpus seeds.

#include "season/binaryio.h"
#include "season/season.h"
#include "support/seasonbuilder.h"

#include <cstdint>
#include <vector>

namespace penarin::test {

// Two leagues, one with divisions, results on several cards.
inline Season sixTeams()
{
    SeasonBuilder b;
    b.addTeam(u"巨人", 1, 1);
    b.addTeam(u"阪神", 1, 1);
    b.addTeam(u"中日", 1, 2);
    b.addTeam(u"広島", 1, 2);
    b.addTeam(u"西武", 2);
    b.addTeam(u"ロッテ", 2);
    b.roundRobin(25, 3).result(1, 2, 3, 1, 1).result(3, 4, 0, 2).result(5, 1, 1, 2);
    return b.build();
}

// Three snapshots, the second one hidden, team 2 hidden from the charts; the
// newest values (t / 10 and t for team t) are not what the results say.
inline Season withSnapshots(Season season)
{
    const double dates[] = {46200.0, 46210.5, 46220.25};
    for (const double date : dates) {
        season.Snapshots.push_back(Snapshot{date, u"(メモ)", StoredTrue});
    }
    season.Snapshots[2].Shown = StoredFalse;
    season.TeamShown[2] = StoredFalse;
    for (int t = 1; t <= season.TeamCount(); ++t) {
        season.TeamSnapshots[t].Pcts = {0.5f, 0.25f, static_cast<float>(t) / 10};
        season.TeamSnapshots[t].Surpluses = {0, -2, static_cast<std::int16_t>(t)};
    }
    return season;
}

// A two-team file of major version 4, with its shorter team record written
// field by field, and one snapshot.
inline std::vector<std::uint8_t> previousFormatFile(std::int16_t minor, std::int16_t intCounts)
{
    ByteWriter out;
    out.byteString(u"not checked");
    for (const int value : {4, int{minor}, 3, 2, 2, 1, -1, 2, 2}) {
        out.int16(static_cast<std::int16_t>(value));
    }
    out.date(40000.75);
    out.int16Array({2, 1}, 1);
    out.int16Array({1, 2}, 1);
    out.int16(intCounts);
    out.int16(0);
    for (int team = 1; team <= 2; ++team) {
        out.byteString(team == 1 ? u"セ" : u"パ");
        out.byteString(u"");
        out.byteString(team == 1 ? u"X" : u"Y");
        // League, Division, GridRank, DivisionCount, HasDivisions, OfficialGames,
        // LeagueTeamCount, two draw replays, LeagueJudgment, league code, LeagueReversal,
        // DivisionJudgment, division code, DivisionReversal, four dropped Integers
        for (const int value :
             {team, 0, 3 - team, 0, 0, 140, 1, 1, 1, 1, 4, 2, 0, 5, 1, 77, 77, 77, 77}) {
            out.int16(static_cast<std::int16_t>(value));
        }
        out.int16Array(
            team == 1 ? std::vector<std::int16_t>{-1, 3} : std::vector<std::int16_t>{3, -1}, 1);
        out.int16Array(
            team == 1 ? std::vector<std::int16_t>{0, 2} : std::vector<std::int16_t>{1, 0}, 1);
        out.int16Array(
            team == 1 ? std::vector<std::int16_t>{0, 1} : std::vector<std::int16_t>{2, 0}, 1);
        out.int16Array({0, 0}, 1);
        out.int32(0x0000FF + team);
        out.int16(1);
        out.int16(2);
        out.int16(1);
    }
    out.int16(1); // one snapshot
    out.int16(-1);
    out.int16(0);
    out.date(39990.0);
    out.byteString(u"旧");
    out.int16(-1);
    for (int team = 1; team <= 2; ++team) {
        out.singleArray({0.75f}, 1);
        out.int16Array({static_cast<std::int16_t>(team)}, 1);
    }
    return out.take();
}

} // namespace penarin::test
