#pragma once

#include "magic/calcodule.h"
#include "race/race.h"

#include <QDialog>
#include <QString>

#include <chrono>
#include <memory>
#include <optional>
#include <vector>

class QComboBox;
class QLabel;
class QPushButton;
class QSpinBox;
class QTimer;

namespace penarin {

class FlexGrid;
class OddsPanel;
class Prompts;
struct Settings;

// The race table's texts for one state, worked out without a window.
//
// A team that only a tie can still keep out ("sure unless tied" but not
// sure) is marked "同率次第" as well as one that only a tie can still put in:
// in both the verdict rests on the tie-break rules alone, and a season that
// ends level shows the same mark on both sides. The magic column tells the
// two apart (a number for the first, "-" for the second), and so do the
// tooltip and the cell colour.
[[nodiscard]] QString RaceTableMark(const race::RaceState &state);
// "0" when sure, the number of wins still needed, "-" when even winning out
// is not enough, "?" when the analysis could not decide in time.
[[nodiscard]] QString RaceTableMagic(const race::RaceState &state);
// What the mark means for this team, in plain words. places: 1 for the
// title, k for the top-k column.
[[nodiscard]] QString RaceMarkExplanation(const race::RaceState &state, int places);

// One outcome of the remaining games the user can load for a team.
struct RaceOutcome
{
    enum Kind
    {
        TitleReach,   // the team finishes first
        TitleFailure, // the team wins out and still is not sure of first
        TopReach,     // the team finishes in the first k
        TopFailure,   // the team wins out and still is not sure of the first k
    };
    Kind kind = TitleReach;
    QString caption;
    race::Certificate certificate;
};

// The outcomes the analysis found for one team, in the order of Kind; the
// top-k ones are left out when k is 1 (they are the title's).
[[nodiscard]] std::vector<RaceOutcome> RaceOutcomes(const race::TeamRace &team, int topK);

// "優勝・CS争い": for every team of the view, whether it is sure of, can
// still reach or has lost the title and the first k places, and the wins it
// still needs; the user can pick one outcome that proves a mark and load it.
class frmRace : public QDialog
{
    Q_OBJECT

public:
    // `published` is the view's latest recalculation; the dialog reads the
    // teams and their order from it. The analysis starts at once and runs
    // on a worker thread; the table shows each answer as it comes, the
    // title column first. A schedule that leaves nothing to analyse is reported through
    // prompts and closes the dialog.
    frmRace(const Season &season, const PublishedStandings &published, const Settings &settings,
            Prompts &prompts, const ViewRequest &view, int topK = 3, QWidget *parent = nullptr);
    ~frmRace() override;

    // Analyses again for another number of places (as the spin box does).
    void setTopK(int topK);
    // The places of the analysis shown.
    [[nodiscard]] int topK() const;
    [[nodiscard]] bool analysing() const;
    // Blocks until the running analysis is shown, at most `limit`; true
    // when it is.
    bool waitForAnalysis(std::chrono::milliseconds limit);
    // The analysis shown; empty while the first one runs.
    [[nodiscard]] const race::RaceAnalysis &analysis() const { return m_analysis; }

    // The outcome chosen with "この結果を見る(&V)"; nothing before that.
    [[nodiscard]] const std::optional<race::Certificate> &chosenCertificate() const
    {
        return m_chosen;
    }

    // Closing the dialog stops the analysis in progress.
    void done(int result) override;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    struct Job;

    void buildControls();
    void startAnalysis();
    void stopAnalysis();
    // The answers of the team at this position are in (the analysis shows
    // them as they come).
    [[nodiscard]] bool titleKnown(int index) const;
    [[nodiscard]] bool topKnown(int index) const;
    // Takes a finished analysis and shows it; false while it still runs.
    bool collect();
    void fillGrid();
    void fitOutcomeBox();
    void fillWidth();
    void paintRows();
    void selectTeam(int row, int col);
    void fillOutcomes();
    void showCellTip(int row, int col);
    void viewOutcome();

    const Season &m_season;
    const PublishedStandings &m_published;
    const Settings &m_settings;
    Prompts &m_prompts;
    std::shared_ptr<const Season> m_snapshot;
    race::RaceRequest m_request;
    std::shared_ptr<Job> m_job;
    bool m_ready = false;
    race::RaceAnalysis m_analysis;
    std::vector<RaceOutcome> m_outcomes;
    std::optional<race::Certificate> m_chosen;
    int m_teamIndex = 0;
    int m_nameWidth = 0;   // twips, as fitted to the names
    int m_wantedKind = -1; // a RaceOutcome::Kind, -1 before any choice

    QLabel *m_lblNote = nullptr;
    QLabel *m_lblMismatch = nullptr;
    QLabel *m_lblBusy = nullptr;
    QTimer *m_poll = nullptr;
    QSpinBox *m_spnTop = nullptr;
    FlexGrid *m_grid = nullptr;
    OddsPanel *m_odds = nullptr;
    QComboBox *m_cmbOutcome = nullptr;
    QPushButton *m_btnView = nullptr;
    QPushButton *m_btnClose = nullptr;
};

// Race analyses of every dialog started and not yet ended (a queued one
// counts too).
[[nodiscard]] int RunningRaceAnalyses();

// Opens "優勝・CS争い" for the view the main window shows (its league and
// division selector indices) and returns the outcome the user chose to load,
// or nothing. When the view's schedule leaves no set of remaining games to
// analyse, says so through prompts and opens nothing. The season is not
// changed: the caller applies the outcome (race::ApplyCertificate) and
// refreshes its view.
[[nodiscard]] std::optional<race::Certificate>
ShowRaceForm(const Season &season, const PublishedStandings &published, const Settings &settings,
             int league, int division, Prompts &prompts, QWidget *parent = nullptr);

} // namespace penarin
