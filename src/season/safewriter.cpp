#include "season/safewriter.h"

#include <cerrno>
#include <system_error>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace penarin {

namespace fs = std::filesystem;

namespace {

// Linux gives up after 40 links in a path; so do we.
constexpr int MaxLinks = 40;

// What the user is told; the message box adds which file it was.
std::string reasonFor(int error)
{
    switch (error) {
    case ENOSPC:
    case EDQUOT:
    case EFBIG:
        return "ディスクの空き容量が足りません";
    case EACCES:
    case EPERM:
        return "保存先に書き込む権限がありません";
    case EROFS:
        return "保存先は読み取り専用です";
    case ENOENT:
    case ENOTDIR:
        return "保存先のフォルダがありません";
    default:
        return std::generic_category().message(error);
    }
}

bool fail(std::string *error, std::string reason)
{
    if (error)
        *error = std::move(reason);
    return false;
}

long plainWrite(int fd, const char *data, std::size_t size)
{
    return static_cast<long>(::write(fd, data, size));
}

bool writeAll(int fd, std::string_view bytes, const WriteStep &step, int &failure)
{
    while (!bytes.empty()) {
        const long written = step(fd, bytes.data(), bytes.size());
        if (written < 0) {
            if (errno == EINTR)
                continue;
            failure = errno;
            return false;
        }
        if (written == 0) {
            // A write that makes no progress would loop for ever; the
            // kernel only does this when there is no room left.
            failure = ENOSPC;
            return false;
        }
        bytes.remove_prefix(static_cast<std::size_t>(written));
    }
    return true;
}

// The rename is only durable once the folder's entry is on the disk. Some
// file systems refuse to flush a folder; the data itself is flushed by
// then, so that is no reason to call a completed save a failure.
void flushFolder(const fs::path &folder)
{
    const int fd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0)
        return;
    (void)::fsync(fd);
    ::close(fd);
}

} // namespace

fs::path ResolveWriteTarget(const fs::path &path)
{
    fs::path target = path;
    for (int hop = 0; hop < MaxLinks; ++hop) {
        std::error_code error;
        if (!fs::is_symlink(fs::symlink_status(target, error)))
            return target;
        const fs::path link = fs::read_symlink(target, error);
        if (error)
            return path;
        target = link.is_absolute() ? link : target.parent_path() / link;
        target = target.lexically_normal();
    }
    return path;
}

fs::path SafeWriteTemporaryPath(const fs::path &target)
{
    fs::path temporary = target;
    temporary += ".saving";
    return temporary;
}

bool WriteFileSafely(const fs::path &path, std::string_view bytes, std::string *error,
                     const WriteStep &writeStep)
{
    const fs::path target = ResolveWriteTarget(path);
    if (target.filename().empty())
        return fail(error, "保存先が通常のファイルではありません");
    const fs::path temporary = SafeWriteTemporaryPath(target);
    const fs::path folder = target.has_parent_path() ? target.parent_path() : fs::path(".");

    struct stat existing
    {};
    const bool replacing = ::stat(target.c_str(), &existing) == 0;
    if (!replacing && errno != ENOENT)
        return fail(error, reasonFor(errno));
    if (replacing && !S_ISREG(existing.st_mode))
        return fail(error, "保存先が通常のファイルではありません");

    // A leftover of a killed save is ours to replace; anything else under
    // that name (a folder, a link someone placed there) is left alone.
    struct stat leftover
    {};
    if (::lstat(temporary.c_str(), &leftover) == 0) {
        if (!S_ISREG(leftover.st_mode))
            return fail(error, "一時ファイルの名前 " + temporary.filename().string() +
                                   " が使われています");
        if (::unlink(temporary.c_str()) != 0)
            return fail(error, reasonFor(errno));
    }

    // Private until it has the old file's permissions: the old file may be
    // readable by its owner only.
    const int fd = ::open(temporary.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC,
                          replacing ? 0600 : 0666);
    if (fd < 0)
        return fail(error, reasonFor(errno));

    int failure = 0;
    bool written = true;
    if (replacing) {
        // Only root may give a file away; for others this keeps the group
        // where the user belongs to it. Failing here is not worth a lost save.
        // (A cast to void does not quiet glibc's warn_unused_result, which
        // the hardened package build turns on.)
        if (existing.st_uid != ::geteuid() || existing.st_gid != ::getegid()) {
            [[maybe_unused]] const int ownerKept = ::fchown(fd, existing.st_uid, existing.st_gid);
        }
        if (::fchmod(fd, existing.st_mode & 07777) != 0) {
            failure = errno;
            written = false;
        }
    }
    written =
        written && writeAll(fd, bytes, writeStep ? writeStep : WriteStep(plainWrite), failure);
    if (written && ::fsync(fd) != 0) {
        failure = errno;
        written = false;
    }
    if (::close(fd) != 0 && written) {
        failure = errno;
        written = false;
    }
    if (written && ::rename(temporary.c_str(), target.c_str()) != 0) {
        failure = errno;
        written = false;
    }
    if (!written) {
        ::unlink(temporary.c_str());
        return fail(error, reasonFor(failure));
    }
    flushFolder(folder);
    return true;
}

} // namespace penarin
