#include "cli/importcommand.h"

#include "cli/report.h"
#include "import/gamelist.h"
#include "season/filemodule.h"
#include "season/tablewriter.h"
#include "season/textcodec.h"

#include <cstdio>
#include <fstream>
#include <iterator>
#include <optional>
#include <ostream>

namespace penarin::cli {

namespace {

const char *const ImportUsage =
    "usage:\n"
    "  penarin-report import FILE GAMES OUT [--snapshots] [--aliases FILE] [--skip-invalid]\n"
    "                           [--format text|json]\n"
    "  penarin-report export cards FILE OUT\n";

int usage(std::ostream &err, const std::string &message)
{
    err << "penarin-report: " << message << "\n\n" << ImportUsage;
    return ExitUsage;
}

std::optional<std::string> readBytes(const std::string &path)
{
    std::ifstream in(path, std::ios::binary);
    if (!in) {
        return std::nullopt;
    }
    std::string bytes{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    if (in.bad()) {
        return std::nullopt;
    }
    return bytes;
}

std::string jsonString(std::string_view text)
{
    std::string out = "\"";
    for (const char c : text) {
        if (c == '"' || c == '\\') {
            out += '\\';
            out += c;
        } else if (static_cast<unsigned char>(c) < 0x20) {
            char escaped[8];
            std::snprintf(escaped, sizeof escaped, "\\u%04x", static_cast<unsigned>(c));
            out += escaped;
        } else {
            out += c;
        }
    }
    return out + "\"";
}

void writeJson(std::ostream &out, const GameList &list, int applied, int snapshots)
{
    out << "{\"applied\": " << applied << ", \"skipped\": [";
    bool first = true;
    for (const ImportLine &line : list.lines) {
        if (line.valid()) {
            continue;
        }
        out << (first ? "" : ", ") << "{\"line\": " << line.lineNo
            << ", \"reason\": " << jsonString(toUtf8(line.reason)) << '}';
        first = false;
    }
    out << "], \"snapshots\": " << snapshots << "}\n";
}

void writeRefusals(std::ostream &out, const GameList &list)
{
    for (const ImportLine &line : list.lines) {
        if (!line.valid()) {
            out << line.lineNo << ": " << toUtf8(line.reason) << '\n';
        }
    }
}

} // namespace

int runImport(const std::vector<std::string> &args, std::ostream &out, std::ostream &err)
{
    std::vector<std::string> files;
    ImportChoice choice;
    std::optional<std::string> aliasFile;
    bool json = false;
    for (std::size_t i = 1; i < args.size(); ++i) {
        const std::string &arg = args[i];
        if (arg == "--snapshots") {
            choice.snapshots = true;
        } else if (arg == "--skip-invalid") {
            choice.skipInvalid = true;
        } else if (arg == "--aliases" || arg == "--format") {
            if (i + 1 >= args.size()) {
                return usage(err, arg + " needs a value");
            }
            const std::string &value = args[++i];
            if (arg == "--aliases") {
                aliasFile = value;
            } else if (value == "text" || value == "json") {
                json = value == "json";
            } else {
                return usage(err, "unknown format \"" + value + "\"");
            }
        } else if (!arg.empty() && arg[0] == '-') {
            return usage(err, "unknown option " + arg);
        } else {
            files.push_back(arg);
        }
    }
    if (files.size() != 3) {
        return usage(err, "import needs a season file, a game list and an output file");
    }

    Season season;
    if (LoadSeason(season, files[0]) == LoadStatus::Failed) {
        err << "ファイルを開けません\n";
        return ExitCannotLoad;
    }
    TeamAliases aliases;
    if (aliasFile) {
        const std::optional<std::string> bytes = readBytes(*aliasFile);
        if (!bytes) {
            err << "cannot read " << *aliasFile << '\n';
            return ExitCannotLoad;
        }
        aliases = ReadAliases(DecodeListText(*bytes));
    }
    const std::optional<std::string> bytes = readBytes(files[1]);
    if (!bytes) {
        err << "cannot read " << files[1] << '\n';
        return ExitCannotLoad;
    }
    const GameList list = ReadGameList(season, DecodeListText(*bytes), aliases);

    const std::optional<ImportOutcome> outcome = ApplyGameList(season, list, choice);
    if (!outcome) {
        writeRefusals(err, list);
        if (json) {
            writeJson(out, list, 0, 0);
        }
        return ExitImportRefused;
    }
    Season result = outcome->season;
    result.AddSnapshot = false;
    std::string reason;
    if (!SaveSeason(result, files[2], systemNow, &reason)) {
        err << "cannot write " << files[2] << ": " << reason << '\n';
        return ExitCannotWrite;
    }
    if (json) {
        writeJson(out, list, outcome->applied, outcome->snapshots);
    } else {
        out << "applied: " << outcome->applied << "\nsnapshots: " << outcome->snapshots << '\n';
        if (list.errorCount() > 0) {
            out << "skipped:\n";
            writeRefusals(out, list);
        }
    }
    return ExitOk;
}

int runCardExport(const std::vector<std::string> &args, std::ostream &err)
{
    if (args.size() != 4) {
        return usage(err, "export cards needs a season file and an output file");
    }
    Season season;
    if (LoadSeason(season, args[2]) == LoadStatus::Failed) {
        err << "ファイルを開けません\n";
        return ExitCannotLoad;
    }
    std::string reason;
    if (!WriteTextTable(args[3], CardTotalsTable(season), &reason)) {
        err << "cannot write " << args[3] << ": " << reason << '\n';
        return ExitCannotWrite;
    }
    return ExitOk;
}

} // namespace penarin::cli
