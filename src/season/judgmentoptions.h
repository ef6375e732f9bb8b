#pragma once

#include "season/season.h"

#include <cstdint>
#include <string>
#include <vector>

namespace penarin {

// The rules of the judgment options and previous-year rank dialog, kept
// apart from its window.

// How the dialog names a tie-break condition (codes 1 to 10); the judgment
// decides the name of code 1, the measure that does not decide. Empty for
// any other code.
[[nodiscard]] std::u16string ConditionName(int code, int judgment);

// What adding a condition or a team to the right-hand list did.
struct ListAddition
{
    enum Kind
    {
        Appended,      // added at the end and selected
        AlreadyListed, // not added; the listed entry is selected
        SecondRank,    // refused: "前年度順位は複数設定できません"
    };
    Kind kind = Appended;
    int index = 0; // the entry to select (0-based)
};

// Adds `code` to a condition list. A condition is listed once, and only one
// of the four previous-year rank conditions (codes 7 to 10) may be listed.
ListAddition AddCondition(std::vector<int> &codes, int code);

// Adds a team to a previous-year order; a team is listed once.
ListAddition AddTeam(std::vector<int> &teams, int teamNo);

// The list the dialog returns: the listed codes, or the single end mark when
// nothing is listed.
[[nodiscard]] std::vector<std::int16_t> ConditionList(const std::vector<int> &codes);

// The codes of a stored list shown in the dialog, in list order; the end
// mark and codes it does not know are left out.
[[nodiscard]] std::vector<int> ListedConditions(const std::vector<std::int16_t> &list);

// Previous-year rank sets 0..2 ("設定1" to "設定3").
[[nodiscard]] std::int16_t RankInSet(const TeamRecord &team, int set);

// The teams in the order of a rank set: the team ranked 1st, then 2nd, and
// so on. A team ranked 0 ends the listing where it is met, and so does a
// rank nobody holds, so a damaged set shows the teams found so far and the
// user adds the missing ones.
[[nodiscard]] std::vector<int> RankSetOrder(const Season &season, int set);

// Stores a complete order as rank set `set`: every team gets its position.
// An order that does not list every team exactly once changes nothing and
// gives false.
bool ApplyRankSet(Season &season, int set, const std::vector<int> &order);

} // namespace penarin
