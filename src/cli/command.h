#pragma once

#include "magic/calcodule.h"
#include "season/season.h"
#include "season/settings.h"
#include "standings/viewlists.h"

#include <nlohmann/json.hpp>

#include <climits>
#include <iosfwd>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace penarin::cli {

// A refusal of the command line: printed after "penarin-report: " and
// followed by the usage, exit status 2. Thrown by the parser, the prologue
// and any command that finds an argument it cannot use.
struct UsageError
{
    std::string message;
};

enum class ValueKind
{
    Number, // an integer, at least `least`
    Text,   // anything, a file name for instance
    Choice, // one of `choices`
};

struct OptionSyntax
{
    std::string_view name; // "--league"
    ValueKind kind = ValueKind::Text;
    std::vector<std::string_view> choices = {};
    int least = INT_MIN;
};

struct PositionalSyntax
{
    std::string_view what; // in Japanese, for "show にはシーズンファイルを…"
    std::vector<std::string_view> choices = {}; // empty: anything
};

// What one subcommand takes: its arguments in order (every one required),
// its options (each takes a value), and the options it cannot do without.
struct CommandSyntax
{
    std::vector<PositionalSyntax> positional;
    std::vector<OptionSyntax> options;
    std::vector<std::string_view> required = {};
};

// The command line as the parser accepted it: every value is already
// checked against the syntax, so a command reads it without further tests.
class Arguments
{
public:
    std::vector<std::string> positional;

    [[nodiscard]] bool has(std::string_view option) const;
    [[nodiscard]] std::optional<std::string> text(std::string_view option) const;
    [[nodiscard]] std::optional<int> number(std::string_view option) const;

    void set(std::string_view option, std::string text, int number);

private:
    struct Value
    {
        std::string text;
        int number = 0;
    };
    std::map<std::string, Value, std::less<>> m_values;
};

// Reads the arguments that follow the subcommand's name. A repeated option
// keeps its last value, as most commands do.
[[nodiscard]] Arguments parseArguments(std::string_view command, const CommandSyntax &syntax,
                                       const std::vector<std::string> &args);

// The options that choose a view, shared by every command that opens one.
[[nodiscard]] std::vector<OptionSyntax> viewOptions(std::vector<OptionSyntax> more = {});

struct ViewResult
{
    ViewSelection selection;
    RecalculateResult pass;
    std::shared_ptr<const PublishedStandings> published;
    Settings settings;
};

// One run of a subcommand: its arguments, its streams and, for a command
// that opens a view, the loaded season with the view the window would show.
struct Invocation
{
    const Arguments &args;
    std::ostream &out;
    std::ostream &err;
    Season season;
    ViewResult view;
};

// The prologue of every command that opens a view: reads the settings file,
// loads the season file named by the positional argument at `fileAt` and
// runs the passes the window runs to show the requested view. False, with
// the window's message on err, when the file does not load.
[[nodiscard]] bool openView(Invocation &call, std::size_t fileAt);

// JSON as every command prints it: indented, UTF-8, one object a run.
void writeJson(std::ostream &out, const nlohmann::ordered_json &value);

// "OUT に書き込めません: reason", the refusal of an output file.
[[nodiscard]] std::string cannotWrite(const std::string &file, const std::string &reason);

// A message of the core that is written for a message box (CR LF) as
// lines for a terminal.
[[nodiscard]] std::string terminalLines(std::string message);

// Terminal columns of a text: East Asian wide characters take two.
[[nodiscard]] int displayWidth(std::u16string_view text);

// A table as terminal text: columns padded to their widest cell, aligned as
// `leftAligned` says, control characters in names shown visibly.
void printTable(std::ostream &out, std::vector<std::vector<Text>> table,
                const std::vector<bool> &leftAligned);

} // namespace penarin::cli
