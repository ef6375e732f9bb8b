// Writes a few valid season files to start a fuzzing corpus from.
#include "season/binaryio.h"
#include "season/filemodule.h"
#include "support/seasonbuilder.h"

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>

using namespace penarin;

namespace {

void write(const std::filesystem::path &path, const std::vector<std::uint8_t> &bytes)
{
    std::ofstream out(path, std::ios::binary);
    out.write(reinterpret_cast<const char *>(bytes.data()),
              static_cast<std::streamsize>(bytes.size()));
}

Season smallLeague()
{
    test::SeasonBuilder builder;
    for (const Text name : {u"巨人", u"阪神", u"中日"}) {
        builder.addTeam(name, 1);
    }
    builder.roundRobin(4).result(1, 2, 2, 1, 1).result(2, 3, 1, 0);
    return builder.build();
}

Season twoLeaguesWithSnapshots()
{
    test::SeasonBuilder builder;
    builder.addTeam(u"A", 1, 1);
    builder.addTeam(u"B", 1, 2);
    builder.addTeam(u"C", 2);
    builder.addTeam(u"", 2);
    builder.roundRobin(6, 2).result(1, 3, 1, 1).result(2, 1, 3, 0, 1);
    Season season = builder.build();
    season.Teams[1].LeagueJudgment.Conditions = {3, 1, 0};
    season.Teams[2].IntJudgment.Conditions.clear();
    for (int i = 1; i <= 2; ++i) {
        season.Snapshots.push_back(Snapshot{46200.0 + i, u"(メモ)", StoredTrue});
    }
    for (TeamSnapshot &values : season.TeamSnapshots) {
        values.Pcts = {0.5f, 0.25f};
        values.Surpluses = {0, -2};
    }
    return season;
}

// The layout of major version 4: a shorter team record.
std::vector<std::uint8_t> previousFormat()
{
    ByteWriter out;
    out.byteString(u"old");
    for (const int value : {4, 2, 0, 1, 2, 0, -1, 2, 2}) {
        out.int16(static_cast<std::int16_t>(value));
    }
    out.date(40000.0);
    out.int16Array({1, 2}, 1);
    out.int16Array({1, 2}, 1);
    out.int16(1);
    out.int16(1);
    for (std::int16_t team = 1; team <= 2; ++team) {
        out.byteString(u"リーグ");
        out.byteString(u"");
        out.byteString(team == 1 ? u"X" : u"Y");
        for (const int value : {1, 0, int{team}, 0, 0, 10, 2, 0, 0, 0, 2, 0, 0, 2, 0, 0, 0, 0, 0}) {
            out.int16(static_cast<std::int16_t>(value));
        }
        out.int16Array(
            team == 1 ? std::vector<std::int16_t>{-1, 10} : std::vector<std::int16_t>{10, -1}, 1);
        out.int16Array({0, static_cast<std::int16_t>(team)}, 1);
        out.int16Array({static_cast<std::int16_t>(3 - team), 0}, 1);
        out.int16Array({0, 0}, 1);
        out.int32(0x808080);
        out.int16(0);
        out.int16(1);
        out.int16(0);
    }
    out.int16(0);
    out.int16(-1);
    out.int16(-1);
    return out.take();
}

} // namespace

int main(int argc, char **argv)
{
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s <corpus folder>\n", argv[0]);
        return 2;
    }
    const std::filesystem::path folder = argv[1];
    std::filesystem::create_directories(folder);
    write(folder / "small.ptr", EncodeSeason(smallLeague()));
    write(folder / "snapshots.ptr", EncodeSeason(twoLeaguesWithSnapshots()));
    write(folder / "previous.ptr", previousFormat());
    return 0;
}
