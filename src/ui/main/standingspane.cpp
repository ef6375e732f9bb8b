#include "ui/main/standingspane.h"

#include "magic/calcodule.h"

#include "platform/flexgrid.h"
#include "platform/storedcolor.h"
#include "ui/main/uitext.h"

#include <QCursor>
#include <QMenu>

#include <algorithm>
#include <cmath>

namespace penarin {

namespace {

const QColor ClinchedBackground(0, 0, 255);
const QColor ClinchedText(192, 255, 255);
const QColor DecidingRowBackground(192, 255, 255);
const QColor DecidingHeaderBackground(255, 255, 192);

int rounded(double twips)
{
    return static_cast<int>(std::lround(twips));
}

QString fromText(const Text &text)
{
    return QString::fromStdU16String(text);
}

} // namespace

StandingsPane::StandingsPane(const Season &season, Settings &settings, QWidget *parentWidget)
    : QObject(parentWidget), m_season(season), m_settings(settings)
{
    m_grid = new FlexGrid(parentWidget);
    m_grid->setObjectName(QStringLiteral("RnkG"));

    m_cellWidthMenu = new QMenu(QStringLiteral("セル幅"), parentWidget);
    m_cellWidthMenu->setObjectName(QStringLiteral("cellWidthMenu"));
    const std::pair<const char16_t *, CellWidthChange> entries[] = {
        {u"広く", CellWidthChange::Wider},
        {u"狭く", CellWidthChange::Narrower},
        {u"既定値", CellWidthChange::Standard}};
    for (const auto &[caption, change] : entries) {
        connect(m_cellWidthMenu->addAction(QString::fromUtf16(caption)), &QAction::triggered, this,
                [this, change = change] { changeRivalColumnWidth(change); });
    }

    connect(m_grid, &FlexGrid::mouseMovedOverCell, this,
            [this](int row, int col, QPoint) { mouseMoved(row, col); });
    connect(m_grid, &FlexGrid::cellPressed, this, &StandingsPane::pressed);
    connect(m_grid, &FlexGrid::cellDoubleClicked, this,
            [this](int row, int col, Qt::MouseButton) { doubleClicked(row, col); });
}

void StandingsPane::applyFont()
{
    QFont font = m_grid->font();
    font.setPointSize(m_settings.FontSizeA);
    m_grid->setFont(font);
}

void StandingsPane::clear()
{
    m_grid->clear();
    m_grid->setRowCount(0);
    m_grid->setColCount(0);
}

void StandingsPane::fill()
{
    const PublishedStandings &published = *m_season.Published;
    const int n = published.Rows.size();
    const int fontSize = m_settings.FontSizeA;
    const QColor buttonFace = colorFromStored(StoredButtonFace, m_grid->palette());

    FlexGrid::UpdateGuard guard(*m_grid);
    m_grid->clear();
    m_grid->setRowCount(n + 1);
    m_grid->setColCount(n + 11);
    m_grid->setFixedCols(2);
    m_grid->setFixedRows(1);
    m_grid->setBackground(buttonFace);

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
        m_grid->setText(0, col, QString::fromUtf16(headers[col]));
        m_grid->setCellAlignment(0, col, Qt::AlignCenter);
    }
    for (int k = 1; k <= n; ++k) {
        m_grid->setColWidth(10 + k, m_settings.Width);
        m_grid->setCellAlignment(0, 10 + k, Qt::AlignCenter);
        m_grid->setCellBackground(0, 10 + k, buttonFace);
    }

    int decidingRow = 0;
    for (int i = 1; i <= n; ++i) {
        const StandingsRow &row = published.Rows[i];
        const CardAnalysis &analysis = published.Analysis[i];
        m_grid->setText(i, 0, numberText(row.Rank));
        m_grid->setText(i, 1, fromText(m_season.team(row.TeamNo).TeamName));
        m_grid->setText(i, 2, numberText(row.Played));
        m_grid->setText(i, 3, numberText(row.Wins));
        m_grid->setText(i, 4, numberText(row.Losses));
        m_grid->setText(i, 5, numberText(row.Draws));
        m_grid->setText(i, 6, QString::fromStdString(FormatPct(row.Pct, m_settings.Pct)));
        m_grid->setText(i, 7, numberText(row.Surplus));
        m_grid->setText(i, 8, QString::fromStdString(row.BehindLeader));
        m_grid->setText(i, 9, QString::fromStdString(row.BehindAbove));
        m_grid->setText(i, 10, numberText(row.Remaining));
        // "-" (no games behind) lines up with the numbers of its column.
        m_grid->setCellAlignment(i, 8, Qt::AlignRight | Qt::AlignVCenter);
        m_grid->setCellAlignment(i, 9, Qt::AlignRight | Qt::AlignVCenter);
        bool hasDecidingRival = false;
        for (int k = 1; k <= n; ++k) {
            const int col = 10 + k;
            m_grid->setCellAlignment(i, col, Qt::AlignCenter);
            if (k == i) {
                m_grid->setText(i, col, QStringLiteral("-"));
                m_grid->setCellBackground(i, col, buttonFace);
                continue;
            }
            const CardFigures &card = analysis.Cards[k];
            const bool hidden = card.MagicKind == MagicKind::Hidden && m_settings.Magic == 0;
            m_grid->setText(i, col, hidden ? QString() : fromText(card.MagicText));
            m_grid->setCellBackground(i, col, colorFromStored(card.MagicColor, m_grid->palette()));
            hasDecidingRival = hasDecidingRival || card.MagicKind == MagicKind::Deciding;
        }
        if (analysis.MagicCountdown == 0) {
            m_grid->setCellBackground(i, 1, ClinchedBackground);
            m_grid->setCellForeground(i, 1, ClinchedText);
        } else {
            m_grid->setCellBackground(i, 1, QColor());
            m_grid->setCellForeground(i, 1, QColor());
        }
        if (hasDecidingRival) {
            decidingRow = i;
        }
    }
    for (int col = 0; col < 11; ++col) {
        m_grid->fitColWidth(col, widths[col]);
    }
    // Only one row can carry the championship magic's deciding rivals; the
    // last one found is marked, with the headers of those rivals.
    if (decidingRow > 0) {
        m_grid->setCellBackground(decidingRow, 1, DecidingRowBackground);
        const CardAnalysis &analysis = published.Analysis[decidingRow];
        for (int k = 1; k <= n; ++k) {
            if (k != decidingRow && analysis.Cards[k].MagicKind == MagicKind::Deciding) {
                m_grid->setCellBackground(0, 10 + k, DecidingHeaderBackground);
            }
        }
    }
}

void StandingsPane::mouseMoved(int row, int col)
{
    const PublishedStandings *published = m_season.Published.get();
    if (published == nullptr || row < 1 || row > published->Rows.size()) {
        emit statusText(QString());
        return;
    }
    const StandingsRow &standing = published->Rows[row];
    if (col == 6) {
        emit statusText(fromText(m_season.team(standing.TeamNo).TeamName) + QStringLiteral("：") +
                        QString::number(standing.Pct, 'g', 15));
        return;
    }
    const int rival = col - 10;
    if (col < 11 || rival == row || rival > published->Rows.size()) {
        emit statusText(QString());
        return;
    }
    const CardFigures &card = published->Analysis[row].Cards[rival];
    const QString magic = fromText(card.MagicText);
    switch (card.MagicKind) {
    case MagicKind::Hidden:
        emit statusText(QStringLiteral("隠れマジック：") + magic);
        break;
    case MagicKind::PerCard:
        emit statusText(QStringLiteral("カード別マジック：") + magic);
        break;
    case MagicKind::Deciding:
        emit statusText(QStringLiteral("優勝マジック：") + magic);
        break;
    case MagicKind::ClinchedAbove:
        emit statusText(QStringLiteral("上位確定 "));
        break;
    case MagicKind::ClinchedBelow:
        emit statusText(QStringLiteral("下位確定"));
        break;
    case MagicKind::Undecided:
        emit statusText(QString());
        break;
    }
}

void StandingsPane::pressed(int, int col, Qt::MouseButton button)
{
    if (button != Qt::RightButton || col <= 10) {
        return;
    }
    m_rivalColumnUnderMouse = col;
    m_cellWidthMenu->popup(QCursor::pos());
}

void StandingsPane::doubleClicked(int row, int col)
{
    const PublishedStandings *published = m_season.Published.get();
    if (published == nullptr || row < 1 || row > published->Rows.size()) {
        return;
    }
    if (col > 10 && col - 10 != row && col - 10 <= published->Rows.size()) {
        emit teamDataRequested(row - 1, col - 11);
    } else if (col == 7) {
        emit compositionRequested(row - 1);
    }
}

void StandingsPane::changeRivalColumnWidth(CellWidthChange change)
{
    const int current = m_grid->colWidth(m_rivalColumnUnderMouse);
    int width = 700;
    if (change == CellWidthChange::Wider) {
        width = current + 50;
    } else if (change == CellWidthChange::Narrower) {
        width = current - 50;
        if (width <= 300) {
            return;
        }
    }
    FlexGrid::UpdateGuard guard(*m_grid);
    for (int col = 11; col < m_grid->colCount(); ++col) {
        m_grid->setColWidth(col, width);
    }
    m_settings.Width = static_cast<std::int16_t>(std::min(width, 32767));
}

} // namespace penarin
