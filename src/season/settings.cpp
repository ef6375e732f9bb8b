#include "season/settings.h"

#include "season/profile.h"
#include "season/recentfiles.h"

#include <type_traits>

#include <unistd.h>

namespace penarin {

namespace {

constexpr const char *WindowSection = "Window";
constexpr const char *RankSection = "Rank";
constexpr const char *OptionSection = "Option";
constexpr const char *FileNameKey = "FileName";

// A numeric key: its value when missing, its range, and what a number
// outside the range turns into. For most keys that is the missing value,
// but not for all: "Main" 5 means the championship order, and "MsgBox" 7
// means "on", while a missing one of either means "off".
struct KeyRule
{
    const char *section;
    const char *key;
    int missing;
    int lowest;
    int highest;
    int outOfRange;

    [[nodiscard]] int check(int value) const
    {
        return value < lowest || value > highest ? outOfRange : value;
    }
};

// Calls visitKey(rule, field) for every numeric key of the record and
// visitFileName() where "FileName" belongs, in the order they are written.
template <class Record, class VisitKey, class VisitFileName>
void visitSettings(Record &s, VisitKey &&visitKey, VisitFileName &&visitFileName)
{
    visitKey(KeyRule{RankSection, "Main", 0, 0, 2, 2}, s.Main);
    visitKey(KeyRule{RankSection, "Sub", 0, 0, 1, 0}, s.Sub);
    visitKey(KeyRule{RankSection, "Game", 0, 0, 2, 0}, s.Game);

    visitKey(KeyRule{OptionSection, "Enter", 0, 0, 1, 0}, s.Enter);
    visitKey(KeyRule{OptionSection, "Magic", 1, 0, 1, 1}, s.Magic);
    visitKey(KeyRule{OptionSection, "Zero", 0, 0, 1, 0}, s.Zero);
    visitKey(KeyRule{OptionSection, "Pct", 3, 1, 15, 3}, s.Pct);
    visitKey(KeyRule{OptionSection, "Line", 3, 1, 15, 3}, s.Line);
    visitKey(KeyRule{OptionSection, "Simulation", 0, 0, 1, 0}, s.Simulation);
    visitKey(KeyRule{OptionSection, "Cells", 0, 0, 1, 0}, s.Cells);
    visitKey(KeyRule{OptionSection, "DblClick", 0, 0, 1, 0}, s.DblClick);
    visitKey(KeyRule{OptionSection, "Load", 0, 0, 1, 0}, s.Load);
    visitFileName();
    visitKey(KeyRule{OptionSection, "NameLen", 1, 1, 9, 1}, s.NameLen);
    visitKey(KeyRule{OptionSection, "FontSizeA", 9, 8, 48, 9}, s.FontSizeA);
    visitKey(KeyRule{OptionSection, "FontSizeB", 9, 8, 48, 9}, s.FontSizeB);
    visitKey(KeyRule{OptionSection, "Tabs", 1, 1, 2, 1}, s.Tabs);
    visitKey(KeyRule{OptionSection, "Width", 700, 100, 3000, 700}, s.Width);
    visitKey(KeyRule{OptionSection, "Round", 3, 1, 15, 3}, s.Round);
    visitKey(KeyRule{OptionSection, "ToolTip", 0, 0, 1, 0}, s.ToolTip);
    visitKey(KeyRule{OptionSection, "Hanrei", 1, 0, 1, 1}, s.Hanrei);
    visitKey(KeyRule{OptionSection, "Selection", 1, 0, 1, 1}, s.Selection);
    visitKey(KeyRule{OptionSection, "MsgBox", 0, 0, 1, 1}, s.MsgBox);
    visitKey(KeyRule{OptionSection, "ZanAvg", 0, 0, 1, 1}, s.ZanAvg);
}

} // namespace

SettingsFileContents readSettings(const Profile &profile)
{
    SettingsFileContents contents;
    visitSettings(
        contents.settings,
        [&](const KeyRule &rule, auto &field) {
            // Every range lies within the field's type, so the checked
            // value always fits.
            using Field = std::remove_reference_t<decltype(field)>;
            field = static_cast<Field>(
                rule.check(profile.integer(rule.section, rule.key, rule.missing)));
        },
        [&] { contents.fileName = profile.string(OptionSection, FileNameKey, ""); });
    contents.recentFiles = readRecentFiles(profile);

    // A window pushed off the top or left edge, or collapsed to nothing, is
    // brought back where the user can reach it.
    WindowValues &window = contents.window;
    const WindowValues fresh;
    window.State = profile.integer(WindowSection, "State", fresh.State);
    window.Top = profile.integer(WindowSection, "Top", fresh.Top);
    window.Left = profile.integer(WindowSection, "Left", fresh.Left);
    window.Width = profile.integer(WindowSection, "Width", fresh.Width);
    window.Height = profile.integer(WindowSection, "Height", fresh.Height);
    if (window.Top < 1)
        window.Top = 0;
    if (window.Left < 1)
        window.Left = 0;
    if (window.Width < 1)
        window.Width = fresh.Width;
    if (window.Height < 1)
        window.Height = fresh.Height;
    return contents;
}

SettingsFileContents readSettings(const std::filesystem::path &path)
{
    Profile profile;
    // A file we cannot read counts as an empty one: the program starts
    // with the values of missing keys.
    const Profile::LoadStatus status = profile.load(path);
    if (status != Profile::LoadStatus::Loaded) {
        SettingsFileContents contents = readSettings(Profile{});
        contents.unreadable = status == Profile::LoadStatus::Failed;
        return contents;
    }
    return readSettings(profile);
}

bool storeSettings(Profile &profile, const Settings &settings, const WindowValues &window,
                   const std::string &currentFile)
{
    bool stored = true;
    // The placement of a minimized window is useless for the next start;
    // keep the one from the last run that ended in a normal window.
    if (window.State != WindowValues::Minimized) {
        profile.setInteger(WindowSection, "State", window.State);
        profile.setInteger(WindowSection, "Top", window.Top > 0 ? window.Top : 0);
        profile.setInteger(WindowSection, "Left", window.Left > 0 ? window.Left : 0);
        profile.setInteger(WindowSection, "Width", window.Width);
        profile.setInteger(WindowSection, "Height", window.Height);
    }
    visitSettings(
        settings,
        [&](const KeyRule &rule, const auto &field) {
            profile.setInteger(rule.section, rule.key, field);
        },
        [&] {
            // A run without a season must not forget the last one.
            if (!currentFile.empty())
                stored = profile.setValue(OptionSection, FileNameKey, currentFile);
        });
    return stored;
}

bool writeSettings(const std::filesystem::path &path, const Settings &settings,
                   const WindowValues &window, const std::string &currentFile, std::string *error,
                   const std::vector<std::string> *recentFiles)
{
    Profile profile;
    if (profile.load(path) == Profile::LoadStatus::Failed) {
        if (error)
            *error = SettingsUnreadable;
        return false;
    }
    const bool stored = storeSettings(profile, settings, window, currentFile);
    if (recentFiles != nullptr)
        storeRecentFiles(profile, *recentFiles);
    if (!profile.save(path, error))
        return false;
    if (!stored && error)
        *error = "ファイル名を設定ファイルに書き込めません";
    return stored;
}

std::filesystem::path settingsFilePath(const std::filesystem::path &programFolder,
                                       bool programFolderWritable,
                                       const std::filesystem::path &fallbackFolder)
{
    if (programFolderWritable || fallbackFolder.empty())
        return programFolder / SettingsFileName;
    return fallbackFolder / SettingsFileName;
}

bool isFolderWritable(const std::filesystem::path &folder)
{
    // access() asks the kernel, which knows about read-only mounts and
    // access lists as well as the permission bits.
    return ::access(folder.c_str(), W_OK | X_OK) == 0;
}

} // namespace penarin
