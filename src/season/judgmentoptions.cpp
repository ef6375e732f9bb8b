#include "season/judgmentoptions.h"

#include "season/conditioncode.h"

#include <algorithm>
#include <array>

namespace penarin {

namespace {

bool isRankCondition(int code)
{
    return code >= ConditionCode::GridOrder && code <= ConditionCode::UserRankC;
}

int indexOf(const std::vector<int> &list, int value)
{
    return static_cast<int>(std::find(list.begin(), list.end(), value) - list.begin());
}

std::int16_t *rankField(TeamRecord &team, int set)
{
    switch (set) {
    case 0:
        return &team.UserRankA;
    case 1:
        return &team.UserRankB;
    case 2:
        return &team.UserRankC;
    default:
        return nullptr;
    }
}

} // namespace

std::u16string ConditionName(int code, int judgment)
{
    static const std::array<const char16_t *, 10> names = {
        u"",
        u"対戦成績",
        u"リーグ内の勝率",
        u"リーグ内の勝数",
        u"交流戦の勝率",
        u"交流戦の勝数",
        u"前年度順位(対戦表)",
        u"前年度順位(設定1)",
        u"前年度順位(設定2)",
        u"前年度順位(設定3)",
    };
    if (code == ConditionCode::Secondary) {
        return judgment == 1 ? u"勝率" : u"勝数";
    }
    if (code < 1 || code > 10) {
        return {};
    }
    return names[static_cast<std::size_t>(code - 1)];
}

ListAddition AddCondition(std::vector<int> &codes, int code)
{
    for (int i = 0; i < static_cast<int>(codes.size()); ++i) {
        if (codes[i] == code) {
            return {ListAddition::AlreadyListed, i};
        }
        if (isRankCondition(code) && isRankCondition(codes[i])) {
            return {ListAddition::SecondRank, i};
        }
    }
    codes.push_back(code);
    return {ListAddition::Appended, static_cast<int>(codes.size()) - 1};
}

ListAddition AddTeam(std::vector<int> &teams, int teamNo)
{
    const int listed = indexOf(teams, teamNo);
    if (listed < static_cast<int>(teams.size())) {
        return {ListAddition::AlreadyListed, listed};
    }
    teams.push_back(teamNo);
    return {ListAddition::Appended, static_cast<int>(teams.size()) - 1};
}

std::vector<std::int16_t> ConditionList(const std::vector<int> &codes)
{
    if (codes.empty()) {
        return {ConditionCode::End};
    }
    return std::vector<std::int16_t>(codes.begin(), codes.end());
}

std::vector<int> ListedConditions(const std::vector<std::int16_t> &list)
{
    std::vector<int> codes;
    for (const std::int16_t code : list) {
        if (code >= 1 && code <= 10) {
            codes.push_back(code);
        }
    }
    return codes;
}

std::int16_t RankInSet(const TeamRecord &team, int set)
{
    switch (set) {
    case 0:
        return team.UserRankA;
    case 1:
        return team.UserRankB;
    case 2:
        return team.UserRankC;
    default:
        return 0;
    }
}

std::vector<int> RankSetOrder(const Season &season, int set)
{
    std::vector<int> order;
    const int n = season.TeamCount();
    for (int rank = 1; rank <= n; ++rank) {
        int found = 0;
        for (int teamNo = 1; teamNo <= n && found == 0; ++teamNo) {
            const int teamRank = RankInSet(season.team(teamNo), set);
            if (teamRank == 0) {
                return order;
            }
            if (teamRank == rank) {
                found = teamNo;
            }
        }
        if (found == 0) {
            return order;
        }
        order.push_back(found);
    }
    return order;
}

bool ApplyRankSet(Season &season, int set, const std::vector<int> &order)
{
    const int n = season.TeamCount();
    if (set < 0 || set > 2 || static_cast<int>(order.size()) != n) {
        return false;
    }
    for (int teamNo = 1; teamNo <= n; ++teamNo) {
        if (indexOf(order, teamNo) >= n) {
            return false;
        }
    }
    for (int teamNo = 1; teamNo <= n; ++teamNo) {
        *rankField(season.team(teamNo), set) =
            static_cast<std::int16_t>(indexOf(order, teamNo) + 1);
    }
    return true;
}

} // namespace penarin
