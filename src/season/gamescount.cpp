#include "season/gamescount.h"

#include "season/cellsfunction.h"

#include <charconv>
#include <limits>
#include <string>

namespace penarin {

namespace {

constexpr int MaxGames = std::numeric_limits<std::int16_t>::max();

// The number of a cell's text: empty or unreadable is 0 games, and so is a
// number beyond 16 bits, which the entry check keeps out of the matrix.
int cellGames(const Text &text)
{
    if (text.empty() || text.size() > 10) {
        return 0;
    }
    std::string ascii;
    for (const char16_t c : text) {
        if (c < u'0' || c > u'9') {
            return 0;
        }
        ascii.push_back(static_cast<char>(c));
    }
    long value = 0;
    std::from_chars(ascii.data(), ascii.data() + ascii.size(), value);
    return value > MaxGames ? 0 : static_cast<int>(value);
}

// The games team `row` plays in total when its card against `col` reads
// `games` and every other card as the matrix has it.
long rowTotal(const TextTable &matrix, int row, int col, long games)
{
    long total = games;
    for (int c = 1; c < matrix.cellCount(); ++c) {
        if (c != col && c != row) {
            total += cellGames(matrix.at(row, c));
        }
    }
    return total;
}

Text decimalText(int value)
{
    const std::string ascii = std::to_string(value);
    return Text(ascii.begin(), ascii.end());
}

// Empty, "0" or "00": the card is cleared.
bool meansNoCard(const Text &text)
{
    return text.find_first_not_of(u'0') == Text::npos;
}

} // namespace

TextTable BuildGamesTable(const Season &season)
{
    const int n = season.TeamCount();
    TextTable table(n + 1, n + 1);
    for (int k = 1; k <= n; ++k) {
        table.set(k, 0, season.team(k).TeamName);
        table.set(0, k, season.team(k).TeamName);
    }
    for (int r = 1; r <= n; ++r) {
        const TeamRecord &team = season.team(r);
        for (int c = 1; c <= n; ++c) {
            if (r != c && team.CardGames.contains(c) && team.CardGames[c] >= 0) {
                table.set(r, c, decimalText(team.CardGames[c]));
            }
        }
    }
    return table;
}

std::vector<Text> GamesDivisionEntries(const Season &season, int leagueEntry)
{
    if (leagueEntry < 1) {
        return {};
    }
    std::vector<Text> entries{u"すべて表示"};
    const Text *previous = nullptr;
    for (const TeamRecord &team : season.Teams) {
        if (team.League != leagueEntry || team.DivisionName.empty()) {
            continue;
        }
        if (previous == nullptr || *previous != team.DivisionName) {
            entries.push_back(team.DivisionName);
        }
        previous = &team.DivisionName;
    }
    return entries;
}

bool GamesFilterShows(const Season &season, int team, int leagueEntry, int divisionEntry,
                      const Text &divisionName)
{
    if (leagueEntry == 0) {
        return true;
    }
    if (!season.Teams.contains(team)) {
        return false;
    }
    const TeamRecord &record = season.team(team);
    return record.League == leagueEntry &&
           (divisionEntry < 1 || record.DivisionName == divisionName);
}

GamesEntry CheckGamesEntry(const Season &season, const TextTable &matrix, int row, int col,
                           const Text &typed)
{
    GamesEntry entry;
    if (row == col || !season.Teams.contains(row) || !season.Teams.contains(col)) {
        return entry;
    }
    // Leading zeros carry nothing; "00" is the 0 that clears a card.
    const std::size_t first = typed.find_first_not_of(u'0');
    const Text digits =
        first == Text::npos ? (typed.empty() ? Text{} : Text(u"0")) : typed.substr(first);
    // Results already entered stay counted whatever the schedule says, so a
    // schedule below them would show negative games remaining.
    const int played = CardGamesUsed(season, row, col);
    if (played > 0 && (digits.size() <= 5 ? cellGames(digits) : MaxGames + 1L) < played) {
        entry.Result = GamesEntryResult::BelowPlayed;
        entry.Played = played;
        return entry;
    }
    if (digits.empty() || digits == u"0") {
        entry.Value = digits;
        return entry;
    }
    const bool acrossLeagues = season.team(row).League != season.team(col).League;
    if (acrossLeagues && season.Interleague.IntCounts == 0) {
        entry.Result = GamesEntryResult::NotInterleague;
        return entry;
    }
    if (digits.size() > 5) {
        entry.Result = GamesEntryResult::TooLarge;
        return entry;
    }
    const long games = cellGames(digits);
    if (games == 0 || rowTotal(matrix, row, col, games) > MaxGames ||
        rowTotal(matrix, col, row, games) > MaxGames) {
        entry.Result = GamesEntryResult::TooLarge;
        return entry;
    }
    entry.Value = digits;
    return entry;
}

Text GamesBelowPlayedMessage(const Season &season, int row, int col, int played)
{
    const auto number = std::to_string(played);
    return season.team(row).TeamName + u"－" + season.team(col).TeamName + u" は既に" +
           Text(number.begin(), number.end()) + u"試合消化しています";
}

bool WriteGamesBack(Season &season, const TextTable &matrix)
{
    const int n = season.TeamCount();
    bool changed = false;
    auto store = [&changed](std::int16_t &field, int value) {
        const auto narrowed = static_cast<std::int16_t>(value);
        changed = changed || field != narrowed;
        field = narrowed;
    };
    for (int i = 1; i <= n; ++i) {
        TeamRecord &team = season.team(i);
        if (team.CardGames.size() < n) {
            team.CardGames.resize(n, -1);
        }
        int league = 0;
        int interleague = 0;
        for (int j = 1; j <= n; ++j) {
            const Text text = i == j || i >= matrix.lineCount() || j >= matrix.cellCount()
                                  ? Text(u"0")
                                  : matrix.at(i, j);
            if (meansNoCard(text)) {
                store(team.CardGames[j], -1);
                continue;
            }
            const int games = cellGames(text);
            store(team.CardGames[j], games);
            (season.team(j).League == team.League ? league : interleague) += games;
        }
        store(team.LeagueGames, league);
        store(team.InterleagueGames, interleague);
        store(team.OfficialGames, league + interleague);
        if (interleague >= 1) {
            store(team.PlaysInterleague, StoredTrue);
        }
    }
    return changed;
}

} // namespace penarin
