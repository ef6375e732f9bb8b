// The two grids of the main window: choosing the teams of a view, laying out
// and filling the standings grid RnkG and the head-to-head grid MyG, the
// row and column highlight, and the column-width menu.

#include "platform/flexgrid.h"
#include "platform/prompts.h"
#include "platform/storedcolor.h"
#include "season/cellsfunction.h"
#include "standings/viewlists.h"
#include "ui/main/frmmain.h"
#include "ui/main/uitext.h"

#include <QAction>
#include <QComboBox>
#include <QLabel>
#include <QMenu>
#include <QRadioButton>

#include <cmath>

namespace penarin {

namespace {

const QColor ClinchedBackground(0, 0, 255);
const QColor ClinchedText(192, 255, 255);
const QColor DecidingRowBackground(192, 255, 255);
const QColor DecidingHeaderBackground(255, 255, 192);
const QColor SimulationHeaderBackground(180, 204, 248);

int rounded(double twips)
{
    return static_cast<int>(std::lround(twips));
}

QString fromText(const Text &text)
{
    return QString::fromStdU16String(text);
}

} // namespace

void frmMain::SelectView(int league, int division)
{
    BuildViewLists(m_season, league, division);
    FillGrids(league, division);
}

void frmMain::FillGrids(int league, int division)
{
    const ViewSelection selection = ChooseViewSelection(m_season, league, division);
    // Displaying makes the season a displayed one already for this pass, so
    // a file whose results exceed its schedule says so as soon as it opens.
    m_season.HasSeason = true;
    m_season.IsSaved = false;
    const RecalculateResult pass = RecalculateView(
        m_season, OrderSettingsFrom(m_settings), ViewRequest{selection.league, selection.division});
    writeStandingsRows();
    rebuildSelectors();
    fillCardGrid();
    setPanel(1, QString());
    setPanel(5, QStringLiteral("更新日時：") + generalDateTimeText(m_season.Header.UpdatedAt));
    m_optMode[1]->setEnabled(true);
    applyPass(pass);
}

void frmMain::RefreshStandings()
{
    m_season.HasSeason = true;
    m_season.IsSaved = false;
    const RecalculateResult pass =
        RecalculateView(m_season, OrderSettingsFrom(m_settings),
                        ViewRequest{m_cmbLg->currentIndex(), m_cmbgp->currentIndex()});
    writeStandingsRows();
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

void frmMain::writeStandingsRows()
{
    const PublishedStandings &published = *m_season.Published;
    const int n = published.Rows.size();
    const int fontSize = m_settings.FontSizeA;
    const QColor buttonFace = colorFromStored(StoredButtonFace, palette());

    FlexGrid::UpdateGuard guard(*m_rnkG);
    m_rnkG->clear();
    m_rnkG->setRowCount(n + 1);
    m_rnkG->setColCount(n + 11);
    m_rnkG->setFixedCols(2);
    m_rnkG->setFixedRows(1);
    m_rnkG->setBackground(buttonFace);

    static const char16_t *const headers[] = {u"",     u"チーム", u"試合", u"勝",   u"敗",  u"分",
                                              u"勝率", u"貯",     u"首差", u"上差", u"残試"};
    const int widths[] = {280,
                          950,
                          rounded(465.0 / 9 * fontSize),
                          40 * fontSize,
                          40 * fontSize,
                          40 * fontSize,
                          rounded(500.0 / 9 * fontSize + 120.0 * (m_settings.Pct - 3)),
                          rounded(430.0 / 9 * fontSize),
                          rounded(430.0 / 9 * fontSize),
                          rounded(430.0 / 9 * fontSize),
                          rounded(465.0 / 9 * fontSize)};
    for (int col = 0; col < 11; ++col) {
        m_rnkG->setColWidth(col, widths[col]);
        m_rnkG->setText(0, col, QString::fromUtf16(headers[col]));
        m_rnkG->setCellAlignment(0, col, Qt::AlignCenter);
    }
    for (int k = 1; k <= n; ++k) {
        m_rnkG->setColWidth(10 + k, m_settings.Width);
        m_rnkG->setCellAlignment(0, 10 + k, Qt::AlignCenter);
        m_rnkG->setCellBackground(0, 10 + k, buttonFace);
    }

    int decidingRow = 0;
    for (int i = 1; i <= n; ++i) {
        const StandingsRow &row = published.Rows[i];
        const CardAnalysis &analysis = published.Analysis[i];
        m_rnkG->setText(i, 0, numberText(row.Rank));
        m_rnkG->setText(i, 1, fromText(m_season.team(row.TeamNo).TeamName));
        m_rnkG->setText(i, 2, numberText(row.Played));
        m_rnkG->setText(i, 3, numberText(row.Wins));
        m_rnkG->setText(i, 4, numberText(row.Losses));
        m_rnkG->setText(i, 5, numberText(row.Draws));
        m_rnkG->setText(i, 6, QString::fromStdString(FormatPct(row.Pct, m_settings.Pct)));
        m_rnkG->setText(i, 7, numberText(row.Surplus));
        m_rnkG->setText(i, 8, QString::fromStdString(row.BehindLeader));
        m_rnkG->setText(i, 9, QString::fromStdString(row.BehindAbove));
        m_rnkG->setText(i, 10, numberText(row.Remaining));
        bool hasDecidingRival = false;
        for (int k = 1; k <= n; ++k) {
            const int col = 10 + k;
            m_rnkG->setCellAlignment(i, col, Qt::AlignCenter);
            if (k == i) {
                m_rnkG->setText(i, col, QStringLiteral("-"));
                m_rnkG->setCellBackground(i, col, buttonFace);
                continue;
            }
            const CardFigures &card = analysis.Cards[k];
            const bool hidden = card.MagicKind == MagicKind::Hidden && m_settings.Magic == 0;
            m_rnkG->setText(i, col, hidden ? QString() : fromText(card.MagicText));
            m_rnkG->setCellBackground(i, col, colorFromStored(card.MagicColor, palette()));
            hasDecidingRival = hasDecidingRival || card.MagicKind == MagicKind::Deciding;
        }
        if (analysis.MagicCountdown == 0) {
            m_rnkG->setCellBackground(i, 1, ClinchedBackground);
            m_rnkG->setCellForeground(i, 1, ClinchedText);
        } else {
            m_rnkG->setCellBackground(i, 1, QColor());
            m_rnkG->setCellForeground(i, 1, QColor());
        }
        if (hasDecidingRival) {
            decidingRow = i;
        }
    }
    // Only one row can carry the championship magic's deciding rivals; the
    // last one found is marked, with the headers of those rivals.
    if (decidingRow > 0) {
        m_rnkG->setCellBackground(decidingRow, 1, DecidingRowBackground);
        const CardAnalysis &analysis = published.Analysis[decidingRow];
        for (int k = 1; k <= n; ++k) {
            if (k != decidingRow && analysis.Cards[k].MagicKind == MagicKind::Deciding) {
                m_rnkG->setCellBackground(0, 10 + k, DecidingHeaderBackground);
            }
        }
    }
}

void frmMain::fillCardGrid()
{
    const int nR = m_season.RowTeamCount();
    const int nC = m_season.ColTeamCount();
    const int fontSize = m_settings.FontSizeB;
    const QColor buttonFace = colorFromStored(StoredButtonFace, palette());
    const bool simulation = m_season.SimMode == 1;
    const bool zero = m_settings.Zero != 0;
    auto teamName = [this](int teamNo) {
        return m_season.Teams.contains(teamNo) ? fromText(m_season.team(teamNo).TeamName)
                                               : QString();
    };

    FlexGrid::UpdateGuard guard(*m_myG);
    m_myG->clear();
    m_myG->setRowCount(nR + 2);
    m_myG->setColCount(3 * nC + 1);
    m_myG->setFixedCols(1);
    m_myG->setFixedRows(2);
    m_myG->setColWidth(0, 1200);
    for (int col = 1; col <= 3 * nC; ++col) {
        m_myG->setColWidth(col, 40 * fontSize);
    }
    m_myG->setMergeRow(0, true);
    m_myG->setMergeCol(0, true);
    m_myG->setText(0, 0, QStringLiteral(" "));
    m_myG->setText(1, 0, QStringLiteral(" "));
    static const char16_t *const kinds[] = {u"勝", u"敗", u"分"};
    for (int j = 1; j <= nC; ++j) {
        const QString name = teamName(m_season.ViewCols[j]);
        for (int k = 0; k < 3; ++k) {
            const int col = 3 * (j - 1) + 1 + k;
            m_myG->setText(0, col, name);
            m_myG->setCellAlignment(0, col, Qt::AlignCenter);
            m_myG->setText(1, col, QString::fromUtf16(kinds[k]));
            m_myG->setCellAlignment(1, col, Qt::AlignCenter);
        }
    }
    for (int r = 1; r <= nR; ++r) {
        const int team = m_season.ViewRows[r];
        m_myG->setText(r + 1, 0, teamName(team));
        if (!m_season.Teams.contains(team)) {
            continue;
        }
        const TeamRecord &record = m_season.team(team);
        for (int j = 1; j <= nC; ++j) {
            const int first = 3 * (j - 1) + 1;
            if (j == r) {
                for (int k = 0; k < 3; ++k) {
                    m_myG->setCellBackground(r + 1, first + k, buttonFace);
                }
                continue;
            }
            const int opponent = m_season.ViewCols[j];
            if (!record.CardGames.contains(opponent) || record.CardGames[opponent] < 0) {
                if (m_settings.Cells != 0) {
                    for (int k = 0; k < 3; ++k) {
                        m_myG->setCellBackground(r + 1, first + k, buttonFace);
                    }
                }
                continue;
            }
            int values[3] = {record.CardWins[opponent], record.CardLosses[opponent],
                             record.CardDraws[opponent]};
            if (simulation && m_season.SimResults.contains(team)) {
                const SimRecord &sim = m_season.SimResults[team];
                values[0] = sim.Wins[opponent];
                values[1] = sim.Losses[opponent];
                values[2] = sim.Draws[opponent];
            }
            for (int k = 0; k < 3; ++k) {
                m_myG->setText(r + 1, first + k, fromText(CardCellText(values[k], zero)));
            }
        }
    }
    m_myG->setFixedBackground(simulation ? SimulationHeaderBackground : QColor());
    m_highlightedRow = m_highlightedCol = m_highlightedGroupCol = 0;
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
        m_cmbLg->addItem(fromText(entry));
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
}

void frmMain::fillDivisionSelector(int leagueEntry)
{
    const QSignalBlocker block(m_cmbgp);
    m_cmbgp->clear();
    const std::vector<Text> entries = DivisionSelectorEntries(m_season, leagueEntry);
    for (const Text &entry : entries) {
        m_cmbgp->addItem(fromText(entry));
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
    m_cmbLg->setToolTip(m_cmbLg->currentText());
}

void frmMain::HighlightCell(int row, int col)
{
    if (m_settings.Selection == 0 || row <= 1 || col <= 0) {
        return;
    }
    const QColor normal = m_season.SimMode == 1 ? SimulationHeaderBackground
                                                : colorFromStored(StoredButtonFace, palette());
    const QColor normalText = palette().color(QPalette::ButtonText);
    const QColor highlight = palette().color(QPalette::Highlight);
    const QColor highlightText = palette().color(QPalette::HighlightedText);
    auto paint = [this](int r, int c, const QColor &back, const QColor &fore) {
        m_myG->setCellBackground(r, c, back);
        m_myG->setCellForeground(r, c, fore);
    };
    if (row != m_highlightedRow) {
        paint(m_highlightedRow, 0, normal, normalText);
        paint(row, 0, highlight, highlightText);
        m_highlightedRow = row;
    }
    if (col != m_highlightedCol) {
        if (col != m_highlightedGroupCol) {
            auto groupStart = [](int c) {
                const int start = c % 3 == 1 ? c : c % 3 == 2 ? c - 1 : c - 2;
                return std::max(start, 1);
            };
            // The three cells of an opponent's header are merged; they are
            // coloured together so the merged block stays one colour.
            const int oldStart = groupStart(m_highlightedCol);
            const int newStart = groupStart(col);
            for (int k = 0; k < 3; ++k) {
                paint(0, oldStart + k, normal, normalText);
            }
            for (int k = 0; k < 3; ++k) {
                paint(0, newStart + k, highlight, highlightText);
            }
            m_highlightedGroupCol = col;
        }
        paint(1, m_highlightedCol, normal, normalText);
        paint(1, col, highlight, highlightText);
        m_highlightedCol = col;
    }
    m_myG->setCurrentCell(row, col);
}

void frmMain::standingsMouseMoved(int row, int col)
{
    const PublishedStandings *published = m_season.Published.get();
    if (published == nullptr || row < 1 || row > published->Rows.size()) {
        setPanel(1, QString());
        return;
    }
    const StandingsRow &standing = published->Rows[row];
    if (col == 6) {
        setPanel(1, fromText(m_season.team(standing.TeamNo).TeamName) + QStringLiteral("：") +
                        QString::number(standing.Pct, 'g', 15));
        return;
    }
    const int rival = col - 10;
    if (col < 11 || rival == row || rival > published->Rows.size()) {
        setPanel(1, QString());
        return;
    }
    const CardFigures &card = published->Analysis[row].Cards[rival];
    const QString magic = fromText(card.MagicText);
    switch (card.MagicKind) {
    case MagicKind::Hidden:
        setPanel(1, QStringLiteral("隠れマジック：") + magic);
        break;
    case MagicKind::PerCard:
        setPanel(1, QStringLiteral("カード別マジック：") + magic);
        break;
    case MagicKind::Deciding:
        setPanel(1, QStringLiteral("優勝マジック：") + magic);
        break;
    case MagicKind::ClinchedAbove:
        setPanel(1, QStringLiteral("上位確定 "));
        break;
    case MagicKind::ClinchedBelow:
        setPanel(1, QStringLiteral("下位確定"));
        break;
    case MagicKind::Undecided:
        setPanel(1, QString());
        break;
    }
}

void frmMain::standingsPressed(int, int col, Qt::MouseButton button)
{
    if (button != Qt::RightButton || col <= 10) {
        return;
    }
    // The width menu acts on the column under the mouse at the press.
    m_rivalColumnUnderMouse = col;
    m_cellWidthMenu->popup(QCursor::pos());
}

void frmMain::changeRivalColumnWidth(CellWidthChange change)
{
    const int current = m_rnkG->colWidth(m_rivalColumnUnderMouse);
    int width = 700;
    if (change == CellWidthChange::Wider) {
        width = current + 50;
    } else if (change == CellWidthChange::Narrower) {
        width = current - 50;
        if (width <= 300) {
            return;
        }
    }
    FlexGrid::UpdateGuard guard(*m_rnkG);
    for (int col = 11; col < m_rnkG->colCount(); ++col) {
        m_rnkG->setColWidth(col, width);
    }
    m_settings.Width = static_cast<std::int16_t>(width);
}

} // namespace penarin
