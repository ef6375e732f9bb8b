#pragma once

#include <cstddef>
#include <filesystem>
#include <functional>
#include <string>
#include <string_view>

namespace penarin {

// One step of writing: like ::write, the number of bytes written or -1 with
// errno set. Tests pass their own to play a full disk.
using WriteStep = std::function<long(int fd, const char *data, std::size_t size)>;

// Replaces the file at `path` with `bytes` so that at every moment the file
// is either the old one or the complete new one: the bytes go to a
// temporary file in the same folder, which is flushed to the disk and then
// renamed over the target, and the folder itself is flushed last so the
// rename survives a power cut.
//
// - A symbolic link is followed: the file it points to is replaced, the
//   link stays (a season kept in a synced folder and linked from home).
// - An existing file keeps its permission bits (and, where allowed, its
//   owner and group); a new file gets the usual ones.
// - A target that exists but is not a regular file (a folder, a device) is
//   refused: renaming over it would destroy it or be meaningless.
// - The temporary name is fixed per target (SafeWriteTemporaryPath), so a
//   save killed halfway leaves at most one leftover, which the next save
//   removes and replaces.
//
// On failure the old file is untouched, the temporary file is gone and
// `error` (when given) receives a reason the user can act on.
[[nodiscard]] bool WriteFileSafely(const std::filesystem::path &path, std::string_view bytes,
                                   std::string *error = nullptr,
                                   const WriteStep &writeStep = nullptr);

// The file a symbolic link `path` finally points to (relative links are
// taken from the link's folder), or `path` itself when it is no link. A
// chain that does not end within a sane number of links gives `path`.
[[nodiscard]] std::filesystem::path ResolveWriteTarget(const std::filesystem::path &path);

// The temporary file WriteFileSafely uses for the (resolved) target `target`.
[[nodiscard]] std::filesystem::path SafeWriteTemporaryPath(const std::filesystem::path &target);

} // namespace penarin
