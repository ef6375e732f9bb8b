#include "ui/main/cardpane.h"

#include "platform/flexgrid.h"
#include "platform/prompts.h"
#include "platform/storedcolor.h"
#include "platform/twips.h"

#include <QKeyEvent>
#include <QLineEdit>

#include <algorithm>

namespace penarin {

namespace {

const QColor SimulationHeaderBackground(180, 204, 248);

bool isDataCell(int row, int col)
{
    return row > 1 && col > 0;
}

QString fromText(const Text &text)
{
    return QString::fromStdU16String(text);
}

} // namespace

CardPane::CardPane(Season &season, Settings &settings, Prompts &prompts, QWidget *parentWidget)
    : QObject(parentWidget), m_season(season), m_settings(settings), m_prompts(prompts)
{
    m_grid = new FlexGrid(parentWidget);
    m_grid->setObjectName(QStringLiteral("MyG"));
    m_myCells = new QLineEdit(m_grid->viewport());
    m_myCells->setObjectName(QStringLiteral("MyCells"));
    m_myCells->hide();
    m_myCells->installEventFilter(this);

    connect(m_grid, &FlexGrid::cellPressed, this, &CardPane::pressed);
    connect(m_grid, &FlexGrid::cellReleased, this,
            [this](int row, int col, Qt::MouseButton) { released(row, col); });
    connect(m_grid, &FlexGrid::mouseMovedOverCell, this,
            [this](int row, int col, QPoint) { mouseMoved(row, col); });
    connect(m_grid, &FlexGrid::cellDoubleClicked, this,
            [this](int row, int col, Qt::MouseButton) { doubleClicked(row, col); });
    connect(m_grid, &FlexGrid::keyPressed, this, &CardPane::keyPressed);
    connect(m_grid, &FlexGrid::scrolled, this, [this] { hideCellEditor(); });
    // The arrow keys move the current cell: the highlighted team and column
    // and the status bar follow it as they follow the mouse.
    connect(m_grid, &FlexGrid::currentCellChanged, this, [this](int row, int col, int, int) {
        if (isDataCell(row, col) && !m_myCells->isVisible()) {
            HighlightCell(row, col);
            ShowCardStatus(row, col);
        }
    });
}

void CardPane::applySettings()
{
    hideCellEditor();
    if (m_settings.ToolTip == 0) {
        m_grid->setToolTipText(QString());
    }
    QFont font = m_grid->font();
    font.setPointSize(m_settings.FontSizeB);
    m_grid->setFont(font);
    m_myCells->setFont(font);
    m_grid->setFocusMark(m_settings.Enter == 1 ? FlexGrid::FocusMark::Heavy
                                               : FlexGrid::FocusMark::Light);
}

void CardPane::clear()
{
    hideCellEditor();
    m_grid->clear();
    m_grid->setRowCount(0);
    m_grid->setColCount(0);
    m_grid->setFixedBackground(QColor());
    m_highlightedRow = m_highlightedCol = m_highlightedGroupCol = 0;
}

void CardPane::fill()
{
    const int nR = m_season.RowTeamCount();
    const int nC = m_season.ColTeamCount();
    const int fontSize = m_settings.FontSizeB;
    const QColor buttonFace = colorFromStored(StoredButtonFace, m_grid->palette());
    const bool simulation = m_season.SimMode == 1;
    const bool zero = m_settings.Zero != 0;
    auto teamName = [this](int teamNo) {
        return m_season.Teams.contains(teamNo) ? fromText(m_season.team(teamNo).TeamName)
                                               : QString();
    };

    hideCellEditor();
    FlexGrid::UpdateGuard guard(*m_grid);
    m_grid->clear();
    m_grid->setRowCount(nR + 2);
    m_grid->setColCount(3 * nC + 1);
    m_grid->setFixedCols(1);
    m_grid->setFixedRows(2);
    m_grid->setMergeRow(0, true);
    m_grid->setMergeCol(0, true);
    m_grid->setText(0, 0, QStringLiteral(" "));
    m_grid->setText(1, 0, QStringLiteral(" "));
    static const char16_t *const kinds[] = {u"勝", u"敗", u"分"};
    for (int j = 1; j <= nC; ++j) {
        const QString name = teamName(m_season.ViewCols[j]);
        for (int k = 0; k < 3; ++k) {
            const int col = 3 * (j - 1) + 1 + k;
            m_grid->setText(0, col, name);
            m_grid->setCellAlignment(0, col, Qt::AlignCenter);
            m_grid->setText(1, col, QString::fromUtf16(kinds[k]));
            m_grid->setCellAlignment(1, col, Qt::AlignCenter);
        }
    }
    for (int r = 1; r <= nR; ++r) {
        const int team = m_season.ViewRows[r];
        m_grid->setText(r + 1, 0, teamName(team));
        if (!m_season.Teams.contains(team)) {
            continue;
        }
        const TeamRecord &record = m_season.team(team);
        for (int j = 1; j <= nC; ++j) {
            const int first = 3 * (j - 1) + 1;
            if (j == r) {
                for (int k = 0; k < 3; ++k) {
                    m_grid->setCellBackground(r + 1, first + k, buttonFace);
                }
                continue;
            }
            const int opponent = m_season.ViewCols[j];
            if (!record.CardGames.contains(opponent) || record.CardGames[opponent] < 0) {
                if (m_settings.Cells != 0) {
                    for (int k = 0; k < 3; ++k) {
                        m_grid->setCellBackground(r + 1, first + k, buttonFace);
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
                m_grid->setText(r + 1, first + k, QStringView(CardCellText(values[k], zero)));
            }
        }
    }
    // Team names decide the first column; an opponent's name spans its three
    // columns, which share the width it needs.
    m_grid->fitColWidth(0, 1200, 2);
    int nameWidth = 0;
    for (int j = 1; j <= nC; ++j) {
        nameWidth = std::max(nameWidth, m_grid->textWidth(m_grid->text(0, 3 * j - 2)));
    }
    const int countWidth = std::max(40 * fontSize, pixelsToTwips((nameWidth + 9) / 3 + 1, *m_grid));
    for (int col = 1; col <= 3 * nC; ++col) {
        m_grid->fitColWidth(col, countWidth, 2);
    }
    m_grid->setFixedBackground(simulation ? SimulationHeaderBackground : QColor());
    m_highlightedRow = m_highlightedCol = m_highlightedGroupCol = 0;
}

void CardPane::HighlightCell(int row, int col)
{
    if (m_settings.Selection == 0 || row <= 1 || col <= 0) {
        return;
    }
    const QPalette &palette = m_grid->palette();
    const QColor normal = m_season.SimMode == 1 ? SimulationHeaderBackground
                                                : colorFromStored(StoredButtonFace, palette);
    const QColor normalText = palette.color(QPalette::ButtonText);
    const QColor highlight = palette.color(QPalette::Highlight);
    const QColor highlightText = palette.color(QPalette::HighlightedText);
    auto paint = [this](int r, int c, const QColor &back, const QColor &fore) {
        m_grid->setCellBackground(r, c, back);
        m_grid->setCellForeground(r, c, fore);
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
    m_grid->setCurrentCell(row, col);
}

void CardPane::writeCardCell(int row, int col, int value)
{
    m_grid->setText(row, col, fromText(CardCellText(value, m_settings.Zero != 0)));
}

void CardPane::pressed(int row, int col, Qt::MouseButton button)
{
    if (!isDataCell(row, col)) {
        return;
    }
    if (m_settings.Enter == 1) {
        HighlightCell(row, col);
        if (m_settings.DblClick == 0) {
            OpenCellEditor();
        }
        return;
    }
    m_grid->setCurrentCell(row, col);
    enter(row, col, nextClickValue(m_grid->text(row, col).toInt(), button == Qt::LeftButton));
}

// One entry on a cell: a refusal is reported; an accepted value is shown in
// its cell and the mirror cell and announced with the card's state before
// and after, for the standings and for undo.
void CardPane::enter(int row, int col, int value)
{
    const CardEntry cell = EnterCardValue(m_season, row, col, QueryCard);
    const CardState before = ReadCardState(m_season, cell.team, cell.opponent);
    const int shown = m_grid->text(row, col).toInt();
    const CardEntry entry = EnterCardValue(m_season, row, col, value);
    if (!entry.accepted()) {
        if (entry.code == CardEntryResult::Finished && entry.games > 0 && entry.most > shown) {
            // There is room, only not for this much: say how much.
            reportCardLimit(entry);
        } else {
            ReportCardError(entry.code);
        }
        return;
    }
    writeCardCell(row, col, value);
    // The opponent's mirror cell is on screen only when it is one of the rows.
    if (entry.mirrorRow < m_grid->rowCount()) {
        writeCardCell(entry.mirrorRow, entry.mirrorCol, value);
    }
    static const char16_t *const kinds[] = {u"勝", u"敗", u"分"};
    QString text = fromText(m_season.team(entry.team).TeamName) + QStringLiteral(" - ") +
                   fromText(m_season.team(entry.opponent).TeamName) + QLatin1Char(' ') +
                   QString::fromUtf16(kinds[(col - 1) % 3]) + QLatin1Char(' ') +
                   QString::number(shown) + QStringLiteral("→") + QString::number(value);
    if (m_season.SimMode != 0) {
        text += QStringLiteral(" (シミュレーション)");
    }
    emit cardChanged(CardChange{entry.team, entry.opponent, before,
                                ReadCardState(m_season, entry.team, entry.opponent), text});
}

void CardPane::released(int row, int col)
{
    if (isDataCell(row, col)) {
        ShowCardStatus(row, col);
    }
}

void CardPane::mouseMoved(int row, int col)
{
    if (!isDataCell(row, col)) {
        if (m_settings.ToolTip != 0) {
            m_grid->setToolTipText(QString());
        }
        m_grid->viewport()->unsetCursor();
        emit statusText(QString());
        return;
    }
    if (m_settings.Enter == 0) {
        m_grid->viewport()->setCursor(Qt::CrossCursor);
        HighlightCell(row, col);
    } else {
        m_grid->viewport()->setCursor(Qt::IBeamCursor);
    }
    ShowCardStatus(row, col);
}

void CardPane::doubleClicked(int row, int col)
{
    if (m_settings.Enter == 1 && m_settings.DblClick != 0 && isDataCell(row, col)) {
        HighlightCell(row, col);
        OpenCellEditor();
    }
}

void CardPane::keyPressed(QKeyEvent *event)
{
    if (m_settings.Enter == 1 &&
        (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter)) {
        OpenCellEditor();
    }
}

void CardPane::OpenCellEditor()
{
    m_editRow = m_grid->currentRow();
    m_editCol = m_grid->currentCol();
    if (!isDataCell(m_editRow, m_editCol) ||
        !EnterCardValue(m_season, m_editRow, m_editCol, LocateCell).accepted()) {
        return;
    }
    m_myCells->setGeometry(m_grid->cellRect(m_editRow, m_editCol));
    m_myCells->setText(m_grid->text(m_editRow, m_editCol));
    m_myCells->show();
    m_myCells->setFocus();
    m_myCells->selectAll();
}

void CardPane::commitCellEditor()
{
    const int value = ReadCardText(m_myCells->text().toStdU16String());
    hideCellEditor();
    enter(m_editRow, m_editCol, value);
    // The status bar follows the card as a click would make it.
    ShowCardStatus(m_editRow, m_editCol);
}

void CardPane::hideCellEditor()
{
    if (!m_myCells->isVisible()) {
        return;
    }
    m_myCells->clear();
    m_myCells->hide();
    m_grid->setFocus();
}

bool CardPane::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == m_myCells) {
        if (event->type() == QEvent::KeyPress) {
            auto *key = static_cast<QKeyEvent *>(event);
            switch (key->key()) {
            case Qt::Key_Return:
            case Qt::Key_Enter:
                commitCellEditor();
                return true;
            case Qt::Key_Escape:
                hideCellEditor();
                return true;
            case Qt::Key_Backspace:
                return false;
            default:
                if (key->matches(QKeySequence::Paste)) {
                    return false;
                }
                // Only digits are typed into a card cell.
                return !(key->key() >= Qt::Key_0 && key->key() <= Qt::Key_9 &&
                         (key->modifiers() & ~Qt::KeypadModifier) == Qt::NoModifier);
            }
        }
        if (event->type() == QEvent::FocusOut) {
            hideCellEditor();
        }
    }
    return QObject::eventFilter(watched, event);
}

void CardPane::ShowCardStatus(int row, int col)
{
    emit statusText(QString());
    const CardEntry entry = EnterCardValue(m_season, row, col, QueryCard);
    if (entry.code == CardEntryResult::OwnCard || !m_season.Teams.contains(entry.team) ||
        !m_season.Teams.contains(entry.opponent)) {
        m_grid->setToolTipText(QString());
        return;
    }
    const QString a = fromText(m_season.team(entry.team).TeamName);
    const QString b = fromText(m_season.team(entry.opponent).TeamName);
    emit statusText(a + QStringLiteral(" － ") + b + QStringLiteral("： 残り ") +
                    QString::number(entry.count) + QStringLiteral(" 試合"));
    if (m_settings.ToolTip != 0) {
        m_grid->setToolTipText(a + QStringLiteral(" － ") + b + QStringLiteral(" (残り") +
                               QString::number(entry.count) + QStringLiteral("試合)"));
    }
}

void CardPane::reportCardLimit(const CardEntry &entry)
{
    if (m_settings.MsgBox == 0) {
        return;
    }
    QString text = QStringLiteral("このカードは最大%1試合です").arg(entry.games);
    if (entry.most < entry.games) {
        text += QStringLiteral("\r\nこの欄には%1まで入力できます").arg(entry.most);
    }
    m_prompts.message(text, MessageIcon::Exclamation, MessageButtons::Ok);
}

void CardPane::ReportCardError(CardEntryResult code)
{
    if (m_settings.MsgBox == 0) {
        return;
    }
    if (code == CardEntryResult::NotSet) {
        m_prompts.message(QStringLiteral("このカードは設定されていません"),
                          MessageIcon::Information, MessageButtons::Ok);
    } else if (code == CardEntryResult::Finished) {
        m_prompts.message(QStringLiteral("このカードは終了しています"), MessageIcon::Exclamation,
                          MessageButtons::Ok);
    }
}

} // namespace penarin
