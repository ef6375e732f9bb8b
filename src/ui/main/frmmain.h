#pragma once

#include "magic/calcodule.h"
#include "season/season.h"
#include "season/settings.h"
#include "season/texttable.h"
#include "tables/historytable.h"

#include <QMainWindow>
#include <QPointer>

#include <array>
#include <filesystem>
#include <memory>
#include <optional>
#include <string>
#include <vector>

class QAction;
class QComboBox;
class QGroupBox;
class QLabel;
class QMenu;
class QPushButton;
class QRadioButton;
class QUndoStack;

namespace penarin {

class CardPane;
class Dialogs;
class ElidedLabel;
class FlexGrid;
class HelpViewer;
class Prompts;
class SeasonDocument;
class StandingsPane;

// Where the main window keeps its files: the settings file and the help document.
struct ProgramFiles
{
    std::filesystem::path settingsFile;
    std::filesystem::path helpFile;
};

// The program's one main window. It coordinates: the standings pane (RnkG)
// above, the mode and selection frames, the card pane (MyG) below, the menus
// and the status bar; the season and its file belong to the document.
// frmmain.cpp builds it and handles files, start-up and close; gridmodule.cpp
// chooses and fills the view; dialoglaunch.cpp opens the dialogs.
class frmMain : public QMainWindow
{
    Q_OBJECT

public:
    frmMain(Season &season, Settings &settings, Prompts &prompts, Dialogs &dialogs,
            ProgramFiles files, QWidget *parent = nullptr);
    ~frmMain() override;

    // Reads the settings, places the window and reopens the last season
    // when the settings ask for it.
    // fileToOpen, when given, is opened instead of the last season.
    void startUp(const QString &fileToOpen = QString());

    // Loads a season file into the window (the open menu's work after the
    // dialog); false when it could not be loaded.
    bool openSeason(const QString &path);

    // Rebuild the view lists for a selection, lay out and fill both grids
    // for the current lists, refresh the standings after a result.
    void SelectView(int league, int division);
    void FillGrids(int league, int division);
    void RefreshStandings();

    void setSimulationMode(bool simulation);

    // File operations of the menu. AskToSave answers true when the user
    // cancelled, and also when the save the user asked for did not happen:
    // nothing may go on as if the season were safe.
    [[nodiscard]] bool AskToSave();
    bool SaveAs();
    bool save();

    [[nodiscard]] QString panelText(int panel) const; // panels 1..5
    [[nodiscard]] FlexGrid *standingsGrid() const;
    [[nodiscard]] FlexGrid *cardGrid() const;
    [[nodiscard]] StandingsPane *standingsPane() const { return m_standings; }
    [[nodiscard]] SeasonDocument *document() const { return m_document; }

    [[nodiscard]] const std::vector<std::string> &recentFiles() const { return m_recentFiles; }
    [[nodiscard]] QUndoStack *undoStack() const;
    // The standings the latest pass published: what the dialogs, the
    // exports and the hover texts read until the next pass.
    [[nodiscard]] const PublishedStandings *published() const { return m_published.get(); }

protected:
    void closeEvent(QCloseEvent *event) override;
    void showEvent(QShowEvent *event) override;
    void dragEnterEvent(QDragEnterEvent *event) override;
    void dropEvent(QDropEvent *event) override;

private:
    void reportUnloadable(const QString &path, const std::string &reason = {});
    void buildControls();
    void buildMenus();
    void updateMenuState();
    void applyFonts();
    void rebuildRecentMenu();
    void openRecent(const QString &path);
    void rememberFile(const QString &path);
    void refreshAfterUndo();
    void showSeasonAgain();
    void syncModeControls();
    void editSettings();
    void newSeason();
    void applyEdit(const QString &text, std::optional<Season> edited);
    void editGamesCount();
    void showWinLine();
    void showRace();
    void showTeamData(int position, int rivalPosition);
    void showProgressionChart();
    void showCompositionChart(int position);
    void exportHistory(HistoryKind kind);
    void importGameFile();
    void importGames(const std::u16string &text);
    void writeExport(const TextTable &table);
    void restoreGeometry(const WindowValues &window);
    void setPanel(int panel, const QString &text);
    void clearWindow();
    void updateTitle();
    void applyPass(const RecalculateResult &pass);
    void rebuildSelectors();
    void fillDivisionSelector(int leagueEntry);
    void fitSelector(QComboBox *selector);
    void chooseScope(int scope);
    void showSelection();
    void writeSettingsFile();
    bool saveTo(const QString &path);
    [[nodiscard]] QString fileDialogStart() const;

    Season &m_season;
    Settings &m_settings;
    Prompts &m_prompts;
    Dialogs &m_dialogs;
    ProgramFiles m_files;
    SeasonDocument *m_document = nullptr;
    StandingsPane *m_standings = nullptr;
    CardPane *m_cards = nullptr;

    QGroupBox *m_modeFrame = nullptr;
    QGroupBox *m_jobFrame = nullptr;
    std::array<QRadioButton *, 2> m_optMode{};
    QPushButton *m_btnClear = nullptr;
    QPushButton *m_btnShow = nullptr;
    QComboBox *m_cmbLg = nullptr;
    QComboBox *m_cmbgp = nullptr;
    QLabel *m_lblLeague = nullptr;
    QLabel *m_lblDivision = nullptr;
    std::array<ElidedLabel *, 5> m_panels{};
    QPointer<HelpViewer> m_help;

    QMenu *m_menuFile = nullptr;
    QMenu *m_menuRecent = nullptr;
    QAction *m_actUndo = nullptr;
    QAction *m_actRedo = nullptr;
    std::shared_ptr<const PublishedStandings> m_published;
    std::vector<std::string> m_recentFiles;
    QMenu *m_menuOption = nullptr;
    QMenu *m_menuData = nullptr;
    QMenu *m_menuRank = nullptr;
    QAction *m_actSave = nullptr;
    QAction *m_actSaveAs = nullptr;
    QAction *m_actExportResults = nullptr;
    QAction *m_actExportSurplus = nullptr;
    QAction *m_actExportPct = nullptr;
    QAction *m_actExportCards = nullptr;
    QAction *m_actImport = nullptr;
    QAction *m_actPasteGames = nullptr;
    QAction *m_actSettings = nullptr;
    QAction *m_actGames = nullptr;
    QAction *m_actRanks = nullptr;
    QAction *m_actLoad = nullptr;
    QAction *m_actWinLine = nullptr;
    QAction *m_actProgression = nullptr;
    QAction *m_actSurplus = nullptr;
    QAction *m_actChartData = nullptr;
    QAction *m_actTeamData = nullptr;
    QAction *m_actRace = nullptr;
    std::array<QAction *, 3> m_actScope{}; // 公式戦, リーグ戦, 交流戦

    bool m_scopeMenuEnabled = false;
    bool m_placed = false;
};

} // namespace penarin
