#include "ui/main/standingspane.h"

#include "magic/calcodule.h"
#include "tables/standingstable.h"

#include "platform/flexgrid.h"
#include "platform/storedcolor.h"

#include <QCursor>
#include <QMenu>

#include <algorithm>

namespace penarin {

namespace {

Qt::Alignment alignmentOf(CellAlignment alignment)
{
    switch (alignment) {
    case CellAlignment::Left:
        return Qt::AlignLeft | Qt::AlignVCenter;
    case CellAlignment::Right:
        return Qt::AlignRight | Qt::AlignVCenter;
    case CellAlignment::Center:
        break;
    }
    return Qt::AlignCenter;
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
    m_published.reset();
    m_grid->clear();
    m_grid->setRowCount(0);
    m_grid->setColCount(0);
}

void StandingsPane::fill(std::shared_ptr<const PublishedStandings> published)
{
    m_published = std::move(published);
    const StandingsTable table = BuildStandingsTable(m_season, *m_published, m_settings);
    const QPalette &palette = m_grid->palette();
    // A table uses a handful of colours over thousands of cells.
    std::int32_t lastStored = 0;
    QColor lastColor = colorFromStored(lastStored, palette);
    auto color = [&](const std::optional<std::int32_t> &stored) {
        if (!stored) {
            return QColor();
        }
        if (*stored != lastStored) {
            lastStored = *stored;
            lastColor = colorFromStored(lastStored, palette);
        }
        return lastColor;
    };

    // Every cell is written below, text and formats, so the grid is not
    // emptied first: a refill after a click then changes only the cells
    // whose text changed.
    FlexGrid::UpdateGuard guard(*m_grid);
    m_grid->setRowCount(table.rowCount());
    m_grid->setColCount(table.colCount());
    m_grid->setFixedCols(StandingsTable::FixedCols);
    m_grid->setFixedRows(StandingsTable::FixedRows);
    m_grid->setBackground(colorFromStored(table.Background, palette));
    for (int row = 0; row < table.rowCount(); ++row) {
        for (int col = 0; col < table.colCount(); ++col) {
            const StandingsCell &cell = table.cell(row, col);
            m_grid->setCell(row, col, QStringView(cell.Text), alignmentOf(cell.Alignment),
                            color(cell.Back), color(cell.Fore));
        }
    }
    // The stored widths of the figures were made for narrower fonts than a
    // desktop may have: they are the least, the text decides the rest. The
    // rival columns keep the width the "セル幅" menu gives them.
    for (int col = 0; col < table.colCount(); ++col) {
        if (col < StandingsTable::FirstRivalCol) {
            m_grid->fitColWidth(col, table.ColWidths[static_cast<std::size_t>(col)]);
        } else {
            m_grid->setColWidth(col, table.ColWidths[static_cast<std::size_t>(col)]);
        }
    }
}

void StandingsPane::mouseMoved(int row, int col)
{
    const PublishedStandings *published = m_published.get();
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
    const QString magic = fromText(card.MagicText());
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
    const PublishedStandings *published = m_published.get();
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
