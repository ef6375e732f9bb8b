// What the report command writes and prints for files and names that are
// hostile: targets that are no regular file or may not be written, a full
// disk, and team names holding control characters.
#include "cli/report.h"
#include "season/filemodule.h"
#include "settings/testfiles.h"
#include "support/chartseason.h"

#include <gtest/gtest.h>

#include <sstream>

#include <sys/stat.h>
#include <sys/sysmacros.h>

namespace penarin {
namespace {

namespace fs = std::filesystem;
using test::readBytes;
using test::TempFolder;
using test::writeBytes;

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

// The chart season with names no terminal, table or XML file should get
// as they are: an escape sequence, a line break, a NUL.
fs::path hostileSeason(const TempFolder &folder)
{
    Season season = test::chartSeason();
    season.Teams[1].TeamName = u"A\x1b[2Jチーム";
    season.Teams[2].TeamName = std::u16string(u"B\r\nチ\0ム", 7);
    season.Teams[3].TeamName = u"C\x01\x1f\tチーム";
    const fs::path path = folder / "hostile.ptr";
    EXPECT_TRUE(SaveSeason(season, path));
    return path;
}

TEST(ReportText, ControlCharactersInNamesAreShownNotSent)
{
    TempFolder folder;
    const std::string file = hostileSeason(folder).string();
    for (const std::vector<std::string> &args :
         {std::vector<std::string>{"show", file},
          {"race", file},
          {"winline", file},
          {"team", file, "--team", "1", "--opponent", "2"},
          {"odds", file, "--method", "simulate", "--runs", "200"},
          {"odds", file, "--team", "1", "--big-games", "--method", "simulate", "--runs", "200"}}) {
        const RunResult result = report(args);
        ASSERT_EQ(result.status, cli::ExitOk) << args[0] << result.err;
        for (const char c : result.out) {
            EXPECT_TRUE(static_cast<unsigned char>(c) >= 0x20 || c == '\n')
                << args[0] << ": byte " << static_cast<int>(c) << " in\n"
                << result.out;
        }
        // One line per team in the race table, none split by a name.
        if (args[0] == "race") {
            EXPECT_EQ(std::count(result.out.begin(), result.out.end(), '\n'), 4);
        }
    }
    const std::string shown = report({"race", file}).out;
    EXPECT_NE(shown.find("A^[[2Jチーム"), std::string::npos) << shown;
    EXPECT_NE(shown.find("B^M^Jチ^@ム"), std::string::npos) << shown;
    EXPECT_NE(shown.find("C^A^_^Iチーム"), std::string::npos) << shown;
}

#ifdef PENARIN_WITH_CHARTS

TEST(ReportChart, SvgHoldsOnlyCharactersXmlAllows)
{
    TempFolder folder;
    const std::string file = hostileSeason(folder).string();
    for (const char *kind : {"progression", "composition"}) {
        const fs::path out = folder / (std::string(kind) + ".svg");
        const RunResult result = report({"chart", file, "--kind", kind, "--out", out.string()});
        ASSERT_EQ(result.status, cli::ExitOk) << result.err;
        const std::string svg = readBytes(out);
        ASSERT_NE(svg.find("</svg>"), std::string::npos);
        for (const char c : svg) {
            const auto byte = static_cast<unsigned char>(c);
            EXPECT_TRUE(byte >= 0x20 || c == '\t' || c == '\n' || c == '\r')
                << kind << ": byte " << static_cast<int>(byte);
        }
        // The names' printable parts stay.
        EXPECT_NE(svg.find("A[2J"), std::string::npos) << kind;
    }
}

TEST(ReportChart, PicturesReplaceOnlyRegularFilesTheUserMayWrite)
{
    TempFolder folder;
    const std::string file = hostileSeason(folder).string();
    const auto chart = [&](const fs::path &out) {
        return report({"chart", file, "--kind", "progression", "--out", out.string()});
    };

    // A pipe, and a device where we may make one: refused, left in place.
    std::vector<fs::path> special{folder / "pipe.png"};
    ASSERT_EQ(::mkfifo(special.back().c_str(), 0600), 0);
    if (::mknod((folder / "null.png").c_str(), S_IFCHR | 0666, makedev(1, 3)) == 0) {
        special.push_back(folder / "null.png");
    }
    for (const fs::path &out : special) {
        const RunResult result = chart(out);
        EXPECT_EQ(result.status, cli::ExitCannotWrite) << out;
        EXPECT_NE(result.err.find("保存先が通常のファイルではありません"), std::string::npos)
            << result.err;
        EXPECT_FALSE(fs::is_regular_file(out)) << out;
    }

    const fs::path locked = folder / "locked.svg";
    writeBytes(locked, "kept");
    ASSERT_EQ(::chmod(locked.c_str(), 0444), 0);
    const RunResult refused = chart(locked);
    EXPECT_EQ(refused.status, cli::ExitCannotWrite);
    EXPECT_NE(refused.err.find("書き込みが禁止されているファイルです"), std::string::npos)
        << refused.err;
    EXPECT_EQ(readBytes(locked), "kept");

    // Through a linked folder and a link in it, to where the system leads.
    fs::create_directories(folder / "home");
    fs::create_directories(folder / "store/deep");
    fs::create_directory_symlink("../store/deep", folder / "home/sync");
    fs::create_symlink("../chart.png", folder / "home/sync/link.png");
    writeBytes(folder / "home/chart.png", "home");
    ASSERT_EQ(chart(folder / "home/sync/link.png").status, cli::ExitOk);
    EXPECT_EQ(readBytes(folder / "home/chart.png"), "home");
    EXPECT_EQ(readBytes(folder / "store/chart.png").substr(1, 3), "PNG");
}

TEST(ReportChart, AFullDiskIsReportedInTheProgramsWords)
{
    TempFolder folder;
    const std::string file = hostileSeason(folder).string();
    for (const char *name : {"full.png", "full.svg"}) {
        RunResult result;
        {
            const test::FileSizeLimit full(64);
            ASSERT_TRUE(full.active());
            result =
                report({"chart", file, "--kind", "progression", "--out", (folder / name).string()});
        }
        EXPECT_EQ(result.status, cli::ExitCannotWrite) << name;
        EXPECT_NE(result.err.find("ディスクの空き容量が足りません"), std::string::npos)
            << result.err;
        EXPECT_FALSE(fs::exists(folder / name));
    }
}

#endif

} // namespace
} // namespace penarin
