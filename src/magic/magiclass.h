#pragma once

#include "season/onebased.h"
#include "season/season.h"
#include "standings/judgment.h"
#include "standings/standings.h"

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace penarin {

// What one team's result against one rival means. The values are kept with
// the published standings and read by the standings grid and the team data
// dialog, so they stay the fixed integers -1..4.
enum class MagicKind : std::int16_t
{
    ClinchedBelow = -1, // "×": can no longer finish above the rival
    Undecided = 0,
    Hidden = 1,        // 隠れマジック: k is reachable only with wins against this rival
    PerCard = 2,       // カード別マジック
    Deciding = 3,      // a per-card magic equal to the championship magic
    ClinchedAbove = 4, // "○": certain to finish above the rival
};

// The text a magic result is shown with: "○", "×", the number of wins, or
// nothing while undecided.
[[nodiscard]] std::u16string MagicTextOf(MagicKind kind, int number);

// Magic numbers of one team (my team) against every other team of the view.
//
// One slot per team of the view (slots 1..TeamCount, my team's slot
// included). Two ways to feed it:
// - the recalculation pass hands over its own arrays once (PassInputs) and
//   runs Calculate for every row; the calculator reads them in place;
// - one number at a time: Initialize; the scalar setters; for every slot in
//   order the appends; GetMagicNumber; Clear. Lists keep their capacity
//   across Initialize and Clear.
// Either way the results are read with the Put* functions.
class Magiclass
{
public:
    // What one pass knows about the whole view, read in place for every row.
    struct PassInputs
    {
        // Slot c is standings row c: its team's whole season in the scope.
        const OneBased<StandingsRow> *Rows = nullptr;
        const OneBased<int> *Leagues = nullptr; // League of each slot's team
        const AheadTables *Ahead = nullptr;     // by team number
        const JudgmentSet *Judgment = nullptr;
        int Scope = 0;
    };

    // The calculation for the team of slot mySlot. vsRemaining[c] holds the
    // games still to play between my team and slot c's team.
    void Calculate(const PassInputs &pass, int mySlot, const OneBased<int> &vsRemaining);

    // Cell colours in the window system's form: system colours are
    // 0x80000000 + index, anything else is 0x00BBGGRR.
    static constexpr std::int32_t ButtonFaceColor = static_cast<std::int32_t>(0x8000000FU);
    static constexpr std::int32_t WindowColor = static_cast<std::int32_t>(0x80000005U);
    static constexpr std::int32_t DecidingColor = 0xC0FFC0; // light green

    static constexpr std::u16string_view ClinchedAboveText = u"\u25CB"; // ○
    static constexpr std::u16string_view ClinchedBelowText = u"\u00D7"; // ×

    void TeamCount(int count);
    // Erases every list and the per-team scalars; the countdown reads 0.
    void Clear();
    // Empties every list for the next team; the countdown reads -1.
    void Initialize();

    // Setters named SetTg..., SetVsZanGame and the Ahead flags append: the
    // n-th call after Initialize fills slot n. The others set one value.
    void SetIntMode(int scope);
    void SetMyLeagueIndex(int league);
    void SetTgLeagueIndex(int league) { m_tgLeagueIndex.push_back(league); }
    void SetMyTeamIndex(int teamNo);

    // Ahead(my team, slot team): 1 certainly ahead, 2 level at best, 0 otherwise.
    void SetOverWin(std::uint8_t flag) { m_overWin.push_back(flag); }
    void SetPenAvg(std::uint8_t flag) { m_penAvg.push_back(flag); }
    void SetPenWin(std::uint8_t flag) { m_penWin.push_back(flag); }
    void SetIntAvg(std::uint8_t flag) { m_intAvg.push_back(flag); }
    void SetIntWin(std::uint8_t flag) { m_intWin.push_back(flag); }
    // 1 when my team ranks higher on that fixed order, else 0.
    void SetBerRnk(std::uint8_t flag) { m_berRnk.push_back(flag); }
    void SetUserRnkA(std::uint8_t flag) { m_userRnkA.push_back(flag); }
    void SetUserRnkB(std::uint8_t flag) { m_userRnkB.push_back(flag); }
    void SetUserRnkC(std::uint8_t flag) { m_userRnkC.push_back(flag); }

    void AryIndex(int slot);
    void SetJudgment(int judgment);
    void SetJudgmentA(const std::vector<std::int16_t> &conditions);
    void SetJudgmentB(int reversal);

    void SetVsZanGame(int games) { m_vsZanGame.push_back(games); }
    void SetTgWin(int wins) { m_tgWin.push_back(wins); }
    void SetTgLoss(int losses) { m_tgLoss.push_back(losses); }
    void SetTgZanGame(int remaining) { m_tgZanGame.push_back(remaining); }
    void SetTgAllWin(int maxWins) { m_tgAllWin.push_back(maxWins); }
    void SetTgAllWinAvg(double maxPct) { m_tgAllWinAvg.push_back(maxPct); }
    void SetTgAllLossAvg(double minPct) { m_tgAllLossAvg.push_back(minPct); }

    void GetMagicNumber();

    // Results of slot 1..TeamCount; any other slot reads "", Undecided, 0.
    [[nodiscard]] std::u16string PutMagicNumber(int slot) const;
    // The number behind the text: the wins still needed (hidden and per-card
    // magic), else 0.
    [[nodiscard]] int PutMagicCount(int slot) const
    {
        return m_results.contains(slot) ? m_results[slot].k : 0;
    }
    [[nodiscard]] MagicKind PutMagicType(int slot) const
    {
        return m_results.contains(slot) ? m_results[slot].kind : MagicKind::Undecided;
    }
    [[nodiscard]] std::int32_t PutCellColor(int slot) const
    {
        return m_results.contains(slot) ? m_results[slot].color : 0;
    }
    // Championship magic: -1 none, 0 decided, n > 0 wins still needed.
    [[nodiscard]] int PutCountDownNo() const { return m_countdown; }

private:
    struct Verdict
    {
        int result = 0; // 1 finishes above, -1 cannot, 0 undecided
        int k = 0;
    };
    struct SlotResult
    {
        MagicKind kind = MagicKind::Undecided;
        std::int32_t color = 0;
        int k = 0;
    };

    void clearSlots();
    void run(int mySlot);
    [[nodiscard]] std::uint8_t flag(int code, int slot) const;
    [[nodiscard]] double myPct(int k) const;
    [[nodiscard]] double myPrimary(int k) const;
    [[nodiscard]] double mySecondary(int k) const;
    [[nodiscard]] const OneBased<std::uint8_t> &conditionFlags(int code) const;
    [[nodiscard]] int vsRemaining(int slot) const;
    [[nodiscard]] int league(int slot) const;
    [[nodiscard]] int firstCandidateK(double rivalMaxPrimary) const;
    [[nodiscard]] bool conditionsPutMeAbove(int slot, double mySecondary,
                                            double rivalMaxSecondary) const;
    [[nodiscard]] Verdict evaluate(int slot) const;
    void store(int slot, Verdict verdict, bool &lit);

    int m_teamCount = 0;
    int m_aryIndex = 0;
    int m_myTeamIndex = 0;
    int m_myLeagueIndex = 0;
    int m_intMode = 0;
    int m_judgment = 0;
    int m_reversal = 0;
    std::vector<std::int16_t> m_conditions;

    // What the calculation reads: the pass's arrays, or the lists below
    // gathered into the same form by GetMagicNumber.
    const PassInputs *m_pass = nullptr;
    const OneBased<StandingsRow> *m_rows = nullptr;
    const OneBased<int> *m_vsRemaining = nullptr;
    const OneBased<int> *m_leagues = nullptr;
    const std::vector<std::int16_t> *m_conditionList = &m_conditions;
    OneBased<StandingsRow> m_listRows;

    // My record, copied from my own slot when the calculation starts.
    int m_myWins = 0;
    int m_myLosses = 0;
    int m_myRemaining = 0;
    int m_myGames = 0;                 // W + L + R, the denominator of my final percentage
    double m_primaryAtNone = 0.0;      // my primary measure winning none of my games
    double m_primaryAtAllButOne = 0.0; // ... winning all but one

    OneBased<std::uint8_t> m_overWin;
    OneBased<std::uint8_t> m_penAvg;
    OneBased<std::uint8_t> m_penWin;
    OneBased<std::uint8_t> m_intAvg;
    OneBased<std::uint8_t> m_intWin;
    OneBased<std::uint8_t> m_berRnk;
    OneBased<std::uint8_t> m_userRnkA;
    OneBased<std::uint8_t> m_userRnkB;
    OneBased<std::uint8_t> m_userRnkC;
    OneBased<int> m_vsZanGame;
    OneBased<int> m_tgWin;
    OneBased<int> m_tgLoss;
    OneBased<int> m_tgZanGame;
    OneBased<int> m_tgAllWin;
    OneBased<double> m_tgAllWinAvg;
    OneBased<double> m_tgAllLossAvg;
    OneBased<int> m_tgLeagueIndex;

    OneBased<SlotResult> m_results;
    int m_countdown = -1;
};

} // namespace penarin
