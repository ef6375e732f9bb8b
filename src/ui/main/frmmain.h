#pragma once

#include "magic/calcodule.h"
#include "season/cellsfunction.h"
#include "season/season.h"
#include "season/settings.h"

#include <QMainWindow>
#include <QPointer>

#include <array>
#include <filesystem>

class QAction;
class QComboBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QMenu;
class QPushButton;
class QRadioButton;

namespace penarin {

class FlexGrid;
class HelpViewer;
class Prompts;

// Where the main window keeps its files: the settings file and the help document.
struct ProgramFiles
{
    std::filesystem::path settingsFile;
    std::filesystem::path helpFile;
};

// The program's one main window: the standings grid RnkG above, the mode and
// selection frames, the head-to-head grid MyG below, the status bar.
class frmMain : public QMainWindow
{
    Q_OBJECT

public:
    frmMain(Season &season, Settings &settings, Prompts &prompts, ProgramFiles files,
            QWidget *parent = nullptr);
    ~frmMain() override;

    // Reads the settings, places the window and reopens the last season
    // when the settings ask for it.
    void startUp();

    // Loads a season file into the window (the open menu's work after the
    // dialog); false when it could not be loaded.
    bool openSeason(const QString &path);

    // The grids: rebuild the view lists for a selection, lay out and fill
    // both grids for the current lists, refresh the standings after a result.
    void SelectView(int league, int division);
    void FillGrids(int league, int division);
    void RefreshStandings();
    void HighlightCell(int row, int col);

    // Cell input and simulation.
    void setSimulationMode(bool simulation);
    void ClearSimulation();

    // File operations of the menu.
    [[nodiscard]] bool AskToSave(); // true when the user cancelled
    void SaveAs();
    void save();

    // The "セル幅" popup's entries, for the column under the mouse at the
    // last right-button press on a rival column.
    enum class CellWidthChange
    {
        Wider,
        Narrower,
        Standard
    };
    void changeRivalColumnWidth(CellWidthChange change);

    [[nodiscard]] QString panelText(int panel) const; // panels 1..5
    [[nodiscard]] FlexGrid *standingsGrid() const { return m_rnkG; }
    [[nodiscard]] FlexGrid *cardGrid() const { return m_myG; }

protected:
    void closeEvent(QCloseEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void buildControls();
    void buildMenus();
    void updateMenuState();
    void applyFonts();
    void layoutControls();
    void setPanel(int panel, const QString &text);
    void clearWindow();
    void updateTitle();
    void applyPass(const RecalculateResult &pass);
    void writeStandingsRows();
    void fillCardGrid();
    void rebuildSelectors();
    void fillDivisionSelector(int leagueEntry);
    void chooseScope(int scope);
    void showSelection();
    void writeSettingsFile();
    void saveTo(const QString &path);

    // Standings grid handlers.
    void standingsMouseMoved(int row, int col);
    void standingsPressed(int row, int col, Qt::MouseButton button);

    // Head-to-head grid handlers (cell input).
    void cardPressed(int row, int col, Qt::MouseButton button);
    void cardReleased(int row, int col);
    void cardMouseMoved(int row, int col);
    void cardDoubleClicked(int row, int col);
    void cardKeyPressed(QKeyEvent *event);
    void OpenCellEditor();
    void commitCellEditor();
    void hideCellEditor();
    void ShowCardStatus(int row, int col);
    void ReportCardError(int code);
    void writeCardCell(int row, int col, int value);
    void showCardEntry(CardEntryResult result, int row, int col, int value);

    Season &m_season;
    Settings &m_settings;
    Prompts &m_prompts;
    ProgramFiles m_files;

    FlexGrid *m_rnkG = nullptr;
    FlexGrid *m_myG = nullptr;
    QLineEdit *m_myCells = nullptr;
    QGroupBox *m_modeFrame = nullptr;
    QGroupBox *m_jobFrame = nullptr;
    std::array<QRadioButton *, 2> m_optMode{};
    QPushButton *m_btnClear = nullptr;
    QPushButton *m_btnShow = nullptr;
    QComboBox *m_cmbLg = nullptr;
    QComboBox *m_cmbgp = nullptr;
    QLabel *m_lblLeague = nullptr;
    QLabel *m_lblDivision = nullptr;
    std::array<QLabel *, 5> m_panels{};
    QPointer<HelpViewer> m_help;

    QMenu *m_cellWidthMenu = nullptr;
    QMenu *m_menuFile = nullptr;
    QMenu *m_menuOption = nullptr;
    QMenu *m_menuData = nullptr;
    QMenu *m_menuRank = nullptr;
    QAction *m_actSave = nullptr;
    QAction *m_actSaveAs = nullptr;
    QAction *m_actExportResults = nullptr;
    QAction *m_actExportSurplus = nullptr;
    QAction *m_actExportPct = nullptr;
    QAction *m_actSettings = nullptr;
    QAction *m_actGames = nullptr;
    QAction *m_actRanks = nullptr;
    QAction *m_actLoad = nullptr;
    QAction *m_actWinLine = nullptr;
    QAction *m_actProgression = nullptr;
    QAction *m_actSurplus = nullptr;
    QAction *m_actChartData = nullptr;
    QAction *m_actTeamData = nullptr;
    std::array<QAction *, 3> m_actScope{}; // 公式戦, リーグ戦, 交流戦

    bool m_scopeMenuEnabled = false;
    int m_highlightedRow = 0;
    int m_highlightedCol = 0;
    int m_highlightedGroupCol = 0;
    int m_editRow = 0;
    int m_editCol = 0;
    int m_mirrorRow = 0;
    int m_mirrorCol = 0;
    int m_rivalColumnUnderMouse = 0; // for the "セル幅" popup
};

} // namespace penarin
