#include "season/judgmentoptions.h"
#include "support/seasonbuilder.h"

#include <gtest/gtest.h>

using namespace penarin;
using penarin::test::SeasonBuilder;

TEST(JudgmentOptions, ConditionNames)
{
    EXPECT_EQ(ConditionName(1, 0), u"勝数");
    EXPECT_EQ(ConditionName(1, 1), u"勝率");
    EXPECT_EQ(ConditionName(2, 1), u"対戦成績");
    EXPECT_EQ(ConditionName(6, 0), u"交流戦の勝数");
    EXPECT_EQ(ConditionName(7, 0), u"前年度順位(対戦表)");
    EXPECT_EQ(ConditionName(10, 0), u"前年度順位(設定3)");
    EXPECT_EQ(ConditionName(0, 0), u"");
    EXPECT_EQ(ConditionName(11, 0), u"");
}

TEST(JudgmentOptions, AddingConditions)
{
    struct Case
    {
        std::vector<int> before;
        int code;
        ListAddition::Kind kind;
        int index;
        std::vector<int> after;
    };
    const Case cases[] = {
        {{}, 2, ListAddition::Appended, 0, {2}},
        {{1, 2}, 3, ListAddition::Appended, 2, {1, 2, 3}},
        {{1, 2, 3}, 2, ListAddition::AlreadyListed, 1, {1, 2, 3}},
        {{1, 8}, 8, ListAddition::AlreadyListed, 1, {1, 8}},
        {{1, 7}, 8, ListAddition::SecondRank, 1, {1, 7}},
        {{10}, 7, ListAddition::SecondRank, 0, {10}},
        {{9}, 1, ListAddition::Appended, 1, {9, 1}},
    };
    for (const Case &c : cases) {
        std::vector<int> codes = c.before;
        const ListAddition added = AddCondition(codes, c.code);
        EXPECT_EQ(added.kind, c.kind) << c.code;
        EXPECT_EQ(added.index, c.index) << c.code;
        EXPECT_EQ(codes, c.after) << c.code;
    }

    std::vector<int> teams{3, 1};
    EXPECT_EQ(AddTeam(teams, 1).index, 1);
    EXPECT_EQ(AddTeam(teams, 2).kind, ListAddition::Appended);
    EXPECT_EQ(teams, (std::vector<int>{3, 1, 2}));
}

TEST(JudgmentOptions, ListsInAndOut)
{
    using Codes = std::vector<std::int16_t>;
    EXPECT_EQ(ListedConditions(Codes{0}), std::vector<int>{});
    EXPECT_EQ(ListedConditions(Codes{2, 7, 0}), (std::vector<int>{2, 7}));
    EXPECT_EQ(ListedConditions(Codes{12, 3, -1}), std::vector<int>{3});
    EXPECT_EQ(ConditionList({}), Codes{0});
    EXPECT_EQ(ConditionList({4, 1}), (Codes{4, 1}));
}

TEST(JudgmentOptions, RankSetListingEndsOnEverySet)
{
    struct Case
    {
        const char *what;
        std::vector<int> ranks; // UserRankB of teams 1..n
        std::vector<int> order;
    };
    const Case cases[] = {
        {"permutation", {3, 1, 4, 2}, {2, 4, 1, 3}},
        {"rank 0 met before the next rank", {2, 1, 0, 3}, {2, 1}},
        {"rank 0 after the last one found", {1, 2, 3, 0}, {1, 2, 3}},
        {"missing rank, no zero", {1, 2, 5, 6}, {1, 2}},
        {"duplicate rank", {1, 1, 2, 3}, {1, 3, 4}},
        {"negative ranks", {-1, -2, -3, -4}, {}},
    };
    for (const Case &c : cases) {
        Season season = SeasonBuilder::oneLeague({u"A", u"B", u"C", u"D"}, 10).build();
        for (int i = 1; i <= 4; ++i) {
            season.team(i).UserRankB = static_cast<std::int16_t>(c.ranks[i - 1]);
        }
        EXPECT_EQ(RankSetOrder(season, 1), c.order) << c.what;
        EXPECT_EQ(RankSetOrder(season, 0), (std::vector<int>{1, 2, 3, 4})) << c.what;
    }
}

TEST(JudgmentOptions, ApplyingARankSet)
{
    Season season = SeasonBuilder::oneLeague({u"A", u"B", u"C"}, 10).build();
    EXPECT_FALSE(ApplyRankSet(season, 2, {3, 1}));    // incomplete
    EXPECT_FALSE(ApplyRankSet(season, 2, {3, 1, 1})); // a team twice
    EXPECT_FALSE(ApplyRankSet(season, 3, {3, 1, 2})); // no such set
    EXPECT_EQ(season.team(1).UserRankC, 1);

    ASSERT_TRUE(ApplyRankSet(season, 2, {3, 1, 2}));
    EXPECT_EQ(season.team(1).UserRankC, 2);
    EXPECT_EQ(season.team(2).UserRankC, 3);
    EXPECT_EQ(season.team(3).UserRankC, 1);
    EXPECT_EQ(season.team(3).UserRankA, 3); // the other sets keep theirs
    EXPECT_EQ(RankSetOrder(season, 2), (std::vector<int>{3, 1, 2}));
}
