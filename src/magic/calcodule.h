#pragma once

#include "magic/magiclass.h"
#include "season/season.h"
#include "season/settings.h"
#include "standings/judgment.h"
#include "standings/standings.h"

#include <memory>
#include <string>

namespace penarin {

// One row's team against one rival row of the view (or, at its own row, the
// team's whole season in the scope), with the magic result against that rival.
struct CardFigures : TeamTotalsResult
{
    int Opponent = 0;
    penarin::MagicKind MagicKind = penarin::MagicKind::Undecided;
    int MagicNumber = 0; // the wins still needed, for hidden and per-card magic
    std::int32_t MagicColor = 0;

    // The text of the magic result ("4", "○", "×" or nothing), made when a
    // cell is shown or printed rather than for every card of every pass.
    [[nodiscard]] std::u16string MagicText() const { return MagicTextOf(MagicKind, MagicNumber); }

    friend bool operator==(const CardFigures &, const CardFigures &) = default;
};

// Per standings row: the championship magic and the cards against every row.
struct CardAnalysis
{
    int TeamNo = 0;
    int UserRankA = 0;
    int UserRankB = 0;
    int UserRankC = 0;
    int MagicCountdown = -1; // -1 none, 0 decided, n the championship magic
    OneBased<CardFigures> Cards;

    friend bool operator==(const CardAnalysis &, const CardAnalysis &) = default;
};

// The product of the latest recalculation: what every other view reads until
// the next pass replaces it as a whole.
struct PublishedStandings
{
    OneBased<StandingsRow> Rows;     // in standings order
    OneBased<CardAnalysis> Analysis; // same order as Rows
    int GameScope = ScopeOfficial;   // the scope the figures were counted in

    friend bool operator==(const PublishedStandings &, const PublishedStandings &) = default;
};

// The two selectors of the main window the pass is run for.
struct ViewRequest
{
    int LeagueSelectorIndex = 0;    // 0 = every league
    int DivisionSelectorIndex = -1; // -1 empty, 0 whole league, k the k-th division
};

// Everything the window shows from one pass besides the published standings.
struct RecalculateResult
{
    std::string ScopeText;  // status-bar panel 2
    JudgmentTexts Judgment; // panels 3 and 4
    bool ScopeMenuEnabled = false;
    int CheckedScope = ScopeOfficial; // the scope entry to check
    bool ShowScheduleMessage = false; // results exceed a schedule somewhere in the view
    // The standings and magic numbers of the pass: what every other view
    // reads until the next pass replaces them as a whole.
    std::shared_ptr<const PublishedStandings> Published;
};

inline constexpr const char *ScheduleMessage =
    "マジックナンバーを正しく計算できません\r\n"
    "対戦数・引分再試合の設定を変更するか、リーグ・地区を選択してください";

[[nodiscard]] OrderSettings OrderSettingsFrom(const Settings &settings);

// The recalculation pass: totals, judgment in force, ahead tables, order and
// ranks, every card of the view and every row's magic numbers. Returns the
// published standings with the texts and states the window shows. Adjusts
// GameScope when the selection demands it; changes nothing else. `reuse`,
// the caller's previous result, lends its memory when nothing else holds it.
RecalculateResult RecalculateView(Season &season, const OrderSettings &order,
                                  const ViewRequest &view,
                                  std::shared_ptr<const PublishedStandings> reuse = nullptr);

} // namespace penarin
