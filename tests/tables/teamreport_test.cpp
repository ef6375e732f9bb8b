#include "support/seasonbuilder.h"
#include "tables/teamreport.h"

#include <gtest/gtest.h>

namespace penarin {
namespace {

using test::SeasonBuilder;

// Teams 1 東 and 2 西 share league 1's division 1, 3 南 is in its division 2,
// 4 北 plays in league 2, which has no divisions. 東 and 南 have no card;
// 西 and 北 have one of no games.
Season fourTeams()
{
    SeasonBuilder b;
    b.addTeam(u"東", 1, 1);
    b.addTeam(u"西", 1, 1);
    b.addTeam(u"南", 1, 2);
    b.addTeam(u"北", 2);
    b.card(1, 2, 25).card(1, 4, 6).card(2, 3, 25).card(2, 4, 0).card(3, 4, 6);
    return b.build();
}

// Figures as the totals derive them from wins, losses, draws and remaining games.
CardFigures figures(int w, int l, int d, int r)
{
    CardFigures f;
    f.Wins = w;
    f.Losses = l;
    f.Draws = d;
    f.Remaining = r;
    f.Played = w + l + d;
    f.Pct = w + l > 0 ? double(w) / (w + l) : 0.0;
    f.MaxWins = w + r;
    f.MaxLosses = l + r;
    f.MaxPct = w + r + l > 0 ? double(w + r) / (w + r + l) : 0.0;
    f.MinPct = w + r + l > 0 ? double(w) / (w + l + r) : 0.0;
    return f;
}

// Standings of 東 (row 1), 西 (row 2) and 南 (row 3) with hand-made
// figures: 東 70-60-5 with 13 left, 10-8-1 against 西 with 5 left.
PublishedStandings published(int countdown = -1, MagicKind kind = MagicKind::Undecided,
                             const Text &magic = u"")
{
    PublishedStandings p;
    p.GameScope = ScopeOfficial;
    const int teams[] = {1, 2, 3};
    for (int row = 1; row <= 3; ++row) {
        StandingsRow standing;
        standing.TeamNo = teams[row - 1];
        p.Rows.push_back(standing);
        CardAnalysis analysis;
        analysis.TeamNo = teams[row - 1];
        analysis.Cards.assign(3, figures(0, 0, 0, 0));
        p.Analysis.push_back(analysis);
    }
    p.Analysis[1].MagicCountdown = countdown;
    p.Analysis[1].Cards[1] = figures(70, 60, 5, 13);
    p.Analysis[1].Cards[2] = figures(10, 8, 1, 5);
    p.Analysis[1].Cards[2].MagicKind = kind;
    int number = 0;
    for (const char16_t c : magic) {
        number = c >= u'0' && c <= u'9' ? number * 10 + (c - u'0') : number;
    }
    p.Analysis[1].Cards[2].MagicNumber = number;
    p.Analysis[2].Cards[2] = figures(65, 66, 4, 13);
    return p;
}

TEST(TeamReport, ScheduledGamesReadInTheScope)
{
    TeamRecord team;
    team.OfficialGames = 143;
    team.LeagueGames = 125;
    team.InterleagueGames = 18;
    struct Case
    {
        int scope, intCounts;
        Text text;
    };
    for (const Case &c :
         {Case{ScopeLeague, 1, u"125（リーグ戦）"}, Case{ScopeOfficial, 1, u"143"},
          Case{ScopeOfficial, 0, u"125"}, Case{ScopeInterleague, 1, u"18（交流戦）"}}) {
        EXPECT_EQ(ScheduledGamesText(team, c.scope, c.intCounts), c.text) << c.scope;
    }
    EXPECT_EQ(FormatRecord(70, 60, 5), u"70勝 60敗 5分");
}

TEST(TeamReport, ChampionshipMagicAndTheRecordThatClinchesIt)
{
    const Season season = fourTeams();
    struct Case
    {
        int countdown;
        Text magic;
        bool highlighted;
        std::optional<bool> captions;
        Text record, pct;
    };
    for (const Case &c :
         {Case{-1, u"", false, false, u"", u""}, Case{0, u"優勝", true, std::nullopt, u"", u""},
          Case{12, u"12", true, true, u"82勝 61敗 5分", u".573"}}) {
        const auto s = SummarizeTeam(season, published(c.countdown), 1, 3);
        ASSERT_TRUE(s);
        EXPECT_EQ(s->Magic, c.magic) << c.countdown;
        EXPECT_EQ(s->MagicHighlighted, c.highlighted) << c.countdown;
        EXPECT_EQ(s->MagicCaptionsShown, c.captions) << c.countdown;
        EXPECT_EQ(s->ClinchRecord, c.record) << c.countdown;
        EXPECT_EQ(s->ClinchPct, c.pct) << c.countdown;
    }
}

TEST(TeamReport, SeasonRecordWithBestAndWorstCases)
{
    Season season = fourTeams();
    const auto s = SummarizeTeam(season, published(), 1, 4);
    ASSERT_TRUE(s);
    EXPECT_EQ(s->TeamName, u"東");
    EXPECT_EQ(s->League, u"リーグ1");
    EXPECT_EQ(s->Division, u"地区1");
    EXPECT_EQ(s->Played, u"135");
    EXPECT_EQ(s->Remaining, u"13");
    EXPECT_EQ(s->Record, u"70勝 60敗 5分");
    EXPECT_EQ(s->Pct, u".5385");
    EXPECT_EQ(s->BestRecord, u"83勝 60敗 5分");
    EXPECT_EQ(s->BestPct, u".5804");
    EXPECT_EQ(s->WorstRecord, u"70勝 73敗 5分");
    EXPECT_EQ(s->WorstPct, u".4895");

    PublishedStandings north = published();
    north.Analysis[1].TeamNo = 4;
    EXPECT_EQ(SummarizeTeam(season, north, 1, 3)->Division, u"（なし）");
    EXPECT_FALSE(SummarizeTeam(season, north, 4, 3));
    EXPECT_FALSE(SummarizeTeam(season, north, 0, 3));
}

TEST(TeamReport, ReportAgainstARivalLineByLine)
{
    const OpponentReport report = ReportOpponent(fourTeams(), published(), 1, 2, 3);
    const std::vector<Text> expected{u"対 西全敗(他全勝)",
                                     u"  勝敗: 78勝 65敗 5分",
                                     u"  勝率: .545",
                                     u"",
                                     u"東 - 西",
                                     u"  勝敗: 10勝 8敗 1分",
                                     u"  勝率: .556",
                                     u"  残試: 5",
                                     u"  全勝: 15勝 8敗 1分",
                                     u"  全勝勝率: .652",
                                     u"  全敗: 10勝 13敗 1分",
                                     u"  全敗勝率: .435",
                                     u"",
                                     u"西の成績",
                                     u"  勝敗: 65勝 66敗 4分",
                                     u"  勝率: .496",
                                     u"  残試: 13",
                                     u"  全勝: 78勝 66敗 4分",
                                     u"  全勝勝率: .542",
                                     u"  全敗: 65勝 79敗 4分",
                                     u"  全敗勝率: .451"};
    EXPECT_EQ(report.Lines, expected);
    EXPECT_TRUE(report.HasCard);
    EXPECT_EQ(report.Caption, u"対  西");
    EXPECT_EQ(JoinReportLines({u"a", u"", u"b"}), u"a\r\n\r\nb");
}

TEST(TeamReport, NoReportWithoutACard)
{
    Season season = fourTeams();
    PublishedStandings p = published();
    p.Analysis[3].TeamNo = 4; // 西 and 北 have a card of no games
    struct Case
    {
        int row, opponent;
        std::vector<Text> lines;
    };
    for (const Case &c : {Case{1, 1, {NoCardText}}, Case{1, 0, {}}, Case{0, 2, {NoCardText}},
                          Case{2, 3, {NoCardText}}}) {
        const OpponentReport report = ReportOpponent(season, p, c.row, c.opponent, 3);
        EXPECT_EQ(report.Lines, c.lines) << c.row << " " << c.opponent;
        EXPECT_FALSE(report.HasCard);
        EXPECT_TRUE(report.Caption.empty());
        EXPECT_TRUE(report.Magic.empty());
    }
    p.Analysis[2].TeamNo = 3; // 東 and 南: no card at all
    EXPECT_EQ(ReportOpponent(season, p, 1, 2, 3).Lines, std::vector<Text>{NoCardText});
}

TEST(TeamReport, PerCardMagicLabels)
{
    struct Case
    {
        MagicKind kind;
        Text text, caption, magic;
        bool highlighted;
        Text record, pct;
    };
    const Case cases[] = {
        {MagicKind::PerCard, u"4", u"カード別マジック:", u"4", true, u"74勝 69敗 5分", u".517"},
        {MagicKind::Deciding, u"12", u"カード別マジック:", u"12", true, u"82勝 61敗 5分", u".573"},
        {MagicKind::Hidden, u"4", u"隠れマジック:", u"4", false, u"74勝 69敗 5分", u".517"},
        {MagicKind::ClinchedAbove, u"○", u"カード別マジック:", u"上位確定", true, u"", u""},
        {MagicKind::ClinchedBelow, u"×", u"", u"下位確定", false, u"", u""},
        {MagicKind::Undecided, u"", u"", u"", false, u"", u""},
    };
    for (const Case &c : cases) {
        const OpponentReport r =
            ReportOpponent(fourTeams(), published(-1, c.kind, c.text), 1, 2, 3);
        const int kind = static_cast<int>(c.kind);
        EXPECT_EQ(r.MagicCaption, c.caption) << kind;
        EXPECT_EQ(r.Magic, c.magic) << kind;
        EXPECT_EQ(r.MagicHighlighted, c.highlighted) << kind;
        EXPECT_EQ(r.ClinchShown, !c.record.empty()) << kind;
        EXPECT_EQ(r.ClinchRecord, c.record) << kind;
        EXPECT_EQ(r.ClinchPct, c.pct) << kind;
    }
}

// In the interleague scope a rival of the team's own league still has its
// whole card ahead, but none of those games is among the scope's remaining
// ones: losing them all leaves the team winning every remaining game.
TEST(TeamReport, LosingToARivalOutsideTheScopeCostsNoWin)
{
    PublishedStandings p = published();
    p.GameScope = ScopeInterleague;
    p.Analysis[1].Cards[1] = figures(3, 1, 0, 2);
    p.Analysis[1].Cards[2] = figures(0, 0, 0, 25);
    EXPECT_EQ(ReportOpponent(fourTeams(), p, 1, 2, 3).Lines[1], u"  勝敗: 5勝 1敗 0分");

    p.Analysis[2].TeamNo = 4; // 北 of the other league: its card is in the scope
    p.Analysis[1].Cards[2] = figures(2, 1, 0, 2);
    EXPECT_EQ(ReportOpponent(fourTeams(), p, 1, 2, 3).Lines[1], u"  勝敗: 3勝 3敗 0分");
}

// Which teams an apply reaches is driven through the dialog's test; here
// only what the dialog cannot show: a league without divisions keeps its
// division settings copies of the league's, whatever the disabled division
// controls hold.
TEST(TeamReport, ApplyKeepsTheDivisionOfALeagueWithoutDivisionsACopy)
{
    const JudgmentSet league{1, {2, 7}, 1};
    const JudgmentSet division{1, {4}, 2};
    Season season = fourTeams();
    ApplyJudgmentSettings(season, 4, league, division, league);
    EXPECT_EQ(season.team(4).DivisionJudgment, league);
    EXPECT_EQ(season.team(1).DivisionJudgment, (JudgmentSet{0, {0}, 0}));

    ApplyDrawReplay(season, 4, 1, 0, 0, 0);
    EXPECT_EQ(season.team(4).LeagueDrawReplay, 1);
    EXPECT_EQ(season.team(4).DivisionDrawReplay, 1);
    EXPECT_EQ(season.team(1).LeagueDrawReplay, 0);
    EXPECT_EQ(season.Interleague, (InterleagueSettings{0, 0}));
}

} // namespace
} // namespace penarin
