#include "cli/report.h"
#include "season/filemodule.h"
#include "support/seasonbuilder.h"

#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include <filesystem>
#include <sstream>

namespace penarin {
namespace {

namespace fs = std::filesystem;
using Json = nlohmann::json;

struct Output
{
    int status;
    std::string out;
    std::string err;
};

Output report(const std::vector<std::string> &args)
{
    std::ostringstream out;
    std::ostringstream err;
    const int status = cli::runReport(args, out, err);
    return {status, out.str(), err.str()};
}

class RaceReportTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        m_dir = fs::temp_directory_path() /
                ("penarin-race-" +
                 std::string(::testing::UnitTest::GetInstance()->current_test_info()->name()));
        fs::remove_all(m_dir);
        fs::create_directories(m_dir);
    }
    void TearDown() override { fs::remove_all(m_dir); }

    std::string save(Season season)
    {
        const fs::path path = m_dir / "season.ptr";
        season.AddSnapshot = false;
        EXPECT_TRUE(SaveSeason(season, path, test::testNow));
        return path.string();
    }

    fs::path m_dir;
};

// A finished season: every answer is forced, and every certificate is the
// empty outcome (no game is left to play).
TEST_F(RaceReportTest, FinishedSeasonInBothFormats)
{
    auto b = test::SeasonBuilder::oneLeague({u"赤", u"青", u"緑"}, 2);
    b.result(2, 1, 0, 2).result(1, 3, 1, 1).result(2, 3, 2, 0);
    const std::string file = save(b.build());

    const Output json = report({"race", file, "--league", "1", "--top", "2", "--format", "json"});
    ASSERT_EQ(json.status, cli::ExitOk) << json.err;
    const Json sure = {{"sure", true},
                       {"sureUnlessTied", true},
                       {"possible", true},
                       {"possibleWithTie", true},
                       {"ownPower", true},
                       {"magic", 0},
                       {"decided", true},
                       {"tieBreakApplied", false},
                       {"certificate", Json::array()},
                       {"certificateNeedsTie", false},
                       {"certificateDraws", 0},
                       {"winOutFailure", nullptr},
                       {"winOutFailureDraws", nullptr}};
    const Json out = {{"sure", false},
                      {"sureUnlessTied", false},
                      {"possible", false},
                      {"possibleWithTie", false},
                      {"ownPower", false},
                      {"magic", nullptr},
                      {"decided", true},
                      {"tieBreakApplied", false},
                      {"certificate", nullptr},
                      {"certificateNeedsTie", false},
                      {"certificateDraws", nullptr},
                      {"winOutFailure", Json::array()},
                      {"winOutFailureDraws", 0}};
    const auto team = [](int no, const char *name, const Json &title, const Json &topK) {
        return Json{{"teamNo", no}, {"teamName", name}, {"title", title}, {"topK", topK}};
    };
    EXPECT_EQ(
        Json::parse(json.out),
        (Json{{"top", 2},
              {"teams",
               {team(1, "赤", sure, sure), team(2, "青", out, sure), team(3, "緑", out, out)}}}));

    const Output text = report({"race", file, "--league", "1", "--top", "2"});
    ASSERT_EQ(text.status, cli::ExitOk) << text.err;
    EXPECT_EQ(text.out, "チーム  優勝  M  上位2  M\n"
                        "赤      確定  0  確定   0\n"
                        "青      消滅  -  確定   0\n"
                        "緑      消滅  -  消滅   -\n");
}

// Two teams level at the end: the league's rule (the series, then the grid
// order) puts 赤 first, as the standings do, and the report says a
// tie-break decided it.
TEST_F(RaceReportTest, LevelFinishGoesByTheLeaguesRule)
{
    auto b = test::SeasonBuilder::oneLeague({u"赤", u"青", u"緑"}, 3);
    b.result(1, 2, 2, 1).result(1, 3, 2, 1).result(2, 3, 3, 0);
    Season season = b.build();
    for (int t = 1; t <= 3; ++t) {
        season.team(t).LeagueJudgment = JudgmentSet{0, {2, 7, 0}, 0};
    }
    const std::string file = save(season);
    const Output text = report({"race", file, "--league", "1", "--top", "1"});
    ASSERT_EQ(text.status, cli::ExitOk) << text.err;
    EXPECT_EQ(text.out, "チーム  優勝  M  上位1  M\n"
                        "赤      確定  0  確定   0\n"
                        "青      消滅  -  消滅   -\n"
                        "緑      消滅  -  消滅   -\n");
    const Output json = report({"race", file, "--league", "1", "--top", "1", "--format", "json"});
    ASSERT_EQ(json.status, cli::ExitOk) << json.err;
    EXPECT_EQ(Json::parse(json.out)["teams"][0]["title"]["tieBreakApplied"], true);
}

TEST_F(RaceReportTest, RefusesWhatCannotBeAnalysed)
{
    auto b = test::SeasonBuilder::oneLeague({u"赤", u"青"}, 2);
    b.result(1, 2, 3, 0); // more results than games
    const std::string file = save(b.build());
    const Output exceeded = report({"race", file, "--league", "1"});
    EXPECT_EQ(exceeded.status, cli::ExitCannotAnalyse);
    EXPECT_NE(exceeded.err.find("マジックナンバーを正しく計算できません"), std::string::npos);
    EXPECT_EQ(report({"race", file, "--top", "0"}).status, cli::ExitUsage);
    EXPECT_EQ(report({"show", file, "--top", "2"}).status, cli::ExitUsage);
}

} // namespace
} // namespace penarin
