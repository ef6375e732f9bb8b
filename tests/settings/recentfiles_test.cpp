#include "season/profile.h"
#include "season/recentfiles.h"

#include <gtest/gtest.h>

using namespace penarin;

TEST(RecentFiles, NewestFirstOnceAndAtMostEight)
{
    std::vector<std::string> list;
    for (int i = 1; i <= 10; ++i) {
        list = withRecentFile(list, "/s/" + std::to_string(i) + ".ptr");
    }
    ASSERT_EQ(list.size(), MaxRecentFiles);
    EXPECT_EQ(list.front(), "/s/10.ptr");
    EXPECT_EQ(list.back(), "/s/3.ptr");
    list = withRecentFile(list, "/s/5.ptr");
    EXPECT_EQ(list.front(), "/s/5.ptr");
    EXPECT_EQ(std::count(list.begin(), list.end(), "/s/5.ptr"), 1);
    EXPECT_EQ(list.size(), MaxRecentFiles);
    list = withoutRecentFile(list, "/s/5.ptr");
    EXPECT_EQ(list.size(), MaxRecentFiles - 1);
}

TEST(RecentFiles, OwnSectionKeepsForeignLinesAndShrinks)
{
    Profile profile =
        Profile::fromBytes("[Option]\r\nLoad=1\r\n[Recent]\r\n; mine\r\nFile1=/a.ptr\r\n"
                           "File2=/b.ptr\r\nFile3=/c.ptr\r\nOther=x\r\n[Mine]\r\nK=1\r\n");
    EXPECT_EQ(readRecentFiles(profile), (std::vector<std::string>{"/a.ptr", "/b.ptr", "/c.ptr"}));
    storeRecentFiles(profile, {"/new.ptr", "bad\npath", "/a.ptr"});
    EXPECT_EQ(readRecentFiles(profile), (std::vector<std::string>{"/new.ptr", "/a.ptr"}));
    const std::string bytes = profile.toBytes();
    for (const char *kept : {"; mine", "Other=x", "[Mine]", "K=1", "Load=1"}) {
        EXPECT_NE(bytes.find(kept), std::string::npos) << kept;
    }
    EXPECT_EQ(bytes.find("bad"), std::string::npos);
}
