#include "season/safewriter.h"
#include "settings/testfiles.h"

#include <gtest/gtest.h>

#include <cerrno>

#include <sys/stat.h>
#include <unistd.h>

namespace penarin {
namespace {

namespace fs = std::filesystem;
using test::countEntries;
using test::readBytes;
using test::TempFolder;
using test::writeBytes;

mode_t modeOf(const fs::path &path)
{
    struct stat info
    {};
    EXPECT_EQ(::stat(path.c_str(), &info), 0) << path;
    return info.st_mode & 07777;
}

TEST(SafeWriter, ReplacesTheFileKeepingItsPermissionsAndLeavesNothingElse)
{
    TempFolder folder;
    const fs::path path = folder / "s.ptr";
    for (const mode_t mode : {0600, 0640, 0604}) {
        writeBytes(path, std::string(5000, 'x'));
        ASSERT_EQ(::chmod(path.c_str(), mode), 0);
        std::string error = "untouched";
        ASSERT_TRUE(WriteFileSafely(path, "new", &error));
        EXPECT_EQ(readBytes(path), "new");
        EXPECT_EQ(modeOf(path), mode);
        EXPECT_EQ(error, "untouched");
        EXPECT_EQ(countEntries(folder.path()), 1);
    }

    // A new file gets what the user's umask allows, like any other program's.
    const mode_t mask = ::umask(022);
    ASSERT_TRUE(WriteFileSafely(folder / "new.ptr", ""));
    ::umask(mask);
    EXPECT_EQ(modeOf(folder / "new.ptr"), 0644u);
    EXPECT_EQ(readBytes(folder / "new.ptr"), "");
}

TEST(SafeWriter, SymbolicLinksAreWrittenThroughToTheirFile)
{
    TempFolder folder;
    fs::create_directory(folder / "synced");
    writeBytes(folder / "synced/real.ptr", "old");
    ASSERT_EQ(::chmod((folder / "synced/real.ptr").c_str(), 0600), 0);
    fs::create_symlink("synced/real.ptr", folder / "relative.ptr");
    fs::create_symlink(folder / "relative.ptr", folder / "chain.ptr");
    fs::create_symlink("synced/created.ptr", folder / "dangling.ptr");

    for (const char *link : {"relative.ptr", "chain.ptr"}) {
        ASSERT_TRUE(WriteFileSafely(folder / link, link));
        EXPECT_TRUE(fs::is_symlink(folder / link));
        EXPECT_EQ(readBytes(folder / "synced/real.ptr"), link);
        EXPECT_EQ(modeOf(folder / "synced/real.ptr"), 0600u);
    }
    ASSERT_TRUE(WriteFileSafely(folder / "dangling.ptr", "made"));
    EXPECT_TRUE(fs::is_symlink(folder / "dangling.ptr"));
    EXPECT_EQ(readBytes(folder / "synced/created.ptr"), "made");
    EXPECT_EQ(countEntries(folder / "synced"), 2);
    EXPECT_EQ(countEntries(folder.path()), 4);
}

TEST(SafeWriter, RefusesWhatIsNotARegularFileOrCannotBeWritten)
{
    TempFolder folder;
    fs::create_directories(folder / "folder.ptr/inside");
    fs::create_symlink("/dev/null", folder / "null.ptr");
    for (const fs::path &target : {fs::path("/dev/null"), folder / "null.ptr",
                                   folder / "folder.ptr", folder / "gone/s.ptr"}) {
        std::string error;
        EXPECT_FALSE(WriteFileSafely(target, "data", &error)) << target;
        EXPECT_FALSE(error.empty()) << target;
    }
    EXPECT_TRUE(fs::is_directory(folder / "folder.ptr/inside"));
    EXPECT_EQ(countEntries(folder.path()), 2);
}

TEST(SafeWriter, ReadOnlyFolderKeepsTheOldFile)
{
    TempFolder folder;
    fs::create_directory(folder / "locked");
    const fs::path path = folder / "locked/s.ptr";
    writeBytes(path, "old");
    ASSERT_EQ(::chmod((folder / "locked").c_str(), 0500), 0);
    if (::access((folder / "locked").c_str(), W_OK) == 0) {
        ::chmod((folder / "locked").c_str(), 0700);
        GTEST_SKIP() << "running with rights that ignore folder permissions";
    }
    std::string error;
    EXPECT_FALSE(WriteFileSafely(path, "new", &error));
    ::chmod((folder / "locked").c_str(), 0700);
    EXPECT_EQ(error, "保存先に書き込む権限がありません");
    EXPECT_EQ(readBytes(path), "old");
    EXPECT_EQ(countEntries(folder / "locked"), 1);
}

TEST(SafeWriter, FullDiskKeepsTheOldFileAndRemovesTheTemporaryOne)
{
    TempFolder folder;
    const fs::path path = folder / "s.ptr";
    writeBytes(path, "old contents");
    // The disk takes the first 1000 bytes, in small pieces, then is full.
    std::size_t room = 1000;
    const WriteStep fullDisk = [&room](int fd, const char *data, std::size_t size) -> long {
        if (room == 0) {
            errno = ENOSPC;
            return -1;
        }
        const std::size_t part = std::min({size, room, std::size_t{300}});
        room -= part;
        return static_cast<long>(::write(fd, data, part));
    };
    std::string error;
    EXPECT_FALSE(WriteFileSafely(path, std::string(4000, 'n'), &error, fullDisk));
    EXPECT_EQ(error, "ディスクの空き容量が足りません");
    EXPECT_EQ(readBytes(path), "old contents");
    EXPECT_EQ(countEntries(folder.path()), 1);

    room = 4000; // exactly enough
    EXPECT_TRUE(WriteFileSafely(path, std::string(4000, 'n'), &error, fullDisk));
    EXPECT_EQ(readBytes(path), std::string(4000, 'n'));
}

TEST(SafeWriter, LeftoverOfAKilledSaveIsReplacedNotMultiplied)
{
    TempFolder folder;
    const fs::path path = folder / "Mgcsm.ini";
    const fs::path leftover = SafeWriteTemporaryPath(path);
    EXPECT_EQ(leftover.parent_path(), folder.path());

    // A half-written, read-only leftover, and one that is a second name of
    // another file: the save must neither fail on it nor write into the other file.
    writeBytes(leftover, "half");
    ASSERT_EQ(::chmod(leftover.c_str(), 0400), 0);
    for (int save = 0; save < 3; ++save) {
        ASSERT_TRUE(WriteFileSafely(path, "k=1"));
        EXPECT_EQ(countEntries(folder.path()), 1);
    }
    writeBytes(folder / "other", "other");
    fs::create_hard_link(folder / "other", leftover);
    ASSERT_TRUE(WriteFileSafely(path, "k=2"));
    EXPECT_EQ(readBytes(path), "k=2");
    EXPECT_EQ(readBytes(folder / "other"), "other");
    EXPECT_EQ(countEntries(folder.path()), 2);

    // Anything but a plain file under that name is not ours to remove.
    fs::create_directory(leftover);
    EXPECT_FALSE(WriteFileSafely(path, "k=3"));
    EXPECT_TRUE(fs::is_directory(leftover));
    EXPECT_EQ(readBytes(path), "k=2");
}

} // namespace
} // namespace penarin
