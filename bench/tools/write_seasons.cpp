// Writes the benchmark seasons and the file tests' seasons as season files,
// so the report command can be run over them: report_views.sh compares its
// output before and after a change to the recalculation pass.
//
//   write_seasons FOLDER

#include "benchseasons.h"
#include "season/filemodule.h"
#include "season/fileseasons.h"

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>

namespace {

using namespace penarin;

bool save(Season season, const std::filesystem::path &path)
{
    season.AddSnapshot = false;
    return SaveSeason(season, path);
}

} // namespace

int main(int argc, char **argv)
{
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s FOLDER\n", argv[0]);
        return 2;
    }
    const std::filesystem::path folder = argv[1];
    std::filesystem::create_directories(folder);
    bool ok = true;
    const bench::Shape shapes[] = {{12, 1}, {30, 2}, {88, 1}, {88, 8}};
    for (const bench::Shape &shape : shapes) {
        const std::string name =
            "bench-" + std::to_string(shape.teams) + "x" + std::to_string(shape.leagues) + ".ptr";
        ok = save(bench::buildSeason(shape), folder / name) && ok;
    }
    ok = save(test::sixTeams(), folder / "six-teams.ptr") && ok;
    ok = save(test::withSnapshots(test::sixTeams()), folder / "snapshots.ptr") && ok;
    const auto previous = test::previousFormatFile(1, 1);
    std::ofstream(folder / "previous.ptr", std::ios::binary)
        .write(reinterpret_cast<const char *>(previous.data()),
               static_cast<std::streamsize>(previous.size()));
    return ok ? 0 : 1;
}
