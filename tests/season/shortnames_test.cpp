#include "season/shortnames.h"

#include <gtest/gtest.h>

using namespace penarin;

TEST(UniqueShortNames, NamesThatStartAlikeGrowUntilTheyDiffer)
{
    const struct
    {
        std::vector<Text> names;
        int length;
        std::vector<Text> expected;
    } cases[] = {
        {{u"巨人", u"阪神", u"広島"}, 1, {u"巨", u"阪", u"広"}},
        {{u"巨人", u"巨神", u"広島"}, 1, {u"巨人", u"巨神", u"広"}},
        {{u"東京A", u"東京B", u"東北"}, 1, {u"東京A", u"東京B", u"東北"}},
        {{u"東京A", u"東京B", u"東北"}, 2, {u"東京A", u"東京B", u"東北"}},
        {{u"Ants", u"Ant"}, 1, {u"Ants", u"Ant"}}, // a name inside another stays whole
        {{u"Ants", u"Bees"}, 9, {u"Ants", u"Bees"}},
        {{u"Ants", u"Bees"}, 0, {u"", u""}},
    };
    for (const auto &c : cases) {
        EXPECT_EQ(UniqueShortNames(c.names, c.length), c.expected);
    }
}
