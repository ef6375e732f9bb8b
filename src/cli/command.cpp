#include "cli/command.h"

#include "season/filemodule.h"
#include "season/textcodec.h"

#include <algorithm>
#include <charconv>
#include <filesystem>
#include <ostream>

namespace penarin::cli {

namespace {

const char *const CannotLoad = "ファイルを開けません";

std::string bracketed(std::string_view text)
{
    return "「" + std::string(text) + "」";
}

// "official、league、interleague のいずれか"
std::string oneOf(const std::vector<std::string_view> &choices)
{
    std::string text;
    for (std::string_view choice : choices) {
        text += (text.empty() ? "" : "、") + std::string(choice);
    }
    return text + " のいずれか";
}

bool contains(const std::vector<std::string_view> &choices, std::string_view value)
{
    return std::find(choices.begin(), choices.end(), value) != choices.end();
}

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

// Picks the view as the main window would: the stored one after opening a
// file, or the one the show button builds for the requested selectors (the
// caller has run the opening pass on the stored view by then).
ViewSelection selectView(Season &season, const Arguments &args)
{
    const std::optional<int> chosenLeague = args.number("--league");
    const std::optional<int> chosenDivision = args.number("--division");
    if (!chosenLeague && !chosenDivision) {
        return StoredViewSelection(season);
    }
    const int league = chosenLeague.value_or(StoredViewSelection(season).league);
    const int leagueEntries = static_cast<int>(LeagueSelectorEntries(season).size());
    if (league < 0 || league >= leagueEntries) {
        throw UsageError{"リーグ " + std::to_string(league) + " はありません（0～" +
                         std::to_string(leagueEntries - 1) + "）"};
    }
    const int divisionEntries = static_cast<int>(DivisionSelectorEntries(season, league).size());
    int division = divisionEntries > 0 ? 0 : -1;
    if (chosenDivision) {
        division = *chosenDivision;
        const int highest = divisionEntries > 0 ? divisionEntries - 1 : 0;
        if (division < 0 || division > highest) {
            throw UsageError{"リーグ " + std::to_string(league) + " に地区 " +
                             std::to_string(division) + " はありません（0～" +
                             std::to_string(highest) + "）"};
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

Settings loadSettings(const Arguments &args)
{
    const std::optional<std::string> file = args.text("--settings");
    if (!file) {
        return Settings{};
    }
    std::error_code error;
    if (!std::filesystem::is_regular_file(*file, error)) {
        throw UsageError{"設定ファイルがありません: " + *file};
    }
    const SettingsFileContents contents = readSettings(std::filesystem::path(*file));
    if (contents.unreadable) {
        throw UsageError{"設定ファイルを読み込めません: " + *file};
    }
    return contents.settings;
}

} // namespace

bool Arguments::has(std::string_view option) const
{
    return m_values.find(option) != m_values.end();
}

std::optional<std::string> Arguments::text(std::string_view option) const
{
    const auto found = m_values.find(option);
    return found == m_values.end() ? std::nullopt : std::optional(found->second.text);
}

std::optional<int> Arguments::number(std::string_view option) const
{
    const auto found = m_values.find(option);
    return found == m_values.end() ? std::nullopt : std::optional(found->second.number);
}

void Arguments::set(std::string_view option, std::string text, int number)
{
    m_values.insert_or_assign(std::string(option), Value{std::move(text), number});
}

Arguments parseArguments(std::string_view command, const CommandSyntax &syntax,
                         const std::vector<std::string> &args)
{
    Arguments parsed;
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string &arg = args[i];
        if (!arg.empty() && arg[0] == '-') {
            const auto option =
                std::find_if(syntax.options.begin(), syntax.options.end(),
                             [&](const OptionSyntax &candidate) { return candidate.name == arg; });
            if (option == syntax.options.end()) {
                throw UsageError{bracketed(arg) + "は " + std::string(command) + " では使えません"};
            }
            if (i + 1 >= args.size()) {
                throw UsageError{bracketed(arg) + "には値が必要です"};
            }
            const std::string &value = args[++i];
            int number = 0;
            if (option->kind == ValueKind::Number) {
                const std::optional<int> read = parseInt(value);
                if (!read) {
                    throw UsageError{bracketed(arg) + "には数を指定してください（" +
                                     bracketed(value) + "は数ではありません）"};
                }
                if (*read < option->least) {
                    throw UsageError{bracketed(arg) + "には " + std::to_string(option->least) +
                                     " 以上を指定してください"};
                }
                number = *read;
            } else if (option->kind == ValueKind::Choice && !contains(option->choices, value)) {
                throw UsageError{bracketed(arg) + "に" + bracketed(value) + "は指定できません（" +
                                 oneOf(option->choices) + "）"};
            }
            parsed.set(arg, value, number);
            continue;
        }
        const std::size_t at = parsed.positional.size();
        if (at >= syntax.positional.size()) {
            throw UsageError{"引数が多すぎます: " + arg};
        }
        const PositionalSyntax &expected = syntax.positional[at];
        if (!expected.choices.empty() && !contains(expected.choices, arg)) {
            throw UsageError{std::string(expected.what) + "に" + bracketed(arg) +
                             "は指定できません（" + oneOf(expected.choices) + "）"};
        }
        parsed.positional.push_back(arg);
    }
    if (parsed.positional.size() < syntax.positional.size()) {
        throw UsageError{std::string(command) + " には" +
                         std::string(syntax.positional[parsed.positional.size()].what) +
                         "を指定してください"};
    }
    for (std::string_view option : syntax.required) {
        if (!parsed.has(option)) {
            throw UsageError{std::string(command) + " には " + std::string(option) +
                             " を指定してください"};
        }
    }
    return parsed;
}

std::vector<OptionSyntax> viewOptions(std::vector<OptionSyntax> more)
{
    std::vector<OptionSyntax> options{
        {"--league", ValueKind::Number},
        {"--division", ValueKind::Number},
        {"--scope", ValueKind::Choice, {"official", "league", "interleague"}},
        {"--settings", ValueKind::Text},
    };
    options.insert(options.end(), more.begin(), more.end());
    return options;
}

bool openView(Invocation &call, std::size_t fileAt)
{
    const Arguments &args = call.args;
    Season &season = call.season;
    const Settings settings = loadSettings(args);
    const std::string &file = args.positional.at(fileAt);
    if (LoadSeason(season, file) == LoadStatus::Failed) {
        call.err << CannotLoad << '\n' << file << ": " << LoadFailureReason(file) << '\n';
        return false;
    }
    // Opening a file displays it, and a displayed season reports results
    // that exceed the schedule.
    season.HasSeason = true;
    const OrderSettings order = OrderSettingsFrom(settings);
    if (args.has("--league") || args.has("--division")) {
        // The window shows the stored view on opening before anything can be
        // chosen, and that pass settles the scope the chosen view starts
        // from (every team shown with interleague games counted leaves the
        // interleague scope behind).
        const ViewSelection stored = StoredViewSelection(season);
        (void)RecalculateView(season, order, ViewRequest{stored.league, stored.division});
    }
    const ViewSelection selection = selectView(season, args);
    if (const std::optional<std::string> scope = args.text("--scope")) {
        season.GameScope = *scope == "official" ? ScopeOfficial
                           : *scope == "league" ? ScopeLeague
                                                : ScopeInterleague;
    }
    call.view.selection = selection;
    call.view.settings = settings;
    call.view.pass =
        RecalculateView(season, order, ViewRequest{selection.league, selection.division});
    call.view.published = call.view.pass.Published;
    return true;
}

void writeJson(std::ostream &out, const nlohmann::ordered_json &value)
{
    // Names come from the file as UTF-16 and are converted whole, but a text
    // that is not UTF-8 must not end the run halfway through the output.
    out << value.dump(2, ' ', false, nlohmann::ordered_json::error_handler_t::replace) << '\n';
}

std::string cannotWrite(const std::string &file, const std::string &reason)
{
    return file + " に書き込めません: " + reason;
}

std::string terminalLines(std::string message)
{
    std::erase(message, '\r');
    return message;
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

} // namespace penarin::cli
