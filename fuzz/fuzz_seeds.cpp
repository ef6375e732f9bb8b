// Writes a few valid season files to start a fuzzing corpus from: the
// seasons the season file tests use, in the current and the previous layout.
#include "season/filemodule.h"
#include "season/fileseasons.h"

#include <cstdio>
#include <filesystem>
#include <fstream>

namespace {

void write(const std::filesystem::path &path, const std::vector<std::uint8_t> &bytes)
{
    std::ofstream out(path, std::ios::binary);
    out.write(reinterpret_cast<const char *>(bytes.data()),
              static_cast<std::streamsize>(bytes.size()));
}

} // namespace

int main(int argc, char **argv)
{
    using namespace penarin;
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s <corpus folder>\n", argv[0]);
        return 2;
    }
    const std::filesystem::path folder = argv[1];
    std::filesystem::create_directories(folder);
    write(folder / "six-teams.ptr", EncodeSeason(test::sixTeams()));
    write(folder / "snapshots.ptr", EncodeSeason(test::withSnapshots(test::sixTeams())));
    write(folder / "previous.ptr", test::previousFormatFile(1, 1));
    return 0;
}
