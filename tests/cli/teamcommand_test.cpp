#include "cli/report.h"
#include "season/filemodule.h"
#include "support/seasonbuilder.h"

#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include <filesystem>
#include <sstream>

namespace penarin {
namespace {

struct Output
{
    int status;
    std::string out;
    std::string err;
};

Output team(std::vector<std::string> args)
{
    args.insert(args.begin(), "team");
    std::ostringstream out;
    std::ostringstream err;
    const int status = cli::runReport(args, out, err);
    return {status, out.str(), err.str()};
}

const std::string sampleB = std::string(PENARIN_SAMPLES_DIR) + "/sample-b.ptr";

// In the second sample, the leader of league 2's second division has a
// championship magic of 77; its third-placed rival is a card of 13 games.
TEST(TeamCommand, TextShowsTheRecordTheReportAndTheCardMagic)
{
    const Output run =
        team({sampleB, "--league", "2", "--division", "2", "--team", "1", "--opponent", "3"});
    ASSERT_EQ(run.status, cli::ExitOk) << run.err;
    EXPECT_EQ(run.out.substr(0, run.out.find("試  合:")), "チーム: デンバー・サミッツ\n"
                                                          "リーグ: 連合リーグ\n"
                                                          "地区: 中地区\n"
                                                          "試合数: 162\n"
                                                          "優勝マジック: 77\n"
                                                          "消  化: 126勝 36敗 0分 .778\n");
    EXPECT_NE(run.out.find("残り全 敗: 49勝 113敗 0分 .302\n\n"
                           "対 ヒューストン・オービッツ全敗(他全勝)\n"
                           "  勝敗: 126勝 36敗 0分\n"),
              std::string::npos);
    EXPECT_NE(run.out.find("\nヒューストン・オービッツの成績\n  勝敗: 45勝 37敗 0分\n"),
              std::string::npos);
    const std::string tail = "  全敗勝率: .278\n\n"
                             "対  ヒューストン・オービッツ\n"
                             "カード別マジック: 77\n"
                             "消  化: 126勝 36敗 0分 .778\n";
    EXPECT_EQ(run.out.substr(run.out.size() - tail.size()), tail);
}

TEST(TeamCommand, JsonOfATeamWithoutMagicAgainstItself)
{
    const std::filesystem::path path =
        std::filesystem::temp_directory_path() / "penarin-teamcommand.ptr";
    Season season = test::SeasonBuilder::oneLeague({u"甲", u"乙"}, 10).result(1, 2, 2, 2).build();
    season.AddSnapshot = false;
    ASSERT_TRUE(SaveSeason(season, path, test::testNow));

    const Output text = team({path.string(), "--team", "1"});
    EXPECT_EQ(text.out.find("優勝マジック"), std::string::npos) << text.out;
    EXPECT_NE(text.out.find("地区: （なし）\n試合数: 10\n"), std::string::npos) << text.out;

    const Output json = team({path.string(), "--team", "2", "--opponent", "2", "--format", "json"});
    ASSERT_EQ(json.status, cli::ExitOk) << json.err;
    const nlohmann::json parsed = nlohmann::json::parse(json.out);
    EXPECT_EQ(parsed["magicCountdown"], -1);
    EXPECT_EQ(parsed["magic"], "");
    EXPECT_EQ(parsed["magicCaptionsShown"], false);
    EXPECT_EQ(parsed["record"], "2勝 2敗 0分");
    EXPECT_EQ(parsed["opponent"]["hasCard"], false);
    EXPECT_EQ(parsed["opponent"]["report"], nlohmann::json::array({"対戦がありません"}));
    std::filesystem::remove(path);
}

TEST(TeamCommand, PositionsOutsideTheStandingsAreUsageErrors)
{
    for (const std::vector<std::string> &args : {std::vector<std::string>{sampleB},
                                                 {sampleB, "--team", "0"},
                                                 {sampleB, "--team", "1", "--opponent", "99"},
                                                 {sampleB, "--team", "x"}}) {
        const Output run = team(args);
        EXPECT_EQ(run.status, cli::ExitUsage) << run.out;
        EXPECT_EQ(run.err.rfind("penarin-report: ", 0), 0u) << run.err;
    }
    std::ostringstream out, err;
    EXPECT_EQ(cli::runReport({"show", sampleB, "--team", "1"}, out, err), cli::ExitUsage);
}

} // namespace
} // namespace penarin
