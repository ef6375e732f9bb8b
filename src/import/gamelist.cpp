#include "import/gamelist.h"

#include "season/cellsfunction.h"
#include "season/snapshotinput.h"
#include "season/textcodec.h"
#include "season/typedtext.h"

#include <algorithm>
#include <cstdint>
#include <limits>

namespace penarin {

namespace {

std::u16string number(int value)
{
    std::u16string text;
    const std::string digits = std::to_string(value);
    text.assign(digits.begin(), digits.end());
    return text;
}

bool validUtf8(std::string_view bytes)
{
    std::size_t i = 0;
    while (i < bytes.size()) {
        const auto lead = static_cast<unsigned char>(bytes[i]);
        std::size_t length = 0;
        if (lead < 0x80) {
            length = 1;
        } else if (lead >= 0xC2 && lead < 0xE0) {
            length = 2;
        } else if (lead >= 0xE0 && lead < 0xF0) {
            length = 3;
        } else if (lead >= 0xF0 && lead < 0xF5) {
            length = 4;
        } else {
            return false;
        }
        if (i + length > bytes.size()) {
            return false;
        }
        for (std::size_t k = 1; k < length; ++k) {
            if ((static_cast<unsigned char>(bytes[i + k]) & 0xC0) != 0x80) {
                return false;
            }
        }
        i += length;
    }
    return true;
}

std::vector<std::u16string_view> splitLines(std::u16string_view text)
{
    std::vector<std::u16string_view> lines;
    std::size_t start = 0;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == u'\r' || text[i] == u'\n') {
            lines.push_back(text.substr(start, i - start));
            if (text[i] == u'\r' && i + 1 < text.size() && text[i + 1] == u'\n') {
                ++i;
            }
            start = i + 1;
        }
    }
    if (start < text.size()) {
        lines.push_back(text.substr(start));
    }
    return lines;
}

bool skipped(std::u16string_view line)
{
    const std::u16string_view content = trimTyped(line);
    return content.empty() || content.front() == u'#';
}

// Fields of a line: tab-separated when the line holds a tab (what a
// spreadsheet copies to the clipboard), comma-separated otherwise. A field
// in double quotes may hold the separator, and "" stands for one quote, as
// the exports write them. Empty fields at the end (a spreadsheet's unused
// columns) are dropped.
std::vector<std::u16string> splitFields(std::u16string_view line)
{
    const char16_t separator = line.find(u'\t') != std::u16string_view::npos ? u'\t' : u',';
    std::vector<std::u16string> fields;
    std::u16string field;
    bool quoted = false;
    for (std::size_t i = 0; i < line.size(); ++i) {
        const char16_t c = line[i];
        if (quoted) {
            if (c == u'"' && i + 1 < line.size() && line[i + 1] == u'"') {
                field.push_back(u'"');
                ++i;
            } else if (c == u'"') {
                quoted = false;
            } else {
                field.push_back(c);
            }
        } else if (c == u'"' && trimTyped(field).empty()) {
            field.clear();
            quoted = true;
        } else if (c == separator) {
            fields.emplace_back(trimTyped(field));
            field.clear();
        } else {
            field.push_back(c);
        }
    }
    fields.emplace_back(trimTyped(field));
    while (!fields.empty() && fields.back().empty()) {
        fields.pop_back();
    }
    return fields;
}

// A count as a list writes it: half-width digits only.
std::optional<int> readCount(std::u16string_view text)
{
    if (text.empty() || text.size() > 5) {
        return std::nullopt;
    }
    int value = 0;
    for (const char16_t c : text) {
        if (c < u'0' || c > u'9') {
            return std::nullopt;
        }
        value = value * 10 + (c - u'0');
    }
    return value;
}

// Dates are told from team names by their first character.
bool looksLikeDate(std::u16string_view text)
{
    return !text.empty() && text.front() >= u'0' && text.front() <= u'9';
}

std::optional<double> readDate(std::u16string_view text, int seasonYear)
{
    std::vector<std::u16string_view> parts;
    char16_t separator = text.find(u'/') != std::u16string_view::npos ? u'/' : u'-';
    std::size_t start = 0;
    for (std::size_t i = 0; i <= text.size(); ++i) {
        if (i == text.size() || text[i] == separator) {
            parts.push_back(text.substr(start, i - start));
            start = i + 1;
        }
    }
    std::vector<int> values;
    for (const std::u16string_view part : parts) {
        const std::optional<int> value = readCount(part);
        if (!value) {
            return std::nullopt;
        }
        values.push_back(*value);
    }
    int year = seasonYear;
    int month = 0;
    int day = 0;
    if (values.size() == 3 && parts[0].size() == 4) {
        year = values[0];
        month = values[1];
        day = values[2];
    } else if (values.size() == 2 && separator == u'/') {
        month = values[0];
        day = values[1];
    } else {
        return std::nullopt;
    }
    if (year < 100 || !isValidCivilDate(year, month, day)) {
        return std::nullopt;
    }
    return toOleDate({year, month, day});
}

std::u16string joinNames(const Season &season, const std::vector<int> &teams)
{
    std::u16string text;
    for (const int team : teams) {
        if (!text.empty()) {
            text += u"、";
        }
        text += season.team(team).TeamName;
    }
    return text;
}

struct TeamMatch
{
    int team = 0;
    std::u16string error;
};

TeamMatch matchTeam(const Season &season, const TeamAliases &aliases, std::u16string_view text)
{
    if (text.empty()) {
        return {0, u"チーム名がありません"};
    }
    for (int team = 1; team <= season.TeamCount(); ++team) {
        if (season.team(team).TeamName == text) {
            return {team, {}};
        }
    }
    for (const auto &[alias, name] : aliases) {
        if (alias != text) {
            continue;
        }
        for (int team = 1; team <= season.TeamCount(); ++team) {
            if (season.team(team).TeamName == name) {
                return {team, {}};
            }
        }
    }
    std::vector<int> candidates;
    for (int team = 1; team <= season.TeamCount(); ++team) {
        if (season.team(team).TeamName.find(text) != std::u16string::npos) {
            candidates.push_back(team);
        }
    }
    if (candidates.size() == 1) {
        return {candidates.front(), {}};
    }
    if (candidates.empty()) {
        return {0, u"チーム名が見つかりません: " + std::u16string(text)};
    }
    return {0, u"チーム名があいまいです: " + std::u16string(text) + u" (候補: " +
                   joinNames(season, candidates) + u")"};
}

bool cardArraysPresent(const Season &season, int a, int b)
{
    const TeamRecord &ta = season.team(a);
    const TeamRecord &tb = season.team(b);
    for (const auto *cards : {&ta.CardGames, &ta.CardWins, &ta.CardLosses, &ta.CardDraws}) {
        if (!cards->contains(b)) {
            return false;
        }
    }
    for (const auto *cards : {&tb.CardGames, &tb.CardWins, &tb.CardLosses, &tb.CardDraws}) {
        if (!cards->contains(a)) {
            return false;
        }
    }
    return true;
}

// What the lines read so far add to each card, from the side of its lower
// team number.
class PendingCards
{
public:
    explicit PendingCards(int teamCount)
        : m_teamCount(teamCount),
          m_cards(static_cast<std::size_t>(teamCount) * static_cast<std::size_t>(teamCount))
    {}

    [[nodiscard]] ImportedRecord seenFrom(int team, int opponent) const
    {
        const ImportedRecord &stored = at(team, opponent);
        return team < opponent ? stored : ImportedRecord{stored.losses, stored.wins, stored.draws};
    }
    void add(const ImportLine &line)
    {
        ImportedRecord &stored = at(line.team, line.opponent);
        const bool lowFirst = line.team < line.opponent;
        stored.wins += lowFirst ? line.wins : line.losses;
        stored.losses += lowFirst ? line.losses : line.wins;
        stored.draws += line.draws;
    }

private:
    ImportedRecord &at(int a, int b) { return m_cards[index(a, b)]; }
    [[nodiscard]] const ImportedRecord &at(int a, int b) const { return m_cards[index(a, b)]; }
    [[nodiscard]] std::size_t index(int a, int b) const
    {
        const int low = std::min(a, b);
        const int high = std::max(a, b);
        return static_cast<std::size_t>(low - 1) * static_cast<std::size_t>(m_teamCount) +
               static_cast<std::size_t>(high - 1);
    }

    int m_teamCount;
    std::vector<ImportedRecord> m_cards;
};

// The checks of a line whose teams and result are read: the card, its rule
// on draws and the games it has left.
std::u16string checkCard(const Season &season, const PendingCards &pending, const ImportLine &line)
{
    const int t = line.team;
    const int o = line.opponent;
    const TeamRecord &me = season.team(t);
    const TeamRecord &them = season.team(o);
    if (!cardArraysPresent(season, t, o) || me.CardGames[o] < 0 ||
        (me.League != them.League && season.Interleague.IntCounts == 0)) {
        return u"このカードは設定されていません";
    }
    const int f = CardDrawFactor(season, t, o);
    // A drawn game that is replayed is not a result of the card: the replay
    // is. Card totals carry the draws the season itself held, so they pass.
    if (line.date && line.draws > 0 && f == 0) {
        return u"引き分けは再試合になるカードです";
    }
    const CardState state = ReadCardState(season, t, o);
    const ImportedRecord before = pending.seenFrom(t, o);
    int wins = state.wins + before.wins;
    int losses = state.losses + before.losses;
    int draws = state.draws + before.draws;
    int used = wins + losses + f * draws;
    if (season.SimMode != 0) {
        wins = state.simWins + before.wins;
        losses = state.simLosses + before.losses;
        draws = state.simDraws + before.draws;
        used += state.simWins + state.simLosses + f * state.simDraws;
    }
    const int games = me.CardGames[o];
    if (used + line.wins + line.losses + f * line.draws > games) {
        return u"このカードは終了しています (残り " + number(std::max(0, games - used)) + u" 試合)";
    }
    if (wins + line.wins > MaxCardValue || losses + line.losses > MaxCardValue ||
        draws + line.draws > MaxCardValue) {
        return u"試合数が多すぎます";
    }
    return {};
}

double newestSnapshotDate(const Season &season)
{
    double newest = -std::numeric_limits<double>::infinity();
    for (const Snapshot &snapshot : season.Snapshots) {
        newest = std::max(newest, snapshot.Date);
    }
    return newest;
}

// Reads the teams and the result of a line; the reason when they cannot be.
std::u16string readLine(const Season &season, const TeamAliases &aliases, int seasonYear,
                        const std::vector<std::u16string> &fields, ImportLine &line)
{
    const bool dated = looksLikeDate(fields.front());
    if (!(dated && (fields.size() == 4 || fields.size() == 5)) && !(!dated && fields.size() == 5)) {
        return u"項目の数が正しくありません";
    }
    const std::size_t first = dated ? 1 : 0;
    line.teamText = fields[first];
    line.opponentText = fields[first + 1];
    if (dated) {
        line.date = readDate(fields[0], seasonYear);
        if (!line.date) {
            return u"日付が正しくありません: " + fields[0];
        }
    }
    const TeamMatch team = matchTeam(season, aliases, line.teamText);
    if (!team.error.empty()) {
        return team.error;
    }
    const TeamMatch opponent = matchTeam(season, aliases, line.opponentText);
    if (!opponent.error.empty()) {
        return opponent.error;
    }
    line.team = team.team;
    line.opponent = opponent.team;
    if (line.team == line.opponent) {
        return u"同じチーム同士の試合です";
    }

    if (dated && fields.size() == 5) {
        const std::optional<int> home = readCount(fields[3]);
        const std::optional<int> away = readCount(fields[4]);
        line.resultText = fields[3] + u"-" + fields[4];
        if (!home || !away) {
            return u"得点が正しくありません: " + line.resultText;
        }
        line.wins = *home > *away ? 1 : 0;
        line.losses = *home < *away ? 1 : 0;
        line.draws = *home == *away ? 1 : 0;
    } else if (dated) {
        const std::u16string &word = fields[3];
        line.resultText = word;
        if (word == u"勝" || word == u"W" || word == u"w") {
            line.wins = 1;
        } else if (word == u"負" || word == u"L" || word == u"l") {
            line.losses = 1;
        } else if (word == u"分" || word == u"D" || word == u"d") {
            line.draws = 1;
        } else {
            return u"結果が正しくありません: " + word;
        }
    } else {
        const std::optional<int> wins = readCount(fields[2]);
        const std::optional<int> losses = readCount(fields[3]);
        const std::optional<int> draws = readCount(fields[4]);
        if (!wins || !losses || !draws) {
            line.resultText = fields[2] + u"-" + fields[3] + u"-" + fields[4];
            return u"成績が正しくありません: " + line.resultText;
        }
        line.wins = *wins;
        line.losses = *losses;
        line.draws = *draws;
        line.resultText = number(*wins) + u"勝" + number(*losses) + u"敗" + number(*draws) + u"分";
    }
    return {};
}

bool isAliasLine(std::u16string_view line)
{
    return line.find(u'=') != std::u16string_view::npos &&
           line.find(u',') == std::u16string_view::npos &&
           line.find(u'\t') == std::u16string_view::npos;
}

std::pair<std::u16string, std::u16string> splitAlias(std::u16string_view line)
{
    const std::size_t at = line.find(u'=');
    return {std::u16string(trimTyped(line.substr(0, at))),
            std::u16string(trimTyped(line.substr(at + 1)))};
}

// A first line of column titles: no date in front and no count anywhere.
bool isTitleLine(const std::vector<std::u16string> &fields)
{
    if (fields.empty() || looksLikeDate(fields.front())) {
        return false;
    }
    return std::none_of(fields.begin(), fields.end(),
                        [](const std::u16string &field) { return readCount(field).has_value(); });
}

void addResult(OneBased<std::int16_t> &slots, int index, int value)
{
    slots[index] = static_cast<std::int16_t>(slots[index] + value);
}

void addGame(Season &season, const ImportLine &line)
{
    const int t = line.team;
    const int o = line.opponent;
    if (season.SimMode != 0) {
        SimRecord &mine = season.SimResults[t];
        SimRecord &theirs = season.SimResults[o];
        addResult(mine.Wins, o, line.wins);
        addResult(mine.Losses, o, line.losses);
        addResult(mine.Draws, o, line.draws);
        addResult(theirs.Wins, t, line.losses);
        addResult(theirs.Losses, t, line.wins);
        addResult(theirs.Draws, t, line.draws);
        return;
    }
    TeamRecord &me = season.team(t);
    TeamRecord &them = season.team(o);
    addResult(me.CardWins, o, line.wins);
    addResult(me.CardLosses, o, line.losses);
    addResult(me.CardDraws, o, line.draws);
    addResult(them.CardWins, t, line.losses);
    addResult(them.CardLosses, t, line.wins);
    addResult(them.CardDraws, t, line.draws);
    // A card the real results complete has nothing left to simulate.
    const int f = CardDrawFactor(season, t, o);
    if (me.CardWins[o] + me.CardLosses[o] + f * me.CardDraws[o] == me.CardGames[o]) {
        CardState state = ReadCardState(season, t, o);
        state.simWins = state.simLosses = state.simDraws = 0;
        WriteCardState(season, t, o, state);
    }
}

// The save's snapshot of the real standings, dated `date`, inserted after
// every snapshot dated on or before it.
void takeSnapshot(Season &season, double date)
{
    const int teamCount = season.TeamCount();
    const int count = season.SnapshotCount();
    int position = 0;
    while (position < count &&
           season.Snapshots.items()[static_cast<std::size_t>(position)].Date <= date) {
        ++position;
    }
    auto &snapshots = season.Snapshots.items();
    snapshots.insert(snapshots.begin() + position,
                     Snapshot{date, std::u16string(ImportSnapshotMemo), StoredTrue});
    season.TeamShown.resize(teamCount, StoredTrue);
    season.TeamSnapshots.resize(teamCount);
    for (int teamNo = 1; teamNo <= teamCount; ++teamNo) {
        TeamSnapshot &values = season.TeamSnapshots[teamNo];
        values.Pcts.resize(count);
        values.Surpluses.resize(count);
        values.Pcts.items().insert(values.Pcts.items().begin() + position,
                                   SnapshotPct(season, teamNo));
        values.Surpluses.items().insert(values.Surpluses.items().begin() + position,
                                        SnapshotSurplus(season, teamNo));
    }
}

} // namespace

int GameList::errorCount() const
{
    return static_cast<int>(
        std::count_if(lines.begin(), lines.end(), [](const ImportLine &l) { return !l.valid(); }));
}

int GameList::validCount() const
{
    return static_cast<int>(lines.size()) - errorCount();
}

std::u16string DecodeListText(std::string_view bytes)
{
    if (bytes.starts_with("\xEF\xBB\xBF")) {
        bytes.remove_prefix(3);
    }
    return fromUtf8(validUtf8(bytes) ? std::string(bytes) : cp932ToUtf8(bytes));
}

TeamAliases ReadAliases(std::u16string_view text)
{
    TeamAliases aliases;
    for (const std::u16string_view line : splitLines(text)) {
        if (!skipped(line) && line.find(u'=') != std::u16string_view::npos) {
            aliases.push_back(splitAlias(line));
        }
    }
    return aliases;
}

int SeasonYear(const Season &season)
{
    return fromOleDate(season.SnapshotCount() > 0 ? newestSnapshotDate(season)
                                                  : season.Header.UpdatedAt)
        .year;
}

GameList ReadGameList(const Season &season, std::u16string_view text,
                      const TeamAliases &extraAliases)
{
    const std::vector<std::u16string_view> lines = splitLines(text);
    GameList list;

    // Aliases hold for the whole list wherever they stand; the list's own
    // come before those of an alias file.
    TeamAliases aliases;
    for (std::size_t i = 0; i < lines.size(); ++i) {
        if (skipped(lines[i]) || !isAliasLine(lines[i])) {
            continue;
        }
        auto alias = splitAlias(lines[i]);
        const bool known =
            std::any_of(season.Teams.begin(), season.Teams.end(),
                        [&](const TeamRecord &team) { return team.TeamName == alias.second; });
        if (!known || alias.first.empty()) {
            ImportLine refused;
            refused.lineNo = static_cast<int>(i) + 1;
            refused.teamText = alias.first;
            refused.opponentText = alias.second;
            refused.reason = u"別名のチームが見つかりません: " + alias.second;
            list.lines.push_back(std::move(refused));
            continue;
        }
        aliases.push_back(std::move(alias));
    }
    aliases.insert(aliases.end(), extraAliases.begin(), extraAliases.end());

    const int seasonYear = SeasonYear(season);
    const double newest = newestSnapshotDate(season);
    PendingCards pending(season.TeamCount());
    bool firstContent = true;
    for (std::size_t i = 0; i < lines.size(); ++i) {
        if (skipped(lines[i]) || isAliasLine(lines[i])) {
            continue;
        }
        const std::vector<std::u16string> fields = splitFields(lines[i]);
        if (fields.empty()) {
            continue; // a spreadsheet's empty row: separators only
        }
        if (std::exchange(firstContent, false) && isTitleLine(fields)) {
            continue;
        }
        ImportLine line;
        line.lineNo = static_cast<int>(i) + 1;
        line.reason = readLine(season, aliases, seasonYear, fields, line);
        if (line.reason.empty()) {
            line.reason = checkCard(season, pending, line);
        }
        if (!line.reason.empty()) {
            line.status = ImportStatus::Error;
        } else if (line.date && *line.date <= newest) {
            line.status = ImportStatus::PossibleDuplicate;
            line.reason = u"グラフデータ " + snapshotDateText(newest) + u" 以前の日付";
        } else if (!line.date) {
            const CardState state = ReadCardState(season, line.team, line.opponent);
            const bool hasResults = season.SimMode != 0
                                        ? state.simWins + state.simLosses + state.simDraws > 0
                                        : state.wins + state.losses + state.draws > 0;
            line.status = hasResults ? ImportStatus::PossibleDuplicate : ImportStatus::Import;
            if (hasResults) {
                line.reason = u"このカードにはすでに成績があります";
            }
        } else {
            line.status = ImportStatus::Import;
        }
        if (line.valid()) {
            pending.add(line);
        }
        list.lines.push_back(std::move(line));
    }
    std::stable_sort(list.lines.begin(), list.lines.end(),
                     [](const ImportLine &a, const ImportLine &b) { return a.lineNo < b.lineNo; });
    return list;
}

OneBased<ImportedRecord> ImportTotals(const Season &season, const GameList &list)
{
    OneBased<ImportedRecord> totals(season.TeamCount());
    for (const ImportLine &line : list.lines) {
        if (!line.valid()) {
            continue;
        }
        totals[line.team].wins += line.wins;
        totals[line.team].losses += line.losses;
        totals[line.team].draws += line.draws;
        totals[line.opponent].wins += line.losses;
        totals[line.opponent].losses += line.wins;
        totals[line.opponent].draws += line.draws;
    }
    return totals;
}

std::optional<ImportOutcome> ApplyGameList(const Season &season, const GameList &list,
                                           const ImportChoice &choice)
{
    if (list.errorCount() > 0 && !choice.skipInvalid) {
        return std::nullopt;
    }
    std::vector<const ImportLine *> games;
    for (const ImportLine &line : list.lines) {
        if (line.valid()) {
            games.push_back(&line);
        }
    }
    // Snapshots record the real standings; simulated games leave them as
    // they are, so none is taken in simulation mode.
    const bool snapshots = choice.snapshots && season.SimMode == 0;
    if (snapshots) {
        std::stable_sort(games.begin(), games.end(), [](const ImportLine *a, const ImportLine *b) {
            return a->date.value_or(-std::numeric_limits<double>::infinity()) <
                   b->date.value_or(-std::numeric_limits<double>::infinity());
        });
    }

    ImportOutcome outcome{season, 0, 0};
    for (std::size_t k = 0; k < games.size(); ++k) {
        addGame(outcome.season, *games[k]);
        ++outcome.applied;
        const std::optional<double> date = games[k]->date;
        const bool lastOfDay = k + 1 == games.size() || games[k + 1]->date != date;
        if (snapshots && date && lastOfDay) {
            takeSnapshot(outcome.season, *date);
            ++outcome.snapshots;
        }
    }
    return outcome;
}

TextTable CardTotalsTable(const Season &season)
{
    std::vector<std::pair<int, int>> cards;
    for (int a = 1; a <= season.TeamCount(); ++a) {
        for (int b = a + 1; b <= season.TeamCount(); ++b) {
            if (!cardArraysPresent(season, a, b) || season.team(a).CardGames[b] < 0) {
                continue;
            }
            const CardState state = ReadCardState(season, a, b);
            if (state.wins + state.losses + state.draws > 0) {
                cards.emplace_back(a, b);
            }
        }
    }
    TextTable table(static_cast<int>(cards.size()) + 1, 5);
    const char16_t *titles[] = {u"チーム", u"相手", u"勝", u"負", u"分"};
    for (int cell = 0; cell < 5; ++cell) {
        table.set(0, cell, titles[cell]);
    }
    int row = 1;
    for (const auto &[a, b] : cards) {
        const CardState state = ReadCardState(season, a, b);
        table.set(row, 0, season.team(a).TeamName);
        table.set(row, 1, season.team(b).TeamName);
        table.set(row, 2, number(state.wins));
        table.set(row, 3, number(state.losses));
        table.set(row, 4, number(state.draws));
        ++row;
    }
    return table;
}

} // namespace penarin
