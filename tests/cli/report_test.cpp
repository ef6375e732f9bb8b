#include "cli/report.h"
#include "magic/calcodule.h"
#include "magic/winline.h"
#include "season/filemodule.h"
#include "season/settings.h"
#include "season/tablewriter.h"
#include "season/textcodec.h"
#include "standings/viewlists.h"
#include "support/seasonbuilder.h"

#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <sstream>

namespace penarin {
namespace {

namespace fs = std::filesystem;
using Json = nlohmann::json;

struct RunResult
{
    int status;
    std::string out;
    std::string err;
};

RunResult report(const std::vector<std::string> &args)
{
    std::ostringstream out;
    std::ostringstream err;
    const int status = cli::runReport(args, out, err);
    return {status, out.str(), err.str()};
}

std::vector<char> readAll(const fs::path &path)
{
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

class ReportTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        m_dir =
            fs::temp_directory_path() /
            ("penarin-report-" + std::to_string(::testing::UnitTest::GetInstance()->random_seed()) +
             "-" + ::testing::UnitTest::GetInstance()->current_test_info()->name());
        fs::remove_all(m_dir);
        fs::create_directories(m_dir);
    }
    void TearDown() override { fs::remove_all(m_dir); }

    fs::path save(Season season, const std::string &name)
    {
        const fs::path path = m_dir / name;
        season.AddSnapshot = false;
        EXPECT_TRUE(SaveSeason(season, path, test::testNow));
        return path;
    }

    fs::path m_dir;
};

std::size_t occurrences(const std::string &text, const std::string &needle)
{
    std::size_t count = 0;
    for (std::size_t at = text.find(needle); at != std::string::npos;
         at = text.find(needle, at + 1)) {
        ++count;
    }
    return count;
}

const std::string sampleA = std::string(PENARIN_SAMPLES_DIR) + "/sample-a.ptr";
const std::string sampleB = std::string(PENARIN_SAMPLES_DIR) + "/sample-b.ptr";

// Every refusal of the command line names what is wrong in Japanese, then
// the usage follows; the status is 2.
TEST_F(ReportTest, RefusalsOfTheCommandLineNameTheFault)
{
    const std::string out = (m_dir / "out.csv").string();
    const struct
    {
        std::vector<std::string> args;
        std::string message;
    } cases[] = {
        {{}, "コマンドを指定してください"},
        {{"frobnicate"}, "不明なコマンドです: frobnicate"},
        {{"show"}, "show にはシーズンファイルを指定してください"},
        {{"show", sampleA, sampleB}, "引数が多すぎます: " + sampleB},
        {{"show", sampleA, "--league"}, "「--league」には値が必要です"},
        {{"show", sampleA, "--league", "x"},
         "「--league」には数を指定してください（「x」は数ではありません）"},
        {{"show", sampleA, "--league", "1x"},
         "「--league」には数を指定してください（「1x」は数ではありません）"},
        {{"show", sampleA, "--scope", "playoffs"},
         "「--scope」に「playoffs」は指定できません（official、league、interleague のいずれか）"},
        {{"show", sampleA, "--format", "csv"},
         "「--format」に「csv」は指定できません（text、json のいずれか）"},
        {{"show", sampleA, "--top", "2"}, "「--top」は show では使えません"},
        {{"show", sampleA, "-"}, "「-」は show では使えません"},
        {{"show", sampleA, "--league", "9"}, "リーグ 9 はありません（0～2）"},
        {{"show", sampleA, "--league", "-1"}, "リーグ -1 はありません（0～2）"},
        {{"show", sampleB, "--league", "1", "--division", "4"},
         "リーグ 1 に地区 4 はありません（0～3）"},
        {{"show", sampleA, "--settings", (m_dir / "none.ini").string()},
         "設定ファイルがありません: " + (m_dir / "none.ini").string()},
        {{"export", "pct", sampleA}, "export には出力ファイルを指定してください"},
        {{"export", sampleA, "pct", out},
         "表に「" + sampleA + "」は指定できません（results、surplus、pct のいずれか）"},
        {{"export", "pct", sampleA, out, "--format", "text"},
         "「--format」は export では使えません"},
        {{"race", sampleA, "--top", "0"}, "「--top」には 1 以上を指定してください"},
        {{"team", sampleA}, "team には --team を指定してください"},
        {{"team", sampleA, "--team", "7"}, "--team 7 は順位表にありません（1～6）"},
        {{"team", sampleA, "--team", "1", "--opponent", "0"},
         "--opponent 0 は順位表にありません（1～6）"},
        {{"resave", sampleA}, "resave には出力ファイルを指定してください"},
        {{"help", "show"}, "引数が多すぎます: show"},
    };
    for (const auto &c : cases) {
        const RunResult run = report(c.args);
        EXPECT_EQ(run.status, cli::ExitUsage) << ::testing::PrintToString(c.args);
        EXPECT_EQ(run.err.substr(0, run.err.find('\n')), "penarin-report: " + c.message);
        EXPECT_NE(run.err.find("\n\n使い方:\n  penarin-report show FILE"), std::string::npos);
        EXPECT_EQ(run.out, "");
    }
    EXPECT_FALSE(fs::exists(out));
}

TEST_F(ReportTest, HelpListsEveryCommandOnStandardOutput)
{
    for (const char *name : {"help", "--help", "-h"}) {
        const RunResult run = report({name});
        EXPECT_EQ(run.status, cli::ExitOk);
        EXPECT_EQ(run.err, "");
        EXPECT_EQ(run.out.rfind("使い方:\n", 0), 0u);
        for (const char *command : {"show", "export", "race", "winline", "team", "resave"}) {
            EXPECT_NE(run.out.find("\n  penarin-report " + std::string(command) + " "),
                      std::string::npos)
                << command;
            EXPECT_NE(run.out.find("\n" + std::string(command) + " "), std::string::npos);
        }
    }
}

TEST_F(ReportTest, UnloadableFilesExitWithThreeAndTheProgramsMessage)
{
    const fs::path garbage = m_dir / "garbage.ptr";
    std::ofstream(garbage, std::ios::binary) << "not a season";
    for (const std::string &file : {garbage.string(), (m_dir / "missing.ptr").string()}) {
        const RunResult show = report({"show", file});
        EXPECT_EQ(show.status, cli::ExitCannotLoad);
        EXPECT_EQ(show.err, "ファイルを開けません\n");
        EXPECT_EQ(report({"resave", file, (m_dir / "out.ptr").string()}).status,
                  cli::ExitCannotLoad);
    }
    EXPECT_FALSE(fs::exists(m_dir / "out.ptr"));
}

TEST_F(ReportTest, ResaveOfEachSampleChangesOnlyTheUpdateStamp)
{
    // UpdatedAt follows the 26-byte signature array and nine Integers.
    const std::size_t updatedAt = 26 + 9 * 2;
    for (const std::string &sample : {sampleA, sampleB}) {
        const fs::path out = m_dir / "resaved.ptr";
        ASSERT_EQ(report({"resave", sample, out.string()}).status, cli::ExitOk);
        std::vector<char> stored = readAll(sample);
        std::vector<char> resaved = readAll(out);
        ASSERT_EQ(stored.size(), resaved.size()) << sample;
        std::fill_n(stored.begin() + updatedAt, 8, 0);
        std::fill_n(resaved.begin() + updatedAt, 8, 0);
        EXPECT_TRUE(stored == resaved) << sample;
    }
}

TEST_F(ReportTest, ResaveReportsAnUnwritableTarget)
{
    const RunResult run =
        report({"resave", sampleA, (m_dir / "no-such-folder" / "x.ptr").string()});
    EXPECT_EQ(run.status, cli::ExitCannotWrite);
}

TEST_F(ReportTest, TextTableListsTheStandingsColumnsInOrder)
{
    auto b = test::SeasonBuilder::oneLeague({u"赤", u"青", u"緑"}, 10);
    b.result(1, 2, 6, 2).result(1, 3, 5, 3).result(2, 3, 4, 4, 1);
    const RunResult run = report({"show", save(b.build(), "three.ptr").string(), "--league", "1"});
    ASSERT_EQ(run.status, cli::ExitOk) << run.err;
    std::istringstream lines(run.out);
    std::vector<std::vector<std::string>> table;
    for (std::string line; std::getline(lines, line);) {
        std::istringstream cells(line);
        table.emplace_back(std::istream_iterator<std::string>(cells),
                           std::istream_iterator<std::string>());
    }
    using Cells = std::vector<std::string>;
    auto standings = [](const Cells &line) { return Cells(line.begin(), line.begin() + 11); };
    ASSERT_EQ(table.size(), 5u);
    EXPECT_EQ(table[0], (Cells{"リーグ勝率"})) << "the judgment in force comes first";
    EXPECT_EQ(table[1], (Cells{"順位", "チーム", "試合", "勝", "敗", "分", "勝率", "貯", "首差",
                               "上差", "残試", "赤", "緑", "青", "優勝"}));
    // Ordered by percentage; games behind in halves; drawn games are replayed
    // here, so they leave the 20 scheduled games untouched.
    EXPECT_EQ(standings(table[2]),
              (Cells{"1", "赤", "16", "11", "5", "0", ".688", "6", "-", "-", "4"}));
    EXPECT_EQ(standings(table[3]),
              (Cells{"2", "緑", "17", "7", "9", "1", ".438", "-2", "4.0", "4.0", "4"}));
    EXPECT_EQ(standings(table[4]),
              (Cells{"3", "青", "17", "6", "10", "1", ".375", "-4", "5.0", "1.0", "4"}));
    // 赤 finishes at .550 or better; 緑 can reach .550 at best, 青 .500: 赤
    // is above 青 whatever happens (○), needs one more win against 緑 (the
    // deciding rival), and so its championship magic is 1.
    EXPECT_EQ(Cells(table[2].begin() + 11, table[2].end()), (Cells{"-", "1", "○", "1"}));
}

TEST_F(ReportTest, JsonCarriesEveryFigureAndTheScope)
{
    const RunResult run = report({"show", sampleA, "--league", "0", "--format", "json"});
    ASSERT_EQ(run.status, cli::ExitOk) << run.err;
    // Showing every team counts interleague games: the scope switches.
    EXPECT_NE(run.out.find("\"gameScope\": 1"), std::string::npos);
    for (const char *key : {"rank", "teamNo", "teamName", "played", "wins", "losses", "draws",
                            "pct", "pctText", "surplus", "behindLeader", "behindAbove", "remaining",
                            "maxWins", "maxLosses", "maxPct", "minPct"}) {
        EXPECT_NE(run.out.find("\"" + std::string(key) + "\": "), std::string::npos) << key;
    }
    const std::size_t rows = occurrences(run.out, "\"rank\"");
    EXPECT_EQ(rows, 12u);
}

TEST_F(ReportTest, JsonRowsCarryEveryCardWithItsMagic)
{
    const RunResult run = report({"show", sampleA, "--format", "json"});
    ASSERT_EQ(run.status, cli::ExitOk);
    const Json json = Json::parse(run.out);
    EXPECT_EQ(json["scopeText"], "公式戦");
    EXPECT_EQ(json["scopeMenuEnabled"], true);
    EXPECT_EQ(json["scheduleError"], false);
    EXPECT_EQ(json["judgmentText"], Json::array({"リーグ勝率", "勝数→対戦→対戦表"}));
    // Six rows with six cards each; system colours print as unsigned values.
    ASSERT_EQ(json["rows"].size(), 6u);
    for (const Json &row : json["rows"]) {
        EXPECT_TRUE(row["magicCountdown"].is_number_integer());
        ASSERT_EQ(row["cards"].size(), 6u);
        for (const Json &card : row["cards"]) {
            EXPECT_TRUE(card["magicText"].is_string());
            EXPECT_TRUE(card["magicKind"].is_number_integer());
            EXPECT_TRUE(card["magicColor"].is_number_unsigned());
        }
    }
    EXPECT_NE(run.out.find("\"magicColor\": 2147483663"), std::string::npos);
}

TEST_F(ReportTest, SettingsFileChoosesOrderDigitsAndHiddenMagic)
{
    // 甲 wins more games, 乙 has the better percentage.
    auto b = test::SeasonBuilder::oneLeague({u"甲", u"乙", u"丙"}, 30);
    b.result(1, 3, 12, 6).result(2, 3, 8, 2).result(1, 2, 0, 0, 1);
    const std::string file = save(b.build(), "order.ptr").string();
    const fs::path ini = m_dir / "Mgcsm.ini";
    std::ofstream(ini) << "[Rank]\r\nMain=1\r\n[Option]\r\nPct=5\r\nMagic=0\r\n";

    const RunResult byPct = report({"show", file});
    const RunResult byWins = report({"show", file, "--settings", ini.string()});
    ASSERT_EQ(byWins.status, cli::ExitOk) << byWins.err;
    auto rowOf = [](const std::string &out, const std::string &name) {
        return out.find("  " + name);
    };
    EXPECT_LT(rowOf(byPct.out, "乙"), rowOf(byPct.out, "甲"));
    EXPECT_LT(rowOf(byWins.out, "甲"), rowOf(byWins.out, "乙"));
    EXPECT_NE(byWins.out.find(".66667"), std::string::npos) << byWins.out;

    // Hidden magic is blanked in the table, never in JSON.
    const RunResult shown = report({"show", sampleA, "--league", "1"});
    std::ofstream(ini) << "[Option]\r\nMagic=0\r\n";
    const RunResult blanked =
        report({"show", sampleA, "--league", "1", "--settings", ini.string()});
    auto firstRowMagic = [](const std::string &out) {
        std::istringstream lines(out);
        std::string line;
        for (int skip = 0; skip < 3; ++skip) {
            std::getline(lines, line);
        }
        std::istringstream cells(line);
        const std::vector<std::string> all{std::istream_iterator<std::string>(cells),
                                           std::istream_iterator<std::string>()};
        return std::vector<std::string>(all.begin() + 11, all.end());
    };
    // The leader's magic against its three nearest rivals is hidden (it needs
    // wins against them); against the last two it is a per-card magic.
    EXPECT_EQ(firstRowMagic(shown.out),
              (std::vector<std::string>{"-", "45", "43", "42", "38", "35"}));
    EXPECT_EQ(firstRowMagic(blanked.out), (std::vector<std::string>{"-", "38", "35"}));
    const RunResult json =
        report({"show", sampleA, "--league", "1", "--settings", ini.string(), "--format", "json"});
    const Json leader = Json::parse(json.out)["rows"][0]["cards"][1];
    EXPECT_EQ(leader["magicText"], "45");
    EXPECT_EQ(leader["magicKind"], 1);
}

TEST_F(ReportTest, ResultsBeyondTheScheduleAreReportedAfterTheTable)
{
    auto b = test::SeasonBuilder::oneLeague({u"甲", u"乙"}, 2);
    b.result(1, 2, 3, 0);
    const std::string file = save(b.build(), "over.ptr").string();
    const RunResult text = report({"show", file});
    EXPECT_EQ(text.status, cli::ExitOk);
    EXPECT_EQ(text.err, "マジックナンバーを正しく計算できません\n"
                        "対戦数・引分再試合の設定を変更するか、リーグ・地区を選択してください\n");
    EXPECT_NE(text.out.find("-1"), std::string::npos) << "the figures are still shown";
    const RunResult json = report({"show", file, "--format", "json"});
    EXPECT_NE(json.out.find("\"scheduleError\": true"), std::string::npos);
}

TEST_F(ReportTest, ScopeAndDivisionSelectTheView)
{
    const RunResult league =
        report({"show", sampleA, "--league", "2", "--scope", "league", "--format", "json"});
    ASSERT_EQ(league.status, cli::ExitOk);
    EXPECT_NE(league.out.find("\"gameScope\": -1"), std::string::npos);

    const RunResult division =
        report({"show", sampleB, "--league", "2", "--division", "3", "--format", "json"});
    ASSERT_EQ(division.status, cli::ExitOk) << division.err;
    const std::size_t rows = occurrences(division.out, "\"rank\"");
    EXPECT_EQ(rows, 5u);
    // Division 3 of league 2 holds teams 26..30.
    for (int team = 26; team <= 30; ++team) {
        EXPECT_NE(division.out.find("\"teamNo\": " + std::to_string(team) + ","),
                  std::string::npos);
    }
}

#ifdef PENARIN_WITH_CHARTS
// Width and height of a PNG from its header.
std::pair<int, int> pngSize(const fs::path &path)
{
    const std::vector<char> bytes = readAll(path);
    if (bytes.size() < 24 || std::string(bytes.begin() + 1, bytes.begin() + 4) != "PNG") {
        return {0, 0};
    }
    const auto number = [&](std::size_t at) {
        int value = 0;
        for (std::size_t i = at; i < at + 4; ++i) {
            value = value * 256 + static_cast<unsigned char>(bytes[i]);
        }
        return value;
    };
    return {number(16), number(20)};
}

TEST_F(ReportTest, ChartWritesPngAndSvgPictures)
{
    // Three shown snapshots: the axis ends at 4000 twips, the surface at 5500
    // (367 pixels), and the legend stands beside it; the surface is 5400 high.
    const fs::path png = m_dir / "progression.png";
    const RunResult progression =
        report({"chart", sampleA, "--kind", "progression", "--out", png.string()});
    ASSERT_EQ(progression.status, cli::ExitOk) << progression.err;
    const auto [width, height] = pngSize(png);
    EXPECT_GT(width, 367 + 40);
    EXPECT_EQ(height, 360);

    const fs::path svg = m_dir / "pct.SVG";
    ASSERT_EQ(report({"chart", sampleA, "--kind", "progression", "--measure", "pct", "--out",
                      svg.string()})
                  .status,
              cli::ExitOk);
    const std::vector<char> svgBytes = readAll(svg);
    const std::string svgText(svgBytes.begin(), svgBytes.end());
    EXPECT_NE(svgText.find("<svg"), std::string::npos);
    EXPECT_NE(svgText.find(" 360\""), std::string::npos);         // the view box's height
    EXPECT_NE(svgText.find(">ドルフィンズ<"), std::string::npos); // the legend, as text

    const fs::path composition = m_dir / "composition.png";
    ASSERT_EQ(report({"chart", sampleA, "--kind", "composition", "--team", "2", "--out",
                      composition.string()})
                  .status,
              cli::ExitOk);
    EXPECT_GE(pngSize(composition).first, (6000 + 300) / 15);
    EXPECT_GT(pngSize(composition).second, 100);
}

TEST_F(ReportTest, ChartRefusesWhatItCannotDraw)
{
    for (const std::vector<std::string> &args :
         {std::vector<std::string>{"chart", sampleA, "--out", "x.png"},
          {"chart", sampleA, "--kind", "pie", "--out", "x.png"},
          {"chart", sampleA, "--kind", "progression"},
          {"chart", sampleA, "--kind", "progression", "--measure", "wins", "--out", "x.png"},
          {"chart", sampleA, "--kind", "composition", "--team", "99", "--out", "x.png"}}) {
        EXPECT_EQ(report(args).status, cli::ExitUsage) << ::testing::PrintToString(args);
    }
    // A season without snapshots has nothing to draw; nothing is written.
    const fs::path file = save(test::SeasonBuilder::oneLeague({u"A", u"B"}, 10).build(), "a.ptr");
    const fs::path out = m_dir / "none.png";
    const RunResult empty =
        report({"chart", file.string(), "--kind", "progression", "--out", out.string()});
    EXPECT_EQ(empty.status, cli::ExitNothingToDraw);
    EXPECT_EQ(empty.err, "データがありません\n");
    EXPECT_FALSE(fs::exists(out));
    EXPECT_EQ(report({"chart", sampleA, "--kind", "composition", "--out",
                      (m_dir / "no-folder" / "x.png").string()})
                  .status,
              cli::ExitCannotWrite);
}
#endif

TEST_F(ReportTest, ChosenLeagueStartsFromTheScopeTheStoredViewLeft)
{
    // Interleague games count; a file saved while every team was shown
    // opens in the interleague scope, and choosing a league keeps it, as
    // in the window. Saved while league 1 was shown, the same choice stays
    // in the official scope.
    test::SeasonBuilder b;
    for (const char16_t *name : {u"甲", u"乙"})
        b.addTeam(name, 1);
    for (const char16_t *name : {u"丙", u"丁"})
        b.addTeam(name, 2);
    b.roundRobin(10, 4).result(1, 2, 3, 1).result(1, 3, 2, 0).result(4, 2, 1, 1);
    for (const int storedLeague : {0, 1}) {
        Season season = b.build();
        BuildViewLists(season, storedLeague, -1);
        const std::string file = save(season, "stored.ptr").string();
        const RunResult run = report({"show", file, "--league", "1", "--format", "json"});
        ASSERT_EQ(run.status, cli::ExitOk) << run.err;
        const bool interleague = storedLeague == 0;
        EXPECT_NE(run.out.find(interleague ? "\"gameScope\": 1" : "\"gameScope\": 0"),
                  std::string::npos)
            << storedLeague;
        EXPECT_EQ(occurrences(run.out, "\"rank\""), interleague ? 4u : 2u) << storedLeague;
    }
}

TEST_F(ReportTest, ExportWritesTheHistoryOfTheView)
{
    const fs::path out = m_dir / "history.CSV";
    const RunResult run = report({"export", "surplus", sampleA, out.string(), "--league", "1"});
    ASSERT_EQ(run.status, cli::ExitOk) << run.err;
    const std::vector<char> bytes = readAll(out);
    const std::string text(bytes.begin(), bytes.end());
    // Dates, memos ("開幕1か月" in CP932), then the six teams of league 1.
    EXPECT_EQ(text.substr(0, text.find("\r\n") + 2),
              "\"\",\"2026/05/10\",\"2026/06/21\",\"2026/08/02\"\r\n");
    EXPECT_NE(text.find("\"\",\"\x8A\x4A\x96\x8B"
                        "1\x82\xA9\x8C\x8E\","),
              std::string::npos);
    EXPECT_EQ(occurrences(text, "\r\n"), 8u);

    const RunResult none = report({"export", "pct", sampleB, (m_dir / "b.txt").string()});
    EXPECT_EQ(none.status, cli::ExitNothingToExport);
    EXPECT_EQ(none.err, "データがありません\n");
    EXPECT_FALSE(fs::exists(m_dir / "b.txt"));

    for (const std::vector<std::string> &args : {std::vector<std::string>{"export", "pct", sampleA},
                                                 {"export", "standings", sampleA, out.string()},
                                                 {"export", sampleA, "pct", out.string()},
                                                 {"show", sampleA, out.string()}}) {
        EXPECT_EQ(report(args).status, cli::ExitUsage) << ::testing::PrintToString(args);
    }
}

TEST_F(ReportTest, ExportWritesTheResultsTableOfTheView)
{
    const fs::path out = m_dir / "results.txt";
    const RunResult run = report({"export", "results", sampleA, out.string(), "--league", "1"});
    ASSERT_EQ(run.status, cli::ExitOk) << run.err;
    const std::vector<char> bytes = readAll(out);
    const std::string text(bytes.begin(), bytes.end());
    // Six teams: the grid's seven lines, an empty one, the head-to-head
    // header and six records; "順位" heads the grid and "－" marks each team
    // against itself (CP932).
    EXPECT_EQ(occurrences(text, "\r\n"), 2u * 6 + 3);
    EXPECT_EQ(text.substr(0, 4), "\x8F\x87\x88\xCA");
    EXPECT_EQ(occurrences(text, "\x81\x7C"), 6u);
    EXPECT_NE(text.find("\r\n\t\t\t"), std::string::npos); // the empty line, tab-separated
}

} // namespace
} // namespace penarin

namespace penarin {
namespace {

// The win line the command prints is the view's table: JSON cell for cell,
// csv byte for byte as the export writes it.
TEST(ReportWinLine, PrintsTheViewsTableInEveryFormat)
{
    const std::string file = PENARIN_SAMPLES_DIR "/sample-a.ptr";
    Season season;
    ASSERT_NE(LoadSeason(season, file), LoadStatus::Failed);
    season.HasSeason = true;
    const ViewSelection stored = StoredViewSelection(season);
    const RecalculateResult pass = RecalculateView(season, OrderSettingsFrom(Settings{}),
                                                   ViewRequest{stored.league, stored.division});
    const Settings settings;
    const WinLineTable expected = BuildWinLineTable(season, *pass.Published, settings.Line,
                                                    settings.ZanAvg != 0, settings.NameLen);

    const RunResult json = report({"winline", file, "--format", "json"});
    ASSERT_EQ(json.status, 0) << json.err;
    const Json parsed = Json::parse(json.out);
    EXPECT_EQ(parsed["calculationFailed"], false);
    ASSERT_EQ(parsed["grid"].size(), static_cast<std::size_t>(expected.Cells.lineCount()));
    for (int line = 0; line < expected.Cells.lineCount(); ++line) {
        ASSERT_EQ(parsed["grid"][line].size(),
                  static_cast<std::size_t>(expected.Cells.cellCount()));
        for (int cell = 0; cell < expected.Cells.cellCount(); ++cell) {
            EXPECT_EQ(parsed["grid"][line][cell], toUtf8(expected.Cells.at(line, cell)));
        }
    }

    const RunResult csv = report({"winline", file, "--format", "csv"});
    EXPECT_EQ(csv.out, EncodeTextTable("x.csv", expected.Cells));
}

} // namespace
} // namespace penarin
