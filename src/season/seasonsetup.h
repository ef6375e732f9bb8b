#pragma once

#include "season/oledate.h"
#include "season/season.h"

#include <cstdint>
#include <string_view>
#include <utility>
#include <vector>

namespace penarin {

// The rules of the new season wizard: the leagues, divisions and teams the
// user registers one after the other, and the season they become. The
// wizard's window only shows this state and asks the questions; every
// decision is taken here so it can be checked without a window.

// Why the wizard refuses a step. Each has its own message in the window.
enum class SetupRefusal
{
    None,
    Ignored,            // an empty name or an empty team list: nothing happens, no message
    LeagueNameMissing,  // "リーグ名を入力してください"
    LeagueNameTaken,    // "リーグ名が重複しています"
    LeagueGamesMissing, // "試合数を入力してください"
    DivisionNameTaken,  // "同一リーグで地区名が重複しています"
    TooFewDivisions,    // "2つ以上の地区を設定してください"
    TeamNameTaken,      // "チーム名が重複しています"
    LeagueOfOneTeam,    // a league needs a rival for every team to play
    TooManyTeams,       // "チーム数が多すぎます"
    TooManyGames,       // a team's scheduled total would not fit the season's counts
};

// The text without leading and trailing blanks (the full-width space too).
[[nodiscard]] Text TrimBlanks(std::u16string_view text);

// The number in a games box. The boxes take digits only; an empty box, or
// anything else, reads as 0. Values beyond the season's 16-bit counts read as
// GamesLimit + 1 so that the checks can refuse them.
inline constexpr int GamesLimit = 32767;
[[nodiscard]] int GamesValue(std::u16string_view text);

// What page 0 holds when "次へ" is pressed.
struct LeagueChoice
{
    Text Name; // as typed; trimmed here
    int Games = 0;
    bool HasDivisions = false;
    int DrawReplay = 1;
    JudgmentSet Judgment{0, {0}, 0};
};

// A registered division.
struct DivisionEntry
{
    int League = 0;
    Text Name;
    int DrawReplay = 1;
    JudgmentSet Judgment{0, {0}, 0};
};

// The interleague page at OK.
struct InterleagueChoice
{
    int GamesPerCard = 0;
    bool Counts = true;
    int DrawReplay = 1;
    JudgmentSet Judgment{0, {0}, 0};
};

class SeasonSetup
{
public:
    // Page 0 "次へ": checks the league and, when it passes, makes it the
    // league being entered.
    [[nodiscard]] SetupRefusal beginLeague(const LeagueChoice &league);

    // Page 1 "登録": registers a division of the current league.
    [[nodiscard]] SetupRefusal addDivision(std::u16string_view name, int drawReplay,
                                           const JudgmentSet &judgment);
    // Page 1 "次へ": a league with divisions needs at least two; when it has
    // them, its teams are listed from the first division on.
    [[nodiscard]] SetupRefusal finishDivisions();

    // Page 2 "追加": a team name, unique across the whole season.
    [[nodiscard]] SetupRefusal addTeamName(std::u16string_view name);
    // A name taken off the team list may be typed again.
    void removeTeamName(int index);

    // Page 2 "登録", before the question: whether the listed teams can be
    // registered into the current division (or the league).
    [[nodiscard]] SetupRefusal checkRegistration() const;
    // Appends a team record per listed name and empties the list. Returns
    // true when this finished the league (no divisions, or its last one).
    bool registerTeams();

    // After the last league: the card tables of every league.
    void finishLeagues();

    // "&OK": whether the registered season can be built.
    [[nodiscard]] SetupRefusal checkSeason(const InterleagueChoice &interleague) const;
    // Replaces `season` with the new season. Call after checkSeason.
    void buildSeason(Season &season, const InterleagueChoice &interleague, double now) const;

    // What the typed counts give, shown before the games matrix: the games
    // of one card of the league being entered, with the teams registered
    // and listed so far (0 while it has fewer than two); and the fewest and
    // most interleague games of a team with `perCard` games a card (both 0
    // with a single league).
    [[nodiscard]] int cardGamesPreview() const;
    [[nodiscard]] std::pair<int, int> interleagueGamesPreview(int perCard) const;

    [[nodiscard]] int leagueNo() const { return m_leagueNo; }
    [[nodiscard]] int teamTotal() const { return static_cast<int>(m_teams.size()); }
    [[nodiscard]] const std::vector<Text> &leagueNames() const { return m_leagueNames; }
    [[nodiscard]] const LeagueChoice &currentLeague() const { return m_league; }
    // The divisions of the league being entered, in registration order.
    [[nodiscard]] std::vector<Text> currentDivisions() const;
    // The division whose teams are being listed: -1 when the league has
    // none, else its index in currentDivisions().
    [[nodiscard]] int currentDivision() const { return m_division; }
    [[nodiscard]] const std::vector<Text> &pendingTeams() const { return m_pending; }
    [[nodiscard]] const std::vector<TeamRecord> &teams() const { return m_teams; }

private:
    [[nodiscard]] bool finishesLeague() const;
    [[nodiscard]] const DivisionEntry *divisionEntry(int league, const Text &name) const;
    [[nodiscard]] int gamesOf(const TeamRecord &team, int interleaguePerCard) const;

    int m_leagueNo = 0;
    std::vector<Text> m_leagueNames;
    std::vector<int> m_leagueTeamCounts; // per finished league, index league - 1
    int m_currentLeagueTeams = 0;
    LeagueChoice m_league; // the league being entered
    std::vector<DivisionEntry> m_divisions;
    int m_division = -1;
    std::vector<Text> m_enteredNames; // every name typed; a removed one is blanked
    std::vector<Text> m_pending;      // the team list of page 2
    std::vector<TeamRecord> m_teams;
};

} // namespace penarin
