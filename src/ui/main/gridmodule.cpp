// The main window's view of the season: choosing the teams of a view, running
// the recalculation pass and handing its results to both grid panes, the
// status bar and the selectors.

#include "platform/prompts.h"
#include "platform/storedcolor.h"
#include "platform/twips.h"
#include "season/cellsfunction.h"
#include "standings/viewlists.h"
#include "ui/main/cardpane.h"
#include "ui/main/frmmain.h"
#include "ui/main/seasondocument.h"
#include "ui/main/standingspane.h"
#include "ui/main/uitext.h"

#include <QAction>
#include <QComboBox>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>

#include <algorithm>

namespace penarin {

void frmMain::SelectView(int league, int division)
{
    BuildViewLists(m_season, league, division);
    FillGrids(league, division);
}

void frmMain::FillGrids(int league, int division)
{
    const ViewSelection selection = ChooseViewSelection(m_season, league, division);
    RecalculateResult pass =
        RecalculateView(m_season, OrderSettingsFrom(m_settings),
                        ViewRequest{selection.league, selection.division}, std::move(m_published));
    m_published = pass.Published;
    m_standings->fill(pass.Published);
    rebuildSelectors();
    m_cards->fill();
    setPanel(1, QString());
    setPanel(5, QStringLiteral("更新日時：") + generalDateTimeText(m_season.Header.UpdatedAt));
    m_optMode[1]->setEnabled(true);
    m_optMode[0]->setEnabled(true);
    applyPass(pass);
}

void frmMain::RefreshStandings()
{
    RecalculateResult pass = RecalculateView(
        m_season, OrderSettingsFrom(m_settings),
        ViewRequest{m_cmbLg->currentIndex(), m_cmbgp->currentIndex()}, std::move(m_published));
    m_published = pass.Published;
    m_standings->fill(pass.Published);
    applyPass(pass);
}

// The status-bar texts and scope menu of a pass, then its one message.
void frmMain::applyPass(const RecalculateResult &pass)
{
    setPanel(2, QString::fromStdString(pass.ScopeText));
    setPanel(3, QString::fromStdString(pass.Judgment.Championship));
    setPanel(4, QString::fromStdString(pass.Judgment.Conditions));
    m_scopeMenuEnabled = pass.ScopeMenuEnabled;
    const int checked = pass.CheckedScope == ScopeOfficial ? 0
                        : pass.CheckedScope == ScopeLeague ? 1
                                                           : 2;
    for (int i = 0; i < 3; ++i) {
        m_actScope[static_cast<std::size_t>(i)]->setChecked(i == checked);
    }
    updateMenuState();
    if (pass.ShowScheduleMessage) {
        m_prompts.message(QString::fromUtf8(ScheduleMessage), MessageIcon::Critical,
                          MessageButtons::Ok);
    }
}

void frmMain::setSimulationMode(bool simulation)
{
    // Leaving the simulation empties it unless the settings keep it: that
    // discards entered results, so it is a step of its own that one undo
    // takes back, simulation mode and all.
    if (!simulation && m_season.HasSeason && m_settings.Simulation == 0 &&
        HasSimulatedResults(m_season)) {
        Season left = m_season;
        left.SimMode = 0;
        ClearSimulation(left);
        m_document->pushEdit(QStringLiteral("シミュレーションの終了"), std::move(left));
        return;
    }
    m_btnClear->setEnabled(simulation);
    m_season.SimMode = simulation ? 1 : 0;
    if (!m_season.HasSeason) {
        return;
    }
    FillGrids(m_cmbLg->currentIndex(), m_cmbgp->currentIndex());
}

// The league selector lists each run of league names once; the stored
// selection is chosen again, which refills the division selector.
void frmMain::rebuildSelectors()
{
    const QSignalBlocker blockLeague(m_cmbLg);
    const QSignalBlocker blockDivision(m_cmbgp);
    m_cmbLg->clear();
    m_cmbgp->clear();
    for (const Text &entry : LeagueSelectorEntries(m_season)) {
        m_cmbLg->addItem(QString::fromStdU16String(entry));
    }
    const int league = m_season.Header.ViewLeague;
    if (league >= 0 && league < m_cmbLg->count()) {
        m_cmbLg->setCurrentIndex(league);
    }
    fillDivisionSelector(m_cmbLg->currentIndex());
    const int division = m_season.Header.ViewDivision;
    if (division >= 0 && division < m_cmbgp->count()) {
        m_cmbgp->setCurrentIndex(division);
        m_cmbgp->setToolTip(m_cmbgp->currentText());
    }
    fitSelector(m_cmbLg);
}

// A selector is at least as wide as the stored layout makes it and as wide
// as its longest entry; the window grows to keep every entry readable.
void frmMain::fitSelector(QComboBox *selector)
{
    selector->setMinimumWidth(std::max(twipsToPixels(1230, *this), selector->sizeHint().width()));
}

void frmMain::fillDivisionSelector(int leagueEntry)
{
    const QSignalBlocker block(m_cmbgp);
    m_cmbgp->clear();
    const std::vector<Text> entries = DivisionSelectorEntries(m_season, leagueEntry);
    for (const Text &entry : entries) {
        m_cmbgp->addItem(QString::fromStdU16String(entry));
    }
    const bool enabled = !entries.empty();
    m_cmbgp->setEnabled(enabled);
    m_lblDivision->setEnabled(enabled);
    QPalette divisionPalette = m_cmbgp->palette();
    divisionPalette.setColor(
        QPalette::Base,
        colorFromStored(enabled ? StoredWindowBackground : StoredButtonFace, palette()));
    m_cmbgp->setPalette(divisionPalette);
    if (enabled) {
        m_cmbgp->setCurrentIndex(0);
    }
    fitSelector(m_cmbgp);
    m_cmbLg->setToolTip(m_cmbLg->currentText());
}

} // namespace penarin
