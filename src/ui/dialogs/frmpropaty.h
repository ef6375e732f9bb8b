#pragma once

#include "magic/calcodule.h"
#include "season/season.h"

#include <QDialog>

#include <array>
#include <cstdint>
#include <functional>
#include <optional>
#include <vector>

class QCheckBox;
class QComboBox;
class QGroupBox;
class QLabel;
class QPlainTextEdit;
class QPushButton;
class QRadioButton;
class QTabWidget;

namespace penarin {

class Prompts;
struct Settings;

// Opens the games-count editor on one team's row (its team number) of the
// dialog's working season, over the given dialog; true when a count changed.
using GamesCountEditor = std::function<bool(Season &season, int teamNo, QWidget *dialog)>;

// The team data dialog: one team of the standings the main window shows,
// with its report against a chosen rival ("対戦"), its championship
// judgments ("マジックナンバー") and its draw replay and interleague settings
// ("ペナントレース"). The figures come from the view's published standings;
// the apply buttons write into the season it is given (the caller's working
// copy), and the caller takes that copy over when the dialog has closed.
class frmPropaty : public QDialog
{
    Q_OBJECT

public:
    // Without a games-count editor the button "対戦数(G)..." is disabled.
    frmPropaty(Season &season, const PublishedStandings *published, const Settings &settings,
               Prompts &prompts, GamesCountEditor showGamesCount, QWidget *parent = nullptr);

    // Fills the lists and selects the team and the rival, as positions in
    // the standings counted from 0 (-1: none), then shows the dialog modally.
    // True when the season was changed while the dialog was open.
    bool ShowTeamForm(int position, int rivalPosition);

    // Fills the lists and selects the team and the rival without showing
    // the dialog (ShowTeamForm's steps before the modal loop).
    void load(int position, int rivalPosition);

    // Whether an apply button or the games count changed the season.
    [[nodiscard]] bool edited() const { return m_edited; }

private:
    void buildControls();
    QWidget *buildReportPage();
    QWidget *buildJudgmentPage();
    QWidget *buildRacePage();
    void selectTeam(int index);
    void selectOpponent(int index);
    void editConditions(int kind);
    void applyJudgments();
    void applyDrawReplay();
    void showGamesCount();
    void setInterleagueDrawEnabled(bool enabled);
    [[nodiscard]] int selectedTeamNo() const;

    Season &m_season;
    const PublishedStandings *m_published;
    const Settings &m_settings;
    Prompts &m_prompts;
    GamesCountEditor m_showGamesCount;
    // Working condition lists (league, division, interleague): edited through
    // the judgment options dialog, stored only by "適用(&A)".
    std::array<std::vector<std::int16_t>, 3> m_conditions;

    QComboBox *m_cmbTeam = nullptr;
    QLabel *m_lblLg = nullptr;
    QLabel *m_lblGp = nullptr;
    QLabel *m_lblGames = nullptr;
    std::array<QLabel *, 11> m_lblPrp{};
    QLabel *m_magicCaption = nullptr;  // "優勝マジック:"
    QLabel *m_clinchCaption = nullptr; // "消  化:"
    QPushButton *m_btncls = nullptr;
    QTabWidget *m_tabRec = nullptr;

    QComboBox *m_cmbVs = nullptr;
    QPlainTextEdit *m_txtPrp = nullptr;
    QGroupBox *m_frmCdm = nullptr;
    QLabel *m_cardMagicCaption = nullptr; // "カード別マジック:" or "隠れマジック:"
    QLabel *m_cardClinchCaption = nullptr;
    std::array<QLabel *, 3> m_lblvsPrp{};

    std::array<QGroupBox *, 3> m_frmMgc{};
    std::array<QRadioButton *, 2> m_optMgcL{};
    std::array<QRadioButton *, 2> m_optMgcG{};
    std::array<QRadioButton *, 2> m_optMgcPV{};
    QLabel *m_lblZ = nullptr;
    QLabel *m_lblG = nullptr;
    QLabel *m_lblC = nullptr;
    QComboBox *m_cmbLZ = nullptr;
    QComboBox *m_cmbGZ = nullptr;
    QComboBox *m_cmbCZ = nullptr;
    QPushButton *m_btnMgcL = nullptr;
    QPushButton *m_btnMgcG = nullptr;
    QPushButton *m_btnMgcJ = nullptr;
    QPushButton *m_btnMgcPV = nullptr;

    QGroupBox *m_frmLg = nullptr;
    QGroupBox *m_frmGp = nullptr;
    QGroupBox *m_frmInt = nullptr;
    QGroupBox *m_frmIntDrwSet = nullptr;
    std::array<QRadioButton *, 2> m_optLgDrw{};
    std::array<QRadioButton *, 2> m_optGpDrw{};
    std::array<QRadioButton *, 2> m_optIntDrw{};
    QCheckBox *m_chkInt = nullptr;
    QPushButton *m_btnPset = nullptr;
    QPushButton *m_btnGames = nullptr;
    bool m_edited = false;
};

// Opens the dialog for the standings position `position` (from 0) and the
// rival position `rivalPosition` (-1: none), on a copy of the season: the
// copy when anything was applied, else nothing.
[[nodiscard]] std::optional<Season>
ShowTeamForm(const Season &season, const PublishedStandings &published, const Settings &settings,
             Prompts &prompts, int position, int rivalPosition,
             const GamesCountEditor &showGamesCount, QWidget *parent = nullptr);

} // namespace penarin
