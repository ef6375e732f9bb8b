#include "cli/importcommand.h"

#include "cli/command.h"
#include "cli/report.h"
#include "import/gamelist.h"
#include "season/filemodule.h"
#include "season/tablewriter.h"
#include "season/textcodec.h"

#include <fstream>
#include <iterator>
#include <optional>
#include <ostream>

namespace penarin::cli {

namespace {

const char *const ImportUsage =
    "使い方:\n"
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

void writeImportJson(std::ostream &out, const GameList &list, int applied, int snapshots)
{
    nlohmann::ordered_json skipped = nlohmann::ordered_json::array();
    for (const ImportLine &line : list.lines) {
        if (!line.valid()) {
            skipped.push_back({{"line", line.lineNo}, {"reason", toUtf8(line.reason)}});
        }
    }
    writeJson(out, {{"applied", applied}, {"skipped", skipped}, {"snapshots", snapshots}});
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
                return usage(err, arg + " には値が必要です");
            }
            const std::string &value = args[++i];
            if (arg == "--aliases") {
                aliasFile = value;
            } else if (value == "text" || value == "json") {
                json = value == "json";
            } else {
                return usage(err, "--format の値が正しくありません: " + value);
            }
        } else if (!arg.empty() && arg[0] == '-') {
            return usage(err, "不明なオプションです: " + arg);
        } else {
            files.push_back(arg);
        }
    }
    if (files.size() != 3) {
        return usage(err,
                     "import にはシーズンファイル、試合結果の一覧、出力ファイルを指定してください");
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
            err << *aliasFile << " を読み込めません\n";
            return ExitCannotLoad;
        }
        aliases = ReadAliases(DecodeListText(*bytes));
    }
    const std::optional<std::string> bytes = readBytes(files[1]);
    if (!bytes) {
        err << files[1] << " を読み込めません\n";
        return ExitCannotLoad;
    }
    const GameList list = ReadGameList(season, DecodeListText(*bytes), aliases);

    const std::optional<ImportOutcome> outcome = ApplyGameList(season, list, choice);
    if (!outcome) {
        writeRefusals(err, list);
        if (json) {
            writeImportJson(out, list, 0, 0);
        }
        return ExitImportRefused;
    }
    Season result = outcome->season;
    result.AddSnapshot = false;
    std::string reason;
    if (!SaveSeason(result, files[2], systemNow, &reason)) {
        err << files[2] << " に書き込めません: " << reason << '\n';
        return ExitCannotWrite;
    }
    if (json) {
        writeImportJson(out, list, outcome->applied, outcome->snapshots);
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
        return usage(err, "export cards にはシーズンファイルと出力ファイルを指定してください");
    }
    Season season;
    if (LoadSeason(season, args[2]) == LoadStatus::Failed) {
        err << "ファイルを開けません\n";
        return ExitCannotLoad;
    }
    std::string reason;
    if (!WriteTextTable(args[3], CardTotalsTable(season), &reason)) {
        err << args[3] << " に書き込めません: " << reason << '\n';
        return ExitCannotWrite;
    }
    return ExitOk;
}

} // namespace penarin::cli
