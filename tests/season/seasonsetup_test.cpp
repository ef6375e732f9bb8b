#include "season/filemodule.h"
#include "season/seasonsetup.h"
#include "support/seasonbuilder.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <random>
#include <string>

using namespace penarin;
using penarin::test::testNow;

namespace {

LeagueChoice league(const Text &name, int games, bool divisions = false)
{
    LeagueChoice choice;
    choice.Name = name;
    choice.Games = games;
    choice.HasDivisions = divisions;
    return choice;
}

// Registers a league without divisions and its teams, answering every step.
void addLeague(SeasonSetup &setup, const LeagueChoice &choice, const std::vector<Text> &teams)
{
    ASSERT_EQ(setup.beginLeague(choice), SetupRefusal::None);
    for (const Text &team : teams) {
        ASSERT_EQ(setup.addTeamName(team), SetupRefusal::None);
    }
    ASSERT_EQ(setup.checkRegistration(), SetupRefusal::None);
    ASSERT_TRUE(setup.registerTeams());
}

std::vector<Text> names(const char16_t *prefix, int count)
{
    std::vector<Text> out;
    for (int i = 1; i <= count; ++i) {
        Text name = prefix;
        for (const char c : std::to_string(i)) {
            name += static_cast<char16_t>(c);
        }
        out.push_back(name);
    }
    return out;
}

} // namespace

TEST(SeasonSetupInput, GamesBoxAndBlanks)
{
    EXPECT_EQ(GamesValue(u""), 0);
    EXPECT_EQ(GamesValue(u"144"), 144);
    EXPECT_EQ(GamesValue(u"0012"), 12);
    EXPECT_EQ(GamesValue(u"14a"), 0);
    EXPECT_EQ(GamesValue(u"-3"), 0);
    EXPECT_EQ(GamesValue(u"32767"), 32767);
    EXPECT_EQ(GamesValue(u"99999999999"), GamesLimit + 1);
    EXPECT_EQ(TrimBlanks(u" \u3000セ・リーグ\t "), u"セ・リーグ");
    EXPECT_EQ(TrimBlanks(u"\u3000 "), u"");
}

TEST(SeasonSetupRules, NamesAcrossLeagues)
{
    // A division name may repeat in another league; a team name may not,
    // unless it was taken off the list before being registered.
    SeasonSetup setup;
    ASSERT_EQ(setup.beginLeague(league(u"東", 120, true)), SetupRefusal::None);
    ASSERT_EQ(setup.addDivision(u"北", 1, {}), SetupRefusal::None);
    ASSERT_EQ(setup.addDivision(u"南", 0, {1, {2, 0}, 1}), SetupRefusal::None);
    ASSERT_EQ(setup.finishDivisions(), SetupRefusal::None);
    ASSERT_EQ(setup.addTeamName(u"鷹"), SetupRefusal::None);
    ASSERT_EQ(setup.addTeamName(u"燕"), SetupRefusal::None);
    setup.removeTeamName(0);
    EXPECT_FALSE(setup.registerTeams());
    EXPECT_EQ(setup.currentDivision(), 1);
    ASSERT_EQ(setup.addTeamName(u"鯉"), SetupRefusal::None);
    EXPECT_TRUE(setup.registerTeams());

    EXPECT_EQ(setup.beginLeague(league(u" 東\u3000", 120, true)), SetupRefusal::LeagueNameTaken);
    ASSERT_EQ(setup.beginLeague(league(u"西", 120, true)), SetupRefusal::None);
    EXPECT_EQ(setup.addDivision(u"北", 1, {}), SetupRefusal::None);
    EXPECT_EQ(setup.currentDivisions(), std::vector<Text>{u"北"});
    EXPECT_EQ(setup.addTeamName(u"燕"), SetupRefusal::TeamNameTaken);
    EXPECT_EQ(setup.addTeamName(u"鷹"), SetupRefusal::None);
}

TEST(SeasonSetupRules, LeagueOfOneTeamIsRefused)
{
    SeasonSetup single;
    ASSERT_EQ(single.beginLeague(league(u"L", 10)), SetupRefusal::None);
    EXPECT_EQ(single.checkRegistration(), SetupRefusal::Ignored); // empty list
    ASSERT_EQ(single.addTeamName(u"a"), SetupRefusal::None);
    EXPECT_EQ(single.checkRegistration(), SetupRefusal::LeagueOfOneTeam);

    // With divisions only the registration that ends the league counts the
    // whole league: one team per division is fine.
    SeasonSetup divided;
    ASSERT_EQ(divided.beginLeague(league(u"L", 10, true)), SetupRefusal::None);
    ASSERT_EQ(divided.addDivision(u"x", 1, {}), SetupRefusal::None);
    ASSERT_EQ(divided.addDivision(u"y", 1, {}), SetupRefusal::None);
    ASSERT_EQ(divided.finishDivisions(), SetupRefusal::None);
    ASSERT_EQ(divided.addTeamName(u"a"), SetupRefusal::None);
    EXPECT_EQ(divided.checkRegistration(), SetupRefusal::None);
    EXPECT_FALSE(divided.registerTeams());
    ASSERT_EQ(divided.addTeamName(u"b"), SetupRefusal::None);
    EXPECT_EQ(divided.checkRegistration(), SetupRefusal::None);
    EXPECT_TRUE(divided.registerTeams());
}

TEST(SeasonSetupRules, TeamAndGameLimitsAtOk)
{
    struct Case
    {
        int firstLeague;
        int secondLeague;
        int interleague;
        SetupRefusal expected;
    };
    const Case cases[] = {
        {44, 44, 3, SetupRefusal::None},
        {44, 45, 3, SetupRefusal::TooManyTeams},
        {2, 2, 16000, SetupRefusal::None},          // 120 + 2 x 16000 fits
        {2, 2, 16400, SetupRefusal::TooManyGames},  // 120 + 2 x 16400 does not
        {2, 0, GamesLimit + 1, SetupRefusal::None}, // one league: the page is unused
    };
    for (const Case &c : cases) {
        SeasonSetup setup;
        addLeague(setup, league(u"A", 120), names(u"a", c.firstLeague));
        if (c.secondLeague > 0) {
            addLeague(setup, league(u"B", 120), names(u"b", c.secondLeague));
        }
        setup.finishLeagues();
        InterleagueChoice interleague;
        interleague.GamesPerCard = c.interleague;
        EXPECT_EQ(setup.checkSeason(interleague), c.expected)
            << c.firstLeague << "+" << c.secondLeague << " teams, " << c.interleague;
        if (c.expected == SetupRefusal::None) {
            // Whatever passes must be a season the loader takes back.
            Season season;
            setup.buildSeason(season, interleague, testNow());
            Season loaded;
            EXPECT_EQ(LoadSeasonFromBytes(loaded, EncodeSeason(season), testNow),
                      LoadStatus::Loaded);
            EXPECT_EQ(loaded.Teams, season.Teams);
        }
    }
}

TEST(SeasonSetupBuild, TwoLeaguesWithDivisionsSaveAndLoadBack)
{
    SeasonSetup setup;
    // League 1: two divisions of three teams; 144 games among 6 teams give
    // 28 per card (truncated).
    LeagueChoice central = league(u"セントラル", 144, true);
    central.DrawReplay = 0;
    central.Judgment = {1, {2, 7, 0}, 2};
    ASSERT_EQ(setup.beginLeague(central), SetupRefusal::None);
    ASSERT_EQ(setup.addDivision(u"東", 1, {0, {4, 0}, 1}), SetupRefusal::None);
    ASSERT_EQ(setup.addDivision(u"西", 0, {1, {}, 0}), SetupRefusal::None);
    ASSERT_EQ(setup.finishDivisions(), SetupRefusal::None);
    for (const char16_t *team : {u"a1", u"a2", u"a3"}) {
        ASSERT_EQ(setup.addTeamName(team), SetupRefusal::None);
    }
    ASSERT_FALSE(setup.registerTeams());
    for (const char16_t *team : {u"a4", u"a5", u"a6"}) {
        ASSERT_EQ(setup.addTeamName(team), SetupRefusal::None);
    }
    ASSERT_TRUE(setup.registerTeams());
    // League 2: no divisions, five teams, 100 games: 25 per card.
    addLeague(setup, league(u"パシフィック", 100), names(u"b", 5));
    setup.finishLeagues();

    InterleagueChoice interleague{3, true, 0, {1, {5, 0}, 1}};
    ASSERT_EQ(setup.checkSeason(interleague), SetupRefusal::None);
    Season season;
    season.CurrentFile = "old.ptr";
    setup.buildSeason(season, interleague, testNow());

    ASSERT_EQ(season.TeamCount(), 11);
    EXPECT_EQ(season.Header.LeagueCount, 2);
    EXPECT_EQ(season.Header.ViewLeague, 0);
    EXPECT_EQ(season.Header.ViewDivision, -1);
    EXPECT_EQ(season.Header.UpdatedAt, testNow());
    EXPECT_EQ(season.ViewRows, season.ViewCols);
    EXPECT_EQ(season.ViewRows[11], 11);
    EXPECT_EQ(season.Interleague, (InterleagueSettings{1, 0}));
    EXPECT_EQ(season.TeamShown, OneBased<std::int16_t>(11, StoredTrue));
    EXPECT_EQ(season.SimResults.size(), 11);
    EXPECT_EQ(season.SimResults[11].Draws.size(), 11);
    EXPECT_TRUE(season.CurrentFile.empty());

    struct Expect
    {
        int teamNo;
        const char16_t *division;
        int divisionNo;
        int divisionDraw;
        JudgmentSet divisionJudgment;
        int leagueTeams;
        int perCard;
        int interleague;
    };
    const Expect expected[] = {
        {1, u"東", 1, 1, {0, {4, 0}, 1}, 6, 28, 15},
        {6, u"西", 2, 0, {1, {0}, 0}, 6, 28, 15},
        {7, u"", 0, 1, {0, {0}, 0}, 5, 25, 18},
        {11, u"", 0, 1, {0, {0}, 0}, 5, 25, 18},
    };
    for (const Expect &e : expected) {
        const TeamRecord &t = season.team(e.teamNo);
        SCOPED_TRACE(e.teamNo);
        EXPECT_EQ(t.DivisionName, e.division);
        EXPECT_EQ(t.Division, e.divisionNo);
        EXPECT_EQ(t.DivisionCount, e.divisionNo == 0 ? 0 : 2);
        EXPECT_EQ(t.HasDivisions, e.divisionNo == 0 ? StoredFalse : StoredTrue);
        EXPECT_EQ(t.DivisionDrawReplay, e.divisionDraw);
        EXPECT_EQ(t.DivisionJudgment, e.divisionJudgment);
        EXPECT_EQ(t.LeagueTeamCount, e.leagueTeams);
        EXPECT_EQ(t.InterleagueGames, e.interleague);
        EXPECT_EQ(t.OfficialGames, t.LeagueGames + e.interleague);
        EXPECT_EQ(t.PlaysInterleague, StoredTrue);
        EXPECT_EQ(t.IntJudgment, (JudgmentSet{1, {5, 0}, 1}));
        EXPECT_EQ(t.GridRank, e.teamNo);
        EXPECT_EQ(t.UserRankC, e.teamNo);
        EXPECT_EQ(t.LineColor, 0x808080);
        EXPECT_EQ(t.LineWidth, 1);
        for (int j = 1; j <= 11; ++j) {
            const bool sameLeague = season.team(j).League == t.League;
            const int games = j == e.teamNo ? -1 : sameLeague ? e.perCard : 3;
            EXPECT_EQ(t.CardGames[j], games) << "against " << j;
            EXPECT_EQ(t.CardWins[j], 0);
        }
    }
    EXPECT_EQ(season.team(1).LeagueName, u"セントラル");
    EXPECT_EQ(season.team(1).LeagueDrawReplay, 0);
    EXPECT_EQ(season.team(1).LeagueJudgment, (JudgmentSet{1, {2, 7, 0}, 2}));
    EXPECT_EQ(season.team(6).LeagueGames, 144);
    EXPECT_EQ(season.team(7).League, 2);
    EXPECT_EQ(season.team(7).DivisionJudgment, season.team(7).LeagueJudgment);

    namespace fs = std::filesystem;
    const fs::path dir =
        fs::temp_directory_path() / ("penarin-setup-" + std::to_string(std::random_device{}()));
    fs::create_directories(dir);
    ASSERT_TRUE(SaveSeason(season, dir / "new.ptr", testNow));
    Season loaded;
    EXPECT_EQ(LoadSeason(loaded, dir / "new.ptr", testNow), LoadStatus::Loaded);
    EXPECT_EQ(loaded.Teams, season.Teams);
    EXPECT_EQ(loaded.ViewRows, season.ViewRows);
    EXPECT_EQ(loaded.Interleague, season.Interleague);
    EXPECT_EQ(loaded.Header.LeagueCount, 2);
    fs::remove_all(dir);
}

TEST(SeasonSetupBuild, OneLeagueHasNoInterleaguePlay)
{
    // Whatever the greyed page held.
    SeasonSetup one;
    addLeague(one, league(u"A", 30), names(u"a", 4));
    one.finishLeagues();
    Season season;
    one.buildSeason(season, InterleagueChoice{5, true, 0, {1, {3, 0}, 2}}, testNow());
    EXPECT_EQ(season.Interleague, (InterleagueSettings{0, 1}));
    EXPECT_EQ(season.team(1).IntJudgment, (JudgmentSet{0, {0}, 0}));
    EXPECT_EQ(season.team(1).CardGames[2], 10);
    EXPECT_EQ(season.team(1).OfficialGames, 30);
    EXPECT_EQ(season.team(1).PlaysInterleague, StoredFalse);
}
