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
    bool cancelled = true;      // nothing built; the season is left empty
    bool setGamesCount = false; // the user wants to set the games counts first
};

// Every dialog the main window opens is asked for through this interface,
// as every message box is asked through Prompts: the program gets the real
// dialogs, a window test scripts their outcome without waiting on a modal
// window, and each dialog has its own test that drives it directly.
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

    // The new season wizard: builds a season into `season` (cleared first).
    virtual NewSeasonOutcome newSeason(Season &season, Settings &settings, QWidget *parent) = 0;

    // The previous-year rank sets; marks the season edited when it stored one.
    virtual void editRankSets(Season &season, QWidget *parent) = 0;

    // The win line of the view shown; true when it cannot be computed.
    virtual bool showWinLine(Season &season, Settings &settings, QWidget *parent) = 0;

    // The games-count matrix; marks the season edited when OK changed it.
    virtual void editGamesCount(Season &season, Settings &settings, QWidget *parent) = 0;

    // The team data of the team at standings position `position` (from 0),
    // against the rival at `rivalPosition` (-1: none); marks the season
    // edited when it changed it.
    virtual void showTeamData(Season &season, Settings &settings, int position, int rivalPosition,
                              QWidget *parent) = 0;
    // "グラフデータ(&C)...": true when closed with "&OK" (snapshots, teams and
    // the name length applied, the season unsaved). Either way the season is
    // marked edited when a team's line was changed with "適用(&A)".
    virtual bool editChartData(Season &season, Settings &settings, QWidget *parent) = 0;
    // "推移グラフ(&G)...": the draw result; 0 and -1 mean the window was not
    // shown and DrawResultMessage(result) belongs in the status bar.
    virtual int showProgressionChart(Season &season, Settings &settings, QWidget *parent) = 0;
    // "貯金構成(&O)..." (row 0) and a double click on a row's "貯" (that row,
    // from 0).
    virtual void showCompositionChart(Season &season, Settings &settings, int standingsRow,
                                      QWidget *parent) = 0;

    // "優勝・CS争い" for the view shown (league and division selector
    // indices, season.Published up to date): the outcome the user chose to
    // load, or nothing. The season is left as it was.
    virtual std::optional<race::Certificate> raceOutcome(const Season &season,
                                                         const Settings &settings, int league,
                                                         int division, QWidget *parent) = 0;

    // The preview of a game list read against the season: the choice the
    // user imports it with, or nothing. The season is left as it was.
    virtual std::optional<ImportChoice> previewImport(const Season &season, const GameList &list,
                                                      QWidget *parent) = 0;
};

} // namespace penarin
