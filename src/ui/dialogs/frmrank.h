#pragma once

#include "magic/calcodule.h"
#include "season/season.h"
#include "season/settings.h"
#include "season/texttable.h"

#include <QDialog>
#include <QRect>

#include <array>
#include <optional>

class QCheckBox;
class QComboBox;
class QFrame;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QScrollBar;

namespace penarin {

class FlexGrid;
class Prompts;

// One window with two uses. The win line view shows, for every team of the
// standings the main window shows, which record over its remaining games
// leads to each final number of wins, and can export that table. The
// games-count view edits the scheduled games of every card of the season in
// one matrix, filtered by league and division, and writes the matrix back
// on "&OK".
class frmRank : public QDialog
{
    Q_OBJECT

public:
    enum class Mode
    {
        GamesCount = 0,
        WinLine = 1,
    };

    // Prepares the window for the mode: the win line is computed from the
    // season's published standings with the settings' digits and
    // final-only choice; the games matrix is read from the season.
    // `published` is the view's latest standings, which the win line reads;
    // the games count needs none.
    frmRank(Mode mode, Season &season, Settings &settings, Prompts &prompts,
            const PublishedStandings *published = nullptr, QWidget *parent = nullptr);
    ~frmRank() override;

    // The uses of the window, each shown modally until it is closed.
    //
    // The win line over the opener's own place on the screen. True when the
    // win line could not be computed (a card's results exceed its
    // schedule): the opener then shows WinLineFailureMessage. The re-show
    // button may change the settings' Line and ZanAvg.
    [[nodiscard]] static bool showWinLine(const Season &season, const PublishedStandings &published,
                                          Settings &settings, Prompts &prompts, QWidget *opener);
    // The whole matrix: the season with the counts "&OK" wrote back, or
    // nothing when no count changed.
    [[nodiscard]] static std::optional<Season>
    showGamesCount(const Season &season, Settings &settings, Prompts &prompts, QWidget *parent);
    // The matrix restricted to one team's row, without the filter, written
    // into `season`, the caller's working copy. True when a count changed.
    static bool showTeamGamesCount(Season &season, Settings &settings, Prompts &prompts, int team,
                                   QWidget *parent);

    // Places the win line view (ignored in the games count) and runs the
    // window modally; returns 1 when the win line could not be computed,
    // else 0.
    int ShowRankForm(const QRect &geometry = QRect());

    // Fill the grid; FillWinLineGrid returns the calculation-failed flag.
    bool FillWinLineGrid(FlexGrid &grid, int digits, bool finalOnly);
    void FillGamesGrid(FlexGrid &grid);

    // Shows only `team`'s row of the matrix and hides the filter; "&OK"
    // still writes the whole matrix back.
    void restrictToTeam(int team);

    [[nodiscard]] Mode mode() const { return m_mode; }
    [[nodiscard]] bool calculationFailed() const { return m_calculationFailed; }
    // True once "&OK" wrote the matrix back.
    [[nodiscard]] bool gamesWritten() const { return m_gamesWritten; }
    // True once a count of the season differs from what it was.
    [[nodiscard]] bool edited() const { return m_edited; }

protected:
    void keyPressEvent(QKeyEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void buildWinLineControls();
    void buildGamesControls();
    void openWinLine();
    void openGamesCount();

    // Win line.
    void reShow();
    void updateLineLabel();
    void setDataColumnWidths(int twips);
    void exportTable();
    void winLineMouseMoved(int row, int col);

    // Games count.
    void leagueChosen(int entry);
    void applyFilter();
    void gamesCellPressed(int row, int col, Qt::MouseButton button);
    void openEditor();
    void commitEditor();
    void discardEditor(bool forgetStart);
    void moveAfterEntry();
    void writeGames();
    [[nodiscard]] int gamesColumnWidth() const;

    Mode m_mode;
    Season &m_season;
    Settings &m_settings;
    Prompts &m_prompts;

    FlexGrid *m_grdLine = nullptr;
    TextTable m_table; // what the grid shows: the win line or the games matrix
    bool m_calculationFailed = false;
    bool m_gamesWritten = false;
    bool m_edited = false;
    const PublishedStandings *m_published = nullptr;

    // Win line controls.
    QGroupBox *m_frmov = nullptr;
    QLabel *m_lblLine = nullptr;
    QComboBox *m_cmbAVG = nullptr;
    QCheckBox *m_chkZanAVG = nullptr;
    QPushButton *m_btnReShow = nullptr;
    QPushButton *m_btnCsv = nullptr;
    QPushButton *m_btnCan = nullptr;
    QScrollBar *m_scrBer = nullptr;

    // Games-count controls.
    QFrame *m_frmSel = nullptr;
    std::array<QLabel *, 2> m_lblGame{};
    QComboBox *m_cmbL = nullptr;
    QComboBox *m_cmbG = nullptr;
    QPushButton *m_btnVew = nullptr;
    QPushButton *m_btnpok = nullptr;
    QLineEdit *m_rng = nullptr;
    int m_editRow = 0;
    int m_editCol = 0;
    QString m_startText; // the cell's text when the editor opened
    bool m_prompting = false;
};

} // namespace penarin
