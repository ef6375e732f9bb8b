#include "tables/teamreport.h"

#include "standings/standings.h"

#include <charconv>
#include <string>

namespace penarin {

namespace {

Text number(int value)
{
    const std::string digits = std::to_string(value);
    return Text(digits.begin(), digits.end());
}

Text pctText(double value, int digits)
{
    const std::string text = FormatPct(value, digits);
    return Text(text.begin(), text.end());
}

// A percentage whose denominator is zero reads as 0.
Text ratioText(int wins, int games, int digits)
{
    return pctText(games == 0 ? 0.0 : static_cast<double>(wins) / games, digits);
}

std::optional<int> parseNumber(const Text &text)
{
    std::string ascii;
    for (char16_t c : text) {
        if (c > 0x7F) {
            return std::nullopt;
        }
        ascii += static_cast<char>(c);
    }
    int value = 0;
    const char *end = ascii.data() + ascii.size();
    const auto [ptr, ec] = std::from_chars(ascii.data(), end, value);
    if (ascii.empty() || ec != std::errc{} || ptr != end) {
        return std::nullopt;
    }
    return value;
}

// The figures of row `row` against row `column`, or nothing when the
// published analysis does not reach them.
const CardFigures *cardAt(const PublishedStandings &published, int row, int column)
{
    if (!published.Analysis.contains(row) || !published.Analysis[row].Cards.contains(column)) {
        return nullptr;
    }
    return &published.Analysis[row].Cards[column];
}

// Whether the team's remaining games in the scope include those of this
// card: the season's remaining games count league games in the league scope,
// interleague games in the interleague scope, and interleague games in the
// official scope only when their results count.
bool cardInScope(const Season &season, int team, int opponent, int scope)
{
    const bool interleague = season.team(team).League != season.team(opponent).League;
    switch (scope) {
    case ScopeLeague:
        return !interleague;
    case ScopeInterleague:
        return interleague;
    default:
        return !interleague || season.Interleague.IntCounts == 1;
    }
}

// The seven labelled lines of a card's or a season's figures.
void appendFigures(std::vector<Text> &lines, const TeamTotalsResult &f, int digits)
{
    lines.push_back(u"  勝敗: " + FormatRecord(f.Wins, f.Losses, f.Draws));
    lines.push_back(u"  勝率: " + pctText(f.Pct, digits));
    lines.push_back(u"  残試: " + number(f.Remaining));
    lines.push_back(u"  全勝: " + FormatRecord(f.MaxWins, f.Losses, f.Draws));
    lines.push_back(u"  全勝勝率: " + pctText(f.MaxPct, digits));
    lines.push_back(u"  全敗: " + FormatRecord(f.Wins, f.MaxLosses, f.Draws));
    lines.push_back(u"  全敗勝率: " + pctText(f.MinPct, digits));
}

} // namespace

Text FormatRecord(int wins, int losses, int draws)
{
    return number(wins) + u"勝 " + number(losses) + u"敗 " + number(draws) + u"分";
}

Text ScheduledGamesText(const TeamRecord &team, int gameScope, int intCounts)
{
    switch (gameScope) {
    case ScopeLeague:
        return number(team.LeagueGames) + u"（リーグ戦）";
    case ScopeInterleague:
        return number(team.InterleagueGames) + u"（交流戦）";
    default:
        return number(intCounts == 1 ? team.OfficialGames : team.LeagueGames);
    }
}

std::optional<TeamSummary> SummarizeTeam(const Season &season, const PublishedStandings &published,
                                         int row, int digits)
{
    const CardFigures *own = cardAt(published, row, row);
    if (own == nullptr || !season.Teams.contains(published.Analysis[row].TeamNo)) {
        return std::nullopt;
    }
    const CardAnalysis &analysis = published.Analysis[row];
    const TeamRecord &team = season.team(analysis.TeamNo);
    const int w = own->Wins;
    const int l = own->Losses;
    const int d = own->Draws;
    const int r = own->Remaining;

    TeamSummary summary;
    summary.TeamNo = analysis.TeamNo;
    summary.TeamName = team.TeamName;
    summary.League = team.LeagueName;
    summary.Division = team.HasDivisions != StoredFalse ? team.DivisionName : Text(u"（なし）");
    summary.Games = ScheduledGamesText(team, season.GameScope, season.Interleague.IntCounts);

    const int magic = analysis.MagicCountdown;
    if (magic > 0) {
        summary.Magic = number(magic);
        summary.MagicHighlighted = true;
        summary.MagicCaptionsShown = true;
        summary.ClinchRecord = FormatRecord(w + magic, l + r - magic, d);
        summary.ClinchPct = ratioText(w + magic, w + l + r, digits);
    } else if (magic == 0) {
        summary.Magic = u"優勝";
        summary.MagicHighlighted = true;
    } else {
        summary.MagicCaptionsShown = false;
    }

    summary.Played = number(own->Played);
    summary.Remaining = number(r);
    summary.Record = FormatRecord(w, l, d);
    summary.Pct = pctText(own->Pct, digits);
    summary.BestRecord = FormatRecord(own->MaxWins, l, d);
    summary.BestPct = pctText(own->MaxPct, digits);
    summary.WorstRecord = FormatRecord(w, own->MaxLosses, d);
    summary.WorstPct = pctText(own->MinPct, digits);
    return summary;
}

OpponentReport ReportOpponent(const Season &season, const PublishedStandings &published, int row,
                              int opponentRow, int digits)
{
    OpponentReport report;
    if (row == opponentRow || row <= 0 || opponentRow <= 0) {
        if (opponentRow > 0) {
            report.Lines.push_back(NoCardText);
        }
        return report;
    }
    const CardFigures *whole = cardAt(published, row, row);
    const CardFigures *card = cardAt(published, row, opponentRow);
    const CardFigures *theirs = cardAt(published, opponentRow, opponentRow);
    if (whole == nullptr || card == nullptr || theirs == nullptr) {
        return report;
    }
    const int teamNo = published.Analysis[row].TeamNo;
    const int opponentNo = published.Analysis[opponentRow].TeamNo;
    if (!season.Teams.contains(teamNo) || !season.Teams.contains(opponentNo)) {
        return report;
    }
    const TeamRecord &team = season.team(teamNo);
    if (!team.CardGames.contains(opponentNo) || team.CardGames[opponentNo] < 1) {
        report.Lines.push_back(NoCardText);
        return report;
    }
    const Text &name = team.TeamName;
    const Text &opponentName = season.team(opponentNo).TeamName;
    report.HasCard = true;
    report.Caption = u"対  " + opponentName;

    const int w = whole->Wins;
    const int l = whole->Losses;
    const int d = whole->Draws;
    const int r = whole->Remaining;
    // A card outside the scope has no games among the remaining ones, so
    // losing "all of them" costs nothing; taking its full schedule from the
    // scope's remaining games would report fewer wins than the team has.
    const int lost =
        cardInScope(season, teamNo, opponentNo, published.GameScope) ? card->Remaining : 0;

    std::vector<Text> &lines = report.Lines;
    lines.push_back(u"対 " + opponentName + u"全敗(他全勝)");
    lines.push_back(u"  勝敗: " + FormatRecord(w + r - lost, l + lost, d));
    lines.push_back(u"  勝率: " + ratioText(w + r - lost, w + r - lost + l + lost, digits));
    lines.emplace_back();
    lines.push_back(name + u" - " + opponentName);
    appendFigures(lines, *card, digits);
    lines.emplace_back();
    lines.push_back(opponentName + u"の成績");
    appendFigures(lines, *theirs, digits);

    switch (card->MagicKind) {
    case MagicKind::PerCard:
    case MagicKind::Deciding:
    case MagicKind::ClinchedAbove:
        report.MagicHighlighted = true;
        report.MagicCaption = u"カード別マジック:";
        break;
    case MagicKind::Hidden:
        report.MagicCaption = u"隠れマジック:";
        break;
    default:
        break;
    }
    switch (card->MagicKind) {
    case MagicKind::Hidden:
    case MagicKind::PerCard:
    case MagicKind::Deciding:
        report.Magic = card->MagicText();
        if (const std::optional<int> m = parseNumber(report.Magic)) {
            report.ClinchRecord = FormatRecord(w + *m, l + r - *m, d);
            report.ClinchPct = ratioText(w + *m, w + l + r, digits);
            report.ClinchShown = true;
        }
        break;
    case MagicKind::ClinchedAbove:
        report.Magic = u"上位確定";
        break;
    case MagicKind::ClinchedBelow:
        report.Magic = u"下位確定";
        break;
    case MagicKind::Undecided:
        break;
    }
    return report;
}

Text JoinReportLines(const std::vector<Text> &lines)
{
    Text text;
    for (std::size_t i = 0; i < lines.size(); ++i) {
        if (i > 0) {
            text += u"\r\n";
        }
        text += lines[i];
    }
    return text;
}

void ApplyJudgmentSettings(Season &season, int teamNo, const JudgmentSet &league,
                           const JudgmentSet &division, const JudgmentSet &interleague)
{
    if (!season.Teams.contains(teamNo)) {
        return;
    }
    const int lg = season.team(teamNo).League;
    const int dv = season.team(teamNo).Division;
    for (TeamRecord &team : season.Teams) {
        if (team.League == lg) {
            team.LeagueJudgment = league;
            if (team.Division == dv) {
                // A league without divisions keeps its division judgment a
                // copy of the league's, as a new season sets it up.
                team.DivisionJudgment = team.HasDivisions != StoredFalse ? division : league;
            }
        }
        team.IntJudgment = interleague;
    }
}

void ApplyDrawReplay(Season &season, int teamNo, int leagueDraw, int divisionDraw, int intCounts,
                     int intDraw)
{
    if (!season.Teams.contains(teamNo)) {
        return;
    }
    const int lg = season.team(teamNo).League;
    const int dv = season.team(teamNo).Division;
    for (TeamRecord &team : season.Teams) {
        if (team.League != lg) {
            continue;
        }
        team.LeagueDrawReplay = static_cast<std::int16_t>(leagueDraw);
        if (team.Division == dv) {
            team.DivisionDrawReplay = static_cast<std::int16_t>(
                team.HasDivisions != StoredFalse ? divisionDraw : leagueDraw);
        }
    }
    season.Interleague.IntCounts = static_cast<std::int16_t>(intCounts);
    season.Interleague.IntDrawReplay = static_cast<std::int16_t>(intDraw);
}

} // namespace penarin
