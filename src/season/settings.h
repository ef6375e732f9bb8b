#pragma once

#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

namespace penarin {

class Profile;

inline constexpr const char *SettingsFileName = "Mgcsm.ini";
inline constexpr const char *SettingsUnreadable = "設定ファイルを読み込めません";

// The program's preferences, one field per key of "Mgcsm.ini". The
// initial values are those a missing key yields. Byte fields are 0..255,
// Integer fields 16-bit, as the file's readers and writers have always had them.
struct Settings
{
    // Section "Rank": how the standings are ordered.
    std::int16_t Main = 0; // 0 by percentage, 1 by wins, 2 by the championship judgment
    std::int16_t Sub = 0;  // 1: a tie in the first measure is decided by the other one
    std::int16_t Game = 0; // games played: 0 ignored, 1 fewer ranks higher, 2 more ranks higher

    // Section "Option".
    std::uint8_t Enter = 0;      // cell input: 0 mouse, 1 keyboard
    std::uint8_t Magic = 1;      // show hidden magic
    std::uint8_t Zero = 0;       // show zeros in the head-to-head grid
    std::int16_t Pct = 3;        // percentage digits in the main window
    std::int16_t Line = 3;       // percentage digits in the win line view
    std::uint8_t Simulation = 0; // keep simulated results when leaving simulation mode
    std::uint8_t Cells = 0;      // fill the cells of pairs without a card
    std::uint8_t DblClick = 0;   // cell input starts on a double click
    std::uint8_t Load = 0;       // open the last season file at start-up
    std::uint8_t NameLen = 1;    // team name characters in charts and the win line table
    std::int16_t FontSizeA = 9;  // standings grid font size
    std::int16_t FontSizeB = 9;  // head-to-head grid font size
    std::int16_t Tabs = 1;       // the settings dialog's tab shown last
    std::int16_t Width = 700;    // per-opponent column width of the standings grid, twips
    std::int16_t Round = 3;      // percentage digits in the team data dialog
    std::uint8_t ToolTip = 0;    // tool tips on the grids
    std::uint8_t Hanrei = 1;     // legend on the charts
    std::uint8_t Selection = 1;  // highlight the row and column of the selected cell
    std::uint8_t MsgBox = 0;     // tell the user about a pair without a card or a finished card
    std::uint8_t ZanAvg = 0;     // win line view: final percentage only

    friend bool operator==(const Settings &, const Settings &) = default;
};

// The main window's last placement, section "Window", in twips.
struct WindowValues
{
    static constexpr std::int32_t Normal = 0;
    static constexpr std::int32_t Minimized = 1;
    static constexpr std::int32_t Maximized = 2;

    std::int32_t State = Normal;
    std::int32_t Top = 0;
    std::int32_t Left = 0;
    std::int32_t Width = 9570;
    std::int32_t Height = 6060;

    friend bool operator==(const WindowValues &, const WindowValues &) = default;
};

struct SettingsFileContents
{
    Settings settings;
    WindowValues window;
    // The last season file; the caller makes it the season's CurrentFile.
    std::string fileName;
    // The seasons opened or saved most recently, newest first.
    std::vector<std::string> recentFiles;
    // The file exists but was not read (unreadable, no regular file, far
    // too large): everything above is the values of missing keys.
    bool unreadable = false;
};

// Reads every key from a profile already in memory. Numbers outside a
// key's range give that key's fallback value.
[[nodiscard]] SettingsFileContents readSettings(const Profile &profile);

// Reads the settings file. A missing or unreadable file gives the values
// of missing keys everywhere; an unreadable one says so in `unreadable`.
[[nodiscard]] SettingsFileContents readSettings(const std::filesystem::path &path);

// Puts every key into the profile in the file's order. The "Window" keys
// are left alone when the window is minimized, and "FileName" when
// `currentFile` is empty, so the previous values survive such a run.
// Returns false when `currentFile` cannot be stored (a line break in the
// path); the previous "FileName" is then kept and everything else stored.
bool storeSettings(Profile &profile, const Settings &settings, const WindowValues &window,
                   const std::string &currentFile);

// Writes the settings into the file at `path`, keeping every line of it
// that is not one of ours. The file is replaced in one step; on any failure
// (including a file that exists but cannot be read, whose lines we would
// otherwise lose) it stays as it was, the result is false and `error` says
// why. The window at shutdown tells nobody: a lost preference is not worth
// a message then. With recentFiles, the "Recent" section is rewritten from
// the list; without, it is left as it is.
[[nodiscard]] bool writeSettings(const std::filesystem::path &path, const Settings &settings,
                                 const WindowValues &window, const std::string &currentFile,
                                 std::string *error = nullptr,
                                 const std::vector<std::string> *recentFiles = nullptr);

// Where the settings file lives: in the program's folder, or, when the
// program may not write there (a system-wide installation), in the user's
// configuration folder `fallbackFolder`.
[[nodiscard]] std::filesystem::path settingsFilePath(const std::filesystem::path &programFolder,
                                                     bool programFolderWritable,
                                                     const std::filesystem::path &fallbackFolder);

// Whether this process may create files in `folder`.
[[nodiscard]] bool isFolderWritable(const std::filesystem::path &folder);

} // namespace penarin
