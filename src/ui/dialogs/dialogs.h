#pragma once

#include "import/gamelist.h"
#include "race/race.h"
#include "ui/main/seasondocument.h"

#include <functional>
#include <optional>

class QWidget;

namespace penarin {

struct FontPreview;
struct Settings;

// How the new season wizard ended.
struct NewSeasonOutcome
{
    std::optional<Season> season; // the season built; nothing when cancelled
    bool setGamesCount = false;   // the user wants to set the games counts first
};

// The progression chart: its draw result, and the season as the chart data
// dialog opened from it left it, when that changed it.
struct ChartOutcome
{
    int result = 0;
    std::optional<Season> edited;
};

// Every dialog the main window opens is asked for through this interface,
// as every message box is asked through Prompts: the program gets the real
// dialogs, a window test scripts their outcome without waiting on a modal
// window, and each dialog has its own test that drives it directly.
//
// A dialog reads the season and the view's published standings and returns
// what the user chose: a changed season comes back whole, and the window
// makes it one undoable step. No dialog writes the window's season.
class Dialogs
{
public:
    Dialogs() = default;
    Dialogs(const Dialogs &) = delete;
    Dialogs &operator=(const Dialogs &) = delete;
    virtual ~Dialogs() = default;

    // The question of every save: add a dated snapshot to the charts?
    // Nothing when the user declines. today is an OLE date.
    virtual std::optional<SnapshotRequest> askSnapshot(double today, QWidget *parent) = 0;

    // The settings dialog. applied runs after every accepted apply, while
    // the dialog may still be open, so the window follows at once.
    virtual void editSettings(Settings &settings, const FontPreview &preview,
                              const std::function<void()> &applied, QWidget *parent) = 0;

    // The new season wizard: a season built from nothing.
    virtual NewSeasonOutcome newSeason(Settings &settings, QWidget *parent) = 0;

    // The previous-year rank sets: the season with the sets stored, or
    // nothing when none was.
    virtual std::optional<Season> editRankSets(const Season &season, QWidget *parent) = 0;

    // The win line of the view shown; true when it cannot be computed.
    virtual bool showWinLine(const Season &season, const PublishedStandings &published,
                             Settings &settings, QWidget *parent) = 0;

    // The games-count matrix: the season with the counts OK wrote back, or
    // nothing when no count changed.
    virtual std::optional<Season> editGamesCount(const Season &season, Settings &settings,
                                                 QWidget *parent) = 0;

    // The team data of the team at standings position `position` (from 0),
    // against the rival at `rivalPosition` (-1: none): the season as its
    // apply buttons left it, or nothing when none was used.
    virtual std::optional<Season> showTeamData(const Season &season,
                                               const PublishedStandings &published,
                                               Settings &settings, int position, int rivalPosition,
                                               QWidget *parent) = 0;
    // "グラフデータ(&C)...": the season as "&OK" (snapshots, teams) or a
    // team's "適用(&A)" left it, or nothing when cancelled untouched.
    virtual std::optional<Season> editChartData(const Season &season,
                                                const PublishedStandings &published,
                                                Settings &settings, QWidget *parent) = 0;
    // "推移グラフ(&G)...": a result of 0 and -1 mean the window was not shown
    // and DrawResultMessage(result) belongs in the status bar.
    virtual ChartOutcome showProgressionChart(const Season &season,
                                              const PublishedStandings &published,
                                              Settings &settings, QWidget *parent) = 0;
    // "貯金構成(&O)..." (row 0) and a double click on a row's "貯" (that row,
    // from 0).
    virtual void showCompositionChart(const Season &season, const PublishedStandings &published,
                                      Settings &settings, int standingsRow, QWidget *parent) = 0;

    // "優勝・CS争い" for the view shown (league and division selector
    // indices and the standings they published): the outcome the user chose
    // to load, or nothing.
    virtual std::optional<race::Certificate> raceOutcome(const Season &season,
                                                         const PublishedStandings &published,
                                                         const Settings &settings, int league,
                                                         int division, QWidget *parent) = 0;

    // The preview of a game list read against the season: the choice the
    // user imports it with, or nothing. The season is left as it was.
    virtual std::optional<ImportChoice> previewImport(const Season &season, const GameList &list,
                                                      QWidget *parent) = 0;
};

} // namespace penarin
