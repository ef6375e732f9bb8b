#include "tables/resultstable.h"
#include "tables/standingstable.h"

#include "support/seasonbuilder.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

using namespace penarin;
using penarin::test::SeasonBuilder;

namespace {

struct RowPlan
{
    int team;
    int countdown;
    // Per rival row: the magic kind and number, in standings order; the
    // row's own entry is ignored.
    std::vector<std::pair<MagicKind, int>> magic;
};

void setMagic(CardFigures &card, MagicKind kind, int number)
{
    card.MagicKind = kind;
    card.MagicColor = kind == MagicKind::Deciding ? Magiclass::DecidingColor
                      : kind == MagicKind::PerCard || kind == MagicKind::ClinchedAbove
                          ? Magiclass::WindowColor
                          : Magiclass::ButtonFaceColor;
    card.MagicNumber = number;
}

// Published standings made by hand, so each grid rule is checked against
// exactly the magic state it reads.
PublishedStandings publish(const std::vector<RowPlan> &plan)
{
    const int n = static_cast<int>(plan.size());
    PublishedStandings p;
    p.Rows.resize(n);
    p.Analysis.resize(n);
    for (int i = 1; i <= n; ++i) {
        const RowPlan &rowPlan = plan[static_cast<std::size_t>(i - 1)];
        StandingsRow &row = p.Rows[i];
        row.TeamNo = rowPlan.team;
        row.Rank = i;
        row.Wins = 10 - i;
        row.Losses = i;
        row.Played = 10;
        row.Pct = row.Wins / 10.0;
        row.Surplus = row.Wins - row.Losses;
        row.Remaining = 5;
        row.BehindLeader = i == 1 ? "-" : std::to_string(i - 1) + ".0";
        row.BehindAbove = i == 1 ? "-" : "1.0";
        CardAnalysis &analysis = p.Analysis[i];
        analysis.TeamNo = rowPlan.team;
        analysis.MagicCountdown = rowPlan.countdown;
        analysis.Cards.resize(n);
        for (int k = 1; k <= n; ++k) {
            analysis.Cards[k].Opponent = plan[static_cast<std::size_t>(k - 1)].team;
            if (k != i) {
                const auto [kind, number] = rowPlan.magic[static_cast<std::size_t>(k - 1)];
                setMagic(analysis.Cards[k], kind, number);
            }
        }
    }
    return p;
}

Season threeTeams()
{
    return SeasonBuilder::oneLeague({u"港町", u"北都", u"東京"}, 10)
        .result(1, 2, 3, 2, 1)
        .result(1, 3, 4, 0)
        .build();
}

constexpr auto U = MagicKind::Undecided;
constexpr auto H = MagicKind::Hidden;
constexpr auto P = MagicKind::PerCard;
constexpr auto D = MagicKind::Deciding;
constexpr auto A = MagicKind::ClinchedAbove;
constexpr auto B = MagicKind::ClinchedBelow;

// Team 2 leads with a championship magic of 4 decided by team 3; team 1
// holds a hidden magic against team 3; team 3 is out of it.
const std::vector<RowPlan> Race = {
    {2, 4, {{U, 0}, {A, 0}, {D, 4}}},
    {1, -1, {{U, 0}, {U, 0}, {H, 6}}},
    {3, -1, {{B, 0}, {P, 2}, {U, 0}}},
};

TEST(StandingsTable, LayoutFollowsFontDigitsAndRivalWidth)
{
    const Season season = threeTeams();
    struct Case
    {
        int font, pct, width;
        std::vector<int> widths;
    };
    const Case cases[] = {
        {9, 3, 700, {280, 950, 465, 360, 360, 360, 500, 430, 430, 430, 465, 700, 700, 700}},
        {12, 1, 300, {280, 950, 620, 480, 480, 480, 427, 573, 573, 573, 620, 300, 300, 300}},
        {9, 15, 700, {280, 950, 465, 360, 360, 360, 1940, 430, 430, 430, 465, 700, 700, 700}},
    };
    for (const Case &c : cases) {
        Settings settings;
        settings.FontSizeA = static_cast<std::int16_t>(c.font);
        settings.Pct = static_cast<std::int16_t>(c.pct);
        settings.Width = static_cast<std::int16_t>(c.width);
        const StandingsTable table = BuildStandingsTable(season, publish(Race), settings);
        EXPECT_EQ(table.rowCount(), 4);
        EXPECT_EQ(table.colCount(), 14);
        EXPECT_EQ(table.ColWidths, c.widths) << "font " << c.font << " pct " << c.pct;
    }
    const StandingsTable empty = BuildStandingsTable(season, PublishedStandings{}, Settings{});
    EXPECT_EQ(empty.rowCount(), 1);
    EXPECT_EQ(empty.colCount(), 11);
}

TEST(StandingsTable, HeaderAndFigureCells)
{
    Settings settings;
    settings.Pct = 4;
    const StandingsTable table = BuildStandingsTable(threeTeams(), publish(Race), settings);
    const std::u16string headers[] = {u"",     u"チーム", u"試合", u"勝",   u"敗",  u"分",
                                      u"勝率", u"貯",     u"首差", u"上差", u"残試"};
    for (int col = 0; col < table.colCount(); ++col) {
        EXPECT_EQ(table.cell(0, col).Text, col < 11 ? headers[col] : u"") << col;
        EXPECT_EQ(table.cell(0, col).Alignment, CellAlignment::Center) << col;
    }
    const std::u16string leader[] = {u"1",     u"北都", u"10", u"9", u"1", u"0",
                                     u".9000", u"8",    u"-",  u"-", u"5"};
    const std::u16string third[] = {u"3",     u"東京", u"10",  u"7",   u"3", u"0",
                                    u".7000", u"4",    u"2.0", u"1.0", u"5"};
    for (int col = 0; col < 11; ++col) {
        EXPECT_EQ(table.cell(1, col).Text, leader[col]) << col;
        EXPECT_EQ(table.cell(3, col).Text, third[col]) << col;
        // The leader's "-" lines up with the numbers below it.
        EXPECT_EQ(table.cell(1, col).Alignment,
                  col == StandingsTable::TeamCol ? CellAlignment::Left : CellAlignment::Right)
            << col;
    }
    EXPECT_EQ(table.RowTeams, (std::vector<int>{0, 2, 1, 3}));
}

TEST(StandingsTable, RivalCellsShowMagicWithColourAndKind)
{
    struct Case
    {
        int row, rival;
        std::uint8_t magicSetting;
        std::u16string text;
        std::int32_t back;
        MagicKind kind;
    };
    const Case cases[] = {
        {1, 1, 1, u"-", StandingsTable::ButtonFace, U}, // the diagonal
        {1, 2, 1, u"\u25CB", Magiclass::WindowColor, A},
        {1, 3, 1, u"4", Magiclass::DecidingColor, D},
        {2, 3, 1, u"6", Magiclass::ButtonFaceColor, H},
        {2, 3, 0, u"", Magiclass::ButtonFaceColor, H}, // hidden magic hidden, colour kept
        {3, 1, 0, u"\u00D7", Magiclass::ButtonFaceColor, B},
        {3, 2, 0, u"2", Magiclass::WindowColor, P},
        {2, 1, 1, u"", Magiclass::ButtonFaceColor, U},
    };
    const Season season = threeTeams();
    for (const Case &c : cases) {
        Settings settings;
        settings.Magic = c.magicSetting;
        const StandingsTable table = BuildStandingsTable(season, publish(Race), settings);
        const StandingsCell &cell = table.cell(c.row, 10 + c.rival);
        EXPECT_EQ(cell.Text, c.text) << c.row << "/" << c.rival;
        EXPECT_EQ(cell.Back, c.back) << c.row << "/" << c.rival;
        EXPECT_EQ(cell.MagicKind, c.kind) << c.row << "/" << c.rival;
        EXPECT_EQ(cell.Alignment, CellAlignment::Center);
    }
}

TEST(StandingsTable, TeamAndHeaderColoursMarkClinchedAndDecidingRows)
{
    const Season season = threeTeams();
    const std::optional<std::int32_t> none;
    const std::optional<std::int32_t> face = StandingsTable::ButtonFace;
    struct Case
    {
        const char *name;
        std::vector<RowPlan> plan;
        std::vector<std::optional<std::int32_t>> teamBack; // rows 1..3
        std::vector<std::optional<std::int32_t>> rivalHeaderBack;
    };
    const Case cases[] = {
        {"deciding rival",
         Race,
         {StandingsTable::DecidingRowBack, none, none},
         {face, face, StandingsTable::DecidingRivalHeader}},
        {"clinched",
         {{2, 0, {{U, 0}, {A, 0}, {A, 0}}},
          {1, -1, {{B, 0}, {U, 0}, {U, 0}}},
          {3, -1, {{B, 0}, {U, 0}, {U, 0}}}},
         {StandingsTable::ClinchedBack, none, none},
         {face, face, face}},
        // Two rows with deciding rivals: only the last one is marked.
        {"two deciding rows",
         {{2, 3, {{U, 0}, {D, 3}, {P, 1}}},
          {1, 2, {{P, 1}, {U, 0}, {D, 2}}},
          {3, -1, {{B, 0}, {B, 0}, {U, 0}}}},
         {none, StandingsTable::DecidingRowBack, none},
         {face, face, StandingsTable::DecidingRivalHeader}},
    };
    for (const Case &c : cases) {
        const StandingsTable table = BuildStandingsTable(season, publish(c.plan), Settings{});
        for (int i = 1; i <= 3; ++i) {
            EXPECT_EQ(table.cell(i, 1).Back, c.teamBack[static_cast<std::size_t>(i - 1)])
                << c.name << " row " << i;
            EXPECT_EQ(table.cell(0, 10 + i).Back,
                      c.rivalHeaderBack[static_cast<std::size_t>(i - 1)])
                << c.name << " header " << i;
        }
        const bool clinched = c.plan.front().countdown == 0;
        EXPECT_EQ(table.cell(1, 1).Fore,
                  clinched ? std::optional<std::int32_t>(StandingsTable::ClinchedFore) : none)
            << c.name;
    }
}

TEST(ResultsTable, SectionsMarksAndRecords)
{
    const Season season = threeTeams();
    const TextTable table =
        BuildResultsTable(season, BuildStandingsTable(season, publish(Race), Settings{}));
    const int n = 3;
    ASSERT_EQ(table.lineCount(), 2 * n + 3);
    ASSERT_EQ(table.cellCount(), n + 11);

    EXPECT_EQ(table.at(0, 0), u"順位");
    EXPECT_EQ(table.at(0, 1), u"チーム");
    EXPECT_EQ(table.at(1, 1), u"北都");
    EXPECT_EQ(table.at(1, 8), u"-");
    EXPECT_EQ(table.at(1, 11), u"-");      // own column, plain
    EXPECT_EQ(table.at(1, 12), u"\u25CB"); // clinched above, plain
    EXPECT_EQ(table.at(1, 13), u"【4】");  // deciding per-card magic
    EXPECT_EQ(table.at(2, 13), u"6");      // hidden magic, plain
    EXPECT_EQ(table.at(3, 12), u"〔2〕");  // per-card magic
    for (int cell = 0; cell < table.cellCount(); ++cell) {
        EXPECT_EQ(table.at(n + 1, cell), u"") << cell;
    }

    // Section 2 in standings order: 北都 (2), 港町 (1), 東京 (3).
    const std::vector<std::vector<std::u16string>> section2 = {
        {u"", u"北都", u"港町", u"東京"},
        {u"北都", u"－", u"2勝3敗1分", u"0勝0敗0分"},
        {u"港町", u"3勝2敗1分", u"－", u"4勝0敗0分"},
        {u"東京", u"0勝0敗0分", u"0勝4敗0分", u"－"},
    };
    for (int line = 0; line < 4; ++line) {
        for (int cell = 0; cell < 4; ++cell) {
            EXPECT_EQ(table.at(n + 2 + line, cell),
                      section2[static_cast<std::size_t>(line)][static_cast<std::size_t>(cell)])
                << line << "/" << cell;
        }
    }
}

TEST(ResultsTable, PairWithoutCardAndRowListLongerThanTheGrid)
{
    // One standings row of a view whose row list holds twelve teams: the
    // table is as wide as the list, and columns past the standings rows
    // take their teams from the list.
    SeasonBuilder builder;
    for (int t = 1; t <= 12; ++t) {
        builder.addTeam(u"T" + std::u16string(1, static_cast<char16_t>(u'A' + t - 1)), 1);
    }
    builder.card(1, 2, 5).card(1, 3, 0).result(1, 2, 1, 1);
    const Season season = builder.build();
    const TextTable table = BuildResultsTable(
        season, BuildStandingsTable(season, publish({{1, -1, {{U, 0}}}}), Settings{}));
    ASSERT_EQ(table.lineCount(), 5);
    ASSERT_EQ(table.cellCount(), 13);
    EXPECT_EQ(table.at(3, 12), u"TL");
    EXPECT_EQ(table.at(4, 0), u"TA");
    EXPECT_EQ(table.at(4, 1), u"－");        // itself
    EXPECT_EQ(table.at(4, 2), u"1勝1敗0分"); // a card
    EXPECT_EQ(table.at(4, 3), u"0勝0敗0分"); // a card of no games is still a card
    EXPECT_EQ(table.at(4, 4), u"－");        // no card
}

} // namespace
