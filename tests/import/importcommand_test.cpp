#include "cli/report.h"
#include "season/filemodule.h"
#include "support/seasonbuilder.h"

#include <gtest/gtest.h>

#include <nlohmann/json.hpp>

#include <filesystem>
#include <fstream>
#include <sstream>

namespace penarin {
namespace {

namespace fs = std::filesystem;

struct Outcome
{
    int status;
    std::string out;
    std::string err;
};

Outcome report(const std::vector<std::string> &args)
{
    std::ostringstream out;
    std::ostringstream err;
    const int status = cli::runReport(args, out, err);
    return {status, out.str(), err.str()};
}

class ImportCommand : public ::testing::Test
{
protected:
    void SetUp() override
    {
        m_dir = fs::temp_directory_path() /
                ("penarin-import-" +
                 std::string(::testing::UnitTest::GetInstance()->current_test_info()->name()));
        fs::remove_all(m_dir);
        fs::create_directories(m_dir);
    }
    void TearDown() override { fs::remove_all(m_dir); }

    std::string save(Season season, const std::string &name)
    {
        season.AddSnapshot = false;
        const fs::path path = m_dir / name;
        EXPECT_TRUE(SaveSeason(season, path, test::testNow));
        return path.string();
    }
    std::string write(const std::string &name, const std::string &bytes)
    {
        const fs::path path = m_dir / name;
        std::ofstream(path, std::ios::binary) << bytes;
        return path.string();
    }

    fs::path m_dir;
};

Season threeTeams()
{
    return test::SeasonBuilder::oneLeague({u"読売ジャイアンツ", u"阪神タイガース", u"中日"}, 4)
        .build();
}

TEST_F(ImportCommand, RefusesAListWithErrorsUnlessToldToSkipThem)
{
    const std::string season = save(threeTeams(), "season.ptr");
    const std::string games = write("games.csv", "4/1,巨人,阪神,3,1\n"
                                                 "4/2,読売,ヤクルト,3,1\n"
                                                 "4/3,読売,阪神,\"2\",5\n"
                                                 "G=阪神タイガース\n");
    const std::string out = (m_dir / "out.ptr").string();

    const Outcome refused = report({"import", season, games, out, "--aliases",
                                    write("aliases.txt", "巨人=読売ジャイアンツ\n")});
    EXPECT_EQ(refused.status, 7);
    EXPECT_EQ(refused.err, "2: チーム名が見つかりません: ヤクルト\n");
    EXPECT_FALSE(fs::exists(out));

    const Outcome skipped =
        report({"import", season, games, out, "--skip-invalid", "--snapshots", "--format", "json",
                "--aliases", (m_dir / "aliases.txt").string()});
    ASSERT_EQ(skipped.status, 0) << skipped.err;
    const nlohmann::json expected = {
        {"applied", 2},
        {"skipped", {{{"line", 2}, {"reason", "チーム名が見つかりません: ヤクルト"}}}},
        {"snapshots", 2}};
    EXPECT_EQ(nlohmann::json::parse(skipped.out), expected);
    Season result;
    ASSERT_NE(LoadSeason(result, out), LoadStatus::Failed);
    EXPECT_EQ(result.team(1).CardWins[2], 1);
    EXPECT_EQ(result.team(1).CardLosses[2], 1);
    EXPECT_EQ(result.SnapshotCount(), 2);

    EXPECT_EQ(report({"import", season, games}).status, cli::ExitUsage);
    EXPECT_EQ(report({"import", games, games, out}).status, cli::ExitCannotLoad);
}

TEST_F(ImportCommand, ExportedCardsImportIntoAnEmptySeason)
{
    Season played =
        test::SeasonBuilder::oneLeague({u"読売ジャイアンツ", u"阪神タイガース", u"中日"}, 4)
            .result(1, 2, 1, 2, 1)
            .result(3, 1, 4, 0)
            .build();
    const std::string cards = (m_dir / "cards.csv").string();
    ASSERT_EQ(report({"export", "cards", save(played, "played.ptr"), cards}).status, 0);
    const std::string out = (m_dir / "out.ptr").string();
    const Outcome run = report({"import", save(threeTeams(), "empty.ptr"), cards, out});
    ASSERT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(run.out, "applied: 2\nsnapshots: 0\n");
    Season result;
    ASSERT_NE(LoadSeason(result, out), LoadStatus::Failed);
    EXPECT_EQ(result.Teams, played.Teams);
}

} // namespace
} // namespace penarin
