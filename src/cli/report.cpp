#include "cli/report.h"
#include "cli/importcommand.h"

#include "cli/command.h"
#ifdef PENARIN_WITH_CHARTS
#include "cli/chartcommand.h"
#endif

#include "cli/oddscommand.h"
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
#include <ostream>

namespace penarin::cli {

namespace {

using Json = nlohmann::ordered_json;

const char *const CannotLoad = "ファイルを開けません";
const char *const NoData = "データがありません";

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

bool wantsJson(const Arguments &args)
{
    return args.text("--format") == "json";
}

Json cardsJson(const CardAnalysis &analysis)
{
    Json cards = Json::array();
    for (int c = 1; c <= analysis.Cards.size(); ++c) {
        const CardFigures &card = analysis.Cards[c];
        cards.push_back({{"opponent", card.Opponent},
                         {"wins", card.Wins},
                         {"losses", card.Losses},
                         {"draws", card.Draws},
                         {"pct", card.Pct},
                         {"played", card.Played},
                         {"remaining", card.Remaining},
                         {"maxWins", card.MaxWins},
                         {"maxLosses", card.MaxLosses},
                         {"maxPct", card.MaxPct},
                         {"minPct", card.MinPct},
                         {"magicText", toUtf8(card.MagicText())},
                         {"magicKind", static_cast<int>(card.MagicKind)},
                         // System colours (0x8000000F) stay unsigned, as the file stores them.
                         {"magicColor", static_cast<std::uint32_t>(card.MagicColor)}});
    }
    return cards;
}

Json standingsJson(const Season &season, const ViewResult &view)
{
    const PublishedStandings &published = *view.published;
    const int pctDigits = view.settings.Pct;
    Json rows = Json::array();
    for (int i = 1; i <= published.Rows.size(); ++i) {
        const StandingsRow &row = published.Rows[i];
        rows.push_back({{"rank", row.Rank},
                        {"teamNo", row.TeamNo},
                        {"teamName", toUtf8(season.team(row.TeamNo).TeamName)},
                        {"played", row.Played},
                        {"wins", row.Wins},
                        {"losses", row.Losses},
                        {"draws", row.Draws},
                        {"pct", row.Pct},
                        {"pctText", FormatPct(row.Pct, pctDigits)},
                        {"surplus", row.Surplus},
                        {"behindLeader", row.BehindLeader},
                        {"behindAbove", row.BehindAbove},
                        {"remaining", row.Remaining},
                        {"maxWins", row.MaxWins},
                        {"maxLosses", row.MaxLosses},
                        {"maxPct", row.MaxPct},
                        {"minPct", row.MinPct},
                        {"magicCountdown", published.Analysis[i].MagicCountdown},
                        {"cards", cardsJson(published.Analysis[i])}});
    }
    return {{"gameScope", season.GameScope},
            {"scopeText", view.pass.ScopeText},
            {"scopeMenuEnabled", view.pass.ScopeMenuEnabled},
            {"scheduleError", view.pass.ShowScheduleMessage},
            {"judgmentText",
             Json::array({view.pass.Judgment.Championship, view.pass.Judgment.Conditions})},
            {"rows", std::move(rows)}};
}

int runShow(Invocation &call)
{
    if (wantsJson(call.args)) {
        writeJson(call.out, standingsJson(call.season, call.view));
        return ExitOk;
    }
    printText(call.out, call.season, call.view);
    if (call.view.pass.ShowScheduleMessage) {
        call.err << terminalLines(ScheduleMessage) << '\n';
    }
    return ExitOk;
}

int runExport(Invocation &call)
{
    const std::string &which = call.args.positional[0];
    const std::string &file = call.args.positional[2];
    const Season &season = call.season;
    const PublishedStandings &published = *call.view.published;
    const std::optional<TextTable> table =
        which == "results"
            ? BuildResultsTable(season, BuildStandingsTable(season, published, call.view.settings))
            : BuildHistoryTable(season, published,
                                which == "pct" ? HistoryKind::Pct : HistoryKind::Surplus);
    if (!table) {
        call.err << NoData << '\n';
        return ExitNothingToExport;
    }
    std::string reason;
    if (!WriteTextTable(file, *table, &reason)) {
        call.err << cannotWrite(file, reason) << '\n';
        return ExitCannotWrite;
    }
    return ExitOk;
}

// The win line table of the view with the settings' digits and final-only
// choice: as text columns, as the bytes the export writes, or as JSON.
int runWinLine(Invocation &call)
{
    const Settings &settings = call.view.settings;
    const WinLineTable table = BuildWinLineTable(call.season, *call.view.published, settings.Line,
                                                 settings.ZanAvg != 0, settings.NameLen);
    const TextTable &cells = table.Cells;
    const std::string format = call.args.text("--format").value_or("text");
    if (format == "json") {
        Json grid = Json::array();
        for (int line = 0; line < cells.lineCount(); ++line) {
            Json texts = Json::array();
            for (int cell = 0; cell < cells.cellCount(); ++cell) {
                texts.push_back(toUtf8(cells.at(line, cell)));
            }
            grid.push_back(std::move(texts));
        }
        writeJson(call.out,
                  {{"calculationFailed", table.CalculationFailed}, {"grid", std::move(grid)}});
        return ExitOk;
    }
    if (table.CalculationFailed) {
        call.err << terminalLines(WinLineFailureMessage) << '\n';
    }
    if (format == "csv" || format == "tsv") {
        call.out << EncodeTextTable(format == "csv" ? "winline.csv" : "winline.tsv", cells);
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
    printTable(call.out, lines,
               std::vector<bool>(static_cast<std::size_t>(cells.cellCount()), false));
    return ExitOk;
}

Json answerJson(race::Answer answer)
{
    switch (answer) {
    case race::Answer::Yes:
        return true;
    case race::Answer::No:
        return false;
    case race::Answer::Unknown:
        break;
    }
    return nullptr;
}

Json certificateJson(const std::optional<race::Certificate> &certificate)
{
    if (!certificate) {
        return nullptr;
    }
    Json cards = Json::array();
    for (const race::CardOutcome &card : *certificate) {
        cards.push_back({{"team", card.Team},
                         {"opponent", card.Opponent},
                         {"wins", card.Wins},
                         {"losses", card.Losses},
                         {"draws", card.Draws}});
    }
    return cards;
}

Json drawsJson(const std::optional<race::Certificate> &certificate)
{
    return certificate ? Json(race::DrawCount(*certificate)) : Json(nullptr);
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

Json raceStateJson(const race::RaceState &state)
{
    return {{"sure", answerJson(state.Sure)},
            {"sureUnlessTied", answerJson(state.SureUnlessTied)},
            {"possible", answerJson(state.Possible)},
            {"possibleWithTie", answerJson(state.PossibleWithTie)},
            {"ownPower", answerJson(state.OwnPower)},
            {"magic", state.Magic ? Json(*state.Magic) : Json(nullptr)},
            {"decided", decided(state)},
            {"tieBreakApplied", state.TieBreakApplied},
            {"certificate", certificateJson(state.Reach)},
            {"certificateNeedsTie", state.ReachNeedsTie},
            {"certificateDraws", drawsJson(state.Reach)},
            {"winOutFailure", certificateJson(state.WinOutFailure)},
            {"winOutFailureDraws", drawsJson(state.WinOutFailure)}};
}

Json raceJson(const Season &season, const race::RaceAnalysis &analysis)
{
    Json teams = Json::array();
    for (const race::TeamRace &team : analysis.Teams) {
        teams.push_back({{"teamNo", team.TeamNo},
                         {"teamName", toUtf8(season.team(team.TeamNo).TeamName)},
                         {"title", raceStateJson(team.Title)},
                         {"topK", raceStateJson(team.Top)}});
    }
    return {{"top", analysis.TopK}, {"teams", std::move(teams)}};
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

int runRace(Invocation &call)
{
    // The passes settle the scope and the standings order the teams are
    // listed in, exactly as the window would show them.
    const race::RaceRequest request = race::RaceRequestForView(
        call.season, *call.view.published,
        ViewRequest{call.view.selection.league, call.view.selection.division},
        call.args.number("--top").value_or(3), call.view.settings.Game);
    const race::RaceAnalysis analysis = race::AnalyzeRace(call.season, request);
    if (analysis.Status != race::RaceStatus::Analysed) {
        call.err << terminalLines(ScheduleMessage) << '\n';
        return ExitCannotAnalyse;
    }
    if (wantsJson(call.args)) {
        writeJson(call.out, raceJson(call.season, analysis));
    } else {
        printRaceText(call.out, call.season, analysis);
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
                         " は順位表にありません（1～" + std::to_string(count) + "）"};
    }
    return position;
}

Json teamJson(int position, const CardAnalysis &analysis, const TeamSummary &s)
{
    return {
        {"position", position},
        {"teamNo", s.TeamNo},
        {"teamName", toUtf8(s.TeamName)},
        {"league", toUtf8(s.League)},
        {"division", toUtf8(s.Division)},
        {"games", toUtf8(s.Games)},
        {"magicCountdown", analysis.MagicCountdown},
        {"magic", toUtf8(s.Magic)},
        {"magicCaptionsShown", s.MagicCaptionsShown ? Json(*s.MagicCaptionsShown) : Json(nullptr)},
        {"clinchRecord", toUtf8(s.ClinchRecord)},
        {"clinchPct", toUtf8(s.ClinchPct)},
        {"played", toUtf8(s.Played)},
        {"remaining", toUtf8(s.Remaining)},
        {"record", toUtf8(s.Record)},
        {"pct", toUtf8(s.Pct)},
        {"bestRecord", toUtf8(s.BestRecord)},
        {"bestPct", toUtf8(s.BestPct)},
        {"worstRecord", toUtf8(s.WorstRecord)},
        {"worstPct", toUtf8(s.WorstPct)}};
}

Json opponentJson(int position, const CardAnalysis &analysis, const OpponentReport &r)
{
    const CardFigures &card = analysis.Cards[position];
    Json lines = Json::array();
    for (const Text &line : r.Lines) {
        lines.push_back(toUtf8(line));
    }
    return {{"position", position},
            {"teamNo", card.Opponent},
            {"hasCard", r.HasCard},
            {"report", std::move(lines)},
            {"caption", toUtf8(r.Caption)},
            {"magicCaption", toUtf8(r.MagicCaption)},
            {"magic", toUtf8(r.Magic)},
            {"magicKind", static_cast<int>(card.MagicKind)},
            {"clinchShown", r.ClinchShown},
            {"clinchRecord", toUtf8(r.ClinchRecord)},
            {"clinchPct", toUtf8(r.ClinchPct)}};
}

int runTeam(Invocation &call)
{
    const Season &season = call.season;
    const PublishedStandings &published = *call.view.published;
    const int row = standingsRow(published, *call.args.number("--team"), "--team");
    const std::optional<int> opponentGiven = call.args.number("--opponent");
    const int opponent = opponentGiven ? standingsRow(published, *opponentGiven, "--opponent") : 0;
    const int digits = call.view.settings.Round;
    const std::optional<TeamSummary> summary = SummarizeTeam(season, published, row, digits);
    if (!summary) {
        call.err << CannotLoad << '\n';
        return ExitCannotLoad;
    }
    const OpponentReport report = ReportOpponent(season, published, row, opponent, digits);
    if (wantsJson(call.args)) {
        Json json = teamJson(row, published.Analysis[row], *summary);
        if (opponent > 0) {
            json["opponent"] = opponentJson(opponent, published.Analysis[row], report);
        }
        writeJson(call.out, json);
    } else {
        printTeamText(call.out, *summary);
        if (opponent > 0) {
            printOpponentText(call.out, report);
        }
    }
    return ExitOk;
}

int runResave(Invocation &call)
{
    const std::string &file = call.args.positional[1];
    Season season;
    if (LoadSeason(season, call.args.positional[0]) == LoadStatus::Failed) {
        call.err << CannotLoad << '\n'
                 << call.args.positional[0] << ": " << LoadFailureReason(call.args.positional[0])
                 << '\n';
        return ExitCannotLoad;
    }
    season.AddSnapshot = false;
    std::string reason;
    if (!SaveSeason(season, file, systemNow, &reason)) {
        call.err << cannotWrite(file, reason) << '\n';
        return ExitCannotWrite;
    }
    return ExitOk;
}

int runHelp(Invocation &call);

using Runner = int (*)(Invocation &);

struct Command
{
    std::vector<std::string_view> names;
    CommandSyntax syntax;
    // The argument that names the season file of a command that opens a
    // view; the prologue has loaded it and run the view's passes before
    // the runner starts. None for a command that opens no view.
    std::optional<std::size_t> seasonFileAt;
    Runner run;
    std::string_view synopsis; // lines of the usage, each indented by two
    std::string_view about;    // its paragraph of the usage
};

const PositionalSyntax SeasonFile{"シーズンファイル"};

OptionSyntax formats(std::vector<std::string_view> choices)
{
    return {"--format", ValueKind::Choice, std::move(choices)};
}

// Every subcommand is one row. To add one: write its runner (taking the
// Invocation: arguments, streams and, when seasonFileAt is set, the season
// and its view already computed), give its arguments and options here
// (viewOptions() adds the view's), and its usage lines; the parser, the
// prologue, the refusals and the help come from the row. Throw UsageError
// for an argument the syntax cannot check; return an ExitCode.
const std::vector<Command> &commands()
{
    static const std::vector<Command> table{
        {{"show"},
         {{SeasonFile}, viewOptions({formats({"text", "json"})})},
         0,
         runShow,
         "  penarin-report show FILE [--league N] [--division N]\n"
         "                           [--scope official|league|interleague] [--format text|json]\n"
         "                           [--settings Mgcsm.ini]\n",
         "show     シーズンファイルの一つの表示の順位表を出力します。--league と --division\n"
         "         がなければファイルを保存したときの表示、--league 0 はすべてのチームです。\n"
         "         --division はリーグの地区を 1 から数えます（0 はリーグ全体）。\n"},
        {{"export"},
         {{{"表", {"results", "surplus", "pct"}}, SeasonFile, {"出力ファイル"}}, viewOptions()},
         1,
         runExport,
         "  penarin-report export results|surplus|pct FILE OUT [--league N] [--division N]\n"
         "                           [--scope official|league|interleague]\n"
         "                           [--settings Mgcsm.ini]\n",
         "export   表示のチームの対戦成績表（順位表と対戦成績）、または貯金か勝率の推移を\n"
         "         プログラムの出力と同じく OUT に書き出します。OUT が csv で終わればカンマと\n"
         "         引用符、それ以外はタブで区切ります。CP932、改行は CR LF です。\n"},
        {{"race"},
         {{SeasonFile},
          viewOptions({{"--top", ValueKind::Number, {}, 1}, formats({"text", "json"})})},
         0,
         runRace,
         "  penarin-report race FILE [--league N] [--division N]\n"
         "                           [--scope official|league|interleague] [--top K]\n"
         "                           [--format text|json] [--settings Mgcsm.ini]\n",
         "race     表示の各チームについて、優勝と上位 K 位（既定は 3）が確定か、\n"
         "         まだ可能か、消滅かを、正確なマジックナンバーとそれを示す\n"
         "         残り試合の結果とともに出力します。\n"},
        {{"winline"},
         {{SeasonFile}, viewOptions({formats({"text", "csv", "tsv", "json"})})},
         0,
         runWinLine,
         "  penarin-report winline FILE [--league N] [--division N]\n"
         "                           [--scope official|league|interleague]\n"
         "                           [--format text|csv|tsv|json] [--settings Mgcsm.ini]\n",
         "winline  表示の優勝ライン表を出力します。最終勝数ごとに各チームが残り試合で必要な\n"
         "         成績です（csv と tsv はプログラムの出力と同じバイト列）。\n"},
        {{"team"},
         {{SeasonFile},
          viewOptions({{"--team", ValueKind::Number},
                       {"--opponent", ValueKind::Number},
                       formats({"text", "json"})}),
          {"--team"}},
         0,
         runTeam,
         "  penarin-report team FILE --team N [--opponent M] [--league N] [--division N]\n"
         "                           [--scope official|league|interleague] [--format text|json]\n"
         "                           [--settings Mgcsm.ini]\n",
         "team     表示の順位 N（1 から）のチームについてチームデータの画面の内容を出力します。\n"
         "         成績、優勝を決める成績、--opponent があれば順位 M のチームとの対戦成績と\n"
         "         そのカードのマジックです。勝率は設定の Round の桁数です。\n"},
        {{"resave"},
         {{{"読み込むシーズンファイル"}, {"出力ファイル"}}, {}},
         std::nullopt,
         runResave,
         "  penarin-report resave IN OUT\n",
         "resave   IN を読み込み、プログラムの保存と同じく OUT に書き出します。\n"},
#ifdef PENARIN_WITH_CHARTS
        {{"chart"},
         {{SeasonFile},
          viewOptions({{"--kind", ValueKind::Choice, {"progression", "composition"}},
                       {"--measure", ValueKind::Choice, {"surplus", "pct"}},
                       {"--team", ValueKind::Number},
                       {"--out", ValueKind::Text}}),
          {"--kind", "--out"}},
         0,
         runChartCommand,
         "  penarin-report chart FILE --kind progression|composition --out FILE.png|FILE.svg\n"
         "                           [--measure surplus|pct] [--team N] [--league N]\n"
         "                           [--division N] [--scope official|league|interleague]\n"
         "                           [--settings Mgcsm.ini]\n",
         "chart    推移グラフ（表示のスナップショットを通した各チームの貯金か勝率）か、\n"
         "         1 チームの貯金の内訳（--team はチーム番号、既定は表示の先頭のチーム）を\n"
         "         グラフの画面と同じく PNG か SVG の画像に描きます。\n"},
#endif
        {{"help", "--help", "-h"},
         {},
         std::nullopt,
         runHelp,
         "  penarin-report help\n",
         "help     この説明を出力します。\n"},
    };
    return table;
}

std::string usage()
{
    std::string text = "使い方:\n";
    for (const Command &command : commands()) {
        text += command.synopsis;
    }
    text += '\n';
    for (const Command &command : commands()) {
        text += command.about;
    }
    return text;
}

int runHelp(Invocation &call)
{
    call.out << usage();
    return ExitOk;
}

} // namespace

int runReport(const std::vector<std::string> &args, std::ostream &out, std::ostream &err)
{
    try {
        if (args.empty()) {
            throw UsageError{"コマンドを指定してください"};
        }
        // The game-list import and the card export read their own options.
        if (args[0] == "import" || (args[0] == "export" && args.size() > 1 && args[1] == "cards")) {
            return args[0] == "import" ? runImport(args, out, err) : runCardExport(args, err);
        }
        if (args[0] == "odds") {
            return runOdds(args, out, err); // takes a flag, which the table's syntax has not
        }
        const auto &table = commands();
        const auto command = std::find_if(table.begin(), table.end(), [&](const Command &row) {
            return std::find(row.names.begin(), row.names.end(), args[0]) != row.names.end();
        });
        if (command == table.end()) {
            throw UsageError{"不明なコマンドです: " + args[0]};
        }
        const Arguments parsed = parseArguments(
            args[0], command->syntax, std::vector<std::string>(args.begin() + 1, args.end()));
        Invocation call{parsed, out, err, {}, {}};
        if (command->seasonFileAt && !openView(call, *command->seasonFileAt)) {
            return ExitCannotLoad;
        }
        return command->run(call);
    } catch (const UsageError &error) {
        err << "penarin-report: " << error.message << "\n\n" << usage();
        return ExitUsage;
    }
}

} // namespace penarin::cli
