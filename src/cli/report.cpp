#include "cli/report.h"

#ifdef PENARIN_WITH_CHARTS
#include "cli/chartcommand.h"
#endif

#include "magic/calcodule.h"
#include "magic/winline.h"
#include "race/race.h"
#include "season/filemodule.h"
#include "season/settings.h"
#include "season/tablewriter.h"
#include "season/textcodec.h"
#include "standings/standings.h"
#include "standings/viewlists.h"
#include "tables/historytable.h"
#include "tables/resultstable.h"
#include "tables/standingstable.h"
#include "tables/teamreport.h"

#include <algorithm>
#include <charconv>
#include <cstdio>
#include <filesystem>
#include <optional>
#include <ostream>

namespace penarin::cli {

namespace {

const char *const Usage =
    "usage:\n"
    "  penarin-report show FILE [--league N] [--division N]\n"
    "                           [--scope official|league|interleague] [--format text|json]\n"
    "                           [--settings Mgcsm.ini]\n"
    "  penarin-report export results|surplus|pct FILE OUT [--league N] [--division N]\n"
    "                           [--scope official|league|interleague] [--settings Mgcsm.ini]\n"
    "  penarin-report race FILE [--league N] [--division N]\n"
    "                           [--scope official|league|interleague] [--top K]\n"
    "                           [--format text|json] [--settings Mgcsm.ini]\n"
    "  penarin-report winline FILE [--league N] [--division N]\n"
    "                           [--scope official|league|interleague]\n"
    "                           [--format text|csv|tsv|json] [--settings Mgcsm.ini]\n"
    "  penarin-report team FILE --team N [--opponent M] [--league N] [--division N]\n"
    "                           [--scope official|league|interleague] [--format text|json]\n"
    "                           [--settings Mgcsm.ini]\n"
    "  penarin-report resave IN OUT\n"
    "  penarin-report chart FILE --kind progression|composition --out FILE.png|FILE.svg\n"
    "                           [--measure surplus|pct] [--team N] [view options of show]\n"
    "\n"
    "show    prints the standings of a view of the season file. Without --league and\n"
    "        --division the view stored in the file is shown; --league 0 shows every\n"
    "        team. --division counts the league's divisions from 1 (0 = whole league).\n"
    "export  writes the results table (the standings grid and the head-to-head\n"
    "        records) or the surplus or percentage history of the view's teams as the\n"
    "        program's export does: commas and quotes when OUT ends in csv, tabs\n"
    "        otherwise, CP932 with CR LF.\n"
    "race    tells for every team of the view whether it is sure of, can still reach\n"
    "        or has lost the title and the first K places (default 3), with its\n"
    "        exact magic number and an outcome of the remaining games that shows it.\n"
    "winline prints the win line table of the view: for every final number of wins\n"
    "        the record each team needs in its remaining games (csv and tsv give the\n"
    "        bytes the program's export writes).\n"
    "team    prints what the team data dialog shows for the team at standings position\n"
    "        N of the view (from 1): its record, the record that clinches its title,\n"
    "        and with --opponent the report against the team at position M with the\n"
    "        magic of that card. Percentages have the settings' Round digits.\n"
    "resave  loads IN and saves it to OUT as the program's Save does.\n"
    "chart   draws the progression chart (surplus or percentage of every team over the\n"
    "        shown snapshots) or one team's surplus composition (--team: its team\n"
    "        number, default the leader) as the chart window does, into a PNG or SVG\n"
    "        picture. Not available in a build without Qt.\n";

const char *const CannotLoad = "ファイルを開けません";
const char *const NoData = "データがありません";

struct ShowOptions
{
    std::string file;
    std::optional<int> league;
    std::optional<int> division;
    std::optional<int> scope;
    std::optional<std::string> settings;
    std::optional<int> top;      // race only
    std::optional<int> team;     // team only
    std::optional<int> opponent; // team only
    bool json = false;
    std::string format = "text";
    std::optional<HistoryKind> kind; // export only
    bool results = false;            // export only: the results table instead of a history
    std::optional<std::string> out;  // export only
};

struct UsageError
{
    std::string message;
};

std::optional<int> parseInt(const std::string &text)
{
    int value = 0;
    const char *end = text.data() + text.size();
    const auto [ptr, ec] = std::from_chars(text.data(), end, value);
    if (ec != std::errc{} || ptr != end) {
        return std::nullopt;
    }
    return value;
}

// The options of show and export: the file and the view, then what only
// one of the two takes.
ShowOptions parseViewOptions(const std::vector<std::string> &args)
{
    ShowOptions options;
    // export names its table and its output file around the season file.
    const bool exporting = args[0] == "export";
    for (std::size_t i = 1; i < args.size(); ++i) {
        const std::string &arg = args[i];
        auto value = [&]() -> const std::string & {
            if (i + 1 >= args.size()) {
                throw UsageError{arg + " needs a value"};
            }
            return args[++i];
        };
        auto number = [&]() {
            const std::string &text = value();
            const auto parsed = parseInt(text);
            if (!parsed) {
                throw UsageError{arg + " needs a number, not \"" + text + "\""};
            }
            return *parsed;
        };
        if (arg == "--league") {
            options.league = number();
        } else if (arg == "--division") {
            options.division = number();
        } else if (arg == "--scope") {
            const std::string &scope = value();
            if (scope == "official") {
                options.scope = ScopeOfficial;
            } else if (scope == "league") {
                options.scope = ScopeLeague;
            } else if (scope == "interleague") {
                options.scope = ScopeInterleague;
            } else {
                throw UsageError{"unknown scope \"" + scope + "\""};
            }
        } else if (arg == "--top" && args[0] == "race") {
            options.top = number();
            if (*options.top < 1) {
                throw UsageError{"--top needs 1 or more"};
            }
        } else if (arg == "--team" && args[0] == "team") {
            options.team = number();
        } else if (arg == "--opponent" && args[0] == "team") {
            options.opponent = number();
        } else if (arg == "--settings") {
            options.settings = value();
        } else if (arg == "--format") {
            const std::string &format = value();
            const bool tableFormat = format == "csv" || format == "tsv";
            if (format != "text" && format != "json" && !(tableFormat && args[0] == "winline")) {
                throw UsageError{"unknown format \"" + format + "\""};
            }
            options.json = format == "json";
            options.format = format;
        } else if (!arg.empty() && arg[0] == '-') {
            throw UsageError{"unknown option " + arg};
        } else if (exporting && !options.kind && !options.results) {
            if (arg == "results") {
                options.results = true;
            } else if (arg == "surplus") {
                options.kind = HistoryKind::Surplus;
            } else if (arg == "pct") {
                options.kind = HistoryKind::Pct;
            } else {
                throw UsageError{"unknown table \"" + arg + "\" (results, surplus or pct)"};
            }
        } else if (options.file.empty()) {
            options.file = arg;
        } else if (exporting && !options.out) {
            options.out = arg;
        } else {
            throw UsageError{"more than one file given"};
        }
    }
    if (options.file.empty()) {
        throw UsageError{args[0] + " needs a season file"};
    }
    if (exporting && !options.out) {
        throw UsageError{"export needs a table, a season file and an output file"};
    }
    if (args[0] == "team" && !options.team) {
        throw UsageError{"team needs --team"};
    }
    return options;
}

// Picks the view as the main window would: the stored one after opening a
// file, or the one the show button builds for the requested selectors (the
// caller has run the opening pass on the stored view by then).
ViewSelection selectView(Season &season, const ShowOptions &options)
{
    if (!options.league && !options.division) {
        return StoredViewSelection(season);
    }
    const int league = options.league.value_or(StoredViewSelection(season).league);
    const int leagueEntries = static_cast<int>(LeagueSelectorEntries(season).size());
    if (league < 0 || league >= leagueEntries) {
        throw UsageError{"no league " + std::to_string(league) + " (0.." +
                         std::to_string(leagueEntries - 1) + ")"};
    }
    const int divisionEntries = static_cast<int>(DivisionSelectorEntries(season, league).size());
    int division = divisionEntries > 0 ? 0 : -1;
    if (options.division) {
        division = *options.division;
        const int highest = divisionEntries > 0 ? divisionEntries - 1 : 0;
        if (division < 0 || division > highest) {
            throw UsageError{"league " + std::to_string(league) + " has no division " +
                             std::to_string(division)};
        }
        if (divisionEntries == 0) {
            division = -1;
        }
    }
    if (league < 1) {
        season.GameScope = ScopeInterleague;
    }
    BuildViewLists(season, league, division);
    return {league, division};
}

struct ViewResult
{
    ViewSelection selection;
    RecalculateResult pass;
    std::shared_ptr<const PublishedStandings> published;
    Settings settings;
};

Settings loadSettings(const ShowOptions &options)
{
    if (!options.settings) {
        return Settings{};
    }
    std::error_code error;
    if (!std::filesystem::is_regular_file(*options.settings, error)) {
        throw UsageError{"no settings file " + *options.settings};
    }
    const SettingsFileContents contents = readSettings(std::filesystem::path(*options.settings));
    if (contents.unreadable) {
        throw UsageError{"cannot read settings file " + *options.settings};
    }
    return contents.settings;
}

// Terminal columns of a text: East Asian wide characters take two.
int displayWidth(std::u16string_view text)
{
    int width = 0;
    for (char16_t c : text) {
        const bool wide = (c >= 0x1100 && c <= 0x115F) || (c >= 0x2E80 && c <= 0xA4CF) ||
                          (c >= 0xAC00 && c <= 0xD7A3) || (c >= 0xF900 && c <= 0xFAFF) ||
                          (c >= 0xFE30 && c <= 0xFE4F) || (c >= 0xFF00 && c <= 0xFF60) ||
                          (c >= 0xFFE0 && c <= 0xFFE6);
        if (c >= 0xDC00 && c <= 0xDFFF) {
            continue; // second half of a pair
        }
        width += wide ? 2 : 1;
    }
    return width;
}

void printTable(std::ostream &out, std::vector<std::vector<Text>> table,
                const std::vector<bool> &leftAligned)
{
    for (auto &line : table) {
        for (Text &cell : line) {
            cell = visibleText(cell);
        }
    }
    std::vector<int> widths(leftAligned.size(), 0);
    for (const auto &line : table) {
        for (std::size_t c = 0; c < line.size(); ++c) {
            widths[c] = std::max(widths[c], displayWidth(line[c]));
        }
    }
    for (const auto &line : table) {
        std::string text;
        for (std::size_t c = 0; c < line.size(); ++c) {
            const std::string padding(static_cast<std::size_t>(widths[c] - displayWidth(line[c])),
                                      ' ');
            if (c > 0) {
                text += "  ";
            }
            text += leftAligned[c] ? toUtf8(line[c]) + padding : padding + toUtf8(line[c]);
        }
        while (!text.empty() && text.back() == ' ') {
            text.pop_back();
        }
        out << text << '\n';
    }
}

Text number(int value)
{
    const std::string digits = std::to_string(value);
    return Text(digits.begin(), digits.end());
}

// The standings grid as text: the grid's cells, with the rank column headed,
// the rival columns headed by the first two characters of the rival's name,
// and the championship magic appended.
void printText(std::ostream &out, const Season &season, const ViewResult &view)
{
    const PublishedStandings &published = *view.published;
    const StandingsTable grid = BuildStandingsTable(season, published, view.settings);
    // The judgment in force, as the status bar's panels 3 and 4 show it.
    out << view.pass.Judgment.Championship;
    if (!view.pass.Judgment.Conditions.empty()) {
        out << "  " << view.pass.Judgment.Conditions;
    }
    out << '\n';
    std::vector<std::vector<Text>> table(static_cast<std::size_t>(grid.rowCount()));
    for (int row = 0; row < grid.rowCount(); ++row) {
        auto &line = table[static_cast<std::size_t>(row)];
        for (int col = 0; col < grid.colCount(); ++col) {
            line.push_back(grid.cell(row, col).Text);
        }
    }
    auto &header = table.front();
    header[0] = u"順位";
    for (int row = 1; row < grid.rowCount(); ++row) {
        const int team = grid.RowTeams[static_cast<std::size_t>(row)];
        header[static_cast<std::size_t>(StandingsTable::FirstRivalCol - 1 + row)] =
            season.team(team).TeamName.substr(0, 2);
        const int countdown = published.Analysis[row].MagicCountdown;
        table[static_cast<std::size_t>(row)].push_back(countdown < 0 ? Text() : number(countdown));
    }
    header.push_back(u"優勝");
    // Right-aligned columns pad on the left, so every column but the names
    // is printed that way, rival columns included.
    std::vector<bool> left(header.size(), false);
    left[StandingsTable::TeamCol] = true;
    printTable(out, table, left);
}

std::string jsonString(std::string_view text)
{
    std::string out = "\"";
    for (char c : text) {
        switch (c) {
        case '"':
            out += "\\\"";
            break;
        case '\\':
            out += "\\\\";
            break;
        case '\n':
            out += "\\n";
            break;
        case '\r':
            out += "\\r";
            break;
        case '\t':
            out += "\\t";
            break;
        default:
            if (static_cast<unsigned char>(c) < 0x20) {
                char escaped[8];
                std::snprintf(escaped, sizeof escaped, "\\u%04x", c);
                out += escaped;
            } else {
                out += c;
            }
        }
    }
    return out + "\"";
}

// Doubles printed so that they read back to the same value.
std::string jsonNumber(double value)
{
    char text[32];
    std::snprintf(text, sizeof text, "%.17g", value);
    return text;
}

void printCards(std::ostream &out, const CardAnalysis &analysis)
{
    out << ", \"magicCountdown\": " << analysis.MagicCountdown << ", \"cards\": [";
    for (int c = 1; c <= analysis.Cards.size(); ++c) {
        const CardFigures &card = analysis.Cards[c];
        out << (c > 1 ? ",\n" : "\n") << "      {"
            << "\"opponent\": " << card.Opponent << ", \"wins\": " << card.Wins
            << ", \"losses\": " << card.Losses << ", \"draws\": " << card.Draws
            << ", \"pct\": " << jsonNumber(card.Pct) << ", \"played\": " << card.Played
            << ", \"remaining\": " << card.Remaining << ", \"maxWins\": " << card.MaxWins
            << ", \"maxLosses\": " << card.MaxLosses << ", \"maxPct\": " << jsonNumber(card.MaxPct)
            << ", \"minPct\": " << jsonNumber(card.MinPct)
            << ", \"magicText\": " << jsonString(toUtf8(card.MagicText()))
            << ", \"magicKind\": " << static_cast<int>(card.MagicKind)
            << ", \"magicColor\": " << static_cast<std::uint32_t>(card.MagicColor) << "}";
    }
    out << (analysis.Cards.empty() ? "]" : "\n    ]");
}

void printJson(std::ostream &out, const Season &season, const ViewResult &view)
{
    const PublishedStandings &published = *view.published;
    const int count = published.Rows.size();
    const int pctDigits = view.settings.Pct;
    out << "{\n  \"gameScope\": " << season.GameScope
        << ",\n  \"scopeText\": " << jsonString(view.pass.ScopeText)
        << ",\n  \"scopeMenuEnabled\": " << (view.pass.ScopeMenuEnabled ? "true" : "false")
        << ",\n  \"scheduleError\": " << (view.pass.ShowScheduleMessage ? "true" : "false")
        << ",\n  \"judgmentText\": [" << jsonString(view.pass.Judgment.Championship) << ", "
        << jsonString(view.pass.Judgment.Conditions) << "]"
        << ",\n  \"rows\": [";
    for (int i = 1; i <= count; ++i) {
        const StandingsRow &row = published.Rows[i];
        out << (i > 1 ? ",\n" : "\n") << "    {"
            << "\"rank\": " << row.Rank << ", \"teamNo\": " << row.TeamNo
            << ", \"teamName\": " << jsonString(toUtf8(season.team(row.TeamNo).TeamName))
            << ", \"played\": " << row.Played << ", \"wins\": " << row.Wins
            << ", \"losses\": " << row.Losses << ", \"draws\": " << row.Draws
            << ", \"pct\": " << jsonNumber(row.Pct)
            << ", \"pctText\": " << jsonString(FormatPct(row.Pct, pctDigits))
            << ", \"surplus\": " << row.Surplus
            << ", \"behindLeader\": " << jsonString(row.BehindLeader)
            << ", \"behindAbove\": " << jsonString(row.BehindAbove)
            << ", \"remaining\": " << row.Remaining << ", \"maxWins\": " << row.MaxWins
            << ", \"maxLosses\": " << row.MaxLosses << ", \"maxPct\": " << jsonNumber(row.MaxPct)
            << ", \"minPct\": " << jsonNumber(row.MinPct);
        printCards(out, published.Analysis[i]);
        out << "}";
    }
    out << (count > 0 ? "\n  ]\n}\n" : "]\n}\n");
}

// Loads the file and runs the passes the window runs to show the requested
// view. Nothing, and the window's message on err, when the file does not load.
std::optional<ViewResult> computeView(Season &season, const ShowOptions &options, std::ostream &err)
{
    const Settings settings = loadSettings(options);
    if (LoadSeason(season, options.file) == LoadStatus::Failed) {
        err << CannotLoad << '\n';
        return std::nullopt;
    }
    // Opening a file displays it, and a displayed season reports results
    // that exceed the schedule.
    season.HasSeason = true;
    const OrderSettings order = OrderSettingsFrom(settings);
    if (options.league || options.division) {
        // The window shows the stored view on opening before anything can be
        // chosen, and that pass settles the scope the chosen view starts
        // from (every team shown with interleague games counted leaves the
        // interleague scope behind).
        const ViewSelection stored = StoredViewSelection(season);
        (void)RecalculateView(season, order, ViewRequest{stored.league, stored.division});
    }
    const ViewSelection selection = selectView(season, options);
    if (options.scope) {
        season.GameScope = *options.scope;
    }
    ViewResult view;
    view.selection = selection;
    view.settings = settings;
    view.pass = RecalculateView(season, order, ViewRequest{selection.league, selection.division});
    view.published = view.pass.Published;
    return view;
}

int runShow(const std::vector<std::string> &args, std::ostream &out, std::ostream &err)
{
    const ShowOptions options = parseViewOptions(args);
    Season season;
    const std::optional<ViewResult> computed = computeView(season, options, err);
    if (!computed) {
        return ExitCannotLoad;
    }
    const ViewResult &view = *computed;
    if (options.json) {
        printJson(out, season, view);
    } else {
        printText(out, season, view);
        if (view.pass.ShowScheduleMessage) {
            std::string message = ScheduleMessage;
            message.erase(message.find('\r'), 1);
            err << message << '\n';
        }
    }
    return ExitOk;
}

int runExport(const std::vector<std::string> &args, std::ostream &err)
{
    const ShowOptions options = parseViewOptions(args);
    Season season;
    const std::optional<ViewResult> view = computeView(season, options, err);
    if (!view) {
        return ExitCannotLoad;
    }
    const std::optional<TextTable> table =
        options.results ? BuildResultsTable(
                              season, BuildStandingsTable(season, *view->published, view->settings))
                        : BuildHistoryTable(season, *view->published, *options.kind);
    if (!table) {
        err << NoData << '\n';
        return ExitNothingToExport;
    }
    std::string reason;
    if (!WriteTextTable(*options.out, *table, &reason)) {
        err << "cannot write " << *options.out << ": " << reason << '\n';
        return ExitCannotWrite;
    }
    return ExitOk;
}

// The win line table of the view with the settings' digits and final-only
// choice: as text columns, as the bytes the export writes, or as JSON.
int runWinLine(const std::vector<std::string> &args, std::ostream &out, std::ostream &err)
{
    const ShowOptions options = parseViewOptions(args);
    Season season;
    const std::optional<ViewResult> view = computeView(season, options, err);
    if (!view) {
        return ExitCannotLoad;
    }
    const Settings &settings = view->settings;
    const WinLineTable table = BuildWinLineTable(season, *view->published, settings.Line,
                                                 settings.ZanAvg != 0, settings.NameLen);
    const TextTable &cells = table.Cells;
    if (options.json) {
        out << "{\"calculationFailed\": " << (table.CalculationFailed ? "true" : "false")
            << ", \"grid\": [";
        for (int line = 0; line < cells.lineCount(); ++line) {
            out << (line > 0 ? ",\n  [" : "\n  [");
            for (int cell = 0; cell < cells.cellCount(); ++cell) {
                out << (cell > 0 ? ", " : "") << jsonString(toUtf8(cells.at(line, cell)));
            }
            out << "]";
        }
        out << "\n]}\n";
        return ExitOk;
    }
    if (table.CalculationFailed) {
        std::string message = WinLineFailureMessage;
        message.erase(message.find('\r'), 1);
        err << message << '\n';
    }
    if (options.format == "csv" || options.format == "tsv") {
        out << EncodeTextTable(options.format == "csv" ? "winline.csv" : "winline.tsv", cells);
        return ExitOk;
    }
    std::vector<std::vector<Text>> lines;
    for (int line = 0; line < cells.lineCount(); ++line) {
        std::vector<Text> texts;
        for (int cell = 0; cell < cells.cellCount(); ++cell) {
            texts.push_back(cells.at(line, cell));
        }
        lines.push_back(std::move(texts));
    }
    printTable(out, lines, std::vector<bool>(static_cast<std::size_t>(cells.cellCount()), false));
    return ExitOk;
}

const char *jsonAnswer(race::Answer answer)
{
    switch (answer) {
    case race::Answer::Yes:
        return "true";
    case race::Answer::No:
        return "false";
    case race::Answer::Unknown:
        break;
    }
    return "null";
}

void printCertificate(std::ostream &out, const std::optional<race::Certificate> &certificate)
{
    if (!certificate) {
        out << "null";
        return;
    }
    out << "[";
    for (std::size_t i = 0; i < certificate->size(); ++i) {
        const race::CardOutcome &card = (*certificate)[i];
        out << (i > 0 ? ", " : "") << "{\"team\": " << card.Team
            << ", \"opponent\": " << card.Opponent << ", \"wins\": " << card.Wins
            << ", \"losses\": " << card.Losses << ", \"draws\": " << card.Draws << "}";
    }
    out << "]";
}

bool decided(const race::RaceState &state)
{
    for (race::Answer a : {state.Sure, state.SureUnlessTied, state.Possible, state.PossibleWithTie,
                           state.OwnPower}) {
        if (a == race::Answer::Unknown) {
            return false;
        }
    }
    return state.MagicDecided;
}

void printRaceState(std::ostream &out, const race::RaceState &state)
{
    out << "{\"sure\": " << jsonAnswer(state.Sure)
        << ", \"sureUnlessTied\": " << jsonAnswer(state.SureUnlessTied)
        << ", \"possible\": " << jsonAnswer(state.Possible)
        << ", \"possibleWithTie\": " << jsonAnswer(state.PossibleWithTie)
        << ", \"ownPower\": " << jsonAnswer(state.OwnPower) << ", \"magic\": ";
    if (state.Magic) {
        out << *state.Magic;
    } else {
        out << "null";
    }
    out << ", \"decided\": " << (decided(state) ? "true" : "false") << ",\n      \"certificate\": ";
    printCertificate(out, state.Reach);
    out << ", \"certificateNeedsTie\": " << (state.ReachNeedsTie ? "true" : "false")
        << ",\n      \"winOutFailure\": ";
    printCertificate(out, state.WinOutFailure);
    out << "}";
}

void printRaceJson(std::ostream &out, const Season &season, const race::RaceAnalysis &analysis)
{
    out << "{\"top\": " << analysis.TopK << ", \"teams\": [";
    for (std::size_t i = 0; i < analysis.Teams.size(); ++i) {
        const race::TeamRace &team = analysis.Teams[i];
        out << (i > 0 ? ",\n" : "\n") << "  {\"teamNo\": " << team.TeamNo
            << ", \"teamName\": " << jsonString(toUtf8(season.team(team.TeamNo).TeamName))
            << ",\n    \"title\": ";
        printRaceState(out, team.Title);
        out << ",\n    \"topK\": ";
        printRaceState(out, team.Top);
        out << "}";
    }
    out << (analysis.Teams.empty() ? "]}\n" : "\n]}\n");
}

Text magicText(const race::RaceState &state)
{
    if (!state.MagicDecided) {
        return u"?";
    }
    return state.Magic ? number(*state.Magic) : Text(u"-");
}

void printRaceText(std::ostream &out, const Season &season, const race::RaceAnalysis &analysis)
{
    const Text top = u"上位" + number(analysis.TopK);
    std::vector<std::vector<Text>> table;
    table.push_back({u"チーム", u"優勝", u"M", top, u"M"});
    for (const race::TeamRace &team : analysis.Teams) {
        table.push_back({season.team(team.TeamNo).TeamName, race::RaceMark(team.Title),
                         magicText(team.Title), race::RaceMark(team.Top), magicText(team.Top)});
    }
    printTable(out, table, {true, true, false, true, false});
}

int runRace(const std::vector<std::string> &args, std::ostream &out, std::ostream &err)
{
    const ShowOptions options = parseViewOptions(args);
    Season season;
    // The passes settle the scope and the standings order the teams are
    // listed in, exactly as the window would show them.
    const std::optional<ViewResult> view = computeView(season, options, err);
    if (!view) {
        return ExitCannotLoad;
    }
    const race::RaceRequest request = race::RaceRequestForView(
        season, *view->published, ViewRequest{view->selection.league, view->selection.division},
        options.top.value_or(3));
    const race::RaceAnalysis analysis = race::AnalyzeRace(season, request);
    if (analysis.Status != race::RaceStatus::Analysed) {
        std::string message = ScheduleMessage;
        message.erase(message.find('\r'), 1);
        err << message << '\n';
        return ExitCannotAnalyse;
    }
    if (options.json) {
        printRaceJson(out, season, analysis);
    } else {
        printRaceText(out, season, analysis);
    }
    return ExitOk;
}

// A standings position given on the command line (from 1), checked
// against the rows of the view.
int standingsRow(const PublishedStandings &published, int position, const char *option)
{
    const int count = published.Rows.size();
    if (position < 1 || position > count) {
        throw UsageError{std::string(option) + " " + std::to_string(position) +
                         " is not a position of the standings (1.." + std::to_string(count) + ")"};
    }
    return position;
}

void printLine(std::ostream &out, std::u16string_view caption, const Text &value,
               const Text &more = {})
{
    std::string line = toUtf8(caption);
    if (!value.empty()) {
        line += ' ' + toUtf8(visibleText(value));
    }
    if (!more.empty()) {
        line += ' ' + toUtf8(visibleText(more));
    }
    out << line << '\n';
}

// The upper area as the dialog shows it when it opens on the team: the
// championship captions show unless the team has no magic.
void printTeamText(std::ostream &out, const TeamSummary &s)
{
    printLine(out, u"チーム:", s.TeamName);
    printLine(out, u"リーグ:", s.League);
    printLine(out, u"地区:", s.Division);
    printLine(out, u"試合数:", s.Games);
    if (s.MagicCaptionsShown.value_or(true)) {
        printLine(out, u"優勝マジック:", s.Magic);
        if (!s.ClinchRecord.empty()) {
            printLine(out, u"消  化:", s.ClinchRecord, s.ClinchPct);
        }
    }
    printLine(out, u"試  合:", s.Played);
    printLine(out, u"残  試:", s.Remaining);
    printLine(out, u"勝  敗:", s.Record);
    printLine(out, u"勝  率:", s.Pct);
    printLine(out, u"残り全 勝:", s.BestRecord, s.BestPct);
    printLine(out, u"残り全 敗:", s.WorstRecord, s.WorstPct);
}

void printOpponentText(std::ostream &out, const OpponentReport &r)
{
    out << '\n';
    for (const Text &line : r.Lines) {
        out << toUtf8(visibleText(line)) << '\n';
    }
    if (!r.HasCard) {
        return;
    }
    out << '\n' << toUtf8(visibleText(r.Caption)) << '\n';
    if (!r.MagicCaption.empty() || !r.Magic.empty()) {
        std::string line = toUtf8(visibleText(r.MagicCaption));
        line += (line.empty() ? "" : " ") + toUtf8(visibleText(r.Magic));
        out << line << '\n';
    }
    if (r.ClinchShown) {
        printLine(out, u"消  化:", r.ClinchRecord, r.ClinchPct);
    }
}

std::string jsonText(const Text &text)
{
    return jsonString(toUtf8(text));
}

void printTeamJson(std::ostream &out, int position, const CardAnalysis &analysis,
                   const TeamSummary &s)
{
    out << "{\n  \"position\": " << position << ",\n  \"teamNo\": " << s.TeamNo
        << ",\n  \"teamName\": " << jsonText(s.TeamName)
        << ",\n  \"league\": " << jsonText(s.League)
        << ",\n  \"division\": " << jsonText(s.Division) << ",\n  \"games\": " << jsonText(s.Games)
        << ",\n  \"magicCountdown\": " << analysis.MagicCountdown
        << ",\n  \"magic\": " << jsonText(s.Magic) << ",\n  \"magicCaptionsShown\": "
        << (s.MagicCaptionsShown ? (*s.MagicCaptionsShown ? "true" : "false") : "null")
        << ",\n  \"clinchRecord\": " << jsonText(s.ClinchRecord)
        << ",\n  \"clinchPct\": " << jsonText(s.ClinchPct)
        << ",\n  \"played\": " << jsonText(s.Played)
        << ",\n  \"remaining\": " << jsonText(s.Remaining)
        << ",\n  \"record\": " << jsonText(s.Record) << ",\n  \"pct\": " << jsonText(s.Pct)
        << ",\n  \"bestRecord\": " << jsonText(s.BestRecord)
        << ",\n  \"bestPct\": " << jsonText(s.BestPct)
        << ",\n  \"worstRecord\": " << jsonText(s.WorstRecord)
        << ",\n  \"worstPct\": " << jsonText(s.WorstPct);
}

void printOpponentJson(std::ostream &out, int position, const CardAnalysis &analysis,
                       const OpponentReport &r)
{
    const CardFigures &card = analysis.Cards[position];
    out << ",\n  \"opponent\": {\"position\": " << position << ", \"teamNo\": " << card.Opponent
        << ", \"hasCard\": " << (r.HasCard ? "true" : "false") << ",\n    \"report\": [";
    for (std::size_t i = 0; i < r.Lines.size(); ++i) {
        out << (i > 0 ? ",\n      " : "\n      ") << jsonText(r.Lines[i]);
    }
    out << (r.Lines.empty() ? "]" : "\n    ]") << ",\n    \"caption\": " << jsonText(r.Caption)
        << ", \"magicCaption\": " << jsonText(r.MagicCaption)
        << ", \"magic\": " << jsonText(r.Magic)
        << ", \"magicKind\": " << static_cast<int>(card.MagicKind)
        << ", \"clinchShown\": " << (r.ClinchShown ? "true" : "false")
        << ", \"clinchRecord\": " << jsonText(r.ClinchRecord)
        << ", \"clinchPct\": " << jsonText(r.ClinchPct) << "}";
}

int runTeam(const std::vector<std::string> &args, std::ostream &out, std::ostream &err)
{
    const ShowOptions options = parseViewOptions(args);
    Season season;
    const std::optional<ViewResult> view = computeView(season, options, err);
    if (!view) {
        return ExitCannotLoad;
    }
    const PublishedStandings &published = *view->published;
    const int row = standingsRow(published, *options.team, "--team");
    const int opponent =
        options.opponent ? standingsRow(published, *options.opponent, "--opponent") : 0;
    const int digits = view->settings.Round;
    const std::optional<TeamSummary> summary = SummarizeTeam(season, published, row, digits);
    if (!summary) {
        err << CannotLoad << '\n';
        return ExitCannotLoad;
    }
    const OpponentReport report = ReportOpponent(season, published, row, opponent, digits);
    if (options.json) {
        printTeamJson(out, row, published.Analysis[row], *summary);
        if (opponent > 0) {
            printOpponentJson(out, opponent, published.Analysis[row], report);
        }
        out << "\n}\n";
    } else {
        printTeamText(out, *summary);
        if (opponent > 0) {
            printOpponentText(out, report);
        }
    }
    return ExitOk;
}

#ifdef PENARIN_WITH_CHARTS
int runChartCommand(const std::vector<std::string> &args, std::ostream &err)
{
    // The chart's own options are taken out; the rest are the view options of
    // show, read by the same parser.
    ChartOptions chart;
    std::vector<std::string> viewArgs{"chart"};
    for (std::size_t i = 1; i < args.size(); ++i) {
        const std::string &arg = args[i];
        const bool takesValue =
            arg == "--kind" || arg == "--measure" || arg == "--team" || arg == "--out";
        if (!takesValue) {
            viewArgs.push_back(arg);
            continue;
        }
        if (i + 1 >= args.size()) {
            throw UsageError{arg + " needs a value"};
        }
        const std::string &value = args[++i];
        if (arg == "--kind") {
            if (value != "progression" && value != "composition") {
                throw UsageError{"unknown chart kind \"" + value + "\""};
            }
            chart.composition = value == "composition";
            chart.kindGiven = true;
        } else if (arg == "--measure") {
            if (value != "surplus" && value != "pct") {
                throw UsageError{"unknown measure \"" + value + "\""};
            }
            chart.percentage = value == "pct";
        } else if (arg == "--team") {
            const auto team = parseInt(value);
            if (!team) {
                throw UsageError{"--team needs a number, not \"" + value + "\""};
            }
            chart.team = *team;
        } else {
            chart.out = value;
        }
    }
    if (!chart.kindGiven) {
        throw UsageError{"chart needs --kind progression or --kind composition"};
    }
    if (chart.out.empty()) {
        throw UsageError{"chart needs --out FILE.png or FILE.svg"};
    }
    const ShowOptions options = parseViewOptions(viewArgs);
    Season season;
    const std::optional<ViewResult> view = computeView(season, options, err);
    if (!view) {
        return ExitCannotLoad;
    }
    if (chart.team &&
        !std::any_of(view->published->Rows.begin(), view->published->Rows.end(),
                     [&](const StandingsRow &row) { return row.TeamNo == *chart.team; })) {
        throw UsageError{"team " + std::to_string(*chart.team) + " is not in the view"};
    }
    return runChart(season, *view->published, view->settings, chart, err);
}
#endif

int runResave(const std::vector<std::string> &args, std::ostream &err)
{
    if (args.size() != 3) {
        throw UsageError{"resave needs IN and OUT"};
    }
    Season season;
    if (LoadSeason(season, args[1]) == LoadStatus::Failed) {
        err << CannotLoad << '\n';
        return ExitCannotLoad;
    }
    season.AddSnapshot = false;
    std::string reason;
    if (!SaveSeason(season, args[2], systemNow, &reason)) {
        err << "cannot write " << args[2] << ": " << reason << '\n';
        return ExitCannotWrite;
    }
    return ExitOk;
}

} // namespace

int runReport(const std::vector<std::string> &args, std::ostream &out, std::ostream &err)
{
    try {
        if (args.empty()) {
            throw UsageError{"no command given"};
        }
        if (args[0] == "show") {
            return runShow(args, out, err);
        }
        if (args[0] == "export") {
            return runExport(args, err);
        }
        if (args[0] == "race") {
            return runRace(args, out, err);
        }
        if (args[0] == "winline") {
            return runWinLine(args, out, err);
        }
        if (args[0] == "team") {
            return runTeam(args, out, err);
        }
        if (args[0] == "resave") {
            return runResave(args, err);
        }
#ifdef PENARIN_WITH_CHARTS
        if (args[0] == "chart") {
            return runChartCommand(args, err);
        }
#endif
        if (args[0] == "--help" || args[0] == "-h" || args[0] == "help") {
            out << Usage;
            return ExitOk;
        }
        throw UsageError{"unknown command \"" + args[0] + "\""};
    } catch (const UsageError &error) {
        err << "penarin-report: " << error.message << "\n\n" << Usage;
        return ExitUsage;
    }
}

} // namespace penarin::cli
