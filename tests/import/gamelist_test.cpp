#include "import/gamelist.h"

#include "season/filemodule.h"
#include "season/tablewriter.h"
#include "season/textcodec.h"
#include "support/seasonbuilder.h"

#include <gtest/gtest.h>

#include <map>
#include <string>

namespace penarin {
namespace {

// Two leagues of three teams, 6 games within a league and 2 across;
// drawn games use up a game everywhere. Team names share parts on purpose:
// "ホークス" is a part of two names.
test::SeasonBuilder leagues()
{
    test::SeasonBuilder builder;
    for (const char16_t *name : {u"読売ジャイアンツ", u"阪神タイガース", u"横浜DeNAベイスターズ"}) {
        builder.addTeam(name, 1);
    }
    for (const char16_t *name :
         {u"福岡ソフトバンクホークス", u"北海道日本ハムファイターズ", u"大阪ホークス"}) {
        builder.addTeam(name, 2);
    }
    builder.roundRobin(6, 2).intCounts(1).drawReplay(1, 1, 1);
    return builder;
}

struct Game
{
    int month, day, home, away, homeScore, awayScore;
};

// Every card played out over a month, a draw now and then, several games a
// day; deterministic.
std::vector<Game> seasonGames(const Season &season)
{
    std::vector<Game> games;
    int serial = 0;
    for (int a = 1; a <= season.TeamCount(); ++a) {
        for (int b = a + 1; b <= season.TeamCount(); ++b) {
            for (int g = 0; g < season.team(a).CardGames[b]; ++g, ++serial) {
                const int day = 1 + serial % 9;
                const int home = g % 2 == 0 ? a : b;
                const int score = (serial * 7) % 5;
                const int other = serial % 6 == 0 ? score : (serial * 3) % 4;
                games.push_back({4, day, home, home == a ? b : a, score, other});
            }
        }
    }
    return games;
}

Season playedOut(test::SeasonBuilder builder, const std::vector<Game> &games)
{
    for (const Game &g : games) {
        const int diff = g.homeScore - g.awayScore;
        builder.result(g.home, g.away, diff > 0, diff < 0, diff == 0);
    }
    return builder.build();
}

enum class Form
{
    Score,
    Result,
    ResultLetters,
};

std::u16string listText(const Season &season, const std::vector<Game> &games, Form form,
                        char16_t separator, bool longDates)
{
    std::u16string text = u"# 2026年4月\r\n日付,ホーム,ビジター,得点,失点\r\n";
    if (separator == u'\t') {
        text = u"日付\tホーム\tビジター\t得点\t失点\n";
    }
    text += std::u16string(4, separator) + u"\r\n"; // an empty spreadsheet row
    for (const Game &g : games) {
        const std::string date =
            longDates ? "2026-0" + std::to_string(g.month) + "-0" + std::to_string(g.day)
                      : std::to_string(g.month) + "/" + std::to_string(g.day);
        text += fromUtf8(date) + separator + season.team(g.home).TeamName + separator +
                season.team(g.away).TeamName + separator;
        if (form == Form::Score) {
            text += fromUtf8(std::to_string(g.homeScore)) + separator +
                    fromUtf8(std::to_string(g.awayScore));
        } else {
            const int diff = g.homeScore - g.awayScore;
            const bool letters = form == Form::ResultLetters;
            text += diff > 0   ? (letters ? u"W" : u"勝")
                    : diff < 0 ? (letters ? u"L" : u"負")
                               : (letters ? u"D" : u"分");
        }
        text += u"\r\n";
        text += u"\n"; // blank lines between games are skipped
    }
    return text;
}

std::string encoded(const std::u16string &text, int encoding)
{
    switch (encoding) {
    case 0:
        return toUtf8(text);
    case 1:
        return "\xEF\xBB\xBF" + toUtf8(text);
    default:
        return toCp932(text);
    }
}

TEST(GameListImport, EveryEncodingAndFormGivesTheCardsAndOneSnapshotPerDate)
{
    Season empty = leagues().build();
    empty.Header.UpdatedAt = toOleDate({2026, 3, 1});
    const std::vector<Game> games = seasonGames(empty);
    const Season expected = playedOut(leagues(), games);

    struct Case
    {
        Form form;
        char16_t separator;
        bool longDates;
        int encoding; // 0 UTF-8, 1 UTF-8 with BOM, 2 CP932
    };
    const Case cases[] = {
        {Form::Score, u',', false, 0},         {Form::Score, u'\t', true, 2},
        {Form::Result, u',', true, 1},         {Form::Result, u'\t', false, 2},
        {Form::ResultLetters, u',', false, 2},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(static_cast<int>(c.form) * 100 + c.encoding * 10 + (c.separator == u'\t'));
        const std::string bytes =
            encoded(listText(empty, games, c.form, c.separator, c.longDates), c.encoding);
        const GameList list = ReadGameList(empty, DecodeListText(bytes));
        ASSERT_EQ(list.errorCount(), 0) << toUtf8(list.lines.front().reason);
        ASSERT_EQ(list.validCount(), static_cast<int>(games.size()));

        const std::optional<ImportOutcome> outcome = ApplyGameList(empty, list, {true, false});
        ASSERT_TRUE(outcome);
        EXPECT_EQ(outcome->season.Teams, expected.Teams);
        EXPECT_EQ(outcome->applied, static_cast<int>(games.size()));

        // One snapshot per day, in date order, holding the standings after
        // that day's games.
        ASSERT_EQ(outcome->snapshots, 9);
        ASSERT_EQ(outcome->season.SnapshotCount(), 9);
        for (int day = 1; day <= 9; ++day) {
            const Snapshot &snapshot = outcome->season.Snapshots[day];
            EXPECT_EQ(snapshot.Date, toOleDate({2026, 4, day}));
            EXPECT_EQ(snapshot.Memo, ImportSnapshotMemo);
            std::map<int, int> surplus;
            for (const Game &g : games) {
                if (g.day <= day) {
                    const int diff = g.homeScore - g.awayScore;
                    const int sign = diff > 0 ? 1 : diff < 0 ? -1 : 0;
                    surplus[g.home] += sign;
                    surplus[g.away] -= sign;
                }
            }
            for (int team = 1; team <= empty.TeamCount(); ++team) {
                EXPECT_EQ(outcome->season.TeamSnapshots[team].Surpluses[day], surplus[team])
                    << "day " << day << " team " << team;
            }
        }
        EXPECT_EQ(outcome->season.TeamSnapshots[1].Pcts[9], SnapshotPct(expected, 1));
    }
}

TEST(GameListImport, EveryRefusalNamesItsLineAndReason)
{
    test::SeasonBuilder builder = leagues();
    builder.card(1, 4, -1).card(3, 6, -1); // two pairs without a card
    Season season = builder.drawReplay(0, 0, 1).result(1, 2, 3, 2).build();
    season.Header.UpdatedAt = toOleDate({2026, 3, 1});

    const std::u16string text = u"日付,ホーム,ビジター,H,V\n"    // 1 titles
                                u"4/1,巨人,阪神,3,1\n"           // 2 alias: valid
                                u"4/1,中日,阪神,3,1\n"           // 3
                                u"4/1,ホークス,阪神,3,1\n"       // 4
                                u"4/1,阪神,阪神タイガース,3,1\n" // 5
                                u"4/1,読売,福岡,3,1\n"           // 6
                                u"4/31,読売,阪神,3,1\n"          // 7
                                u"4/2,読売,阪神,3,x\n"           // 8
                                u"4/2,読売,阪神,2,2\n"           // 9 league draws replayed
                                u"4/2,読売,阪神,×\n"             // 10
                                u"4/2,読売,阪神\n"               // 11
                                u"読売,北海道,1,1\n"             // 12
                                u"4/3,北海道,阪神,1,0\n"         // 13 interleague: 2 games
                                u"4/3,北海道,阪神,1,0\n"         // 14
                                u"4/4,北海道,阪神,1,0\n"         // 15 one too many
                                u"巨人=読売ジャイアンツ\n"       // 16
                                u"G=ジャイアンツ\n";             // 17 alias of no team
    const GameList list = ReadGameList(season, text);

    const std::map<int, std::u16string> expected = {
        {3, u"チーム名が見つかりません: 中日"},
        {4, u"チーム名があいまいです: ホークス (候補: 福岡ソフトバンクホークス、大阪ホークス)"},
        {5, u"同じチーム同士の試合です"},
        {6, u"このカードは設定されていません"},
        {7, u"日付が正しくありません: 4/31"},
        {8, u"得点が正しくありません: 3-x"},
        {9, u"引き分けは再試合になるカードです"},
        {10, u"結果が正しくありません: ×"},
        {11, u"項目の数が正しくありません"},
        {12, u"項目の数が正しくありません"},
        {15, u"このカードは終了しています (残り 0 試合)"},
        {17, u"別名のチームが見つかりません: ジャイアンツ"},
    };
    std::map<int, std::u16string> refused;
    for (const ImportLine &line : list.lines) {
        if (!line.valid()) {
            refused[line.lineNo] = line.reason;
        }
    }
    EXPECT_EQ(refused, expected);
    EXPECT_EQ(list.validCount(), 3);

    // Refused as a whole unless the invalid lines are skipped; the season
    // handed in is never changed.
    const std::vector<std::uint8_t> before = EncodeSeason(season);
    EXPECT_FALSE(ApplyGameList(season, list, {false, false}));
    const std::optional<ImportOutcome> skipping = ApplyGameList(season, list, {false, true});
    ASSERT_TRUE(skipping);
    EXPECT_EQ(skipping->applied, 3);
    EXPECT_EQ(skipping->season.team(1).CardWins[2], 4);
    EXPECT_EQ(skipping->season.team(5).CardWins[2], 2);
    EXPECT_EQ(EncodeSeason(season), before);
}

TEST(GameListImport, TeamsMatchByNamePartAliasAndQuotedFields)
{
    Season season = leagues().build();
    season.Header.UpdatedAt = toOleDate({2026, 3, 1});
    const TeamAliases fileAliases = ReadAliases(u"# aliases\nハム = 北海道日本ハムファイターズ\n");
    const GameList list = ReadGameList(season,
                                       u"2026/04/01,\"阪神\",DeNA,1,0\n"
                                       u"4/2\tソフトバンク\tハム\t0\t4\n"
                                       u"\"読売ジャイアンツ\",阪神タイガース,1,2,0\n",
                                       fileAliases);
    ASSERT_EQ(list.errorCount(), 0) << toUtf8(list.lines.front().reason);
    const int matched[][2] = {{2, 3}, {4, 5}, {1, 2}};
    for (int k = 0; k < 3; ++k) {
        EXPECT_EQ(list.lines[k].team, matched[k][0]);
        EXPECT_EQ(list.lines[k].opponent, matched[k][1]);
    }
    EXPECT_EQ(list.lines[1].losses, 1);
    EXPECT_EQ(list.lines[2].resultText, u"1勝2敗0分");
    const OneBased<ImportedRecord> totals = ImportTotals(season, list);
    EXPECT_EQ(totals[2].wins + totals[2].losses, 4);
    EXPECT_EQ(totals[5].wins, 1);
}

TEST(GameListImport, GamesUpToTheNewestSnapshotAreFlaggedAndSnapshotsKeepDateOrder)
{
    Season season = leagues().build();
    for (const int day : {5, 20}) {
        season.Snapshots.push_back({toOleDate({2026, 4, day}), u"手入力", StoredTrue});
        for (int t = 1; t <= season.TeamCount(); ++t) {
            season.TeamSnapshots[t].Pcts.push_back(0.0F);
            season.TeamSnapshots[t].Surpluses.push_back(static_cast<std::int16_t>(day));
        }
    }
    const GameList list = ReadGameList(season, u"4/10,読売,阪神,2,1\n4/21,読売,阪神,2,1\n");
    ASSERT_EQ(list.lines.size(), 2U);
    EXPECT_EQ(list.lines[0].status, ImportStatus::PossibleDuplicate);
    EXPECT_EQ(list.lines[1].status, ImportStatus::Import);

    const std::optional<ImportOutcome> outcome = ApplyGameList(season, list, {true, false});
    ASSERT_TRUE(outcome);
    std::vector<double> dates;
    for (const Snapshot &s : outcome->season.Snapshots) {
        dates.push_back(s.Date);
    }
    EXPECT_EQ(dates, (std::vector<double>{toOleDate({2026, 4, 5}), toOleDate({2026, 4, 10}),
                                          toOleDate({2026, 4, 20}), toOleDate({2026, 4, 21})}));
    EXPECT_EQ(outcome->season.TeamSnapshots[1].Surpluses.items(),
              (std::vector<std::int16_t>{5, 1, 20, 2}));
}

TEST(GameListImport, SimulationModeAddsSimulatedGamesWithoutSnapshots)
{
    Season season = leagues().result(1, 2, 5, 0).build();
    season.SimMode = 1;
    const GameList list = ReadGameList(season, u"2026/4/1,読売,阪神,2,1\n2026/4/2,読売,阪神,2,1\n");
    EXPECT_EQ(list.lines[1].reason, u"このカードは終了しています (残り 0 試合)");
    const std::optional<ImportOutcome> outcome = ApplyGameList(season, list, {true, true});
    ASSERT_TRUE(outcome);
    EXPECT_EQ(outcome->season.team(1).CardWins[2], 5);
    EXPECT_EQ(outcome->season.SimResults[1].Wins[2], 1);
    EXPECT_EQ(outcome->season.SimResults[2].Losses[1], 1);
    EXPECT_EQ(outcome->snapshots, 0);
}

TEST(GameListImport, CardTotalsExportedThenImportedGiveTheSameCards)
{
    // Draws on cards that replay them included: the totals are the
    // season's own.
    test::SeasonBuilder builder = leagues();
    builder.drawReplay(0, 0, 1).result(1, 2, 3, 1, 4).result(3, 1, 0, 6).result(4, 2, 1, 0, 1);
    builder.result(5, 6, 2, 3, 1);
    const Season played = builder.build();
    const Season empty = leagues().drawReplay(0, 0, 1).build();
    for (const char *name : {"cards.csv", "cards.txt"}) {
        const std::string bytes = EncodeTextTable(name, CardTotalsTable(played));
        const GameList list = ReadGameList(empty, DecodeListText(bytes));
        ASSERT_EQ(list.errorCount(), 0) << name;
        EXPECT_EQ(list.validCount(), 4);
        const std::optional<ImportOutcome> outcome = ApplyGameList(empty, list, {true, false});
        ASSERT_TRUE(outcome);
        EXPECT_EQ(outcome->season.Teams, played.Teams) << name;
        EXPECT_EQ(outcome->snapshots, 0);

        // Into a season that has results on a card already, that card's line
        // may be a repeat.
        const GameList again = ReadGameList(
            leagues().drawReplay(0, 0, 1).result(1, 2, 1, 0).build(), DecodeListText(bytes));
        EXPECT_EQ(again.lines[0].status, ImportStatus::PossibleDuplicate);
    }
}

} // namespace
} // namespace penarin
