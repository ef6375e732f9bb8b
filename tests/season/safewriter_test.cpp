#include "season/safewriter.h"
#include "settings/testfiles.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <chrono>
#include <future>
#include <thread>

#include <grp.h>
#include <sys/stat.h>
#include <sys/wait.h>
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

TEST(SafeWriter, OtherFilesInTheFolderAreNeverTouched)
{
    TempFolder folder;
    const fs::path path = folder / "Mgcsm.ini";
    // What a killed save of an earlier version left, a second name of
    // another file and a folder under names a temporary file could have had.
    writeBytes(folder / "Mgcsm.ini.saving", "half");
    writeBytes(folder / "other", "other");
    fs::create_hard_link(folder / "other", folder / "Mgcsm.ini.saving-x");
    fs::create_directory(folder / "Mgcsm.ini.saving-y");
    for (int save = 0; save < 3; ++save) {
        ASSERT_TRUE(WriteFileSafely(path, "k=" + std::to_string(save)));
        EXPECT_EQ(countEntries(folder.path()), 5);
    }
    EXPECT_EQ(readBytes(path), "k=2");
    EXPECT_EQ(readBytes(folder / "Mgcsm.ini.saving"), "half");
    EXPECT_EQ(readBytes(folder / "other"), "other");
    EXPECT_TRUE(fs::is_directory(folder / "Mgcsm.ini.saving-y"));
}

TEST(SafeWriter, LinkedFoldersLeadWhereTheSystemTakesThem)
{
    // home/sync is a link to ../store/deep, and in it link.ptr points to
    // ../season.ptr: from store/deep, that is store/season.ptr.
    TempFolder folder;
    fs::create_directories(folder / "home");
    fs::create_directories(folder / "store/deep");
    fs::create_directory_symlink("../store/deep", folder / "home/sync");
    fs::create_symlink("../season.ptr", folder / "home/sync/link.ptr");
    writeBytes(folder / "home/season.ptr", "home");
    writeBytes(folder / "store/season.ptr", "store");

    std::string error;
    ASSERT_TRUE(WriteFileSafely(folder / "home/sync/link.ptr", "new", &error)) << error;
    EXPECT_EQ(readBytes(folder / "store/season.ptr"), "new");
    EXPECT_EQ(readBytes(folder / "home/season.ptr"), "home");
    EXPECT_TRUE(fs::is_symlink(folder / "store/deep/link.ptr"));

    // A path through the linked folder and back up by ".." names store.
    ASSERT_TRUE(WriteFileSafely(folder / "home/sync/../season.ptr", "up"));
    EXPECT_EQ(readBytes(folder / "store/season.ptr"), "up");
    EXPECT_EQ(readBytes(folder / "home/season.ptr"), "home");
    EXPECT_EQ(countEntries(folder / "store"), 2);
    EXPECT_EQ(countEntries(folder / "home"), 2);
}

TEST(SafeWriter, TwoSavesOfOneFileAtOnceEachWriteTheirOwnFile)
{
    TempFolder folder;
    const fs::path path = folder / "s.ptr";
    writeBytes(path, "old");
    // The first save, once writing, waits until the second is writing too;
    // the second then waits until the first has finished.
    std::promise<void> secondWriting;
    std::promise<void> firstDone;
    std::future<void> secondIsWriting = secondWriting.get_future();
    std::shared_future<void> firstIsDone = firstDone.get_future().share();
    constexpr auto Patience = std::chrono::seconds(10);

    bool secondSaved = false;
    std::string secondError;
    std::thread second;
    bool started = false;
    const WriteStep firstStep = [&](int fd, const char *data, std::size_t size) -> long {
        if (!started) {
            started = true;
            second = std::thread([&] {
                bool signalled = false;
                const WriteStep secondStep = [&](int fd2, const char *data2,
                                                 std::size_t size2) -> long {
                    if (!signalled) {
                        signalled = true;
                        secondWriting.set_value();
                        (void)firstIsDone.wait_for(Patience);
                    }
                    return static_cast<long>(::write(fd2, data2, size2));
                };
                secondSaved = WriteFileSafely(path, "second", &secondError, secondStep);
            });
            (void)secondIsWriting.wait_for(Patience);
        }
        return static_cast<long>(::write(fd, data, size));
    };
    std::string firstError;
    const bool firstSaved = WriteFileSafely(path, "first", &firstError, firstStep);
    EXPECT_TRUE(firstSaved) << firstError;
    EXPECT_EQ(readBytes(path), "first");
    firstDone.set_value();
    ASSERT_TRUE(second.joinable());
    second.join();
    EXPECT_TRUE(secondSaved) << secondError;
    EXPECT_EQ(readBytes(path), "second");
    EXPECT_EQ(countEntries(folder.path()), 1);
}

TEST(SafeWriter, RefusesAFileTheUserMayNotWrite)
{
    TempFolder folder;
    ASSERT_EQ(::chmod(folder.path().c_str(), 0777), 0);
    const fs::path locked = folder / "locked.ptr";
    writeBytes(locked, "kept");
    ASSERT_EQ(::chmod(locked.c_str(), 0444), 0);
    // Refused also for root, whom the kernel would let write it.
    std::string error;
    EXPECT_FALSE(WriteFileSafely(locked, "new", &error));
    EXPECT_EQ(error, "書き込みが禁止されているファイルです");
    EXPECT_EQ(readBytes(locked), "kept");
    EXPECT_EQ(countEntries(folder.path()), 1);

    // As an ordinary user: another user's file in a folder everyone may
    // write must neither change nor change its owner.
    if (::geteuid() != 0)
        GTEST_SKIP() << "needs root to make a file of another user and drop to an ordinary one";
    const fs::path others = folder / "others.ptr";
    const fs::path mine = folder / "mine.ptr";
    writeBytes(others, "root's");
    ASSERT_EQ(::chmod(others.c_str(), 0644), 0);
    writeBytes(mine, "nobody's");
    constexpr uid_t Nobody = 65534;
    ASSERT_EQ(::chown(mine.c_str(), Nobody, Nobody), 0);
    ASSERT_EQ(::chown(locked.c_str(), Nobody, Nobody), 0);
    const pid_t child = ::fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        if (::setgroups(0, nullptr) != 0 || ::setgid(Nobody) != 0 || ::setuid(Nobody) != 0)
            ::_exit(10);
        std::string reason;
        int failures = 0;
        for (const fs::path &target : {others, locked}) {
            if (WriteFileSafely(target, "new", &reason) ||
                reason != "書き込みが禁止されているファイルです")
                ++failures;
        }
        if (!WriteFileSafely(mine, "new", &reason))
            failures += 4;
        ::_exit(failures);
    }
    int status = 0;
    ASSERT_EQ(::waitpid(child, &status, 0), child);
    ASSERT_TRUE(WIFEXITED(status));
    EXPECT_EQ(WEXITSTATUS(status), 0);
    EXPECT_EQ(readBytes(others), "root's");
    EXPECT_EQ(readBytes(locked), "kept");
    EXPECT_EQ(readBytes(mine), "new");
    struct stat info
    {};
    ASSERT_EQ(::stat(others.c_str(), &info), 0);
    EXPECT_EQ(info.st_uid, 0u);
    EXPECT_EQ(countEntries(folder.path()), 3);
}

} // namespace
} // namespace penarin
