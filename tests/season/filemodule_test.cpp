#include "season/binaryio.h"
#include "season/filemodule.h"
#include "season/fileseasons.h"
#include "season/safewriter.h"
#include "support/seasonbuilder.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <random>
#include <string>

#include <sys/stat.h>

using namespace penarin;
using penarin::test::previousFormatFile;
using penarin::test::SeasonBuilder;
using penarin::test::sixTeams;
using penarin::test::testNow;
using penarin::test::withSnapshots;

namespace {

using Bytes = std::vector<std::uint8_t>;
namespace fs = std::filesystem;

// Header offsets: the signature array takes 26 bytes, then nine Integers.
constexpr std::size_t MajorAt = 26;
constexpr std::size_t MinorAt = 28;
constexpr std::size_t TeamCountAt = 34;
constexpr std::size_t RowTeamCountAt = 40;
constexpr std::size_t UpdatedAtAt = 44;
constexpr std::size_t ViewRowsAt = 52;

void put16(Bytes &bytes, std::size_t at, int value)
{
    bytes[at] = static_cast<std::uint8_t>(value & 0xFF);
    bytes[at + 1] = static_cast<std::uint8_t>((value >> 8) & 0xFF);
}

void put32(Bytes &bytes, std::size_t at, std::uint32_t value)
{
    put16(bytes, at, static_cast<int>(value & 0xFFFF));
    put16(bytes, at + 2, static_cast<int>(value >> 16));
}

// Where an array with exactly these Integer elements starts (its header).
std::size_t findInt16Array(const Bytes &bytes, const std::vector<std::int16_t> &values)
{
    ByteWriter writer;
    writer.int16Array(values, 1);
    const Bytes needle = writer.take();
    const auto it = std::search(bytes.begin(), bytes.end(), needle.begin(), needle.end());
    EXPECT_NE(it, bytes.end());
    return static_cast<std::size_t>(it - bytes.begin());
}

std::size_t findText(const Bytes &bytes, const Text &text)
{
    ByteWriter writer;
    writer.byteString(text);
    const Bytes needle = writer.take();
    const auto it = std::search(bytes.begin(), bytes.end(), needle.begin(), needle.end());
    EXPECT_NE(it, bytes.end());
    return static_cast<std::size_t>(it - bytes.begin());
}

void expectSameStored(const Season &actual, const Season &expected)
{
    EXPECT_EQ(actual.Header, expected.Header);
    EXPECT_EQ(actual.ViewRows, expected.ViewRows);
    EXPECT_EQ(actual.ViewCols, expected.ViewCols);
    EXPECT_EQ(actual.Interleague, expected.Interleague);
    EXPECT_EQ(actual.Teams, expected.Teams);
    EXPECT_EQ(actual.TeamShown, expected.TeamShown);
    EXPECT_EQ(actual.Snapshots, expected.Snapshots);
    EXPECT_EQ(actual.TeamSnapshots, expected.TeamSnapshots);
}

void expectCleared(const Season &s)
{
    EXPECT_TRUE(s.Teams.empty());
    EXPECT_TRUE(s.ViewRows.empty());
    EXPECT_TRUE(s.ViewCols.empty());
    EXPECT_TRUE(s.TeamShown.empty());
    EXPECT_TRUE(s.Snapshots.empty());
    EXPECT_TRUE(s.TeamSnapshots.empty());
    EXPECT_TRUE(s.SimResults.empty());
    EXPECT_TRUE(s.SnapshotMemo.empty());
    EXPECT_EQ(s.Header.LeagueCount, 0);
    EXPECT_EQ(s.Header.ViewLeague, 0);
    EXPECT_EQ(s.Header.ViewDivision, 0);
    EXPECT_EQ(s.Interleague.IntCounts, 0);
    EXPECT_EQ(s.Interleague.IntDrawReplay, 1);
    EXPECT_EQ(s.Header.UpdatedAt, std::floor(testNow()));
    EXPECT_TRUE(s.CurrentFile.empty());
    EXPECT_FALSE(s.HasSeason);
    EXPECT_EQ(s.GameScope, ScopeOfficial);
    EXPECT_EQ(s.SimMode, 0);
}

// A season in a state a failed load must not leave behind.
Season shownSeason()
{
    Season s = withSnapshots(sixTeams());
    s.HasSeason = true;
    s.GameScope = ScopeLeague;
    s.SimMode = 1;
    s.CurrentFile = "/somewhere/else.ptr";
    s.SnapshotMemo = u"memo";
    return s;
}

void expectLoadFails(const Bytes &bytes)
{
    Season s = shownSeason();
    EXPECT_EQ(LoadSeasonFromBytes(s, bytes, testNow), LoadStatus::Failed);
    expectCleared(s);
}

Season loadBytes(const Bytes &bytes, LoadStatus expected = LoadStatus::Loaded)
{
    Season s;
    EXPECT_EQ(LoadSeasonFromBytes(s, bytes, testNow), expected);
    return s;
}

Bytes readFile(const fs::path &path)
{
    std::ifstream in(path, std::ios::binary);
    return Bytes(std::istreambuf_iterator<char>(in), {});
}

void writeFile(const fs::path &path, const Bytes &bytes)
{
    std::ofstream out(path, std::ios::binary);
    out.write(reinterpret_cast<const char *>(bytes.data()),
              static_cast<std::streamsize>(bytes.size()));
}

} // namespace

// ---------------------------------------------------------------------------
// Layout and round trips

TEST(SeasonFileLayout, TinySeasonIsWrittenByteForByte)
{
    Season s;
    s.Header.LeagueCount = 1;
    s.Header.ViewDivision = -1;
    s.Header.UpdatedAt = 1.5;
    s.ViewRows = {1};
    s.ViewCols = {1};
    s.Interleague = {1, 0};
    TeamRecord t;
    t.LeagueName = u"L";
    t.TeamName = u"T";
    t.League = 1;
    t.GridRank = 1;
    t.LeagueTeamCount = 1;
    t.LeagueJudgment = {1, {2, 0}, 2};
    t.DivisionJudgment = {0, {}, 0};
    t.IntJudgment = {0, {0}, 1};
    t.CardGames = {-1};
    t.CardWins = t.CardLosses = t.CardDraws = {0};
    t.LineColor = 0x00C08040;
    t.LineStyle = 2;
    t.LineWidth = 3;
    t.ShowLabels = 1;
    t.UserRankA = t.UserRankB = t.UserRankC = 1;
    t.Reserved[8] = 9;
    s.Teams = {t};
    s.TeamShown = {StoredTrue};
    s.Snapshots = {Snapshot{2.0, u"M", StoredTrue}};
    s.TeamSnapshots = {TeamSnapshot{{0.5f}, {3}}};

    const Bytes expected = {
        // Signature: d = 1, 16 bytes, lower bound 0, "ペナリン2009" in UTF-16LE
        0x01, 0x00, 0x10, 0, 0, 0, 0, 0, 0, 0, //
        0xDA, 0x30, 0xCA, 0x30, 0xEA, 0x30, 0xF3, 0x30, 0x32, 0, 0x30, 0, 0x30, 0, 0x39, 0,
        // SavedMajor 5, SavedMinor 1, SavedRevision 7, LeagueCount 1, TeamCount 1,
        // ViewLeague 0, ViewDivision -1, RowTeamCount 1, ColTeamCount 1
        5, 0, 1, 0, 7, 0, 1, 0, 1, 0, 0, 0, 0xFF, 0xFF, 1, 0, 1, 0,
        // UpdatedAt 1.5
        0, 0, 0, 0, 0, 0, 0xF8, 0x3F,
        // ViewRows, ViewCols: one element each, lower bound 1
        1, 0, 1, 0, 0, 0, 1, 0, 0, 0, 1, 0, //
        1, 0, 1, 0, 0, 0, 1, 0, 0, 0, 1, 0,
        // IntCounts 1, IntDrawReplay 0
        1, 0, 0, 0,
        // LeagueName "L", DivisionName "" (count 0, lower bound 0), TeamName "T"
        1, 0, 2, 0, 0, 0, 0, 0, 0, 0, 'L', 0, //
        1, 0, 0, 0, 0, 0, 0, 0, 0, 0,         //
        1, 0, 2, 0, 0, 0, 0, 0, 0, 0, 'T', 0,
        // League 1, Division 0, GridRank 1, DivisionCount, HasDivisions, OfficialGames,
        // LeagueGames, InterleagueGames, LeagueTeamCount 1, two draw replays
        1, 0, 0, 0, 1, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 1, 0, 0, 0, 0, 0,
        // LeagueJudgment 1, LeagueConditions {2, 0} from lower bound 0, LeagueReversal 2
        1, 0, 1, 0, 2, 0, 0, 0, 0, 0, 0, 0, 2, 0, 0, 0, 2, 0,
        // DivisionJudgment 0, DivisionConditions unallocated (d = 0), DivisionReversal 0
        0, 0, 0, 0, 0, 0,
        // PlaysInterleague 0, IntJudgment 0, IntConditions {0}, IntReversal 1
        0, 0, 0, 0, 1, 0, 1, 0, 0, 0, 0, 0, 0, 0, 0, 0, 1, 0,
        // CardGames {-1}, CardWins {0}, CardLosses {0}, CardDraws {0}, lower bound 1
        1, 0, 1, 0, 0, 0, 1, 0, 0, 0, 0xFF, 0xFF, //
        1, 0, 1, 0, 0, 0, 1, 0, 0, 0, 0, 0,       //
        1, 0, 1, 0, 0, 0, 1, 0, 0, 0, 0, 0,       //
        1, 0, 1, 0, 0, 0, 1, 0, 0, 0, 0, 0,
        // LineColor 0x00C08040
        0x40, 0x80, 0xC0, 0x00,
        // LineStyle 2, LineWidth 3, ShowLabels 1, UserRankA..C 1, nine reserved (last 9)
        2, 0, 3, 0, 1, 0, 1, 0, 1, 0, 1, 0, //
        0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 9, 0,
        // SnapshotCount 1, TeamShown true
        1, 0, 0xFF, 0xFF,
        // Snapshot: date 2.0, memo "M", shown
        0, 0, 0, 0, 0, 0, 0, 0x40, 1, 0, 2, 0, 0, 0, 0, 0, 0, 0, 'M', 0, 0xFF, 0xFF,
        // Pcts {0.5f}, Surpluses {3}
        1, 0, 1, 0, 0, 0, 1, 0, 0, 0, 0, 0, 0, 0x3F, //
        1, 0, 1, 0, 0, 0, 1, 0, 0, 0, 3, 0};

    EXPECT_EQ(EncodeSeason(s), expected);

    s.Header.Signature = SeasonSignature;
    s.Header.SavedMajor = 5;
    s.Header.SavedMinor = 1;
    s.Header.SavedRevision = 7;
    expectSameStored(loadBytes(expected), s);
}

TEST(SeasonFileLayout, SeasonsRoundTripByteForByte)
{
    Season unusual = sixTeams();
    unusual.Teams[1].TeamName.clear();
    unusual.Teams[2].LeagueName.clear();
    // Long, with a surrogate pair and a lone surrogate: code units are kept as they are.
    unusual.Teams[3].TeamName = Text(3000, u'長') + u"\U0002000B" + Text(1, char16_t(0xD800));
    unusual.Teams[4].LeagueJudgment.Conditions = {3, 7, 1, 0};
    unusual.Teams[5].DivisionJudgment.Conditions.clear();
    unusual.Teams[6].Reserved = {1, 2, 3, 4, 5, 6, 7, 8, -9};
    unusual.Teams[6].LineColor = static_cast<std::int32_t>(0x8000000F);
    unusual.ViewRows = {4, 3};
    unusual.Header.ViewLeague = 1;
    unusual.Header.ViewDivision = 2;

    SeasonBuilder big;
    for (int i = 1; i <= MaxTeams; ++i) {
        big.addTeam(u"T" + Text(1, static_cast<char16_t>(u'A' + i % 26)), i <= 44 ? 1 : 2,
                    1 + i % 3);
    }
    big.roundRobin(9, 1).result(1, 88, 1, 0, 1).result(44, 45, 0, 1);

    const Season seasons[] = {sixTeams(), withSnapshots(sixTeams()), unusual,
                              withSnapshots(big.build())};
    for (const Season &season : seasons) {
        SCOPED_TRACE(season.TeamCount());
        const Bytes bytes = EncodeSeason(season);
        const Season loaded = loadBytes(bytes);
        expectSameStored(loaded, season);
        EXPECT_EQ(EncodeSeason(loaded), bytes);
    }
}

TEST(SeasonFileLayout, SeasonWithoutSnapshotsEndsAfterTheShownFlags)
{
    const Season s = sixTeams();
    const Bytes bytes = EncodeSeason(s);
    const Bytes tail(bytes.end() - 14, bytes.end());
    EXPECT_EQ(tail, Bytes({0, 0, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF,
                           0xFF}));
}

// ---------------------------------------------------------------------------
// The previous format

TEST(SeasonFilePreviousFormat, IsReadAndConvertedWhateverItsSignature)
{
    const Season s = loadBytes(previousFormatFile(1, 1), LoadStatus::LoadedConverted);
    ASSERT_EQ(s.TeamCount(), 2);
    EXPECT_EQ(s.Header.Signature, u"not checked");
    EXPECT_EQ(s.Header.LeagueCount, 2);
    EXPECT_EQ(s.Header.UpdatedAt, 40000.75);
    EXPECT_EQ(s.ViewRows, OneBased<std::int16_t>({2, 1}));

    const TeamRecord &x = s.Teams[1];
    EXPECT_EQ(x.LeagueName, u"セ");
    EXPECT_EQ(x.TeamName, u"X");
    EXPECT_EQ(x.League, 1);
    EXPECT_EQ(x.GridRank, 2);
    EXPECT_EQ(x.OfficialGames, 140);
    EXPECT_EQ(x.LeagueGames, 0);
    EXPECT_EQ(x.InterleagueGames, 0);
    EXPECT_EQ(x.LeagueTeamCount, 1);
    EXPECT_EQ(x.LeagueDrawReplay, 1);
    EXPECT_EQ(x.DivisionDrawReplay, 1);
    EXPECT_EQ(x.LeagueJudgment, (JudgmentSet{1, {4}, 2}));
    EXPECT_EQ(x.DivisionJudgment, (JudgmentSet{0, {5}, 1}));
    EXPECT_EQ(x.PlaysInterleague, StoredTrue);
    EXPECT_EQ(x.IntJudgment, (JudgmentSet{0, {0}, 0}));
    EXPECT_EQ(x.CardGames, OneBased<std::int16_t>({-1, 3}));
    EXPECT_EQ(x.CardWins, OneBased<std::int16_t>({0, 2}));
    EXPECT_EQ(x.CardLosses, OneBased<std::int16_t>({0, 1}));
    EXPECT_EQ(x.LineColor, 0x100);
    EXPECT_EQ(x.LineStyle, 1);
    EXPECT_EQ(x.LineWidth, 2);
    EXPECT_EQ(x.ShowLabels, 1);
    EXPECT_EQ(x.UserRankA, 2);
    EXPECT_EQ(x.UserRankB, 2);
    EXPECT_EQ(x.UserRankC, 2);
    EXPECT_EQ(x.Reserved, (std::array<std::int16_t, 9>{}));
    EXPECT_EQ(s.Teams[2].UserRankA, 1);
    EXPECT_EQ(s.Teams[2].League, 2);

    ASSERT_EQ(s.SnapshotCount(), 1);
    EXPECT_EQ(s.Snapshots[1], (Snapshot{39990.0, u"旧", StoredTrue}));
    EXPECT_EQ(s.TeamShown, OneBased<std::int16_t>({-1, 0}));
    EXPECT_EQ(s.TeamSnapshots[2].Surpluses, OneBased<std::int16_t>({2}));
    EXPECT_EQ(s.SimResults.size(), 2);

    // Saved again, it is a current-format file holding the converted records.
    const Season again = loadBytes(EncodeSeason(s));
    EXPECT_EQ(again.Header.Signature, SeasonSignature);
    EXPECT_EQ(again.Header.SavedMajor, ProgramMajor);
    EXPECT_EQ(again.Teams, s.Teams);
    EXPECT_EQ(again.TeamSnapshots, s.TeamSnapshots);
}

TEST(SeasonFilePreviousFormat, InterleagueFlagFollowsIntCounts)
{
    const Season s = loadBytes(previousFormatFile(3, 0), LoadStatus::LoadedConverted);
    ASSERT_EQ(s.TeamCount(), 2);
    EXPECT_EQ(s.Teams[1].PlaysInterleague, StoredFalse);
    EXPECT_EQ(s.Teams[2].PlaysInterleague, StoredFalse);
}

TEST(SeasonFilePreviousFormat, MinorZeroAndTruncationsAreRejected)
{
    expectLoadFails(previousFormatFile(0, 1));
    const Bytes bytes = previousFormatFile(1, 1);
    for (std::size_t size = 0; size < bytes.size(); ++size) {
        SCOPED_TRACE(size);
        expectLoadFails(Bytes(bytes.begin(), bytes.begin() + static_cast<std::ptrdiff_t>(size)));
    }
}

// ---------------------------------------------------------------------------
// Rejected and tolerated input

TEST(SeasonFileRejects, EveryTruncation)
{
    const Bytes bytes = EncodeSeason(withSnapshots(sixTeams()));
    for (std::size_t size = 0; size < bytes.size(); ++size) {
        SCOPED_TRACE(size);
        expectLoadFails(Bytes(bytes.begin(), bytes.begin() + static_cast<std::ptrdiff_t>(size)));
    }
}

TEST(SeasonFileRejects, ForeignHeaders)
{
    const Bytes good = EncodeSeason(sixTeams());
    Bytes major6 = good;
    put16(major6, MajorAt, 6);
    expectLoadFails(major6);

    Bytes signature = good;
    signature[10] ^= 1;
    expectLoadFails(signature);

    Bytes major4minor0 = good;
    put16(major4minor0, MajorAt, 4);
    put16(major4minor0, MinorAt, 0);
    expectLoadFails(major4minor0);
}

TEST(SeasonFileRejects, CountsOutOfRange)
{
    SeasonBuilder tooMany;
    for (int i = 0; i <= MaxTeams; ++i) {
        tooMany.addTeam(u"T", 1);
    }
    expectLoadFails(EncodeSeason(tooMany.build()));
    Season noTeams;
    noTeams.Header.LeagueCount = 1;
    expectLoadFails(EncodeSeason(noTeams));

    Bytes negative = EncodeSeason(sixTeams());
    put16(negative, TeamCountAt, -1);
    expectLoadFails(negative);

    Season noLeague = sixTeams();
    noLeague.Header.LeagueCount = 0;
    for (TeamRecord &team : noLeague.Teams) {
        team.League = 0;
    }
    expectLoadFails(EncodeSeason(noLeague));
}

TEST(SeasonFileRejects, ArrayHeadersThatDoNotFit)
{
    const Bytes good = EncodeSeason(sixTeams());
    const std::size_t name = findText(good, u"阪神");
    const std::size_t conditions = name + 10 + 4 + 11 * 2; // after TeamName and eleven Integers

    const struct
    {
        const char *what;
        std::size_t at;
        bool wide;
        std::uint32_t value;
    } cases[] = {
        {"two dimensions", ViewRowsAt, false, 2},
        {"negative dimensions", ViewRowsAt, false, 0xFFFF},
        {"two-dimensional name", name, false, 2},
        {"signature longer than the file", 2, true, 0xFFFFFFFF},
        {"name longer than the file", name + 2, true, 0x7FFFFFFF},
        // 2 bytes per element: a 32-bit product would wrap to 2.
        {"condition count that wraps", conditions + 2, true, 0x80000001},
        {"view list lower bound 0", ViewRowsAt + 6, true, 0},
        {"RowTeamCount unlike its list", RowTeamCountAt, false, 5},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.what);
        Bytes bad = good;
        c.wide ? put32(bad, c.at, c.value) : put16(bad, c.at, static_cast<int>(c.value));
        expectLoadFails(bad);
    }
}

TEST(SeasonFileRejects, CardArraysOfTheWrongShape)
{
    Season shortCards = sixTeams();
    shortCards.Teams[3].CardDraws.resize(5);
    expectLoadFails(EncodeSeason(shortCards));

    Season marked = sixTeams();
    marked.Teams[4].CardWins = {11, 12, 13, 14, 15, 16};
    Bytes lowerBound = EncodeSeason(marked);
    put32(lowerBound, findInt16Array(lowerBound, {11, 12, 13, 14, 15, 16}) + 6, 0);
    expectLoadFails(lowerBound);
}

TEST(SeasonFileRejects, TeamNumbersOutsideTheSeason)
{
    const auto fails = [](auto change) {
        Season s = sixTeams();
        change(s);
        expectLoadFails(EncodeSeason(s));
    };
    fails([](Season &s) { s.ViewRows[2] = 0; });
    fails([](Season &s) { s.ViewCols[6] = 7; });
    fails([](Season &s) { s.Teams[2].GridRank = 0; });
    fails([](Season &s) { s.Teams[2].GridRank = 7; });
    fails([](Season &s) { s.Teams[5].League = 0; });
    fails([](Season &s) { s.Teams[5].League = 3; });
}

TEST(SeasonFileRejects, SnapshotValuesOfTheWrongLength)
{
    Season shortPcts = withSnapshots(sixTeams());
    shortPcts.TeamSnapshots[6].Pcts.resize(2);
    expectLoadFails(EncodeSeason(shortPcts));

    Season longSurpluses = withSnapshots(sixTeams());
    longSurpluses.TeamSnapshots[1].Surpluses.resize(4);
    expectLoadFails(EncodeSeason(longSurpluses));
}

TEST(SeasonFileTolerates, NegativeSnapshotCountTrailingBytesAndOddStrings)
{
    const Season s = sixTeams();
    const Bytes good = EncodeSeason(s);

    Bytes negative = good;
    put16(negative, good.size() - 2 * 6 - 2, -3);
    EXPECT_EQ(loadBytes(negative).SnapshotCount(), 0);

    Bytes trailing = good;
    trailing.insert(trailing.end(), {1, 2, 3, 4, 5});
    EXPECT_EQ(EncodeSeason(loadBytes(trailing)), good);

    // A dangling odd byte is dropped; the rest of the file still lines up.
    Bytes odd = good;
    const std::size_t name = findText(odd, u"広島");
    put32(odd, name + 2, 5);
    odd.insert(odd.begin() + static_cast<std::ptrdiff_t>(name + 14), 0x7F);
    const Season oddLoaded = loadBytes(odd);
    ASSERT_EQ(oddLoaded.TeamCount(), 6);
    EXPECT_EQ(oddLoaded.Teams[4].TeamName, u"広島");
    EXPECT_EQ(EncodeSeason(oddLoaded), good);

    // Unallocated strings and lists read as empty.
    Bytes unallocated = good;
    const std::size_t team = findText(unallocated, u"西武");
    unallocated.erase(unallocated.begin() + static_cast<std::ptrdiff_t>(team + 2),
                      unallocated.begin() + static_cast<std::ptrdiff_t>(team + 14));
    put16(unallocated, team, 0);
    EXPECT_TRUE(loadBytes(unallocated).Teams[5].TeamName.empty());
}

// ---------------------------------------------------------------------------
// Files on disk

namespace {

class SeasonFileOnDisk : public ::testing::Test
{
protected:
    void SetUp() override
    {
        std::random_device random;
        m_dir = fs::temp_directory_path() / ("penarin-file-" + std::to_string(random()));
        fs::create_directories(m_dir);
    }
    void TearDown() override { fs::remove_all(m_dir); }

    fs::path m_dir;
};

double laterNow()
{
    return testNow() + 1.25;
}

} // namespace

TEST_F(SeasonFileOnDisk, LoadFillsTheMemoryOnlyState)
{
    const fs::path path = m_dir / "s.ptr";
    writeFile(path, EncodeSeason(withSnapshots(sixTeams())));
    Season s = shownSeason();
    ASSERT_EQ(LoadSeason(s, path, testNow), LoadStatus::Loaded);
    EXPECT_EQ(s.CurrentFile, path.string());
    EXPECT_EQ(s.GameScope, ScopeOfficial);
    EXPECT_EQ(s.SimMode, 0);
    EXPECT_FALSE(s.HasSeason);
    ASSERT_EQ(s.SimResults.size(), 6);
    for (const SimRecord &sim : s.SimResults) {
        EXPECT_EQ(sim.Wins, OneBased<std::int16_t>(6));
        EXPECT_EQ(sim.Draws, OneBased<std::int16_t>(6));
    }

    EXPECT_TRUE(LoadSeasonFromBytes(s, readFile(path), testNow) == LoadStatus::Loaded);
    EXPECT_TRUE(s.CurrentFile.empty());

    s = shownSeason();
    EXPECT_EQ(LoadSeason(s, m_dir / "missing.ptr", testNow), LoadStatus::Failed);
    expectCleared(s);
    s = shownSeason();
    EXPECT_EQ(LoadSeason(s, m_dir, testNow), LoadStatus::Failed);
    expectCleared(s);
}

TEST_F(SeasonFileOnDisk, AFileLargerThanAnySeasonIsRefusedUnread)
{
    // A valid season with a hole after it, as large as no season can be:
    // refused by its size, with the reason, before a byte of it is read.
    const fs::path path = m_dir / "huge.ptr";
    writeFile(path, EncodeSeason(sixTeams()));
    fs::resize_file(path, MaxSeasonFileBytes + 1);
    Season s = shownSeason();
    std::string reason;
    EXPECT_EQ(LoadSeason(s, path, testNow, &reason), LoadStatus::Failed);
    EXPECT_EQ(reason, "ファイルが大きすぎます");
    expectCleared(s);

    fs::resize_file(path, MaxSeasonFileBytes);
    reason.clear();
    EXPECT_EQ(LoadSeason(s, path, testNow, &reason), LoadStatus::Loaded);
    EXPECT_EQ(reason, "");

    // A pipe is never read, so no writer is waited for.
    ASSERT_EQ(::mkfifo((m_dir / "pipe.ptr").c_str(), 0600), 0);
    EXPECT_EQ(LoadSeason(s, m_dir / "pipe.ptr", testNow, &reason), LoadStatus::Failed);
}

TEST_F(SeasonFileOnDisk, FirstSaveThatAddsASnapshot)
{
    const fs::path path = m_dir / "s.ptr";
    Season s = sixTeams(); // team 1: 3-1-1 against 2, 2-1 against 5
    s.AddSnapshot = true;
    s.SnapshotDate = 46240.0;
    s.SnapshotMemo = u"開幕";
    ASSERT_TRUE(SaveSeason(s, path, laterNow));

    EXPECT_FALSE(s.AddSnapshot);
    EXPECT_EQ(s.CurrentFile, path.string());
    EXPECT_EQ(s.Header.UpdatedAt, laterNow());
    EXPECT_EQ(readFile(path), EncodeSeason(s));
    EXPECT_EQ(std::distance(fs::directory_iterator(m_dir), fs::directory_iterator()), 1);

    const Season loaded = loadBytes(readFile(path));
    ASSERT_EQ(loaded.SnapshotCount(), 1);
    EXPECT_EQ(loaded.Snapshots[1], (Snapshot{46240.0, u"開幕", StoredTrue}));
    ASSERT_EQ(loaded.TeamSnapshots.size(), 6);
    EXPECT_EQ(loaded.TeamSnapshots[1].Pcts, OneBased<float>({static_cast<float>(5.0 / 7.0)}));
    EXPECT_EQ(loaded.TeamSnapshots[1].Surpluses, OneBased<std::int16_t>({3}));
    EXPECT_EQ(loaded.TeamSnapshots[6].Pcts, OneBased<float>({0.0f}));
    EXPECT_EQ(loaded.TeamSnapshots[6].Surpluses, OneBased<std::int16_t>({0}));
}

TEST_F(SeasonFileOnDisk, SavingAgainChangesOnlyTheStampAndTheNewestSnapshot)
{
    const fs::path path = m_dir / "s.ptr";
    Season s = withSnapshots(sixTeams()); // newest values stale
    ASSERT_TRUE(SaveSeason(s, path, testNow));
    const Bytes first = readFile(path);
    const Season loaded = loadBytes(first);
    EXPECT_EQ(loaded.TeamSnapshots[1].Pcts,
              OneBased<float>({0.5f, 0.25f, static_cast<float>(5.0 / 7.0)}));
    EXPECT_EQ(loaded.TeamSnapshots[1].Surpluses, OneBased<std::int16_t>({0, -2, 3}));
    EXPECT_EQ(loaded.SnapshotCount(), 3);

    ASSERT_TRUE(SaveSeason(s, path, laterNow));
    const Bytes second = readFile(path);
    ASSERT_EQ(second.size(), first.size());
    for (std::size_t i = 0; i < first.size(); ++i) {
        if (i < UpdatedAtAt || i >= UpdatedAtAt + 8) {
            ASSERT_EQ(first[i], second[i]) << "at " << i;
        }
    }
    EXPECT_NE(first, second);
}

TEST_F(SeasonFileOnDisk, SavingOverALongerFileLeavesNoTail)
{
    const fs::path path = m_dir / "s.ptr";
    writeFile(path, Bytes(100000, 0xEE));
    Season s = sixTeams();
    ASSERT_TRUE(SaveSeason(s, path, testNow));
    EXPECT_EQ(readFile(path), EncodeSeason(s));
}

TEST_F(SeasonFileOnDisk, FailedSaveKeepsTheOldFileAndTheSeason)
{
    const fs::path path = m_dir / "s.ptr";
    Season s = sixTeams();
    ASSERT_TRUE(SaveSeason(s, path, testNow));
    const Bytes old = readFile(path);

    s.Teams[1].TeamName = u"changed";
    s.AddSnapshot = true;
    s.SnapshotDate = 46250.0;
    const Season before = s;

    const auto expectUntouched = [&] {
        EXPECT_EQ(readFile(path), old);
        EXPECT_EQ(s.Header, before.Header);
        EXPECT_EQ(s.Teams, before.Teams);
        EXPECT_EQ(s.SnapshotCount(), 0);
        EXPECT_TRUE(s.AddSnapshot);
        EXPECT_EQ(s.CurrentFile, before.CurrentFile);
    };

    // The folder does not exist: the caller gets the reason to show.
    std::string error;
    EXPECT_FALSE(SaveSeason(s, m_dir / "gone" / "s.ptr", laterNow, &error));
    EXPECT_EQ(error, "保存先のフォルダがありません");
    expectUntouched();

    // The target is write-protected.
    ASSERT_EQ(::chmod(path.c_str(), 0444), 0);
    EXPECT_FALSE(SaveSeason(s, path, laterNow, &error));
    EXPECT_EQ(error, "書き込みが禁止されているファイルです");
    expectUntouched();
    ASSERT_EQ(::chmod(path.c_str(), 0644), 0);

    // The target itself is a folder: refused before anything is written.
    const fs::path folder = m_dir / "folder.ptr";
    fs::create_directory(folder);
    fs::create_directory(folder / "inside");
    EXPECT_FALSE(SaveSeason(s, folder, laterNow));
    expectUntouched();
    EXPECT_TRUE(fs::is_directory(folder / "inside"));
    EXPECT_EQ(std::distance(fs::directory_iterator(m_dir), fs::directory_iterator()), 2);
}

TEST(ClearSeasonTest, LeavesAnEmptySeasonStampedToday)
{
    Season s = shownSeason();
    ClearSeason(s, testNow);
    expectCleared(s);
    EXPECT_EQ(s.Header.UpdatedAt, std::floor(testNow()));
    EXPECT_NE(s.Header.UpdatedAt, testNow());
}
