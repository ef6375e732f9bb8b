#include "season/cellsfunction.h"

#include "season/typedtext.h"

#include <algorithm>
#include <cstdint>
#include <string>

namespace penarin {

namespace {

// A cell's column within its opponent's group of three.
enum class Column
{
    Wins,
    Losses,
    Draws,
};

// The three counts of one card seen from one side, as places to read and
// write. They point into the season's arrays, which no entry resizes.
struct Slots
{
    std::int16_t *wins;
    std::int16_t *losses;
    std::int16_t *draws;
};

struct Counts
{
    int wins = 0;
    int losses = 0;
    int draws = 0;
};

Counts read(const Slots &slots)
{
    return {*slots.wins, *slots.losses, *slots.draws};
}

// A season file may carry arrays of the wrong length; such a card is treated
// as one that cannot be entered rather than read past its end.
bool realCardPresent(const Season &season, int a, int b)
{
    const TeamRecord &ta = season.team(a);
    const TeamRecord &tb = season.team(b);
    return ta.CardGames.contains(b) && ta.CardWins.contains(b) && ta.CardLosses.contains(b) &&
           ta.CardDraws.contains(b) && tb.CardGames.contains(a) && tb.CardWins.contains(a) &&
           tb.CardLosses.contains(a) && tb.CardDraws.contains(a);
}

bool simCardPresent(const Season &season, int a, int b)
{
    if (!season.SimResults.contains(a) || !season.SimResults.contains(b)) {
        return false;
    }
    const SimRecord &sa = season.SimResults[a];
    const SimRecord &sb = season.SimResults[b];
    return sa.Wins.contains(b) && sa.Losses.contains(b) && sa.Draws.contains(b) &&
           sb.Wins.contains(a) && sb.Losses.contains(a) && sb.Draws.contains(a);
}

Slots realSlots(Season &season, int a, int b)
{
    TeamRecord &ta = season.team(a);
    return {&ta.CardWins[b], &ta.CardLosses[b], &ta.CardDraws[b]};
}

Slots simSlots(Season &season, int a, int b)
{
    SimRecord &sa = season.SimResults[a];
    return {&sa.Wins[b], &sa.Losses[b], &sa.Draws[b]};
}

// 1 when a drawn game uses up one of the card's scheduled games, 0 when draws
// are replayed. The stored replay option is used as the factor itself, as the
// standings do, so the games remaining shown for a card agree with theirs.
int drawFactor(const Season &season, const TeamRecord &team, const TeamRecord &opponent)
{
    if (team.League != opponent.League) {
        return season.Interleague.IntDrawReplay;
    }
    return team.HasDivisions != StoredFalse ? team.DivisionDrawReplay : team.LeagueDrawReplay;
}

// Games of the card used up once `value` stands in the cell's slot. `mine`
// are the counts of the mode being entered, `base` what is already counted
// beneath them (the real games in simulation mode, nothing in result mode).
int gamesUsed(Column column, int value, const Counts &mine, int base, int factor)
{
    switch (column) {
    case Column::Wins:
        return mine.losses + value + factor * mine.draws + base;
    case Column::Losses:
        return mine.wins + value + factor * mine.draws + base;
    case Column::Draws:
        break;
    }
    return mine.wins + mine.losses + factor * value + base;
}

void store(Column column, std::int16_t value, const Slots &mine, const Slots &mirror)
{
    switch (column) {
    case Column::Wins:
        *mine.wins = value;
        *mirror.losses = value;
        return;
    case Column::Losses:
        *mine.losses = value;
        *mirror.wins = value;
        return;
    case Column::Draws:
        *mine.draws = value;
        *mirror.draws = value;
        return;
    }
}

void clear(const Slots &slots)
{
    *slots.wins = 0;
    *slots.losses = 0;
    *slots.draws = 0;
}

} // namespace

CardEntry EnterCardValue(Season &season, int row, int col, int value)
{
    CardEntry entry;
    int &team = entry.team;
    int &opponent = entry.opponent;
    int &count = entry.count;
    auto answer = [&entry](CardEntryResult code) {
        entry.code = code;
        return entry;
    };

    // Checked before any arithmetic on row and col, so that no cell position,
    // however wild, overflows or indexes past the view lists.
    if (col <= 0 || row < 2 || row - 1 > season.RowTeamCount()) {
        return answer(CardEntryResult::NotSet);
    }
    const int i = row - 1;
    const int j = (col - 1) / 3 + 1;
    if (j > season.ColTeamCount()) {
        return answer(CardEntryResult::NotSet);
    }
    const Column column = col % 3 == 1   ? Column::Wins
                          : col % 3 == 2 ? Column::Losses
                                         : Column::Draws;
    if (j == i) {
        return answer(CardEntryResult::OwnCard);
    }

    // The same card seen from the opponent's row: its losses where the team
    // has its wins, and the other way round.
    const int mirrorRow = j + 1;
    const int mirrorCol = column == Column::Wins     ? 3 * i - 1
                          : column == Column::Losses ? 3 * i - 2
                                                     : 3 * i;
    if (value == LocateCell) {
        entry.mirrorRow = mirrorRow;
        entry.mirrorCol = mirrorCol;
        return answer(CardEntryResult::Accepted);
    }

    const int t = season.ViewRows[i];
    const int o = season.ViewCols[j];
    if (!season.Teams.contains(t) || !season.Teams.contains(o)) {
        return answer(CardEntryResult::NotSet);
    }
    if (t == o) {
        // Two view entries naming one team: still the team's own card.
        return answer(CardEntryResult::OwnCard);
    }
    team = t;
    opponent = o;

    if (!realCardPresent(season, t, o)) {
        return answer(CardEntryResult::NotSet);
    }
    const TeamRecord &me = season.team(t);
    const TeamRecord &them = season.team(o);
    const int games = me.CardGames[o];
    if (games < 0) {
        return answer(CardEntryResult::NotSet);
    }
    // Interleague results cannot be entered while they are not counted.
    if (me.League != them.League && season.Interleague.IntCounts == 0) {
        return answer(CardEntryResult::NotSet);
    }

    const bool simulation = season.SimMode != 0;
    const bool hasSim = simCardPresent(season, t, o);
    if (simulation && !hasSim) {
        return answer(CardEntryResult::NotSet);
    }

    const int f = drawFactor(season, me, them);
    const Counts real = read(realSlots(season, t, o));
    const Counts sim = hasSim ? read(simSlots(season, t, o)) : Counts{};
    const int realUsed = real.wins + real.losses + f * real.draws;

    if (value == QueryCard) {
        count = games - realUsed;
        if (simulation) {
            count -= sim.wins + sim.losses + f * sim.draws;
        }
        return answer(CardEntryResult::Accepted);
    }
    if (value < 0 || value > MaxCardValue) {
        return answer(CardEntryResult::Finished);
    }

    // Simulated games come on top of the real ones; real results are checked
    // on their own, since the simulation is only a guess about them.
    const int used = simulation ? gamesUsed(column, value, sim, realUsed, f)
                                : gamesUsed(column, value, real, 0, f);
    if (used > games) {
        return answer(CardEntryResult::Finished);
    }
    if (!simulation && used == games && hasSim) {
        clear(simSlots(season, t, o));
        clear(simSlots(season, o, t));
    }

    const auto stored = static_cast<std::int16_t>(value);
    if (simulation) {
        store(column, stored, simSlots(season, t, o), simSlots(season, o, t));
    } else {
        store(column, stored, realSlots(season, t, o), realSlots(season, o, t));
    }

    entry.mirrorRow = mirrorRow;
    entry.mirrorCol = mirrorCol;
    return answer(CardEntryResult::Accepted);
}

int CardDrawFactor(const Season &season, int team, int opponent)
{
    return drawFactor(season, season.team(team), season.team(opponent));
}

int CardGamesUsed(const Season &season, int team, int opponent)
{
    if (!season.Teams.contains(team) || !season.Teams.contains(opponent)) {
        return 0;
    }
    const int f = drawFactor(season, season.team(team), season.team(opponent));
    const CardState state = ReadCardState(season, team, opponent);
    return state.wins + state.losses + f * state.draws + state.simWins + state.simLosses +
           f * state.simDraws;
}

bool HasSimulatedResults(const Season &season)
{
    for (int team = 1; team <= season.SimResults.size(); ++team) {
        const SimRecord &sim = season.SimResults[team];
        for (const OneBased<std::int16_t> *counts : {&sim.Wins, &sim.Losses, &sim.Draws}) {
            for (int opponent = 1; opponent <= counts->size(); ++opponent) {
                if ((*counts)[opponent] != 0) {
                    return true;
                }
            }
        }
    }
    return false;
}

void ClearSimulation(Season &season)
{
    // Sizing afresh also mends arrays of the wrong length, so every pair of
    // the season ends with zeros.
    season.resetSimResults();
}

CardState ReadCardState(const Season &season, int team, int opponent)
{
    CardState state;
    if (!season.Teams.contains(team) || !season.Teams.contains(opponent)) {
        return state;
    }
    if (realCardPresent(season, team, opponent)) {
        const TeamRecord &me = season.team(team);
        state.wins = me.CardWins[opponent];
        state.losses = me.CardLosses[opponent];
        state.draws = me.CardDraws[opponent];
    }
    if (simCardPresent(season, team, opponent)) {
        const SimRecord &sim = season.SimResults[team];
        state.simWins = sim.Wins[opponent];
        state.simLosses = sim.Losses[opponent];
        state.simDraws = sim.Draws[opponent];
    }
    return state;
}

void WriteCardState(Season &season, int team, int opponent, const CardState &state)
{
    if (!season.Teams.contains(team) || !season.Teams.contains(opponent) || team == opponent) {
        return;
    }
    auto write = [](const Slots &mine, const Slots &mirror, std::int16_t wins, std::int16_t losses,
                    std::int16_t draws) {
        store(Column::Wins, wins, mine, mirror);
        store(Column::Losses, losses, mine, mirror);
        store(Column::Draws, draws, mine, mirror);
    };
    if (realCardPresent(season, team, opponent)) {
        write(realSlots(season, team, opponent), realSlots(season, opponent, team), state.wins,
              state.losses, state.draws);
    }
    if (simCardPresent(season, team, opponent)) {
        write(simSlots(season, team, opponent), simSlots(season, opponent, team), state.simWins,
              state.simLosses, state.simDraws);
    }
}

int ReadCardText(std::u16string_view text)
{
    int value = 0;
    for (const char16_t c : trimTyped(text)) {
        int digit = -1;
        if (c >= u'0' && c <= u'9') {
            digit = c - u'0';
        } else if (c >= u'\uFF10' && c <= u'\uFF19') {
            digit = c - u'\uFF10';
        }
        if (digit < 0) {
            return 0;
        }
        value = std::min(value * 10 + digit, MaxCardValue + 1);
    }
    return value;
}

Text CardCellText(int value, bool zero)
{
    if (value <= 0) {
        return zero ? Text(u"0") : Text();
    }
    const std::string digits = std::to_string(value);
    return Text(digits.begin(), digits.end());
}

int nextClickValue(int current, bool leftButton)
{
    if (leftButton) {
        // One beyond the largest count is enough to be refused; never overflow.
        return current > MaxCardValue ? MaxCardValue + 1 : current + 1;
    }
    return current <= 1 ? 0 : current - 1;
}

} // namespace penarin
