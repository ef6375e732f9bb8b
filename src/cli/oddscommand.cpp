#include "cli/oddscommand.h"

#include "cli/command.h"
#include "cli/report.h"
#include "odds/odds.h"
#include "season/textcodec.h"

#include <algorithm>
#include <charconv>
#include <cstdio>
#include <ostream>

namespace penarin::cli {

namespace {

const char *const OddsUsage =
    "使い方:\n"
    "  penarin-report odds FILE [--league N] [--division N]\n"
    "                           [--scope official|league|interleague] [--top K]\n"
    "                           [--model coin|strength] [--draw-rate D]\n"
    "                           [--method auto|exact|simulate] [--runs N] [--seed S]\n"
    "                           [--format text|json] [--settings Mgcsm.ini]\n"
    "  penarin-report odds FILE --team N --big-games [same options]\n"
    "\n"
    "odds    prints how likely every team of the view is to win the title and to\n"
    "        finish in the first K places (default 3), each remaining outcome ranked\n"
    "        by the standings with the championship judgment. Exact when the\n"
    "        outcomes are few (auto), otherwise N simulated seasons (default 100000)\n"
    "        with a fixed seed and 95% intervals. --big-games lists the next games\n"
    "        that move the chances of team number N the most.\n";

// Options without a value, which the shared parser does not take.
const std::string BigGamesFlag = "--big-games";

const CommandSyntax OddsSyntax{
    {{"シーズンファイル"}},
    viewOptions({{"--top", ValueKind::Number, {}, 1},
                 {"--model", ValueKind::Choice, {"coin", "strength"}},
                 {"--draw-rate", ValueKind::Text},
                 {"--method", ValueKind::Choice, {"auto", "exact", "simulate"}},
                 {"--runs", ValueKind::Number, {}, 1},
                 {"--seed", ValueKind::Text},
                 {"--format", ValueKind::Choice, {"text", "json"}},
                 {"--team", ValueKind::Number, {}, 1}}),
};

template <class T> std::optional<T> parseNumber(const std::string &text)
{
    T value{};
    const char *end = text.data() + text.size();
    const auto [ptr, ec] = std::from_chars(text.data(), end, value);
    if (ec != std::errc{} || ptr != end) {
        return std::nullopt;
    }
    return value;
}

// The odds' choices from the parsed command line.
odds::OddsRequest requestOptions(const Arguments &args)
{
    odds::OddsRequest request;
    request.TopK = args.number("--top").value_or(3);
    request.Runs = args.number("--runs").value_or(odds::DefaultRuns);
    request.GameModel =
        args.text("--model") == "strength" ? odds::Model::Strength : odds::Model::Coin;
    const std::string method = args.text("--method").value_or("auto");
    request.Mode = method == "exact"      ? odds::Method::Exact
                   : method == "simulate" ? odds::Method::Simulate
                                          : odds::Method::Auto;
    if (const auto text = args.text("--draw-rate")) {
        const auto rate = parseNumber<double>(*text);
        if (!rate || !(*rate >= 0.0 && *rate <= 1.0)) {
            throw UsageError{"--draw-rate には 0 から 1 までの数を指定してください: " + *text};
        }
        request.DrawRate = *rate;
    }
    if (const auto text = args.text("--seed")) {
        const auto seed = parseNumber<std::uint64_t>(*text);
        if (!seed) {
            throw UsageError{"--seed には 0 以上の整数を指定してください: " + *text};
        }
        request.Seed = *seed;
    }
    return request;
}

nlohmann::ordered_json intervalJson(const std::optional<odds::Interval> &interval)
{
    if (!interval) {
        return nullptr;
    }
    return nlohmann::ordered_json::array({interval->Low, interval->High});
}

const char *modelName(odds::Model model)
{
    return model == odds::Model::Coin ? "coin" : "strength";
}

nlohmann::ordered_json oddsJson(const Season &season, const odds::OddsResult &result)
{
    nlohmann::ordered_json json;
    json["top"] = result.TopK;
    json["model"] = modelName(result.GameModel);
    json["drawRate"] = result.DrawRate;
    json["exact"] = result.Exact;
    json["runs"] =
        result.Exact ? nlohmann::ordered_json(nullptr) : nlohmann::ordered_json(result.Runs);
    json["seed"] =
        result.Exact ? nlohmann::ordered_json(nullptr) : nlohmann::ordered_json(result.Seed);
    json["teams"] = nlohmann::ordered_json::array();
    for (const odds::TeamOdds &t : result.Teams) {
        json["teams"].push_back({{"teamNo", t.TeamNo},
                                 {"teamName", toUtf8(season.team(t.TeamNo).TeamName)},
                                 {"title", t.Title},
                                 {"topK", t.TopK},
                                 {"titleInterval", intervalJson(t.TitleInterval)},
                                 {"topKInterval", intervalJson(t.TopKInterval)},
                                 {"ranks", t.Ranks},
                                 {"expectedWins", t.ExpectedWins},
                                 {"expectedLosses", t.ExpectedLosses},
                                 {"expectedDraws", t.ExpectedDraws}});
    }
    return json;
}

// Columns padded to their widest cell; the first left-aligned, the rest right.
void printTable(std::ostream &out, const std::vector<std::vector<std::string>> &table)
{
    std::vector<std::vector<Text>> cells;
    std::size_t columns = 0;
    for (const auto &line : table) {
        std::vector<Text> &row = cells.emplace_back();
        for (const std::string &cell : line) {
            row.push_back(fromUtf8(cell));
        }
        columns = std::max(columns, line.size());
    }
    std::vector<bool> left(columns, false);
    if (columns > 0) {
        left[0] = true;
    }
    cli::printTable(out, std::move(cells), left);
}

std::string oneDecimal(double value)
{
    char text[32];
    std::snprintf(text, sizeof text, "%.1f", value);
    return text;
}

std::string intervalText(const std::optional<odds::Interval> &interval)
{
    if (!interval) {
        return "";
    }
    return odds::FormatProbability(interval->Low) + "-" + odds::FormatProbability(interval->High);
}

void printHeading(std::ostream &out, const odds::OddsResult &result)
{
    out << odds::MethodCaption(result);
    if (result.Exact) {
        out << "（" << result.Outcomes << "通り）";
    } else {
        out << "（seed " << result.Seed << "）";
    }
    out << "  model " << modelName(result.GameModel) << "  引分率 "
        << odds::FormatProbability(result.DrawRate) << '\n';
}

void printText(std::ostream &out, const Season &season, const odds::OddsResult &result)
{
    printHeading(out, result);
    const std::string top = "上位" + std::to_string(result.TopK);
    std::vector<std::vector<std::string>> table;
    std::vector<std::string> heading{"チーム", "優勝確率", top + "確率", "勝", "敗", "分"};
    if (!result.Exact) {
        heading.insert(heading.begin() + 3, {"優勝(95%)", top + "(95%)"});
    }
    table.push_back(heading);
    for (const odds::TeamOdds &t : result.Teams) {
        std::vector<std::string> line{toUtf8(season.team(t.TeamNo).TeamName),
                                      odds::FormatProbability(t.Title, t.TitleProven),
                                      odds::FormatProbability(t.TopK, t.TopKProven),
                                      oneDecimal(t.ExpectedWins),
                                      oneDecimal(t.ExpectedLosses),
                                      oneDecimal(t.ExpectedDraws)};
        if (!result.Exact) {
            line.insert(line.begin() + 3,
                        {intervalText(t.TitleInterval), intervalText(t.TopKInterval)});
        }
        table.push_back(std::move(line));
    }
    printTable(out, table);
}

void printBigGames(std::ostream &out, const Season &season, const odds::OddsResult &result,
                   int team, bool json)
{
    const std::vector<odds::BigGame> title = odds::BigGames(result, team, false);
    const std::vector<odds::BigGame> topK = odds::BigGames(result, team, true);
    if (json) {
        auto list = [](const std::vector<odds::BigGame> &games) {
            nlohmann::ordered_json out = nlohmann::ordered_json::array();
            for (const odds::BigGame &g : games) {
                out.push_back({{"teamA", g.TeamA},
                               {"teamB", g.TeamB},
                               {"ifAWins", g.IfAWins},
                               {"ifBWins", g.IfBWins}});
            }
            return out;
        };
        writeJson(out, {{"teamNo", team},
                        {"top", result.TopK},
                        {"exact", result.Exact},
                        {"title", list(title)},
                        {"topK", list(topK)}});
        return;
    }
    printHeading(out, result);
    const std::string name = toUtf8(visibleText(season.team(team).TeamName));
    auto list = [&](const std::string &caption, const std::vector<odds::BigGame> &games) {
        out << "大一番: " << name << "の" << caption << '\n';
        if (games.empty()) {
            out << "  （なし）\n";
            return;
        }
        std::vector<std::vector<std::string>> table{{"対戦", "勝者", "確率", "勝者", "確率"}};
        for (const odds::BigGame &g : games) {
            const std::string a = toUtf8(season.team(g.TeamA).TeamName);
            const std::string b = toUtf8(season.team(g.TeamB).TeamName);
            table.push_back({a + " - " + b, a, odds::FormatProbability(g.IfAWins, result.Exact), b,
                             odds::FormatProbability(g.IfBWins, result.Exact)});
        }
        printTable(out, table);
    };
    list("優勝確率", title);
    list("上位" + std::to_string(result.TopK) + "確率", topK);
}

} // namespace

int runOdds(const std::vector<std::string> &args, std::ostream &out, std::ostream &err)
{
    if (std::find(args.begin(), args.end(), "--help") != args.end()) {
        out << OddsUsage;
        return ExitOk;
    }
    try {
        std::vector<std::string> rest;
        bool bigGames = false;
        for (std::size_t i = 1; i < args.size(); ++i) {
            if (args[i] == BigGamesFlag) {
                bigGames = true;
            } else {
                rest.push_back(args[i]);
            }
        }
        const Arguments parsed = parseArguments("odds", OddsSyntax, rest);
        const odds::OddsRequest given = requestOptions(parsed);
        const std::optional<int> team = parsed.number("--team");
        if (bigGames && !team) {
            throw UsageError{"--big-games には --team が必要です"};
        }
        Invocation call{parsed, out, err, {}, {}};
        if (!openView(call, 0)) {
            return ExitCannotLoad;
        }
        const Season &season = call.season;
        odds::OddsRequest request = odds::OddsRequestForView(
            season, *call.view.published,
            ViewRequest{call.view.selection.league, call.view.selection.division},
            OrderSettingsFrom(call.view.settings), given.TopK);
        request.GameModel = given.GameModel;
        request.DrawRate = given.DrawRate;
        request.Mode = given.Mode;
        request.Runs = given.Runs;
        request.Seed = given.Seed;
        if (team &&
            std::find(request.Teams.begin(), request.Teams.end(), *team) == request.Teams.end()) {
            throw UsageError{"チーム " + std::to_string(*team) + " は表示のチームではありません"};
        }
        const odds::OddsResult result = odds::ComputeOdds(season, request);
        switch (result.Status) {
        case odds::OddsStatus::Computed:
            break;
        case odds::OddsStatus::TooManyOutcomes:
            err << "厳密計算できる組み合わせ(" << request.ExactLimit
                << "通り)を超えています: --method auto か simulate を使ってください\n";
            return ExitTooManyOutcomes;
        case odds::OddsStatus::ScheduleInconsistent:
        case odds::OddsStatus::Cancelled:
            err << terminalLines(ScheduleMessage) << '\n';
            return ExitCannotAnalyse;
        }
        const bool json = parsed.text("--format") == "json";
        if (bigGames) {
            printBigGames(out, season, result, *team, json);
        } else if (json) {
            writeJson(out, oddsJson(season, result));
        } else {
            printText(out, season, result);
        }
        return ExitOk;
    } catch (const UsageError &error) {
        err << "penarin-report: " << error.message << "\n\n" << OddsUsage;
        return ExitUsage;
    }
}

} // namespace penarin::cli
