#include "season/profile.h"
#include "season/textcodec.h"
#include "settings/testfiles.h"

#include <gtest/gtest.h>

#include <sys/stat.h>

namespace penarin {
namespace {

using test::countEntries;
using test::FileSizeLimit;
using test::readBytes;
using test::TempFolder;
using test::writeBytes;

TEST(ProfileInteger, ReadsLeadingDigitsAfterBlanksAndSign)
{
    EXPECT_EQ(profileInteger(" 12abc"), 12);
    EXPECT_EQ(profileInteger("abc"), 0);
    EXPECT_EQ(profileInteger("+5"), 5);
    EXPECT_EQ(profileInteger("-3"), -3);
    EXPECT_EQ(profileInteger("\t -0012x"), -12);
    EXPECT_EQ(profileInteger("- 5"), 0);
    EXPECT_EQ(profileInteger("1.9"), 1);
    EXPECT_EQ(profileInteger("0x10"), 0);
    // 2^32 + 1 wraps modulo 2^32.
    EXPECT_EQ(profileInteger("4294967297"), 1);
}

TEST(Profile, MissingKeyGivesDefaultButTextWithoutDigitsGivesZero)
{
    const Profile p = Profile::fromBytes("[Option]\r\nPct=abc\r\nLine=\r\nRound=\" 7\"\r\n");
    EXPECT_EQ(p.integer("Option", "Pct", 3), 0);
    EXPECT_EQ(p.integer("Option", "Line", 3), 3); // empty value: the default
    EXPECT_EQ(p.integer("Option", "Round", 3), 7);
    EXPECT_EQ(p.integer("Option", "Zero", 42), 42);
    EXPECT_EQ(p.integer("Missing", "Pct", 42), 42);
    EXPECT_EQ(p.string("Option", "Nothing", "dflt"), "dflt");
}

TEST(Profile, NamesIgnoreCaseAndBlanksAroundKeyAndValue)
{
    const Profile p = Profile::fromBytes("  [ oPTION ]  \r\n"
                                         "\trOUND   =   5  \r\n"
                                         "name = two words here \r\n");
    EXPECT_EQ(p.integer("Option", "Round", 3), 5);
    EXPECT_EQ(p.value("OPTION", "round"), "5");
    EXPECT_EQ(p.value("option", "NAME"), "two words here");
}

TEST(Profile, QuotedValuesLoseOnePairOfMatchingQuotes)
{
    const Profile p = Profile::fromBytes("[S]\n"
                                         "a=\"C:\\My Files\\2009.ptr\"\n"
                                         "b='single'\n"
                                         "c=\"mismatched'\n"
                                         "d=\"\n"
                                         "e=\"\"inner\"\"\n"
                                         "f=\" padded \"\n");
    EXPECT_EQ(p.value("S", "a"), "C:\\My Files\\2009.ptr");
    EXPECT_EQ(p.value("S", "b"), "single");
    EXPECT_EQ(p.value("S", "c"), "\"mismatched'");
    EXPECT_EQ(p.value("S", "d"), "\"");
    EXPECT_EQ(p.value("S", "e"), "\"inner\"");
    EXPECT_EQ(p.value("S", "f"), " padded ");
}

TEST(Profile, FirstSectionAndFirstKeyCountAndKeysStayInTheirSection)
{
    const Profile p = Profile::fromBytes("Width=1\r\n" // before any section: nobody's
                                         "[Window]\r\nWidth=9000\r\nWidth=8000\r\n"
                                         "; Round=9\r\n"
                                         "Round\r\n"
                                         "[Option]\r\nWidth=800\r\n"
                                         "[window]\r\nHeight=5000\r\n");
    EXPECT_EQ(p.integer("Window", "Width", 0), 9000);
    EXPECT_EQ(p.integer("Option", "Width", 0), 800);
    EXPECT_FALSE(p.value("Window", "Round"));  // a comment and a line without "="
    EXPECT_FALSE(p.value("Window", "Height")); // only the first "Window" section counts
    EXPECT_FALSE(p.value("Option", "Round"));
}

TEST(Profile, ValueIsCutAtNul)
{
    const Profile p = Profile::fromBytes(std::string_view("[S]\r\nk=ab\0cd\r\n", 14));
    EXPECT_EQ(p.value("S", "k"), "ab");
}

TEST(Profile, ReadsLfAndCrLfAndWritesCrLf)
{
    const Profile p = Profile::fromBytes("[S]\na=1\r\nb=2\n; note\nc=3");
    EXPECT_EQ(p.integer("S", "a", 0), 1);
    EXPECT_EQ(p.integer("S", "b", 0), 2);
    EXPECT_EQ(p.integer("S", "c", 0), 3);
    EXPECT_EQ(p.toBytes(), "[S]\r\na=1\r\nb=2\r\n; note\r\nc=3\r\n");
}

TEST(Profile, WritingReplacesInPlaceAddsKeysAndSectionsAndKeepsTheRest)
{
    Profile p = Profile::fromBytes("; my settings\r\n"
                                   "[Window]\r\n"
                                   "  top = 5   ; moved\r\n"
                                   "Left = 3\r\n"
                                   "Custom=keep me\r\n"
                                   "\r\n"
                                   "\r\n"
                                   "[Other]\r\n"
                                   "x=1\r\n");
    ASSERT_TRUE(p.setValue("WINDOW", "Top", "120"));   // replaced, key keeps its spelling
    ASSERT_TRUE(p.setValue("Window", "Left", "3"));    // unchanged: line left as written
    ASSERT_TRUE(p.setValue("Window", "Height", "60")); // missing key: end of its section
    ASSERT_TRUE(p.setValue("Option", "Pct", "4"));     // missing section: end of file
    ASSERT_TRUE(p.setValue("Option", "Line", "5"));
    EXPECT_EQ(p.toBytes(), "; my settings\r\n"
                           "[Window]\r\n"
                           "top=120\r\n"
                           "Left = 3\r\n"
                           "Custom=keep me\r\n"
                           "Height=60\r\n"
                           "\r\n"
                           "\r\n"
                           "[Other]\r\n"
                           "x=1\r\n"
                           "\r\n"
                           "[Option]\r\n"
                           "Pct=4\r\n"
                           "Line=5\r\n");
}

TEST(Profile, ValuesThatWouldNotReadBackAreQuotedOrRefused)
{
    Profile p;
    ASSERT_TRUE(p.setValue("S", "blank", " x "));
    ASSERT_TRUE(p.setValue("S", "quoted", "'x'"));
    ASSERT_TRUE(p.setValue("S", "plain", "a \"b\" c"));
    const Profile back = Profile::fromBytes(p.toBytes());
    EXPECT_EQ(back.value("S", "blank"), " x ");
    EXPECT_EQ(back.value("S", "quoted"), "'x'");
    EXPECT_EQ(back.value("S", "plain"), "a \"b\" c");
    EXPECT_EQ(back.lines().back(), "plain=a \"b\" c");

    const std::string before = p.toBytes();
    EXPECT_FALSE(p.setValue("S", "evil", "x\r\n[Option]\r\nLoad=1"));
    EXPECT_FALSE(p.setValue("S", "blank", "line\nbreak"));
    EXPECT_FALSE(p.setValue("S", "k=v", "1"));
    EXPECT_FALSE(p.setValue("S", " padded", "1"));
    EXPECT_FALSE(p.setValue("", "k", "1"));
    EXPECT_EQ(p.toBytes(), before);
}

TEST(Profile, Cp932FileIsDecodedAndWrittenBackAsUtf8)
{
    // "ペナントソフト表": "ソ" and "表" end in 0x5C, the byte of "\".
    const std::string cp932 = "[Option]\r\nFileName=C:\\"
                              "\x83\x79\x83\x69\x83\x93\x83\x67\x83\x5c\x83\x74\x83\x67\x95\x5c"
                              "\\a.ptr\r\n";
    const Profile p = Profile::fromBytes(cp932);
    EXPECT_EQ(p.value("Option", "FileName"), "C:\\ペナントソフト表\\a.ptr");
    EXPECT_EQ(p.toBytes(), "[Option]\r\nFileName=C:\\ペナントソフト表\\a.ptr\r\n");
}

TEST(Profile, BytesThatAreNeitherUtf8NorCp932BecomeReplacementCharacters)
{
    EXPECT_EQ(cp932ToUtf8("a\xFF"
                          "b\x83"),
              "a\xEF\xBF\xBD"
              "b\xEF\xBF\xBD");
    EXPECT_EQ(cp932ToUtf8("\xB1"), "ｱ"); // half-width katakana: one byte, three in UTF-8
}

TEST(Profile, Utf8Validation)
{
    EXPECT_TRUE(isValidUtf8("plain ascii"));
    EXPECT_TRUE(isValidUtf8("ペナント 𝄞"));
    EXPECT_FALSE(isValidUtf8("\xC0\xAF"));         // overlong "/"
    EXPECT_FALSE(isValidUtf8("\xED\xA0\x80"));     // surrogate
    EXPECT_FALSE(isValidUtf8("\xF4\x90\x80\x80")); // beyond U+10FFFF
    EXPECT_FALSE(isValidUtf8("\xE3\x83"));         // cut short
    EXPECT_FALSE(isValidUtf8("\x83\x79"));         // CP932 "ペ"
}

TEST(Profile, ByteOrderMarkIsKept)
{
    const std::string bytes = "\xEF\xBB\xBF[S]\r\nk=1\r\n";
    Profile p = Profile::fromBytes(bytes);
    EXPECT_EQ(p.integer("S", "k", 0), 1);
    EXPECT_EQ(p.toBytes(), bytes);
}

TEST(ProfileFile, LoadTellsMissingFromUnreadable)
{
    TempFolder folder;
    Profile p;
    EXPECT_EQ(p.load(folder / "none.ini"), Profile::LoadStatus::Missing);
    EXPECT_EQ(p.load(folder.path()), Profile::LoadStatus::Failed); // a folder, not a file
    writeBytes(folder / "a.ini", "[S]\nk=7\n");
    EXPECT_EQ(p.load(folder / "a.ini"), Profile::LoadStatus::Loaded);
    EXPECT_EQ(p.integer("S", "k", 0), 7);
}

TEST(ProfileFile, SaveCreatesTheFolderAndKeepsPermissions)
{
    TempFolder folder;
    Profile p;
    ASSERT_TRUE(p.setValue("S", "k", "1"));
    const auto nested = folder / "config/penarin/Mgcsm.ini";
    ASSERT_TRUE(p.save(nested));
    EXPECT_EQ(readBytes(nested), "[S]\r\nk=1\r\n");

    const auto existing = folder / "private.ini";
    writeBytes(existing, "old");
    ASSERT_EQ(::chmod(existing.c_str(), 0600), 0);
    ASSERT_TRUE(p.save(existing));
    EXPECT_EQ(readBytes(existing), "[S]\r\nk=1\r\n");
    EXPECT_EQ(std::filesystem::status(existing).permissions() & std::filesystem::perms::all,
              std::filesystem::perms::owner_read | std::filesystem::perms::owner_write);
}

TEST(ProfileFile, SaveThroughASymbolicLinkReplacesItsTarget)
{
    TempFolder folder;
    writeBytes(folder / "real.ini", "old\r\n");
    std::filesystem::create_symlink(folder / "real.ini", folder / "link.ini");
    Profile p;
    ASSERT_TRUE(p.setValue("S", "k", "1"));
    ASSERT_TRUE(p.save(folder / "link.ini"));
    EXPECT_TRUE(std::filesystem::is_symlink(folder / "link.ini"));
    EXPECT_EQ(readBytes(folder / "real.ini"), "[S]\r\nk=1\r\n");
}

TEST(ProfileFile, FailedSaveLeavesTheFileAndNoLeftovers)
{
    TempFolder folder;
    const auto path = folder / "Mgcsm.ini";
    const std::string before = "; keep\r\n[Option]\r\nPct=5\r\n";
    writeBytes(path, before);

    Profile p = Profile::fromBytes(before);
    ASSERT_TRUE(p.setValue("Option", "FileName", std::string(200, 'x')));
    bool saved = true;
    {
        FileSizeLimit limit(16);
        ASSERT_TRUE(limit.active());
        saved = p.save(path);
    }
    EXPECT_FALSE(saved);
    EXPECT_EQ(readBytes(path), before);
    EXPECT_EQ(countEntries(folder.path()), 1);
}

} // namespace
} // namespace penarin
