#pragma once

#include "platform/prompts.h"
#include "season/oledate.h"
#include "season/season.h"
#include "season/seasonsetup.h"

#include <QDialog>

#include <array>
#include <cstdint>
#include <vector>

class QCheckBox;
class QComboBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QPushButton;
class QRadioButton;
class QStackedWidget;

namespace penarin {

struct Settings;

// The new season wizard: leagues, their divisions and teams are registered
// one after the other, then the interleague settings; OK turns them into
// the season passed in. The season is cleared when the wizard opens and
// stays empty unless OK builds the new one.
class frmLeague : public QDialog
{
    Q_OBJECT

public:
    // OK also sets the standings order of `settings` to the championship
    // judgment. `clock` stamps the new season.
    frmLeague(Season &season, Settings &settings, Prompts &prompts, const Clock &clock = systemNow,
              QWidget *parent = nullptr);

    // False only after OK built the season.
    [[nodiscard]] bool cancelled() const { return m_cancelled; }
    // The user answered "対戦数を設定しますか" with Yes: the games-count
    // view is to be opened for the new season before it is displayed.
    [[nodiscard]] bool wantsGamesCount() const { return m_wantsGamesCount; }

public slots:
    // The close box and Escape act as "キャンセル".
    void reject() override;

private:
    // One page's championship controls: draw replay, judgment, tie-break
    // button and reversal rule.
    struct JudgmentControls
    {
        QGroupBox *drawFrame = nullptr;
        std::array<QRadioButton *, 2> draw{};
        QGroupBox *judgeFrame = nullptr;
        std::array<QRadioButton *, 2> judge{};
        QPushButton *options = nullptr;
        QLabel *reversalLabel = nullptr;
        QComboBox *reversal = nullptr;

        [[nodiscard]] int drawIndex() const;
        [[nodiscard]] int judgeIndex() const;
        void reset();
    };

    JudgmentControls makeJudgmentControls(QWidget *page, const QString &prefix,
                                          const QString &judgeTitle, const QString &noDrawText,
                                          const QString &reversalText);
    QWidget *buildLeaguePage();
    QWidget *buildDivisionPage();
    QWidget *buildTeamPage();
    QWidget *buildInterleaguePage();
    void buildControls();
    void startOver();
    void showPage(int page, QWidget *focus);
    void message(const QString &text, MessageIcon icon);

    void leagueNext();
    void divisionEntry();
    void divisionNext();
    void teamAdd();
    void teamRemove(int row);
    void teamEntry();
    void showCardGames();
    void showInterleagueGames();
    void askForAnotherLeague();
    void finishLeagues();
    void disableInterleaguePage();
    void ok();
    void editConditions(std::vector<std::int16_t> &list, const JudgmentControls &controls,
                        int kind);

    Season &m_season;
    Settings &m_settings;
    Prompts &m_prompts;
    Clock m_clock;

    SeasonSetup m_setup;
    std::vector<std::int16_t> m_leagueConds{0};
    std::vector<std::int16_t> m_divisionConds{0};
    std::vector<std::int16_t> m_intConds{0};
    bool m_cancelled = true;
    bool m_wantsGamesCount = false;

    QStackedWidget *m_pages = nullptr;
    // Page 0.
    QComboBox *m_cmbLeague = nullptr;
    QCheckBox *m_chkDivision = nullptr;
    QLineEdit *m_txtLeagueGames = nullptr;
    JudgmentControls m_league;
    QPushButton *m_btnLeagueNext = nullptr;
    QPushButton *m_btnLeagueStop = nullptr;
    // Page 1.
    QGroupBox *m_divisionFrame = nullptr;
    QComboBox *m_cmbDivision = nullptr;
    QPushButton *m_btnDivisionEntry = nullptr;
    QLabel *m_lblDivisionCount = nullptr;
    JudgmentControls m_division;
    QPushButton *m_btnDivisionNext = nullptr;
    // Page 2.
    QLabel *m_lblTeamLeague = nullptr;
    QListWidget *m_lstDivision = nullptr;
    QLineEdit *m_txtTeam = nullptr;
    QPushButton *m_btnTeamAdd = nullptr;
    QListWidget *m_lstTeam = nullptr;
    QPushButton *m_btnTeamEntry = nullptr;
    QPushButton *m_btnTeamRemove = nullptr;
    QLabel *m_lblCardGames = nullptr;
    // Page 3.
    QGroupBox *m_interleagueFrame = nullptr;
    QLineEdit *m_txtIntGames = nullptr;
    QCheckBox *m_chkIntCounts = nullptr;
    QLabel *m_lblIntGamesTotal = nullptr;
    JudgmentControls m_interleague;
    // Always shown.
    QPushButton *m_btnRedo = nullptr;
    QPushButton *m_btnOK = nullptr;
    QPushButton *m_btnCancel = nullptr;
};

// How the wizard ended, for its caller.
struct NewSeasonResult
{
    bool cancelled = true;      // nothing built; the season is left empty
    bool setGamesCount = false; // open the games-count view before showing the season
};

// Runs the wizard modally over `parent` on `season` (cleared at once).
NewSeasonResult RunNewSeasonWizard(Season &season, Settings &settings, Prompts &prompts,
                                   QWidget *parent = nullptr);

} // namespace penarin
