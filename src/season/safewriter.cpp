#include "season/safewriter.h"

#include <atomic>
#include <cerrno>
#include <optional>
#include <random>
#include <system_error>
#include <utility>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace penarin {

namespace fs = std::filesystem;

namespace {

// Linux gives up after 40 links in a path; so do we.
constexpr int MaxLinks = 40;

constexpr const char *NotARegularFile = "保存先が通常のファイルではありません";
constexpr const char *WriteProtected = "書き込みが禁止されているファイルです";

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
    case EISDIR:
    case ELOOP:
        return NotARegularFile;
    default:
        return "保存できません (" + std::generic_category().message(error) + ")";
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

// A file descriptor closed with its owner.
class Descriptor
{
public:
    Descriptor() = default;
    explicit Descriptor(int fd) : m_fd(fd) {}
    Descriptor(Descriptor &&other) noexcept : m_fd(std::exchange(other.m_fd, -1)) {}
    Descriptor &operator=(Descriptor &&other) noexcept
    {
        std::swap(m_fd, other.m_fd);
        return *this;
    }
    ~Descriptor()
    {
        if (m_fd >= 0)
            ::close(m_fd);
    }
    [[nodiscard]] int get() const { return m_fd; }
    [[nodiscard]] bool valid() const { return m_fd >= 0; }
    // Closes now, for the caller that must know whether closing failed.
    [[nodiscard]] int close() { return ::close(std::exchange(m_fd, -1)); }

private:
    int m_fd = -1;
};

// The file to replace: a name in a folder held open. Everything after
// finding it works relative to the folder, so a link changed meanwhile
// cannot send the temporary file and the rename to different places.
struct Target
{
    Descriptor folder;
    std::string name;
    std::optional<struct stat> existing; // none for a new file
};

Descriptor openFolder(int base, const fs::path &folder)
{
    const fs::path where = folder.empty() ? fs::path(".") : folder;
    return Descriptor(::openat(base, where.c_str(), O_PATH | O_DIRECTORY | O_CLOEXEC));
}

// Splits a path into folder and name; a path that names no file (ending in
// "/", ".", "..") is no target.
bool splitName(const fs::path &path, fs::path &folder, std::string &name)
{
    name = path.filename().string();
    folder = path.parent_path();
    return !name.empty() && name != "." && name != "..";
}

std::optional<std::string> readLink(int folder, const std::string &name)
{
    std::string text(256, '\0');
    for (;;) {
        const ssize_t size = ::readlinkat(folder, name.c_str(), text.data(), text.size());
        if (size < 0)
            return std::nullopt;
        if (static_cast<std::size_t>(size) < text.size()) {
            text.resize(static_cast<std::size_t>(size));
            return text;
        }
        text.resize(text.size() * 2);
    }
}

// Finds the file `path` names the way the system does: the folder is opened
// by the system (which follows every link in it, ".." included, from where
// the link really leads), and a link as the last part is followed from the
// folder that holds the link.
std::optional<Target> locate(const fs::path &path, int &failure)
{
    Target target;
    fs::path folder;
    if (!splitName(path, folder, target.name)) {
        failure = EISDIR;
        return std::nullopt;
    }
    target.folder = openFolder(AT_FDCWD, folder);
    for (int hop = 0;; ++hop) {
        if (!target.folder.valid()) {
            failure = errno;
            return std::nullopt;
        }
        struct stat entry
        {};
        if (::fstatat(target.folder.get(), target.name.c_str(), &entry, AT_SYMLINK_NOFOLLOW) != 0) {
            if (errno == ENOENT)
                return target;
            failure = errno;
            return std::nullopt;
        }
        if (!S_ISLNK(entry.st_mode)) {
            target.existing = entry;
            return target;
        }
        if (hop == MaxLinks) {
            failure = ELOOP;
            return std::nullopt;
        }
        const std::optional<std::string> link = readLink(target.folder.get(), target.name);
        if (!link) {
            failure = errno;
            return std::nullopt;
        }
        fs::path linkFolder;
        std::string linkName;
        if (!splitName(*link, linkFolder, linkName)) {
            failure = EISDIR;
            return std::nullopt;
        }
        // An absolute folder ignores the base; a relative one starts from
        // the folder that holds the link.
        target.folder = openFolder(target.folder.get(), linkFolder);
        target.name = std::move(linkName);
    }
}

// A name no other save uses at the same time.
std::string uniqueName(const std::string &name)
{
    static std::atomic<unsigned> counter{0};
    static const unsigned seed = std::random_device{}();
    static constexpr char Letters[] = "abcdefghijklmnopqrstuvwxyz0123456789";
    std::minstd_rand random(seed ^ (static_cast<unsigned>(::getpid()) << 16) ^
                            counter.fetch_add(1) * 2654435761u);
    std::string suffix(8, 'x');
    for (char &c : suffix)
        c = Letters[random() % (sizeof Letters - 1)];
    return name + ".saving-" + suffix;
}

// Gives an unnamed temporary file a name in its folder: through the
// process's view of its open files, which needs no privilege, or through
// the descriptor itself, which root may use where /proc is missing.
bool giveName(int fd, int folder, std::string &temporaryName, const std::string &name)
{
    const std::string self = "/proc/self/fd/" + std::to_string(fd);
    for (int attempt = 0; attempt < 100; ++attempt) {
        temporaryName = uniqueName(name);
        if (::linkat(AT_FDCWD, self.c_str(), folder, temporaryName.c_str(), AT_SYMLINK_FOLLOW) ==
                0 ||
            ::linkat(fd, "", folder, temporaryName.c_str(), AT_EMPTY_PATH) == 0)
            return true;
        if (errno != EEXIST)
            return false;
    }
    return false;
}

enum class Outcome
{
    Written,
    TryNamed, // the unnamed file could not be named; write again into a named one
    Failed,
};

// Writes the bytes into a new temporary file in the target's folder and
// leaves it, complete and on the disk, under `temporaryName`.
Outcome writeTemporary(const Target &target, const struct stat *existing, bool unnamed,
                       std::string_view bytes, const WriteStep &step, std::string &temporaryName,
                       int &failure)
{
    const int folder = target.folder.get();
    // Private until it has the old file's permissions: the old file may be
    // readable by its owner only.
    const mode_t mode = existing ? 0600 : 0666;
    Descriptor file;
    temporaryName.clear();
    if (unnamed) {
        file = Descriptor(::openat(folder, ".", O_TMPFILE | O_WRONLY | O_CLOEXEC, mode));
        if (!file.valid()) {
            // File systems without unnamed files say so in several ways.
            if (errno == EOPNOTSUPP || errno == EISDIR || errno == EINVAL)
                return Outcome::TryNamed;
            failure = errno;
            return Outcome::Failed;
        }
    } else {
        for (int attempt = 0; attempt < 100 && !file.valid(); ++attempt) {
            temporaryName = uniqueName(target.name);
            file = Descriptor(::openat(folder, temporaryName.c_str(),
                                       O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, mode));
            if (!file.valid() && errno != EEXIST)
                break;
        }
        if (!file.valid()) {
            failure = errno;
            temporaryName.clear();
            return Outcome::Failed;
        }
    }

    bool written = true;
    if (existing) {
        // Only root may give a file away; for others this keeps the group
        // where the user belongs to it. Failing here is not worth a lost save.
        // (A cast to void does not quiet glibc's warn_unused_result, which
        // the hardened package build turns on.)
        if (existing->st_uid != ::geteuid() || existing->st_gid != ::getegid()) {
            [[maybe_unused]] const int ownerKept =
                ::fchown(file.get(), existing->st_uid, existing->st_gid);
        }
        if (::fchmod(file.get(), existing->st_mode & 07777) != 0) {
            failure = errno;
            written = false;
        }
    }
    written = written && writeAll(file.get(), bytes, step ? step : WriteStep(plainWrite), failure);
    if (written && ::fsync(file.get()) != 0) {
        failure = errno;
        written = false;
    }
    if (written && unnamed && !giveName(file.get(), folder, temporaryName, target.name)) {
        temporaryName.clear();
        return Outcome::TryNamed;
    }
    if (file.close() != 0 && written) {
        failure = errno;
        written = false;
    }
    return written ? Outcome::Written : Outcome::Failed;
}

// The rename is only durable once the folder's entry is on the disk. Some
// file systems refuse to flush a folder; the data itself is flushed by
// then, so that is no reason to call a completed save a failure.
void flushFolder(int folder)
{
    const Descriptor readable(::openat(folder, ".", O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    if (readable.valid())
        (void)::fsync(readable.get());
}

// Whether the user may replace an existing file. The kernel's answer covers
// permission bits, access lists and read-only mounts; the kernel lets root
// write anything, so for root a file without any write bit is refused too.
std::optional<std::string> writeRefusal(const Target &target, const struct stat &existing)
{
    if ((existing.st_mode & 0222) == 0)
        return WriteProtected;
    if (::faccessat(target.folder.get(), target.name.c_str(), W_OK, AT_EACCESS) != 0) {
        if (errno == EACCES || errno == EPERM)
            return WriteProtected;
        return reasonFor(errno);
    }
    return std::nullopt;
}

} // namespace

bool WriteFileSafely(const fs::path &path, std::string_view bytes, std::string *error,
                     const WriteStep &writeStep)
{
    int failure = 0;
    const std::optional<Target> target = locate(path, failure);
    if (!target)
        return fail(error, reasonFor(failure));
    const int folder = target->folder.get();
    const struct stat *existing = target->existing ? &*target->existing : nullptr;
    if (existing && !S_ISREG(existing->st_mode))
        return fail(error, NotARegularFile);
    if (existing) {
        if (std::optional<std::string> refusal = writeRefusal(*target, *existing))
            return fail(error, std::move(*refusal));
    }

    std::string temporaryName;
    Outcome outcome =
        writeTemporary(*target, existing, true, bytes, writeStep, temporaryName, failure);
    if (outcome == Outcome::TryNamed)
        outcome =
            writeTemporary(*target, existing, false, bytes, writeStep, temporaryName, failure);
    if (outcome == Outcome::Written &&
        ::renameat(folder, temporaryName.c_str(), folder, target->name.c_str()) != 0) {
        failure = errno;
        outcome = Outcome::Failed;
    }
    if (outcome != Outcome::Written) {
        if (!temporaryName.empty())
            ::unlinkat(folder, temporaryName.c_str(), 0);
        return fail(error, reasonFor(failure));
    }
    flushFolder(folder);
    return true;
}

} // namespace penarin
