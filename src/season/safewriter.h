#pragma once

#include <cstddef>
#include <filesystem>
#include <functional>
#include <string>
#include <string_view>

namespace penarin {

// One step of writing: like ::write, the number of bytes written or -1 with
// errno set. Tests pass their own to play a full disk or a slow one.
using WriteStep = std::function<long(int fd, const char *data, std::size_t size)>;

// Replaces the file at `path` with `bytes` so that at every moment the file
// is either the old one or the complete new one: the bytes go to a
// temporary file in the target's folder, which is flushed to the disk and
// then renamed over the target, and the folder itself is flushed last so
// the rename survives a power cut.
//
// - The folder is the one the system finds for the path, links and ".."
//   taken as the system takes them; the path is never cleaned up as text,
//   since "linked/.." is not the folder that holds "linked".
// - A symbolic link as the last part is followed: the file it points to is
//   replaced, the link stays (a season kept in a synced folder and linked
//   from home).
// - An existing file keeps its permission bits (and, where allowed, its
//   owner and group); a new file gets the usual ones.
// - A target that exists but is not a regular file (a folder, a device, a
//   pipe) is refused: renaming over it would destroy it or be meaningless.
//   So is a file the user may not write, or one without any write
//   permission (also for root, who could: a file made read-only is one its
//   owner asked to be kept as it is).
// - Every save has a temporary file of its own, nameless while it is being
//   written where the file system allows it, so two saves of one file never
//   meet in one temporary file and a killed save leaves nothing behind.
//
// On failure the old file is untouched, the temporary file is gone and
// `error` (when given) receives a reason the user can act on.
[[nodiscard]] bool WriteFileSafely(const std::filesystem::path &path, std::string_view bytes,
                                   std::string *error = nullptr,
                                   const WriteStep &writeStep = nullptr);

} // namespace penarin
