#include "season/profile.h"
#include "season/settings.h"
#include "settings/testfiles.h"

#include <gtest/gtest.h>

#include <vector>

#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

namespace penarin {
namespace {

using test::countEntries;
using test::FileSizeLimit;
using test::readBytes;
using test::TempFolder;
using test::writeBytes;

// Each numeric key as the file defines it, written out independently of the
// reader's own table so a slip in either shows up.
struct KeyCase
{
    const char *section;
    const char *key;
    int missing;
    int lowest;
    int highest;
    int outOfRange;
    int (*field)(const Settings &);
};

#define KEY(section, name, missing, lowest, highest, outOfRange)                                   \
    KeyCase                                                                                        \
    {                                                                                              \
        section, #name, missing, lowest, highest, outOfRange,                                      \
            [](const Settings &s) { return static_cast<int>(s.name); }                             \
    }

const std::vector<KeyCase> &keyCases()
{
    static const std::vector<KeyCase> cases = {
        KEY("Rank", Main, 0, 0, 2, 2),
        KEY("Rank", Sub, 0, 0, 1, 0),
        KEY("Rank", Game, 0, 0, 2, 0),
        KEY("Option", Enter, 0, 0, 1, 0),
        KEY("Option", Magic, 1, 0, 1, 1),
        KEY("Option", Zero, 0, 0, 1, 0),
        KEY("Option", Pct, 3, 1, 15, 3),
        KEY("Option", Line, 3, 1, 15, 3),
        KEY("Option", Simulation, 0, 0, 1, 0),
        KEY("Option", Cells, 0, 0, 1, 0),
        KEY("Option", DblClick, 0, 0, 1, 0),
        KEY("Option", Load, 0, 0, 1, 0),
        KEY("Option", NameLen, 1, 1, 9, 1),
        KEY("Option", FontSizeA, 9, 8, 48, 9),
        KEY("Option", FontSizeB, 9, 8, 48, 9),
        KEY("Option", Tabs, 1, 1, 2, 1),
        KEY("Option", Width, 700, 100, 3000, 700),
        KEY("Option", Round, 3, 1, 15, 3),
        KEY("Option", ToolTip, 0, 0, 1, 0),
        KEY("Option", Hanrei, 1, 0, 1, 1),
        KEY("Option", Selection, 1, 0, 1, 1),
        KEY("Option", MsgBox, 0, 0, 1, 1),
        KEY("Option", ZanAvg, 0, 0, 1, 1),
    };
    return cases;
}

#undef KEY

Settings readOne(const KeyCase &c, const std::string &value)
{
    const std::string text = "[" + std::string(c.section) + "]\r\n" + c.key + "=" + value + "\r\n";
    return readSettings(Profile::fromBytes(text)).settings;
}

TEST(ReadSettings, EveryKeyMissingInRangeAndOutOfRange)
{
    const Settings empty = readSettings(Profile{}).settings;
    for (const KeyCase &c : keyCases()) {
        SCOPED_TRACE(c.key);
        EXPECT_EQ(c.field(empty), c.missing);
        EXPECT_EQ(c.field(readOne(c, std::to_string(c.lowest))), c.lowest);
        EXPECT_EQ(c.field(readOne(c, std::to_string(c.highest))), c.highest);
        EXPECT_EQ(c.field(readOne(c, std::to_string(c.lowest - 1))), c.outOfRange);
        EXPECT_EQ(c.field(readOne(c, std::to_string(c.highest + 1))), c.outOfRange);
        // Far outside every range, and beyond what a byte or a 16-bit field holds.
        EXPECT_EQ(c.field(readOne(c, "70000")), c.outOfRange);
        if (c.highest < 256) {
            EXPECT_EQ(c.field(readOne(c, "256")), c.outOfRange);
        }

        // The key lands in its own field and in no other.
        const int other = c.missing == c.highest ? c.lowest : c.highest;
        const Settings one = readOne(c, std::to_string(other));
        for (const KeyCase &d : keyCases()) {
            if (&d != &c) {
                EXPECT_EQ(d.field(one), d.missing) << d.key;
            }
        }
        EXPECT_EQ(c.field(one), other);
    }
}

TEST(ReadSettings, OutOfRangeValuesThatDifferFromTheMissingOnes)
{
    auto read = [](const std::string &text) { return readSettings(Profile::fromBytes(text)); };
    EXPECT_EQ(read("[Option]\nRound=700\n").settings.Round, 3);
    EXPECT_EQ(read("[Rank]\nMain=5\n").settings.Main, 2);
    EXPECT_EQ(read("[Rank]\nSub=1\n").settings.Main, 0);
    EXPECT_EQ(read("[Option]\nMsgBox=7\n").settings.MsgBox, 1);
    EXPECT_EQ(read("[Option]\nPct=3\n").settings.MsgBox, 0);
    EXPECT_EQ(read("[Option]\nZanAvg=7\n").settings.ZanAvg, 1);
    EXPECT_EQ(read("[Option]\nZanAvg=-1\n").settings.ZanAvg, 1);
    EXPECT_EQ(read("[Option]\nPct=3\n").settings.ZanAvg, 0);
}

TEST(ReadSettings, NumbersAreReadByTheirLeadingDigitsBeforeTheRangeCheck)
{
    const Settings s = readSettings(Profile::fromBytes("[option]\r\n"
                                                       "PCT= 12abc\r\n"
                                                       "line=abc\r\n"
                                                       "Tabs=+2\r\n"
                                                       "Round=-3\r\n"
                                                       "Zero=\"1\"\r\n"
                                                       "Width=''\r\n"
                                                       "[RANK]\r\n"
                                                       "game = 1 ; comment\r\n"))
                           .settings;
    EXPECT_EQ(s.Pct, 12);
    EXPECT_EQ(s.Line, 3); // no digits: 0, outside 1..15
    EXPECT_EQ(s.Tabs, 2);
    EXPECT_EQ(s.Round, 3);
    EXPECT_EQ(s.Zero, 1);
    EXPECT_EQ(s.Width, 700); // empty value: the missing value
    EXPECT_EQ(s.Game, 1);
}

TEST(ReadSettings, WindowValues)
{
    const auto read = [](const std::string &text) {
        return readSettings(Profile::fromBytes("[Window]\n" + text)).window;
    };
    EXPECT_EQ(readSettings(Profile{}).window, (WindowValues{0, 0, 0, 9570, 6060}));
    EXPECT_EQ(read("Top=-300\nLeft=0\nWidth=0\nHeight=-1\n"), (WindowValues{0, 0, 0, 9570, 6060}));
    EXPECT_EQ(read("State=1\nTop=1\nLeft=2\nWidth=1\nHeight=2\n"), (WindowValues{1, 1, 2, 1, 2}));
    // No upper bound and no check of the state: taken as they are.
    EXPECT_EQ(read("State=7\nTop=99999\nLeft=88888\nWidth=77777\nHeight=66666\n"),
              (WindowValues{7, 99999, 88888, 77777, 66666}));
    // The option "Width" is another key than the window's.
    const auto both =
        readSettings(Profile::fromBytes("[Window]\nWidth=8000\n[Option]\nWidth=900\n"));
    EXPECT_EQ(both.window.Width, 8000);
    EXPECT_EQ(both.settings.Width, 900);
}

TEST(ReadSettings, FileName)
{
    const std::string longName = "/home/user/" + std::string(300, 'n') + ".ptr";
    EXPECT_EQ(readSettings(Profile{}).fileName, "");
    EXPECT_EQ(readSettings(Profile::fromBytes("[Option]\nFileName=\"/a b/2009.ptr\"\n")).fileName,
              "/a b/2009.ptr");
    // The old 256-byte buffer would have cut this path into one that names
    // no file; the whole path is kept.
    EXPECT_EQ(readSettings(Profile::fromBytes("[Option]\nFileName=" + longName + "\n")).fileName,
              longName);
}

const std::string FreshFile = "[Window]\r\n"
                              "State=0\r\n"
                              "Top=1200\r\n"
                              "Left=1500\r\n"
                              "Width=9570\r\n"
                              "Height=6060\r\n"
                              "\r\n"
                              "[Rank]\r\n"
                              "Main=0\r\n"
                              "Sub=0\r\n"
                              "Game=0\r\n"
                              "\r\n"
                              "[Option]\r\n"
                              "Enter=0\r\n"
                              "Magic=1\r\n"
                              "Zero=0\r\n"
                              "Pct=3\r\n"
                              "Line=3\r\n"
                              "Simulation=0\r\n"
                              "Cells=0\r\n"
                              "DblClick=0\r\n"
                              "Load=0\r\n"
                              "FileName=/home/user/2009.ptr\r\n"
                              "NameLen=1\r\n"
                              "FontSizeA=9\r\n"
                              "FontSizeB=9\r\n"
                              "Tabs=1\r\n"
                              "Width=700\r\n"
                              "Round=3\r\n"
                              "ToolTip=0\r\n"
                              "Hanrei=1\r\n"
                              "Selection=1\r\n"
                              "MsgBox=0\r\n"
                              "ZanAvg=0\r\n";

TEST(WriteSettings, FreshFileInWritingOrder)
{
    TempFolder folder;
    const auto path = folder / "Mgcsm.ini";
    ASSERT_TRUE(writeSettings(path, Settings{}, WindowValues{0, 1200, 1500, 9570, 6060},
                              "/home/user/2009.ptr"));
    EXPECT_EQ(readBytes(path), FreshFile);
}

TEST(WriteSettings, WindowWritingRules)
{
    Profile p;
    storeSettings(p, Settings{}, WindowValues{2, -20, 0, 0, -5}, "");
    const std::string bytes = p.toBytes();
    EXPECT_TRUE(bytes.starts_with("[Window]\r\nState=2\r\nTop=0\r\nLeft=0\r\nWidth=0\r\n"
                                  "Height=-5\r\n\r\n[Rank]\r\n"))
        << bytes;
}

TEST(WriteSettings, EveryValueReadsBack)
{
    Settings s;
    s.Main = 1, s.Sub = 1, s.Game = 2, s.Enter = 1, s.Magic = 0, s.Zero = 1, s.Pct = 5, s.Line = 6;
    s.Simulation = 1, s.Cells = 1, s.DblClick = 1, s.Load = 1, s.NameLen = 4, s.FontSizeA = 12;
    s.FontSizeB = 14, s.Tabs = 2, s.Width = 1500, s.Round = 7, s.ToolTip = 1, s.Hanrei = 0;
    s.Selection = 0, s.MsgBox = 1, s.ZanAvg = 1;
    const WindowValues window{2, 300, 400, 12000, 8000};
    Profile p;
    storeSettings(p, s, window, "/srv/シーズン 2009.ptr");
    const auto back = readSettings(Profile::fromBytes(p.toBytes()));
    EXPECT_EQ(back.settings, s);
    EXPECT_EQ(back.window, window);
    EXPECT_EQ(back.fileName, "/srv/シーズン 2009.ptr");
}

TEST(WriteSettings, KeepsForeignLinesAndChangesOnlyWhatChanged)
{
    TempFolder folder;
    const auto path = folder / "Mgcsm.ini";
    writeBytes(path, "; hand-edited, please keep\r\n"
                     "[window]\r\n"
                     "State = 0\r\n"
                     "Top=100\r\n"
                     "Left=200\r\n"
                     "Width=9000\r\n"
                     "Height=7000\r\n"
                     "\r\n"
                     "[Option]\r\n"
                     "; grid colours are tuned below\r\n"
                     "Pct=3\r\n"
                     "GridColour=&H00FF00\r\n"
                     "zero = 1\r\n"
                     "\r\n"
                     "[Plugins]\r\n"
                     "foo=bar\r\n");

    auto contents = readSettings(path);
    EXPECT_EQ(contents.settings.Zero, 1);
    contents.settings.Pct = 4;
    contents.window.Top = 150;
    ASSERT_TRUE(writeSettings(path, contents.settings, contents.window, ""));
    EXPECT_EQ(readBytes(path), "; hand-edited, please keep\r\n"
                               "[window]\r\n"
                               "State = 0\r\n"
                               "Top=150\r\n"
                               "Left=200\r\n"
                               "Width=9000\r\n"
                               "Height=7000\r\n"
                               "\r\n"
                               "[Option]\r\n"
                               "; grid colours are tuned below\r\n"
                               "Pct=4\r\n"
                               "GridColour=&H00FF00\r\n"
                               "zero = 1\r\n"
                               "Enter=0\r\n"
                               "Magic=1\r\n"
                               "Line=3\r\n"
                               "Simulation=0\r\n"
                               "Cells=0\r\n"
                               "DblClick=0\r\n"
                               "Load=0\r\n"
                               "NameLen=1\r\n"
                               "FontSizeA=9\r\n"
                               "FontSizeB=9\r\n"
                               "Tabs=1\r\n"
                               "Width=700\r\n"
                               "Round=3\r\n"
                               "ToolTip=0\r\n"
                               "Hanrei=1\r\n"
                               "Selection=1\r\n"
                               "MsgBox=0\r\n"
                               "ZanAvg=0\r\n"
                               "\r\n"
                               "[Plugins]\r\n"
                               "foo=bar\r\n"
                               "\r\n"
                               "[Rank]\r\n"
                               "Main=0\r\n"
                               "Sub=0\r\n"
                               "Game=0\r\n");

    // A second run that changes nothing changes no byte.
    const std::string once = readBytes(path);
    const auto again = readSettings(path);
    ASSERT_TRUE(writeSettings(path, again.settings, again.window, again.fileName));
    EXPECT_EQ(readBytes(path), once);
}

TEST(WriteSettings, LfOnlyFileIsReadAndWrittenWithCrLf)
{
    TempFolder folder;
    const auto path = folder / "Mgcsm.ini";
    writeBytes(path, "# from another tool\n[Option]\nPct=6\nFileName=/x.ptr\n");
    const auto contents = readSettings(path);
    EXPECT_EQ(contents.settings.Pct, 6);
    EXPECT_EQ(contents.fileName, "/x.ptr");
    ASSERT_TRUE(writeSettings(path, contents.settings, contents.window, contents.fileName));
    const std::string bytes = readBytes(path);
    EXPECT_TRUE(
        bytes.starts_with("# from another tool\r\n[Option]\r\nPct=6\r\nFileName=/x.ptr\r\n"))
        << bytes;
    size_t lf = 0, crlf = 0;
    for (size_t i = 0; i < bytes.size(); ++i) {
        if (bytes[i] == '\n') {
            ++lf;
            crlf += i > 0 && bytes[i - 1] == '\r';
        }
    }
    EXPECT_EQ(lf, crlf);
}

TEST(WriteSettings, MinimizedCloseKeepsThePreviousWindowValues)
{
    TempFolder folder;
    const auto path = folder / "Mgcsm.ini";
    ASSERT_TRUE(writeSettings(path, Settings{}, WindowValues{0, 1200, 1500, 9570, 6060},
                              "/home/user/2009.ptr"));
    Settings changed;
    changed.Pct = 5;
    ASSERT_TRUE(writeSettings(path, changed, WindowValues{1, -32000, -32000, 2000, 500},
                              "/home/user/2009.ptr"));
    const auto back = readSettings(path);
    EXPECT_EQ(back.window, (WindowValues{0, 1200, 1500, 9570, 6060}));
    EXPECT_EQ(back.settings.Pct, 5);

    // Minimized on the very first run: no "Window" section at all.
    Profile fresh;
    storeSettings(fresh, Settings{}, WindowValues{1, 0, 0, 9570, 6060}, "");
    EXPECT_TRUE(fresh.toBytes().starts_with("[Rank]\r\n"));
}

TEST(WriteSettings, EmptyCurrentFileKeepsTheLastFileName)
{
    Profile p;
    storeSettings(p, Settings{}, WindowValues{}, "");
    EXPECT_FALSE(p.value("Option", "FileName"));

    p = Profile::fromBytes("[Option]\r\nFileName=/old.ptr\r\n");
    storeSettings(p, Settings{}, WindowValues{}, "");
    EXPECT_EQ(p.value("Option", "FileName"), "/old.ptr");
    storeSettings(p, Settings{}, WindowValues{}, "/new.ptr");
    EXPECT_EQ(p.value("Option", "FileName"), "/new.ptr");
    EXPECT_EQ(p.lines()[1], "FileName=/new.ptr");
}

TEST(WriteSettings, FileNameWithALineBreakIsNotWritten)
{
    Profile p = Profile::fromBytes("[Option]\r\nFileName=/old.ptr\r\n");
    EXPECT_FALSE(storeSettings(p, Settings{}, WindowValues{}, "/tmp/x\r\n[Option]\r\nLoad=1.ptr"));
    EXPECT_EQ(p.value("Option", "FileName"), "/old.ptr");
    EXPECT_EQ(p.value("Option", "Load"), "0");
    EXPECT_EQ(p.value("Option", "ZanAvg"), "0"); // the keys after it were still written
}

TEST(SettingsFile, Cp932FileFromAnOlderInstallation)
{
    TempFolder folder;
    const auto path = folder / "Mgcsm.ini";
    // "; 設定" and FileName "C:\ペナント\2009表.ptr" in CP932.
    writeBytes(path, "; \x90\xdd\x92\xe8\r\n"
                     "[Option]\r\n"
                     "Pct=4\r\n"
                     "FileName=C:\\\x83\x79\x83\x69\x83\x93\x83\x67\\2009\x95\x5c.ptr\r\n");
    const auto contents = readSettings(path);
    EXPECT_EQ(contents.settings.Pct, 4);
    EXPECT_EQ(contents.fileName, "C:\\ペナント\\2009表.ptr");

    ASSERT_TRUE(writeSettings(path, contents.settings, contents.window, contents.fileName));
    const std::string bytes = readBytes(path);
    EXPECT_TRUE(isValidUtf8(bytes));
    EXPECT_TRUE(bytes.starts_with("; 設定\r\n[Option]\r\nPct=4\r\n")) << bytes;
    EXPECT_NE(bytes.find("\r\nFileName=C:\\ペナント\\2009表.ptr\r\n"), std::string::npos);
    EXPECT_EQ(readSettings(path).fileName, contents.fileName);
}

TEST(SettingsFile, MissingFileGivesDefaultsAndIsCreated)
{
    TempFolder folder;
    const auto path = folder / "config" / "Mgcsm.ini";
    const auto contents = readSettings(path);
    EXPECT_EQ(contents.settings, Settings{});
    EXPECT_EQ(contents.window, WindowValues{});
    ASSERT_TRUE(writeSettings(path, Settings{}, WindowValues{0, 1200, 1500, 9570, 6060},
                              "/home/user/2009.ptr"));
    EXPECT_EQ(readBytes(path), FreshFile);
}

TEST(SettingsFile, UnreadableFileIsNeitherReadNorOverwritten)
{
    // What exists but is no settings file to read: a folder, a pipe (no
    // writer ever comes), an endless device, a file far too large.
    TempFolder folder;
    std::filesystem::create_directory(folder / "folder.ini");
    writeBytes(folder / "folder.ini" / "inside", "x");
    ASSERT_EQ(::mkfifo((folder / "pipe.ini").c_str(), 0600), 0);
    std::filesystem::create_symlink("/dev/zero", folder / "zero.ini");
    writeBytes(folder / "huge.ini", "[Option]\r\nPct=5\r\n");
    std::filesystem::resize_file(folder / "huge.ini", Profile::MaxProfileBytes + 1);
    for (const char *name : {"folder.ini", "pipe.ini", "zero.ini", "huge.ini"}) {
        const auto path = folder / name;
        const auto type = std::filesystem::symlink_status(path).type();
        const SettingsFileContents contents = readSettings(path);
        EXPECT_TRUE(contents.unreadable) << name;
        EXPECT_EQ(contents.settings, Settings{}) << name;
        std::string error;
        EXPECT_FALSE(writeSettings(path, Settings{}, WindowValues{}, "/a.ptr", &error)) << name;
        EXPECT_EQ(error, "設定ファイルを読み込めません") << name;
        EXPECT_EQ(std::filesystem::symlink_status(path).type(), type) << name;
    }
    EXPECT_EQ(readBytes(folder / "folder.ini" / "inside"), "x");
    EXPECT_EQ(std::filesystem::file_size(folder / "huge.ini"), Profile::MaxProfileBytes + 1);

    std::filesystem::resize_file(folder / "huge.ini", Profile::MaxProfileBytes);
    const SettingsFileContents largest = readSettings(folder / "huge.ini");
    EXPECT_FALSE(largest.unreadable);
    EXPECT_EQ(largest.settings.Pct, 5);
    EXPECT_FALSE(readSettings(folder / "missing.ini").unreadable);
}

TEST(SettingsFile, FailedWriteLeavesTheFileIntact)
{
    TempFolder folder;
    const auto path = folder / "Mgcsm.ini";
    const std::string before = "; mine\r\n[Option]\r\nPct=5\r\nFileName=/old.ptr\r\n";
    writeBytes(path, before);
    bool written = true;
    {
        FileSizeLimit limit(32);
        ASSERT_TRUE(limit.active());
        written = writeSettings(path, Settings{}, WindowValues{}, "/new.ptr");
    }
    EXPECT_FALSE(written);
    EXPECT_EQ(readBytes(path), before);
    EXPECT_EQ(countEntries(folder.path()), 1);
}

TEST(SettingsFile, Location)
{
    EXPECT_EQ(settingsFilePath("/opt/penarin", true, "/home/u/.config/penarin"),
              std::filesystem::path("/opt/penarin/Mgcsm.ini"));
    EXPECT_EQ(settingsFilePath("/opt/penarin/", true, "/home/u/.config/penarin"),
              std::filesystem::path("/opt/penarin/Mgcsm.ini"));
    EXPECT_EQ(settingsFilePath("/opt/penarin", false, "/home/u/.config/penarin"),
              std::filesystem::path("/home/u/.config/penarin/Mgcsm.ini"));
    EXPECT_EQ(settingsFilePath("/opt/penarin", false, ""),
              std::filesystem::path("/opt/penarin/Mgcsm.ini"));

    TempFolder folder;
    EXPECT_TRUE(isFolderWritable(folder.path()));
    EXPECT_FALSE(isFolderWritable(folder / "does-not-exist"));
}

// An installed program's folder is read-only for the users who run it; they
// must be sent to their configuration folder, not left writing nowhere.
TEST(SettingsFile, ReadOnlyProgramFolder)
{
    using std::filesystem::perms;
    TempFolder folder;
    const auto bin = folder / "bin";
    const auto open = folder / "open";
    std::filesystem::create_directories(bin);
    std::filesystem::create_directories(open);
    std::filesystem::permissions(folder.path(), perms::owner_all | perms::group_exec |
                                                    perms::group_read | perms::others_exec |
                                                    perms::others_read);
    std::filesystem::permissions(bin, perms::owner_read | perms::owner_exec | perms::group_read |
                                          perms::group_exec | perms::others_read |
                                          perms::others_exec);
    std::filesystem::permissions(open, perms::all);
    const auto sees = [&] { return !isFolderWritable(bin) && isFolderWritable(open); };

    if (::geteuid() != 0) {
        EXPECT_TRUE(sees());
        return;
    }
    // Root may write anywhere, so the question is asked as an ordinary user.
    const pid_t child = ::fork();
    ASSERT_NE(child, -1);
    if (child == 0) {
        const bool dropped = ::setgid(65534) == 0 && ::setuid(65534) == 0;
        ::_exit(!dropped ? 2 : sees() ? 0 : 1);
    }
    int status = 0;
    ASSERT_EQ(::waitpid(child, &status, 0), child);
    ASSERT_TRUE(WIFEXITED(status));
    EXPECT_EQ(WEXITSTATUS(status), 0) << "2: could not become an ordinary user";
}

} // namespace
} // namespace penarin
