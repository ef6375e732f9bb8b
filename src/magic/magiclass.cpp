#include "magic/magiclass.h"

#include "season/conditioncode.h"

#include <algorithm>
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

void writeNumber(std::u16string &text, int k)
{
    // k is 1..32767 here: at most five digits, which fit the string's
    // inline buffer, so no allocation happens per slot.
    char16_t digits[8];
    int count = 0;
    unsigned value = static_cast<unsigned>(k);
    do {
        digits[count++] = static_cast<char16_t>(u'0' + value % 10);
        value /= 10;
    } while (value != 0 && count < 8);
    text.clear();
    while (count > 0) {
        text.push_back(digits[--count]);
    }
}

} // namespace

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
    if (!(myPrimary(0) < rivalMaxPrimary)) {
        return 0;
    }
    if (myPrimary(remaining - 1) < rivalMaxPrimary) {
        return remaining;
    }
    int low = 1;
    int high = remaining - 1;
    while (low < high) {
        const int mid = low + (high - low) / 2;
        if (myPrimary(mid) < rivalMaxPrimary) {
            low = mid + 1;
        } else {
            high = mid;
        }
    }
    return low;
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
    for (const std::int16_t code : m_conditions) {
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
            const std::uint8_t flag = slotValue(conditionFlags(code), slot);
            if (flag == 1) {
                return true;
            }
            if (flag == 0) {
                return false;
            }
            continue; // level at best: the next condition decides
        }
        if (code >= ConditionCode::GridOrder && code <= ConditionCode::UserRankC) {
            return slotValue(conditionFlags(code), slot) == 1;
        }
        // Unknown codes are passed over, as the standings ordering does.
    }
    return false;
}

Magiclass::Verdict Magiclass::evaluate(int slot) const
{
    // The rival's best and worst final measures. Under most wins the
    // percentage becomes the secondary measure and the other way round.
    double rivalMaxPrimary = 0.0;
    double rivalMaxSecondary = 0.0;
    double rivalMinPrimary = 0.0;
    double rivalMinSecondary = 0.0;
    if (m_judgment == 0) {
        rivalMaxPrimary = slotValue(m_tgAllWinAvg, slot);
        rivalMaxSecondary = slotValue(m_tgAllWin, slot);
        rivalMinPrimary = slotValue(m_tgAllLossAvg, slot);
        rivalMinSecondary = slotValue(m_tgWin, slot);
    } else if (m_judgment == 1) {
        rivalMaxPrimary = slotValue(m_tgAllWin, slot);
        rivalMaxSecondary = slotValue(m_tgAllWinAvg, slot);
        rivalMinPrimary = slotValue(m_tgWin, slot);
        rivalMinSecondary = slotValue(m_tgAllLossAvg, slot);
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
        out.text = ClinchedBelowText;
        out.kind = MagicKind::ClinchedBelow;
        out.color = ButtonFaceColor;
        lit = false;
        return;
    }
    if (verdict.result == 0) {
        out.text.clear();
        out.kind = MagicKind::Undecided;
        out.color = ButtonFaceColor;
        lit = false;
        return;
    }
    if (verdict.k == 0) {
        out.text = ClinchedAboveText;
        out.kind = MagicKind::ClinchedAbove;
        out.color = WindowColor;
        lit = true;
        return;
    }
    out.k = verdict.k;
    writeNumber(out.text, verdict.k);
    // The k wins must be possible without beating this rival itself; in an
    // interleague championship a rival of my own league plays me in no
    // game of the scope, so all my remaining games count.
    const bool reachable =
        verdict.k <= std::int64_t{m_myRemaining} - slotValue(m_vsZanGame, slot) ||
        (m_intMode == 1 && m_myLeagueIndex == slotValue(m_tgLeagueIndex, slot));
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

void Magiclass::GetMagicNumber()
{
    m_results.assign(m_teamCount, SlotResult{});
    m_countdown = -1;

    const bool haveMyTeam = m_aryIndex >= 1 && m_aryIndex <= m_teamCount;
    m_myWins = clampCount(slotValue(m_tgWin, m_aryIndex));
    m_myLosses = clampCount(slotValue(m_tgLoss, m_aryIndex));
    m_myRemaining = clampCount(slotValue(m_tgZanGame, m_aryIndex));
    m_myGames = m_myWins + m_myLosses + m_myRemaining;

    bool everyRivalLit = true;
    for (int slot = 1; slot <= m_teamCount; ++slot) {
        if (slot == m_aryIndex) {
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
        if (slot != m_aryIndex && m_results[slot].kind == MagicKind::PerCard) {
            most = std::max(most, m_results[slot].k);
        }
    }
    for (int slot = 1; slot <= m_teamCount; ++slot) {
        SlotResult &result = m_results[slot];
        if (slot != m_aryIndex && result.kind == MagicKind::PerCard && result.k == most) {
            result.kind = MagicKind::Deciding;
            result.color = DecidingColor;
        }
    }
    m_countdown = most;
}

std::u16string Magiclass::PutMagicNumber(int slot) const
{
    return m_results.contains(slot) ? m_results[slot].text : std::u16string{};
}

MagicKind Magiclass::PutMagicType(int slot) const
{
    return m_results.contains(slot) ? m_results[slot].kind : MagicKind::Undecided;
}

std::int32_t Magiclass::PutCellColor(int slot) const
{
    return m_results.contains(slot) ? m_results[slot].color : 0;
}

} // namespace penarin
