#include "cli/oddscommand.h"

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
    "usage:\n"
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

struct OddsUsageError
{
    std::string message;
};

struct OddsOptions
{
    odds::OddsRequest request;
    bool json = false;
    std::optional<int> team;
    bool bigGames = false;
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

// Takes the odds' own options out of args; what is left are the view
// options, read by the report's own parser.
OddsOptions parseOddsOptions(const std::vector<std::string> &args,
                             std::vector<std::string> &viewArgs)
{
    OddsOptions options;
    viewArgs = {args[0]};
    for (std::size_t i = 1; i < args.size(); ++i) {
        const std::string &arg = args[i];
        if (arg == "--big-games") {
            options.bigGames = true;
            continue;
        }
        const bool takesValue = arg == "--top" || arg == "--model" || arg == "--draw-rate" ||
                                arg == "--method" || arg == "--runs" || arg == "--seed" ||
                                arg == "--format" || arg == "--team";
        if (!takesValue) {
            viewArgs.push_back(arg);
            continue;
        }
        if (i + 1 >= args.size()) {
            throw OddsUsageError{arg + " needs a value"};
        }
        const std::string &value = args[++i];
        auto number = [&](long long low) {
            const auto parsed = parseNumber<long long>(value);
            if (!parsed || *parsed < low || *parsed > 2'000'000'000) {
                throw OddsUsageError{arg + " needs a number from " + std::to_string(low) +
                                     ", not \"" + value + "\""};
            }
            return static_cast<int>(*parsed);
        };
        if (arg == "--top") {
            options.request.TopK = number(1);
        } else if (arg == "--team") {
            options.team = number(1);
        } else if (arg == "--runs") {
            options.request.Runs = number(1);
        } else if (arg == "--seed") {
            const auto seed = parseNumber<std::uint64_t>(value);
            if (!seed) {
                throw OddsUsageError{"--seed needs a number from 0, not \"" + value + "\""};
            }
            options.request.Seed = *seed;
        } else if (arg == "--draw-rate") {
            const auto rate = parseNumber<double>(value);
            if (!rate || !(*rate >= 0.0 && *rate <= 1.0)) {
                throw OddsUsageError{"--draw-rate needs a number from 0 to 1, not \"" + value +
                                     "\""};
            }
            options.request.DrawRate = *rate;
        } else if (arg == "--model") {
            if (value != "coin" && value != "strength") {
                throw OddsUsageError{"unknown model \"" + value + "\" (coin or strength)"};
            }
            options.request.GameModel = value == "coin" ? odds::Model::Coin : odds::Model::Strength;
        } else if (arg == "--method") {
            if (value == "auto") {
                options.request.Mode = odds::Method::Auto;
            } else if (value == "exact") {
                options.request.Mode = odds::Method::Exact;
            } else if (value == "simulate") {
                options.request.Mode = odds::Method::Simulate;
            } else {
                throw OddsUsageError{"unknown method \"" + value + "\""};
            }
        } else {
            if (value != "text" && value != "json") {
                throw OddsUsageError{"unknown format \"" + value + "\""};
            }
            options.json = value == "json";
        }
    }
    if (options.bigGames && !options.team) {
        throw OddsUsageError{"--big-games needs --team"};
    }
    return options;
}

std::string jsonNumber(double value)
{
    char text[32];
    std::snprintf(text, sizeof text, "%.17g", value);
    return text;
}

std::string jsonName(const Season &season, int team)
{
    std::string out = "\"";
    for (char c : toUtf8(season.team(team).TeamName)) {
        if (c == '"' || c == '\\') {
            out += '\\';
            out += c;
        } else if (static_cast<unsigned char>(c) < 0x20) {
            char escaped[8];
            std::snprintf(escaped, sizeof escaped, "\\u%04x", c);
            out += escaped;
        } else {
            out += c;
        }
    }
    return out + "\"";
}

std::string jsonInterval(const std::optional<odds::Interval> &interval)
{
    if (!interval) {
        return "null";
    }
    return "[" + jsonNumber(interval->Low) + ", " + jsonNumber(interval->High) + "]";
}

const char *modelName(odds::Model model)
{
    return model == odds::Model::Coin ? "coin" : "strength";
}

void printJson(std::ostream &out, const Season &season, const odds::OddsResult &result)
{
    out << "{\n  \"top\": " << result.TopK << ",\n  \"model\": \"" << modelName(result.GameModel)
        << "\",\n  \"drawRate\": " << jsonNumber(result.DrawRate)
        << ",\n  \"exact\": " << (result.Exact ? "true" : "false")
        << ",\n  \"runs\": " << (result.Exact ? "null" : std::to_string(result.Runs))
        << ",\n  \"seed\": " << (result.Exact ? "null" : std::to_string(result.Seed))
        << ",\n  \"teams\": [";
    for (std::size_t i = 0; i < result.Teams.size(); ++i) {
        const odds::TeamOdds &t = result.Teams[i];
        out << (i > 0 ? ",\n" : "\n") << "    {\"teamNo\": " << t.TeamNo
            << ", \"teamName\": " << jsonName(season, t.TeamNo)
            << ", \"title\": " << jsonNumber(t.Title) << ", \"topK\": " << jsonNumber(t.TopK)
            << ", \"titleInterval\": " << jsonInterval(t.TitleInterval)
            << ", \"topKInterval\": " << jsonInterval(t.TopKInterval) << ", \"ranks\": [";
        for (std::size_t p = 0; p < t.Ranks.size(); ++p) {
            out << (p > 0 ? ", " : "") << jsonNumber(t.Ranks[p]);
        }
        out << "], \"expectedWins\": " << jsonNumber(t.ExpectedWins)
            << ", \"expectedLosses\": " << jsonNumber(t.ExpectedLosses)
            << ", \"expectedDraws\": " << jsonNumber(t.ExpectedDraws) << "}";
    }
    out << (result.Teams.empty() ? "]\n}\n" : "\n  ]\n}\n");
}

// Terminal columns of a UTF-8 text: the East Asian wide ranges take two.
int displayWidth(const std::string &utf8)
{
    int width = 0;
    for (char16_t c : fromUtf8(utf8)) {
        if (c >= 0xDC00 && c <= 0xDFFF) {
            continue;
        }
        const bool wide = (c >= 0x1100 && c <= 0x115F) || (c >= 0x2E80 && c <= 0xA4CF) ||
                          (c >= 0xAC00 && c <= 0xD7A3) || (c >= 0xF900 && c <= 0xFAFF) ||
                          (c >= 0xFE30 && c <= 0xFE4F) || (c >= 0xFF00 && c <= 0xFF60) ||
                          (c >= 0xFFE0 && c <= 0xFFE6);
        width += wide ? 2 : 1;
    }
    return width;
}

// Columns padded to their widest cell; the first left-aligned, the rest right.
void printTable(std::ostream &out, const std::vector<std::vector<std::string>> &table)
{
    std::vector<int> widths;
    for (const auto &line : table) {
        widths.resize(std::max(widths.size(), line.size()), 0);
        for (std::size_t c = 0; c < line.size(); ++c) {
            widths[c] = std::max(widths[c], displayWidth(line[c]));
        }
    }
    for (const auto &line : table) {
        std::string text;
        for (std::size_t c = 0; c < line.size(); ++c) {
            const std::string padding(static_cast<std::size_t>(widths[c] - displayWidth(line[c])),
                                      ' ');
            text += c == 0 ? line[c] + padding : "  " + padding + line[c];
        }
        while (!text.empty() && text.back() == ' ') {
            text.pop_back();
        }
        out << text << '\n';
    }
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
        auto list = [&](const std::vector<odds::BigGame> &games) {
            out << "[";
            for (std::size_t i = 0; i < games.size(); ++i) {
                const odds::BigGame &g = games[i];
                out << (i > 0 ? ",\n" : "\n") << "    {\"teamA\": " << g.TeamA
                    << ", \"teamB\": " << g.TeamB << ", \"ifAWins\": " << jsonNumber(g.IfAWins)
                    << ", \"ifBWins\": " << jsonNumber(g.IfBWins) << "}";
            }
            out << (games.empty() ? "]" : "\n  ]");
        };
        out << "{\n  \"teamNo\": " << team << ",\n  \"top\": " << result.TopK
            << ",\n  \"exact\": " << (result.Exact ? "true" : "false") << ",\n  \"title\": ";
        list(title);
        out << ",\n  \"topK\": ";
        list(topK);
        out << "\n}\n";
        return;
    }
    printHeading(out, result);
    const std::string name = toUtf8(season.team(team).TeamName);
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

int runOdds(const std::vector<std::string> &args, std::ostream &out, std::ostream &err,
            const ViewComputer &computeView)
{
    if (std::find(args.begin(), args.end(), "--help") != args.end()) {
        out << OddsUsage;
        return ExitOk;
    }
    std::vector<std::string> viewArgs;
    OddsOptions options;
    try {
        options = parseOddsOptions(args, viewArgs);
    } catch (const OddsUsageError &error) {
        err << "penarin-report: " << error.message << "\n\n" << OddsUsage;
        return ExitUsage;
    }
    Season season;
    const std::optional<ComputedView> view = computeView(viewArgs, season);
    if (!view) {
        return ExitCannotLoad;
    }
    const odds::OddsRequest given = options.request;
    odds::OddsRequest request = odds::OddsRequestForView(
        season, *view->Published, view->Request, OrderSettingsFrom(view->Options), given.TopK);
    request.GameModel = given.GameModel;
    request.DrawRate = given.DrawRate;
    request.Mode = given.Mode;
    request.Runs = given.Runs;
    request.Seed = given.Seed;
    if (options.team && std::find(request.Teams.begin(), request.Teams.end(), *options.team) ==
                            request.Teams.end()) {
        err << "penarin-report: team " << *options.team << " is not in the view\n\n" << OddsUsage;
        return ExitUsage;
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
    case odds::OddsStatus::Cancelled: {
        std::string message = ScheduleMessage;
        message.erase(message.find('\r'), 1);
        err << message << '\n';
        return ExitCannotAnalyse;
    }
    }
    if (options.bigGames) {
        printBigGames(out, season, result, *options.team, options.json);
    } else if (options.json) {
        printJson(out, season, result);
    } else {
        printText(out, season, result);
    }
    return ExitOk;
}

} // namespace penarin::cli
