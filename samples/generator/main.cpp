// Writes the bundled sample seasons. The output is deterministic: the same
// program always writes the same bytes, so the files in samples/ can be
// checked against a fresh run.
//
//   penarin-samplegen OUTPUT_FOLDER

#include "season/filemodule.h"
#include "season/season.h"
#include "standings/viewlists.h"

#include <cmath>
#include <cstdint>
#include <filesystem>
#include <iostream>
#include <string>
#include <vector>

namespace {

using namespace penarin;

// A small fixed generator, so the samples do not depend on the standard
// library's distributions.
class Random
{
public:
    explicit Random(std::uint64_t seed) : m_state(seed) {}
    // Uniform in [0, 1).
    double next()
    {
        m_state ^= m_state << 13;
        m_state ^= m_state >> 7;
        m_state ^= m_state << 17;
        return static_cast<double>(m_state >> 11) / 9007199254740992.0;
    }

private:
    std::uint64_t m_state;
};

struct TeamPlan
{
    const char16_t *name;
    int league;
    int division;
    double strength;
};

struct LeaguePlan
{
    const char16_t *name;
    std::vector<const char16_t *> divisions;
};

struct SeasonPlan
{
    std::vector<LeaguePlan> leagues;
    std::vector<TeamPlan> teams;
    // Games of a card between teams a and b (0-based positions in `teams`).
    int (*cardGames)(const std::vector<TeamPlan> &, int, int);
    int intCounts;
    int leagueDrawReplay;
    int divisionDrawReplay;
    int intDrawReplay;
    double drawChance;
    std::vector<JudgmentSet> leagueJudgments;
    JudgmentSet divisionJudgment;
    JudgmentSet intJudgment;
};

Season buildSchedule(const SeasonPlan &plan, double updatedAt)
{
    Season season;
    const int n = static_cast<int>(plan.teams.size());
    season.Header.Signature = SeasonSignature;
    season.Header.SavedMajor = ProgramMajor;
    season.Header.SavedMinor = ProgramMinor;
    season.Header.SavedRevision = ProgramRevision;
    season.Header.LeagueCount = static_cast<std::int16_t>(plan.leagues.size());
    season.Header.UpdatedAt = updatedAt;
    season.Interleague.IntCounts = static_cast<std::int16_t>(plan.intCounts);
    season.Interleague.IntDrawReplay = static_cast<std::int16_t>(plan.intDrawReplay);
    season.Teams.resize(n);
    for (int i = 1; i <= n; ++i) {
        const TeamPlan &t = plan.teams[static_cast<std::size_t>(i - 1)];
        const LeaguePlan &league = plan.leagues[static_cast<std::size_t>(t.league - 1)];
        TeamRecord &r = season.Teams[i];
        r.LeagueName = league.name;
        r.DivisionName =
            t.division > 0 ? league.divisions[static_cast<std::size_t>(t.division - 1)] : u"";
        r.TeamName = t.name;
        r.League = static_cast<std::int16_t>(t.league);
        r.Division = static_cast<std::int16_t>(t.division);
        r.GridRank = static_cast<std::int16_t>(i);
        r.DivisionCount = static_cast<std::int16_t>(league.divisions.size());
        r.HasDivisions = league.divisions.empty() ? StoredFalse : StoredTrue;
        int leagueTeams = 0;
        for (const TeamPlan &o : plan.teams) {
            leagueTeams += o.league == t.league ? 1 : 0;
        }
        r.LeagueTeamCount = static_cast<std::int16_t>(leagueTeams);
        r.LeagueDrawReplay = static_cast<std::int16_t>(plan.leagueDrawReplay);
        r.DivisionDrawReplay = static_cast<std::int16_t>(
            league.divisions.empty() ? plan.leagueDrawReplay : plan.divisionDrawReplay);
        r.LeagueJudgment = plan.leagueJudgments[static_cast<std::size_t>(t.league - 1)];
        r.DivisionJudgment = league.divisions.empty() ? r.LeagueJudgment : plan.divisionJudgment;
        r.IntJudgment = plan.intJudgment;
        r.CardGames.assign(n, -1);
        r.CardWins.assign(n, 0);
        r.CardLosses.assign(n, 0);
        r.CardDraws.assign(n, 0);
        int leagueGames = 0;
        int interGames = 0;
        for (int j = 1; j <= n; ++j) {
            if (j == i) {
                continue;
            }
            const int games = plan.cardGames(plan.teams, i - 1, j - 1);
            r.CardGames[j] = static_cast<std::int16_t>(games);
            if (games > 0) {
                (plan.teams[static_cast<std::size_t>(j - 1)].league == t.league ? leagueGames
                                                                                : interGames) +=
                    games;
            }
        }
        r.LeagueGames = static_cast<std::int16_t>(leagueGames);
        r.InterleagueGames = static_cast<std::int16_t>(interGames);
        r.OfficialGames = static_cast<std::int16_t>(leagueGames + interGames);
        r.PlaysInterleague = interGames > 0 ? StoredTrue : StoredFalse;
        // A pleasant spread of chart colours.
        static const std::int32_t colours[] = {0x0000C0, 0xC00000, 0x008000, 0x0080FF, 0x800080,
                                               0x808000, 0x404040, 0xFF8080, 0x00C0C0, 0x8080FF};
        r.LineColor = colours[(i - 1) % 10];
        r.LineStyle = static_cast<std::int16_t>((i - 1) / 10 % 5);
        r.LineWidth = static_cast<std::int16_t>(i % 3 == 0 ? 2 : 1);
        r.ShowLabels = 0;
        r.UserRankA = r.UserRankB = r.UserRankC = static_cast<std::int16_t>(i);
    }
    // Saved while the first league (and its first division, where it has
    // divisions) was on show.
    BuildViewLists(season, 1, plan.leagues.front().divisions.empty() ? -1 : 1);
    season.TeamShown.assign(n, StoredTrue);
    season.TeamSnapshots.resize(n);
    season.resetSimResults();
    return season;
}

// Plays every card up to `fraction` of its games (give or take a game), in
// an order fixed by the generator's seed.
void playUntil(Season &season, const SeasonPlan &plan, double fraction, Random &random)
{
    const int n = season.TeamCount();
    for (int a = 1; a <= n; ++a) {
        for (int b = a + 1; b <= n; ++b) {
            TeamRecord &ta = season.Teams[a];
            TeamRecord &tb = season.Teams[b];
            const int games = ta.CardGames[b];
            if (games <= 0) {
                continue;
            }
            const double jitter = random.next() * 2.0 - 1.0;
            int target = static_cast<int>(std::lround(games * fraction + jitter));
            target = std::max(0, std::min(games, target));
            const double strengthA = plan.teams[static_cast<std::size_t>(a - 1)].strength;
            const double strengthB = plan.teams[static_cast<std::size_t>(b - 1)].strength;
            const double chanceA = strengthA / (strengthA + strengthB);
            // Drawn games use up a scheduled game only where they are not replayed.
            const bool sameLeague = ta.League == tb.League;
            const bool sameDivision = sameLeague && ta.Division != 0 && ta.Division == tb.Division;
            const int drawFactor = !sameLeague    ? season.Interleague.IntDrawReplay
                                   : sameDivision ? ta.DivisionDrawReplay
                                                  : ta.LeagueDrawReplay;
            auto used = [&]() {
                return ta.CardWins[b] + ta.CardLosses[b] + ta.CardDraws[b] * drawFactor;
            };
            while (used() < target) {
                const double roll = random.next();
                if (roll < plan.drawChance) {
                    ++ta.CardDraws[b];
                    ++tb.CardDraws[a];
                } else if (random.next() < chanceA) {
                    ++ta.CardWins[b];
                    ++tb.CardLosses[a];
                } else {
                    ++ta.CardLosses[b];
                    ++tb.CardWins[a];
                }
            }
        }
    }
}

void takeSnapshot(Season &season, double date, const Text &memo)
{
    season.Snapshots.push_back(Snapshot{date, memo, StoredTrue});
    for (int t = 1; t <= season.TeamCount(); ++t) {
        season.TeamSnapshots[t].Pcts.push_back(SnapshotPct(season, t));
        season.TeamSnapshots[t].Surpluses.push_back(SnapshotSurplus(season, t));
    }
}

double at(int year, int month, int day, int hour = 0, int minute = 0)
{
    return toOleDate({year, month, day, hour, minute, 0});
}

// (a) Two leagues of six, no divisions: 25 games per league card, 3 per
// interleague card, 143 in all; interleague counts; draws are not replayed.
SeasonPlan sampleA()
{
    SeasonPlan plan;
    plan.leagues = {{u"東都リーグ", {}}, {u"西海リーグ", {}}};
    plan.teams = {
        {u"港町ドルフィンズ", 1, 0, 1.25},   {u"北都ベアーズ", 1, 0, 1.10},
        {u"青葉フェニックス", 1, 0, 1.00},   {u"川崎ランナーズ", 1, 0, 0.95},
        {u"東京スパローズ", 1, 0, 0.90},     {u"湘南サーフライダーズ", 1, 0, 0.85},
        {u"博多ファルコンズ", 2, 0, 1.20},   {u"浪速ウルフズ", 2, 0, 1.05},
        {u"神戸ポートスターズ", 2, 0, 1.05}, {u"札幌スノーズ", 2, 0, 0.98},
        {u"千葉シーガルズ", 2, 0, 0.92},     {u"仙台イーグレッツ", 2, 0, 0.80},
    };
    plan.cardGames = [](const std::vector<TeamPlan> &teams, int a, int b) {
        return teams[static_cast<std::size_t>(a)].league ==
                       teams[static_cast<std::size_t>(b)].league
                   ? 25
                   : 3;
    };
    plan.intCounts = 1;
    plan.leagueDrawReplay = 1;
    plan.divisionDrawReplay = 1;
    plan.intDrawReplay = 1;
    plan.drawChance = 0.03;
    // Percentage first, then wins, the season series, last year's order.
    plan.leagueJudgments = {JudgmentSet{0, {1, 2, 7, 0}, 0}, JudgmentSet{0, {1, 2, 3, 7, 0}, 1}};
    plan.divisionJudgment = plan.leagueJudgments[0];
    plan.intJudgment = JudgmentSet{0, {1, 2, 8, 0}, 0};
    return plan;
}

// (b) Two leagues of three divisions of five: 13 games against each division
// rival, 7 against the rest of the league and 2 or 3 against each team of the
// other league, 162 in all; drawn games are replayed.
SeasonPlan sampleB()
{
    SeasonPlan plan;
    const std::vector<const char16_t *> divisions = {u"東地区", u"中地区", u"西地区"};
    plan.leagues = {{u"大陸リーグ", divisions}, {u"連合リーグ", divisions}};
    const char16_t *names[2][15] = {
        {u"ボストン・ハーバーズ", u"ニューアーク・ブリッジス", u"ボルチモア・クラブス",
         u"モントリオール・ヴォヤージャーズ", u"オタワ・メイプルズ", u"シカゴ・ウィンズ",
         u"デトロイト・モーターズ", u"クリーブランド・ロックス", u"ミルウォーキー・ヘラルズ",
         u"ミネアポリス・ツインスターズ", u"シアトル・ハーバーライツ",
         u"ポートランド・パイオニアーズ", u"オークランド・ベイカーズ", u"サンディエゴ・セイラーズ",
         u"ソルトレイク・ビーハイブス"},
        {u"アトランタ・ピーチズ", u"マイアミ・フラミンゴス", u"シャーロット・クイーンズ",
         u"ナッシュビル・ギターズ", u"タンパ・マナティーズ", u"ダラス・ランチャーズ",
         u"ヒューストン・オービッツ", u"カンザスシティ・プレーリーズ", u"セントルイス・アーチズ",
         u"デンバー・サミッツ", u"フェニックス・サンダーバーズ", u"ラスベガス・ジャックポッツ",
         u"サクラメント・ゴールド", u"ホノルル・サーファーズ", u"アンカレッジ・オーロラズ"}};
    for (int league = 1; league <= 2; ++league) {
        for (int k = 0; k < 15; ++k) {
            const double strength = 0.80 + 0.03 * ((k * 7 + league * 5) % 15);
            plan.teams.push_back({names[league - 1][k], league, k / 5 + 1, strength});
        }
    }
    plan.cardGames = [](const std::vector<TeamPlan> &teams, int a, int b) {
        const TeamPlan &ta = teams[static_cast<std::size_t>(a)];
        const TeamPlan &tb = teams[static_cast<std::size_t>(b)];
        if (ta.league == tb.league) {
            return ta.division == tb.division ? 13 : 7;
        }
        const int i = a % 15;
        const int j = b % 15;
        return (i - j + 15) % 3 == 0 ? 2 : 3;
    };
    plan.intCounts = 1;
    plan.leagueDrawReplay = 0;
    plan.divisionDrawReplay = 0;
    plan.intDrawReplay = 0;
    plan.drawChance = 0.0;
    plan.leagueJudgments = {JudgmentSet{0, {2, 1, 0}, 0}, JudgmentSet{0, {2, 1, 0}, 0}};
    plan.divisionJudgment = JudgmentSet{0, {2, 4, 7, 0}, 0};
    plan.intJudgment = JudgmentSet{1, {1, 0}, 0};
    return plan;
}

bool write(Season &season, const std::filesystem::path &path, double savedAt)
{
    season.AddSnapshot = false;
    if (!SaveSeason(season, path, [savedAt] { return savedAt; })) {
        std::cerr << "cannot write " << path << '\n';
        return false;
    }
    return true;
}

} // namespace

int main(int argc, char **argv)
{
    if (argc != 2) {
        std::cerr << "usage: penarin-samplegen OUTPUT_FOLDER\n";
        return 2;
    }
    const std::filesystem::path folder = argv[1];

    const SeasonPlan a = sampleA();
    Season seasonA = buildSchedule(a, at(2026, 3, 1));
    Random randomA(20260327);
    playUntil(seasonA, a, 0.25, randomA);
    takeSnapshot(seasonA, at(2026, 5, 10), u"開幕1か月");
    playUntil(seasonA, a, 0.48, randomA);
    takeSnapshot(seasonA, at(2026, 6, 21), u"交流戦明け");
    playUntil(seasonA, a, 2.0 / 3.0, randomA);
    takeSnapshot(seasonA, at(2026, 8, 2), u"(メモ)");

    const SeasonPlan b = sampleB();
    Season seasonB = buildSchedule(b, at(2026, 3, 20));
    Random randomB(20260401);
    playUntil(seasonB, b, 0.5, randomB);

    const bool ok = write(seasonA, folder / "sample-a.ptr", at(2026, 8, 2, 22, 15)) &&
                    write(seasonB, folder / "sample-b.ptr", at(2026, 7, 4, 23, 40));
    return ok ? 0 : 1;
}
