#include "season/helpfile.h"
#include "settings/testfiles.h"

#include <gtest/gtest.h>

namespace penarin {
namespace {

using test::TempFolder;
using test::writeBytes;

// The guide is found in a build tree (beside the program) and in an installed
// tree (the data folder), whichever this run lives in.
TEST(HelpFile, FoundBesideOrInTheDataFolder)
{
    struct Case
    {
        bool beside;
        bool installed;
        bool expectInstalled;
    };
    const Case cases[] = {
        {true, false, false},
        {false, true, true},
        {true, true, false},
        // Neither: the message about the missing guide names the program's folder.
        {false, false, false},
    };
    for (const Case &c : cases) {
        TempFolder folder;
        const auto bin = folder / "bin";
        const auto data = (bin / installedHelpFolder()).lexically_normal();
        std::filesystem::create_directories(bin);
        std::filesystem::create_directories(data);
        if (c.beside)
            writeBytes(bin / HelpFileName, "<html/>");
        if (c.installed)
            writeBytes(data / HelpFileName, "<html/>");

        const auto expected = c.expectInstalled ? data / HelpFileName : bin / HelpFileName;
        EXPECT_EQ(helpFilePath(bin), expected) << c.beside << c.installed;
    }
}

} // namespace
} // namespace penarin
