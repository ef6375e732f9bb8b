#include "magic/magiclass.h"

#include "season/conditioncode.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <limits>

namespace penarin {

namespace {

// Reads slot i of an appended list; a slot the caller never appended counts
// as 0, so a short list cannot make the calculation read past its end.
template <class T> T slotValue(const OneBased<T> &list, int slot)
{
    return list.contains(slot) ? list[slot] : T{};
}

// Counts come from 16-bit season fields. Anything outside that range is
// corrupt input; keeping my record inside it bounds the k loop and keeps
// every sum of the calculation within int.
int clampCount(int value)
{
    return std::clamp(value, int{std::numeric_limits<std::int16_t>::min()},
                      int{std::numeric_limits<std::int16_t>::max()});
}

std::uint8_t smaller(int mine, int theirs)
{
    return mine < theirs ? 1 : 0;
}

} // namespace

std::u16string MagicTextOf(MagicKind kind, int number)
{
    switch (kind) {
    case MagicKind::ClinchedAbove:
        return std::u16string(Magiclass::ClinchedAboveText);
    case MagicKind::ClinchedBelow:
        return std::u16string(Magiclass::ClinchedBelowText);
    case MagicKind::Undecided:
        return {};
    default:
        break;
    }
    std::u16string text;
    unsigned value = static_cast<unsigned>(number < 0 ? 0 : number);
    do {
        text.insert(text.begin(), static_cast<char16_t>(u'0' + value % 10));
        value /= 10;
    } while (value != 0);
    return text;
}

void Magiclass::TeamCount(int count)
{
    m_teamCount = std::max(count, 0);
    // The appends that follow fill exactly this many slots: make room once,
    // so the first team of a pass does not grow every list step by step.
    const auto slots = static_cast<std::size_t>(m_teamCount);
    if (m_tgWin.items().capacity() >= slots) {
        return; // every list kept its room from an earlier team (Clear keeps it)
    }
    for (auto *list : {&m_overWin, &m_penAvg, &m_penWin, &m_intAvg, &m_intWin, &m_berRnk,
                       &m_userRnkA, &m_userRnkB, &m_userRnkC}) {
        list->items().reserve(slots);
    }
    for (auto *list :
         {&m_vsZanGame, &m_tgWin, &m_tgLoss, &m_tgZanGame, &m_tgAllWin, &m_tgLeagueIndex}) {
        list->items().reserve(slots);
    }
    m_tgAllWinAvg.items().reserve(slots);
    m_tgAllLossAvg.items().reserve(slots);
}

void Magiclass::Clear()
{
    clearSlots();
    m_conditions.clear();

    m_teamCount = 0;
    m_aryIndex = 0;
    m_myTeamIndex = 0;
    m_judgment = 0;
    m_reversal = 0;
    m_myWins = 0;
    m_myLosses = 0;
    m_myRemaining = 0;
    m_myGames = 0;
    m_countdown = 0;
}

// clear() keeps each list's capacity for the next row of the pass.
void Magiclass::clearSlots()
{
    m_overWin.clear();
    m_penAvg.clear();
    m_penWin.clear();
    m_intAvg.clear();
    m_intWin.clear();
    m_berRnk.clear();
    m_userRnkA.clear();
    m_userRnkB.clear();
    m_userRnkC.clear();
    m_vsZanGame.clear();
    m_tgWin.clear();
    m_tgLoss.clear();
    m_tgZanGame.clear();
    m_tgAllWin.clear();
    m_tgAllWinAvg.clear();
    m_tgAllLossAvg.clear();
    m_tgLeagueIndex.clear();
    m_results.clear();
}

void Magiclass::Initialize()
{
    clearSlots();
    m_countdown = -1;
}

void Magiclass::SetIntMode(int scope)
{
    m_intMode = scope;
}

void Magiclass::SetMyLeagueIndex(int league)
{
    m_myLeagueIndex = league;
}

void Magiclass::SetMyTeamIndex(int teamNo)
{
    // Kept for the caller's bookkeeping; the calculation works on slots.
    m_myTeamIndex = teamNo;
}

void Magiclass::AryIndex(int slot)
{
    m_aryIndex = slot;
}

void Magiclass::SetJudgment(int judgment)
{
    m_judgment = judgment;
}

void Magiclass::SetJudgmentA(const std::vector<std::int16_t> &conditions)
{
    m_conditions.assign(conditions.begin(), conditions.end());
}

void Magiclass::SetJudgmentB(int reversal)
{
    m_reversal = reversal;
}

// My percentage when I win k of my remaining games and lose the rest.
double Magiclass::myPct(int k) const
{
    if (m_myGames == 0) {
        return 0.0;
    }
    return static_cast<double>(m_myWins + k) / static_cast<double>(m_myGames);
}

// A judgment other than most wins (only 0 and 1 are offered) measures my
// team by percentage first, the default championship rule.
double Magiclass::myPrimary(int k) const
{
    return m_judgment == 1 ? static_cast<double>(m_myWins + k) : myPct(k);
}

double Magiclass::mySecondary(int k) const
{
    return m_judgment == 1 ? myPct(k) : static_cast<double>(m_myWins + k);
}

// The smallest k below R at which my primary measure reaches the rival's
// best, or R when none does. Every smaller k has my measure below the
// rival's best with games still to win, which decides nothing, so the
// search may start here. My measure never falls as k grows unless the
// games total is negative (corrupt counts); then every k is tried.
int Magiclass::firstCandidateK(double rivalMaxPrimary) const
{
    const int remaining = m_myRemaining;
    if (remaining <= 0) {
        return 0;
    }
    const bool rising = m_judgment == 1 || m_myGames >= 0;
    if (!rising) {
        return 0;
    }
    // Most rivals of a large view are clearly ahead of or behind my team;
    // settle those with one comparison before searching.
    if (!(m_primaryAtNone < rivalMaxPrimary)) {
        return 0;
    }
    if (m_primaryAtAllButOne < rivalMaxPrimary) {
        return remaining;
    }
    // The measure grows by a fixed step per win, so the k that reaches the
    // rival's best is known to within one: start there and step to the
    // exact first k. Between the two checks above the start lies inside
    // 1..R-1 and the steps end within a game or two.
    const double estimate = m_judgment == 1 ? std::ceil(rivalMaxPrimary - m_myWins)
                                            : std::ceil(rivalMaxPrimary * m_myGames - m_myWins);
    int k = remaining - 1;
    if (estimate < 1.0) {
        k = 1;
    } else if (estimate < remaining - 1) {
        k = static_cast<int>(estimate);
    }
    while (k > 1 && !(myPrimary(k - 1) < rivalMaxPrimary)) {
        --k;
    }
    while (myPrimary(k) < rivalMaxPrimary) {
        ++k; // stops at R - 1 at the latest: checked above
    }
    return k;
}

const OneBased<std::uint8_t> &Magiclass::conditionFlags(int code) const
{
    switch (code) {
    case 2:
        return m_overWin;
    case 3:
        return m_penAvg;
    case 4:
        return m_penWin;
    case 5:
        return m_intAvg;
    case 6:
        return m_intWin;
    case 7:
        return m_berRnk;
    case 8:
        return m_userRnkA;
    case 9:
        return m_userRnkB;
    default:
        return m_userRnkC;
    }
}

// Tie-break walk for a level primary measure. True when a condition puts
// my team above the rival; false when one keeps it level or below, or the
// list runs out.
bool Magiclass::conditionsPutMeAbove(int slot, double mySecondary, double rivalMaxSecondary) const
{
    for (const std::int16_t code : *m_conditionList) {
        if (code == ConditionCode::End) {
            return false;
        }
        if (code == ConditionCode::Secondary) {
            if (mySecondary > rivalMaxSecondary) {
                return true;
            }
            if (mySecondary == rivalMaxSecondary) {
                continue;
            }
            return false;
        }
        if (code >= ConditionCode::Series && code <= ConditionCode::InterleagueWins) {
            // League and interleague measures only exist for official games.
            if (code >= ConditionCode::LeaguePct && m_intMode != 0) {
                continue;
            }
            const std::uint8_t ahead = flag(code, slot);
            if (ahead == 1) {
                return true;
            }
            if (ahead == 0) {
                return false;
            }
            continue; // level at best: the next condition decides
        }
        if (code >= ConditionCode::GridOrder && code <= ConditionCode::UserRankC) {
            return flag(code, slot) == 1;
        }
        // Unknown codes are passed over, as the standings ordering does.
    }
    return false;
}

Magiclass::Verdict Magiclass::evaluate(int slot) const
{
    // The rival's best and worst final measures. Under most wins the
    // percentage becomes the secondary measure and the other way round.
    const TeamTotalsResult &rival = (*m_rows)[slot];
    double rivalMaxPrimary = 0.0;
    double rivalMaxSecondary = 0.0;
    double rivalMinPrimary = 0.0;
    double rivalMinSecondary = 0.0;
    if (m_judgment == 0) {
        rivalMaxPrimary = rival.MaxPct;
        rivalMaxSecondary = rival.MaxWins;
        rivalMinPrimary = rival.MinPct;
        rivalMinSecondary = rival.Wins;
    } else if (m_judgment == 1) {
        rivalMaxPrimary = rival.MaxWins;
        rivalMaxSecondary = rival.MaxPct;
        rivalMinPrimary = rival.Wins;
        rivalMinSecondary = rival.MinPct;
    }

    const int remaining = m_myRemaining;
    for (int k = firstCandidateK(rivalMaxPrimary); k <= remaining; ++k) {
        const double primary = myPrimary(k);
        const double secondary = mySecondary(k);
        if (primary > rivalMaxPrimary) {
            // Even with the better primary measure the reversal rule may ask
            // for the secondary one to agree.
            if (m_reversal <= 0 || (m_reversal == 1 && secondary >= rivalMaxSecondary) ||
                (m_reversal == 2 && secondary > rivalMaxSecondary)) {
                return {1, k};
            }
        } else if (primary == rivalMaxPrimary) {
            if (conditionsPutMeAbove(slot, secondary, rivalMaxSecondary)) {
                return {1, k};
            }
        } else if (k == remaining) {
            // My best case is still below the rival's best. Below its worst
            // case as well, my team cannot finish above it, unless the
            // reversal rule lets the secondary measure save it.
            if (primary < rivalMinPrimary &&
                (m_reversal <= 0 || (m_reversal == 1 && !(secondary > rivalMinSecondary)) ||
                 (m_reversal == 2 && !(secondary >= rivalMinSecondary)))) {
                return {-1, k};
            }
            return {0, k};
        }
    }
    return {0, remaining};
}

void Magiclass::store(int slot, Verdict verdict, bool &lit)
{
    SlotResult &out = m_results[slot];
    out.k = 0;
    if (verdict.result < 0) {
        out.kind = MagicKind::ClinchedBelow;
        out.color = ButtonFaceColor;
        lit = false;
        return;
    }
    if (verdict.result == 0) {
        out.kind = MagicKind::Undecided;
        out.color = ButtonFaceColor;
        lit = false;
        return;
    }
    if (verdict.k == 0) {
        out.kind = MagicKind::ClinchedAbove;
        out.color = WindowColor;
        lit = true;
        return;
    }
    out.k = verdict.k;
    // The k wins must be possible without beating this rival itself; in an
    // interleague championship a rival of my own league plays me in no
    // game of the scope, so all my remaining games count.
    const bool reachable = verdict.k <= std::int64_t{m_myRemaining} - vsRemaining(slot) ||
                           (m_intMode == 1 && m_myLeagueIndex == league(slot));
    if (reachable) {
        out.kind = MagicKind::PerCard;
        out.color = WindowColor;
        lit = true;
    } else {
        out.kind = MagicKind::Hidden;
        out.color = ButtonFaceColor;
        lit = false;
    }
}

int Magiclass::vsRemaining(int slot) const
{
    return slotValue(*m_vsRemaining, slot);
}

int Magiclass::league(int slot) const
{
    return slotValue(*m_leagues, slot);
}

std::uint8_t Magiclass::flag(int code, int slot) const
{
    if (m_pass == nullptr) {
        return slotValue(conditionFlags(code), slot);
    }
    // Read from the pass only when a tie-break walk gets this far: most
    // rivals are settled by the primary measure alone.
    const StandingsRow &mine = (*m_rows)[m_aryIndex];
    const StandingsRow &rival = (*m_rows)[slot];
    switch (code) {
    case ConditionCode::GridOrder:
        return smaller(mine.TeamNo, rival.TeamNo);
    case ConditionCode::GridOrder + 1:
        return smaller(mine.UserRankA, rival.UserRankA);
    case ConditionCode::GridOrder + 2:
        return smaller(mine.UserRankB, rival.UserRankB);
    case ConditionCode::UserRankC:
        return smaller(mine.UserRankC, rival.UserRankC);
    default:
        return m_pass->Ahead->at(static_cast<AheadTables::Table>(code - ConditionCode::Series),
                                 mine.TeamNo, rival.TeamNo);
    }
}

void Magiclass::Calculate(const PassInputs &pass, int mySlot, const OneBased<int> &vsRemaining)
{
    m_pass = &pass;
    m_rows = pass.Rows;
    m_leagues = pass.Leagues;
    m_vsRemaining = &vsRemaining;
    m_conditionList = &pass.Judgment->Conditions;
    m_teamCount = pass.Rows->size();
    m_aryIndex = mySlot;
    m_intMode = pass.Scope;
    m_judgment = pass.Judgment->Judgment;
    m_reversal = pass.Judgment->Reversal;
    const StandingsRow &me = (*pass.Rows)[mySlot];
    m_myTeamIndex = me.TeamNo;
    m_myLeagueIndex = league(mySlot);
    m_myWins = clampCount(me.Wins);
    m_myLosses = clampCount(me.Losses);
    m_myRemaining = clampCount(me.Remaining);
    run(mySlot);
}

void Magiclass::GetMagicNumber()
{
    // The appended lists in the form the calculation reads; a slot never
    // appended reads 0.
    m_pass = nullptr;
    m_listRows.resize(m_teamCount);
    for (int slot = 1; slot <= m_teamCount; ++slot) {
        StandingsRow &row = m_listRows[slot];
        row.Wins = slotValue(m_tgWin, slot);
        row.Losses = slotValue(m_tgLoss, slot);
        row.Remaining = slotValue(m_tgZanGame, slot);
        row.MaxWins = slotValue(m_tgAllWin, slot);
        row.MaxPct = slotValue(m_tgAllWinAvg, slot);
        row.MinPct = slotValue(m_tgAllLossAvg, slot);
    }
    m_rows = &m_listRows;
    m_leagues = &m_tgLeagueIndex;
    m_vsRemaining = &m_vsZanGame;
    m_conditionList = &m_conditions;
    m_myWins = clampCount(slotValue(m_tgWin, m_aryIndex));
    m_myLosses = clampCount(slotValue(m_tgLoss, m_aryIndex));
    m_myRemaining = clampCount(slotValue(m_tgZanGame, m_aryIndex));
    run(m_aryIndex);
}

void Magiclass::run(int mySlot)
{
    m_results.assign(m_teamCount, SlotResult{});
    m_countdown = -1;

    const bool haveMyTeam = mySlot >= 1 && mySlot <= m_teamCount;
    m_myGames = m_myWins + m_myLosses + m_myRemaining;
    // The same for every rival: computed once per row.
    m_primaryAtNone = myPrimary(0);
    m_primaryAtAllButOne = myPrimary(m_myRemaining - 1);

    bool everyRivalLit = true;
    for (int slot = 1; slot <= m_teamCount; ++slot) {
        if (slot == mySlot) {
            continue;
        }
        bool lit = false;
        store(slot, evaluate(slot), lit);
        everyRivalLit = everyRivalLit && lit;
    }

    // The championship magic exists once every rival is either passed for
    // good or has a per-card magic my team can reach on its own; it is the
    // largest of those, and the rivals that set it are the deciding ones.
    if (!haveMyTeam || !everyRivalLit) {
        return;
    }
    int most = 0;
    for (int slot = 1; slot <= m_teamCount; ++slot) {
        if (slot != mySlot && m_results[slot].kind == MagicKind::PerCard) {
            most = std::max(most, m_results[slot].k);
        }
    }
    for (int slot = 1; slot <= m_teamCount; ++slot) {
        SlotResult &result = m_results[slot];
        if (slot != mySlot && result.kind == MagicKind::PerCard && result.k == most) {
            result.kind = MagicKind::Deciding;
            result.color = DecidingColor;
        }
    }
    m_countdown = most;
}

std::u16string Magiclass::PutMagicNumber(int slot) const
{
    return m_results.contains(slot) ? MagicTextOf(m_results[slot].kind, m_results[slot].k)
                                    : std::u16string{};
}

} // namespace penarin
