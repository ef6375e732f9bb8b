#pragma once

#include "magic/calcodule.h"
#include "season/season.h"

#include <optional>
#include <vector>

namespace penarin {

// What the team data dialog shows about one team of the published
// standings, and the settings it writes back. The dialog and the report
// command's "team" both read these, so they cannot tell different stories.

// "70勝 60敗 5分".
[[nodiscard]] Text FormatRecord(int wins, int losses, int draws);

// The team's scheduled games as the dialog labels them in the season's scope:
// league games with "（リーグ戦）", interleague games with "（交流戦）", the
// official total bare (league games alone when interleague results do not count).
[[nodiscard]] Text ScheduledGamesText(const TeamRecord &team, int gameScope, int intCounts);

// The upper area of the dialog for standings row `row` (1-based).
struct TeamSummary
{
    int TeamNo = 0;
    Text TeamName;
    Text League;
    Text Division; // "（なし）" in a league without divisions
    Text Games;
    // Championship magic: empty (none), the number, or "優勝".
    Text Magic;
    bool MagicHighlighted = false;
    // Whether the captions "優勝マジック:" and "消  化:" show; nothing means
    // they keep what the team shown before left them with.
    std::optional<bool> MagicCaptionsShown;
    // The record with which the team clinches, and its percentage.
    Text ClinchRecord;
    Text ClinchPct;
    Text Played;
    Text Remaining;
    Text Record;
    Text Pct;
    Text BestRecord; // every remaining game won
    Text BestPct;
    Text WorstRecord; // every remaining game lost
    Text WorstPct;
};

// Nothing when `row` is not a row of the standings.
[[nodiscard]] std::optional<TeamSummary>
SummarizeTeam(const Season &season, const PublishedStandings &published, int row, int digits);

inline const Text NoCardText = u"対戦がありません";

// Page "対戦" for the team of row `row` against the team of row `opponentRow`
// (both 1-based, 0 = none).
struct OpponentReport
{
    // The report text line by line (empty lines included); the dialog joins
    // them with CR LF. Empty when nothing is to be shown.
    std::vector<Text> Lines;
    bool HasCard = false;
    Text Caption;      // "対  " and the opponent's name
    Text MagicCaption; // "カード別マジック:", "隠れマジック:" or empty
    Text Magic;        // the per-card magic, "上位確定", "下位確定" or empty
    bool MagicHighlighted = false;
    bool ClinchShown = false; // the caption "消  化:" of the page
    Text ClinchRecord;
    Text ClinchPct;
};

[[nodiscard]] OpponentReport ReportOpponent(const Season &season,
                                            const PublishedStandings &published, int row,
                                            int opponentRow, int digits);

// The lines joined with CR LF, the last one without a break.
[[nodiscard]] Text JoinReportLines(const std::vector<Text> &lines);

// Stores one team's judgment settings: the league set into every team of its
// league, the division set into those of its division as well, and the
// interleague set into every team of the season.
void ApplyJudgmentSettings(Season &season, int teamNo, const JudgmentSet &league,
                           const JudgmentSet &division, const JudgmentSet &interleague);

// Stores the draw replay options of one team's league and division into every
// team concerned, and the season-wide interleague settings.
void ApplyDrawReplay(Season &season, int teamNo, int leagueDraw, int divisionDraw, int intCounts,
                     int intDraw);

} // namespace penarin
