#include "season/filemodule.h"

#include "season/binaryio.h"
#include "season/safewriter.h"

#include <algorithm>
#include <cerrno>
#include <fstream>
#include <new>
#include <optional>
#include <system_error>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace penarin {

namespace {

// Files of major version 4 from minor 1 on hold an older team record and are
// converted while reading; earlier files are not accepted.
constexpr std::int16_t PreviousMajor = 4;
constexpr std::int16_t PreviousFirstMinor = 1;

// Reads a 1-based array whose length is fixed by something read before it
// (the team count, a view list size, the snapshot count). Anything else
// would leave the season with arrays that the rest of the program indexes
// 1..n without looking, so a mismatch fails the load.
std::optional<std::uint32_t> oneBasedCount(ByteReader &in, std::size_t elementSize, int expected)
{
    const std::optional<ArrayHeader> header = in.arrayHeader(elementSize);
    if (!header) {
        return std::nullopt;
    }
    if (expected < 0 || header->count != static_cast<std::uint32_t>(expected) ||
        (header->allocated && header->lowerBound != 1)) {
        in.fail();
        return std::nullopt;
    }
    return header->count;
}

bool readOneBased(ByteReader &in, int expected, OneBased<std::int16_t> &out)
{
    const std::optional<std::uint32_t> count = oneBasedCount(in, 2, expected);
    if (!count) {
        return false;
    }
    out.items() = in.int16Elements(*count);
    return in.ok();
}

bool readOneBased(ByteReader &in, int expected, OneBased<float> &out)
{
    const std::optional<std::uint32_t> count = oneBasedCount(in, 4, expected);
    if (!count) {
        return false;
    }
    out.items() = in.singleElements(*count);
    return in.ok();
}

// The view lists are read before the team records, but the header already
// gave the team count, so the team numbers can be checked right away.
bool readViewList(ByteReader &in, int declared, int teamCount, OneBased<std::int16_t> &list)
{
    if (!readOneBased(in, declared, list)) {
        return false;
    }
    return std::all_of(list.begin(), list.end(),
                       [teamCount](std::int16_t team) { return team >= 1 && team <= teamCount; });
}

// A tie-break list keeps whatever lower bound it was written with; only its
// order matters. An unallocated list reads as empty.
bool readConditions(ByteReader &in, std::vector<std::int16_t> &conditions)
{
    const std::optional<ArrayHeader> header = in.arrayHeader(2);
    if (!header) {
        return false;
    }
    conditions = in.int16Elements(header->count);
    return in.ok();
}

bool readNames(ByteReader &in, TeamRecord &team)
{
    for (Text *name : {&team.LeagueName, &team.DivisionName, &team.TeamName}) {
        std::optional<Text> text = in.byteString();
        if (!text) {
            return false;
        }
        *name = std::move(*text);
    }
    return true;
}

bool readCards(ByteReader &in, int teamCount, TeamRecord &team)
{
    return readOneBased(in, teamCount, team.CardGames) &&
           readOneBased(in, teamCount, team.CardWins) &&
           readOneBased(in, teamCount, team.CardLosses) &&
           readOneBased(in, teamCount, team.CardDraws);
}

bool readTeam(ByteReader &in, int teamCount, TeamRecord &team)
{
    if (!readNames(in, team)) {
        return false;
    }
    team.League = in.int16();
    team.Division = in.int16();
    team.GridRank = in.int16();
    team.DivisionCount = in.int16();
    team.HasDivisions = in.int16();
    team.OfficialGames = in.int16();
    team.LeagueGames = in.int16();
    team.InterleagueGames = in.int16();
    team.LeagueTeamCount = in.int16();
    team.LeagueDrawReplay = in.int16();
    team.DivisionDrawReplay = in.int16();
    team.LeagueJudgment.Judgment = in.int16();
    if (!readConditions(in, team.LeagueJudgment.Conditions)) {
        return false;
    }
    team.LeagueJudgment.Reversal = in.int16();
    team.DivisionJudgment.Judgment = in.int16();
    if (!readConditions(in, team.DivisionJudgment.Conditions)) {
        return false;
    }
    team.DivisionJudgment.Reversal = in.int16();
    team.PlaysInterleague = in.int16();
    team.IntJudgment.Judgment = in.int16();
    if (!readConditions(in, team.IntJudgment.Conditions)) {
        return false;
    }
    team.IntJudgment.Reversal = in.int16();
    if (!readCards(in, teamCount, team)) {
        return false;
    }
    team.LineColor = in.int32();
    team.LineStyle = in.int16();
    team.LineWidth = in.int16();
    team.ShowLabels = in.int16();
    team.UserRankA = in.int16();
    team.UserRankB = in.int16();
    team.UserRankC = in.int16();
    for (std::int16_t &reserved : team.Reserved) {
        reserved = in.int16();
    }
    return in.ok();
}

// The old record had a single tie-break code per championship, no
// interleague championship, no scheduled-games split and no user rank sets.
// Its scheduled games are stale after the conversion; the window asks the
// user to set them again.
bool readPreviousTeam(ByteReader &in, int teamCount, std::int16_t intCounts, TeamRecord &team)
{
    if (!readNames(in, team)) {
        return false;
    }
    team.League = in.int16();
    team.Division = in.int16();
    team.GridRank = in.int16();
    team.DivisionCount = in.int16();
    team.HasDivisions = in.int16();
    team.OfficialGames = in.int16();
    team.LeagueTeamCount = in.int16();
    team.LeagueDrawReplay = in.int16();
    team.DivisionDrawReplay = in.int16();
    team.LeagueJudgment.Judgment = in.int16();
    team.LeagueJudgment.Conditions = {in.int16()};
    team.LeagueJudgment.Reversal = in.int16();
    team.DivisionJudgment.Judgment = in.int16();
    team.DivisionJudgment.Conditions = {in.int16()};
    team.DivisionJudgment.Reversal = in.int16();
    for (int unused = 0; unused < 4; ++unused) {
        in.int16();
    }
    if (!readCards(in, teamCount, team)) {
        return false;
    }
    team.LineColor = in.int32();
    team.LineStyle = in.int16();
    team.LineWidth = in.int16();
    team.ShowLabels = in.int16();

    team.PlaysInterleague = intCounts != 0 ? StoredTrue : StoredFalse;
    team.IntJudgment = JudgmentSet{0, {0}, 0};
    team.UserRankA = team.UserRankB = team.UserRankC = team.GridRank;
    return in.ok();
}

// Values the rest of the program uses as indexes.
bool teamFits(const TeamRecord &team, int leagueCount, int teamCount)
{
    return team.League >= 1 && team.League <= leagueCount && team.GridRank >= 1 &&
           team.GridRank <= teamCount;
}

bool readSnapshots(ByteReader &in, Season &season)
{
    const int teamCount = season.TeamCount();
    // The section is present only for a positive count; a negative one
    // (a damaged file) means no snapshots.
    const int count = std::max<int>(in.int16(), 0);
    season.TeamShown.items() = in.int16Elements(static_cast<std::uint32_t>(teamCount));
    season.TeamSnapshots.assign(teamCount, TeamSnapshot{});
    if (count == 0) {
        return in.ok();
    }
    // Appended one by one: each entry needs bytes of its own, so a huge
    // count in a short file fails before it can allocate much.
    for (int i = 0; i < count && in.ok(); ++i) {
        Snapshot snapshot;
        snapshot.Date = in.date();
        std::optional<Text> memo = in.byteString();
        if (!memo) {
            return false;
        }
        snapshot.Memo = std::move(*memo);
        snapshot.Shown = in.int16();
        season.Snapshots.push_back(snapshot);
    }
    for (TeamSnapshot &values : season.TeamSnapshots) {
        if (!readOneBased(in, count, values.Pcts) || !readOneBased(in, count, values.Surpluses)) {
            return false;
        }
    }
    return in.ok();
}

std::optional<LoadStatus> readSeason(ByteReader &in, Season &season)
{
    SeasonHeader &header = season.Header;
    std::optional<Text> signature = in.byteString();
    if (!signature) {
        return std::nullopt;
    }
    header.Signature = std::move(*signature);
    header.SavedMajor = in.int16();
    header.SavedMinor = in.int16();
    header.SavedRevision = in.int16();
    header.LeagueCount = in.int16();
    const int teamCount = in.int16();
    header.ViewLeague = in.int16();
    header.ViewDivision = in.int16();
    const int rowCount = in.int16();
    const int colCount = in.int16();
    header.UpdatedAt = in.date();
    if (!in.ok()) {
        return std::nullopt;
    }

    // A file of the previous layout is recognised by its version alone,
    // whatever its signature holds.
    const bool current = header.SavedMajor == ProgramMajor && header.Signature == SeasonSignature;
    const bool previous =
        header.SavedMajor == PreviousMajor && header.SavedMinor >= PreviousFirstMinor;
    if (!current && !previous) {
        return std::nullopt;
    }
    if (teamCount < 1 || teamCount > MaxTeams || header.LeagueCount < 1) {
        return std::nullopt;
    }

    if (!readViewList(in, rowCount, teamCount, season.ViewRows) ||
        !readViewList(in, colCount, teamCount, season.ViewCols)) {
        return std::nullopt;
    }
    season.Interleague.IntCounts = in.int16();
    season.Interleague.IntDrawReplay = in.int16();

    season.Teams.assign(teamCount, TeamRecord{});
    for (TeamRecord &team : season.Teams) {
        const bool read = previous
                              ? readPreviousTeam(in, teamCount, season.Interleague.IntCounts, team)
                              : readTeam(in, teamCount, team);
        if (!read || !teamFits(team, header.LeagueCount, teamCount)) {
            return std::nullopt;
        }
    }

    if (!readSnapshots(in, season)) {
        return std::nullopt;
    }
    // Whatever follows the last record is not ours; it is ignored.
    return previous ? LoadStatus::LoadedConverted : LoadStatus::Loaded;
}

// A file descriptor closed with its owner.
struct OpenFile
{
    int fd = -1;
    ~OpenFile()
    {
        if (fd >= 0)
            ::close(fd);
    }
};

// Reads the file as a whole, but only a plain file no larger than a season
// can be: a device or a pipe could be endless, and a huge file would take
// all memory before its first bytes were even looked at.
bool readSeasonFile(const std::filesystem::path &path, std::vector<std::uint8_t> &bytes,
                    std::string *reason)
{
    // Not blocking: opening a pipe for reading would otherwise wait for a
    // writer that may never come.
    const OpenFile file{::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC)};
    struct stat info
    {};
    if (file.fd < 0 || ::fstat(file.fd, &info) != 0 || !S_ISREG(info.st_mode)) {
        return false;
    }
    if (static_cast<std::uint64_t>(info.st_size) > MaxSeasonFileBytes) {
        if (reason) {
            *reason = SeasonFileTooLarge;
        }
        return false;
    }
    bytes.resize(static_cast<std::size_t>(info.st_size));
    std::size_t got = 0;
    // A file that grows meanwhile is read as long as it was; one that
    // shrinks ends early and fails to parse like any truncated file.
    while (got < bytes.size()) {
        const ssize_t part = ::read(file.fd, bytes.data() + got, bytes.size() - got);
        if (part < 0 && errno == EINTR) {
            continue;
        }
        if (part < 0) {
            return false;
        }
        if (part == 0) {
            break;
        }
        got += static_cast<std::size_t>(part);
    }
    bytes.resize(got);
    return true;
}

void writeConditions(ByteWriter &out, const std::vector<std::int16_t> &conditions)
{
    // An unallocated list stays unallocated so such a file round-trips.
    if (conditions.empty()) {
        out.unallocatedArray();
    } else {
        out.int16Array(conditions, 0);
    }
}

void writeJudgment(ByteWriter &out, const JudgmentSet &judgment)
{
    out.int16(judgment.Judgment);
    writeConditions(out, judgment.Conditions);
    out.int16(judgment.Reversal);
}

void writeTeam(ByteWriter &out, const TeamRecord &team)
{
    out.byteString(team.LeagueName);
    out.byteString(team.DivisionName);
    out.byteString(team.TeamName);
    for (const std::int16_t value :
         {team.League, team.Division, team.GridRank, team.DivisionCount, team.HasDivisions,
          team.OfficialGames, team.LeagueGames, team.InterleagueGames, team.LeagueTeamCount,
          team.LeagueDrawReplay, team.DivisionDrawReplay}) {
        out.int16(value);
    }
    writeJudgment(out, team.LeagueJudgment);
    writeJudgment(out, team.DivisionJudgment);
    out.int16(team.PlaysInterleague);
    writeJudgment(out, team.IntJudgment);
    for (const OneBased<std::int16_t> *cards :
         {&team.CardGames, &team.CardWins, &team.CardLosses, &team.CardDraws}) {
        out.int16Array(cards->items(), 1);
    }
    out.int32(team.LineColor);
    for (const std::int16_t value : {team.LineStyle, team.LineWidth, team.ShowLabels,
                                     team.UserRankA, team.UserRankB, team.UserRankC}) {
        out.int16(value);
    }
    for (const std::int16_t reserved : team.Reserved) {
        out.int16(reserved);
    }
}

// What the save stores besides the caller's data: the stamp, the pending
// snapshot and the newest snapshot's values as the results stand now.
void prepareForSave(Season &season, double now)
{
    SeasonHeader &header = season.Header;
    header.UpdatedAt = now;
    header.Signature = SeasonSignature;
    header.SavedMajor = ProgramMajor;
    header.SavedMinor = ProgramMinor;
    header.SavedRevision = ProgramRevision;

    if (season.AddSnapshot) {
        season.Snapshots.push_back(Snapshot{season.SnapshotDate, season.SnapshotMemo, StoredTrue});
    }
    const int teamCount = season.TeamCount();
    season.TeamShown.resize(teamCount, StoredTrue);
    season.TeamSnapshots.resize(teamCount);
    const int count = season.SnapshotCount();
    if (count == 0) {
        return;
    }
    for (int teamNo = 1; teamNo <= teamCount; ++teamNo) {
        TeamSnapshot &values = season.TeamSnapshots[teamNo];
        values.Pcts.resize(count);
        values.Surpluses.resize(count);
        values.Pcts[count] = SnapshotPct(season, teamNo);
        values.Surpluses[count] = SnapshotSurplus(season, teamNo);
    }
}

} // namespace

LoadStatus LoadSeasonFromBytes(Season &season, std::span<const std::uint8_t> bytes,
                               const Clock &clock)
{
    Season loaded;
    ByteReader in(bytes);
    std::optional<LoadStatus> status;
    // Every size is checked against the bytes before it is allocated, so
    // memory runs out only when there is hardly any left; that is a file
    // that cannot be opened, not a reason to end the program.
    try {
        status = readSeason(in, loaded);
    } catch (const std::bad_alloc &) {
        status.reset();
    }
    if (!status) {
        ClearSeason(season, clock);
        return LoadStatus::Failed;
    }
    loaded.resetSimResults();
    loaded.GameScope = ScopeOfficial;
    season = std::move(loaded);
    return *status;
}

LoadStatus LoadSeason(Season &season, const std::filesystem::path &path, const Clock &clock,
                      std::string *reason)
{
    std::vector<std::uint8_t> bytes;
    bool read = false;
    try {
        read = readSeasonFile(path, bytes, reason);
    } catch (const std::bad_alloc &) {
        if (reason) {
            *reason = SeasonFileOutOfMemory;
        }
    }
    if (!read) {
        ClearSeason(season, clock);
        return LoadStatus::Failed;
    }
    const LoadStatus status = LoadSeasonFromBytes(season, bytes, clock);
    if (status != LoadStatus::Failed) {
        season.CurrentFile = path.string();
    }
    return status;
}

std::vector<std::uint8_t> EncodeSeason(const Season &season)
{
    ByteWriter out;
    const SeasonHeader &header = season.Header;
    const int teamCount = season.TeamCount();
    out.byteString(SeasonSignature);
    out.int16(ProgramMajor);
    out.int16(ProgramMinor);
    out.int16(ProgramRevision);
    out.int16(header.LeagueCount);
    out.int16(static_cast<std::int16_t>(teamCount));
    out.int16(header.ViewLeague);
    out.int16(header.ViewDivision);
    out.int16(static_cast<std::int16_t>(season.RowTeamCount()));
    out.int16(static_cast<std::int16_t>(season.ColTeamCount()));
    out.date(header.UpdatedAt);

    out.int16Array(season.ViewRows.items(), 1);
    out.int16Array(season.ViewCols.items(), 1);
    out.int16(season.Interleague.IntCounts);
    out.int16(season.Interleague.IntDrawReplay);
    for (const TeamRecord &team : season.Teams) {
        writeTeam(out, team);
    }

    // The flags and the per-team snapshot values carry no array header of
    // their own: exactly TeamCount of them must follow, whatever the season
    // holds (a team without an entry is shown and has zero values).
    const int count = season.SnapshotCount();
    out.int16(static_cast<std::int16_t>(count));
    for (int teamNo = 1; teamNo <= teamCount; ++teamNo) {
        out.int16(season.TeamShown.contains(teamNo) ? season.TeamShown[teamNo] : StoredTrue);
    }
    if (count == 0) {
        return out.take();
    }
    for (const Snapshot &snapshot : season.Snapshots) {
        out.date(snapshot.Date);
        out.byteString(snapshot.Memo);
        out.int16(snapshot.Shown);
    }
    const TeamSnapshot zeros{OneBased<float>(count), OneBased<std::int16_t>(count)};
    for (int teamNo = 1; teamNo <= teamCount; ++teamNo) {
        const TeamSnapshot &values =
            season.TeamSnapshots.contains(teamNo) ? season.TeamSnapshots[teamNo] : zeros;
        out.singleArray(values.Pcts.items(), 1);
        out.int16Array(values.Surpluses.items(), 1);
    }
    return out.take();
}

bool SaveSeason(Season &season, const std::filesystem::path &path, const Clock &clock,
                std::string *error)
{
    // Prepared on a copy: a failed save leaves the season as it was, the
    // pending snapshot included, so the user can simply save again.
    Season saved = season;
    prepareForSave(saved, clock());
    const std::vector<std::uint8_t> bytes = EncodeSeason(saved);
    if (!WriteFileSafely(
            path, std::string_view(reinterpret_cast<const char *>(bytes.data()), bytes.size()),
            error)) {
        return false;
    }
    saved.CurrentFile = path.string();
    saved.AddSnapshot = false;
    season = std::move(saved);
    return true;
}

std::string LoadFailureReason(const std::filesystem::path &path)
{
    std::error_code error;
    const std::filesystem::file_status status = std::filesystem::status(path, error);
    if (status.type() == std::filesystem::file_type::not_found) {
        return "ファイルが見つかりません";
    }
    if (error) {
        return error.message();
    }
    if (status.type() != std::filesystem::file_type::regular) {
        return "通常のファイルではありません";
    }
    if (!std::ifstream(path, std::ios::binary)) {
        return "ファイルを読む権限がありません";
    }
    return "シーズンファイルではないか、壊れています";
}

} // namespace penarin
