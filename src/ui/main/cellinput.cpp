// Entering results in the head-to-head grid MyG: clicks in mouse input, the
// in-place editor MyCells in keyboard input, the card texts of the status
// bar, and the switch between result and simulation mode.

#include "platform/flexgrid.h"
#include "platform/prompts.h"
#include "season/cellsfunction.h"
#include "ui/main/frmmain.h"

#include <QComboBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>

namespace penarin {

namespace {

bool isDataCell(int row, int col)
{
    return row > 1 && col > 0;
}

} // namespace

void frmMain::setSimulationMode(bool simulation)
{
    m_btnClear->setEnabled(simulation);
    m_season.SimMode = simulation ? 1 : 0;
    if (!m_season.HasSeason) {
        return;
    }
    FillGrids(m_cmbLg->currentIndex(), m_cmbgp->currentIndex());
    if (!simulation && m_settings.Simulation == 0) {
        ClearSimulation();
    }
}

void frmMain::ClearSimulation()
{
    penarin::ClearSimulation(m_season);
}

void frmMain::writeCardCell(int row, int col, int value)
{
    m_myG->setText(row, col, QString::fromStdU16String(CardCellText(value, m_settings.Zero != 0)));
}

void frmMain::cardPressed(int row, int col, Qt::MouseButton button)
{
    if (m_settings.Enter == 1) {
        if (isDataCell(row, col)) {
            HighlightCell(row, col);
            if (m_settings.DblClick == 0) {
                OpenCellEditor();
            }
        }
        return;
    }
    if (!isDataCell(row, col)) {
        return;
    }
    m_mirrorRow = row;
    m_mirrorCol = col;
    m_myG->setCurrentCell(row, col);
    const int value = nextClickValue(m_myG->text(row, col).toInt(), button == Qt::LeftButton);
    int team = 0;
    int opponent = 0;
    int count = 0;
    const CardEntryResult result =
        EnterCardValue(m_season, m_mirrorRow, m_mirrorCol, value, team, opponent, count);
    showCardEntry(result, row, col, value);
}

// After EnterCardValue: a refusal is reported, an accepted value is shown in
// its cell and the mirror cell, and the standings follow.
void frmMain::showCardEntry(CardEntryResult result, int row, int col, int value)
{
    if (result != CardEntryResult::Accepted) {
        ReportCardError(static_cast<int>(result));
        return;
    }
    writeCardCell(row, col, value);
    // The opponent's mirror cell is on screen only when it is one of the rows.
    if (m_mirrorRow < m_myG->rowCount()) {
        writeCardCell(m_mirrorRow, m_mirrorCol, value);
    }
    RefreshStandings();
}

void frmMain::cardReleased(int row, int col)
{
    if (isDataCell(row, col)) {
        ShowCardStatus(row, col);
    }
}

void frmMain::cardMouseMoved(int row, int col)
{
    if (!isDataCell(row, col)) {
        if (m_settings.ToolTip != 0) {
            m_myG->setToolTipText(QString());
        }
        m_myG->viewport()->unsetCursor();
        setPanel(1, QString());
        return;
    }
    if (m_settings.Enter == 0) {
        m_myG->viewport()->setCursor(Qt::CrossCursor);
        HighlightCell(row, col);
    } else {
        m_myG->viewport()->setCursor(Qt::IBeamCursor);
    }
    ShowCardStatus(row, col);
}

void frmMain::cardDoubleClicked(int row, int col)
{
    if (m_settings.Enter == 1 && m_settings.DblClick != 0 && isDataCell(row, col)) {
        HighlightCell(row, col);
        OpenCellEditor();
    }
}

void frmMain::cardKeyPressed(QKeyEvent *event)
{
    if (m_settings.Enter == 1 &&
        (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter)) {
        OpenCellEditor();
    }
}

void frmMain::OpenCellEditor()
{
    m_editRow = m_myG->currentRow();
    m_editCol = m_myG->currentCol();
    if (!isDataCell(m_editRow, m_editCol)) {
        return;
    }
    m_mirrorRow = m_editRow;
    m_mirrorCol = m_editCol;
    int team = 0;
    int opponent = 0;
    int count = 0;
    if (EnterCardValue(m_season, m_mirrorRow, m_mirrorCol, LocateCell, team, opponent, count) !=
        CardEntryResult::Accepted) {
        return;
    }
    m_myCells->setGeometry(m_myG->cellRect(m_editRow, m_editCol));
    m_myCells->setText(m_myG->text(m_editRow, m_editCol));
    m_myCells->show();
    m_myCells->setFocus();
    m_myCells->selectAll();
}

void frmMain::commitCellEditor()
{
    bool ok = false;
    const int typed = m_myCells->text().toInt(&ok);
    // Digits only reach the editor; a number beyond 16 bits cannot fit any card.
    const int value = ok ? typed : (m_myCells->text().isEmpty() ? 0 : MaxCardValue + 1);
    int team = 0;
    int opponent = 0;
    int count = 0;
    int row = m_editRow;
    int col = m_editCol;
    const CardEntryResult result = EnterCardValue(m_season, row, col, value, team, opponent, count);
    m_mirrorRow = row;
    m_mirrorCol = col;
    hideCellEditor();
    showCardEntry(result, m_editRow, m_editCol, value);
}

void frmMain::hideCellEditor()
{
    if (!m_myCells->isVisible()) {
        return;
    }
    m_myCells->clear();
    m_myCells->hide();
    m_myG->setFocus();
}

bool frmMain::eventFilter(QObject *watched, QEvent *event)
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
                // Only digits are typed into a card cell.
                return !(key->key() >= Qt::Key_0 && key->key() <= Qt::Key_9 &&
                         (key->modifiers() & ~Qt::KeypadModifier) == Qt::NoModifier);
            }
        }
        if (event->type() == QEvent::FocusOut) {
            hideCellEditor();
        }
    }
    return QMainWindow::eventFilter(watched, event);
}

void frmMain::ShowCardStatus(int row, int col)
{
    setPanel(1, QString());
    int team = 0;
    int opponent = 0;
    int count = 0;
    const CardEntryResult result =
        EnterCardValue(m_season, row, col, QueryCard, team, opponent, count);
    if (result == CardEntryResult::OwnCard || !m_season.Teams.contains(team) ||
        !m_season.Teams.contains(opponent)) {
        m_myG->setToolTipText(QString());
        return;
    }
    const QString a = QString::fromStdU16String(m_season.team(team).TeamName);
    const QString b = QString::fromStdU16String(m_season.team(opponent).TeamName);
    setPanel(1, a + QStringLiteral(" － ") + b + QStringLiteral("： 残り ") +
                    QString::number(count) + QStringLiteral(" 試合"));
    if (m_settings.ToolTip != 0) {
        m_myG->setToolTipText(a + QStringLiteral(" － ") + b + QStringLiteral(" (残り") +
                              QString::number(count) + QStringLiteral("試合)"));
    }
}

void frmMain::ReportCardError(int code)
{
    if (m_settings.MsgBox == 0) {
        return;
    }
    if (code == static_cast<int>(CardEntryResult::NotSet)) {
        m_prompts.message(QStringLiteral("このカードは設定されていません"),
                          MessageIcon::Information, MessageButtons::Ok);
    } else if (code == static_cast<int>(CardEntryResult::Finished)) {
        m_prompts.message(QStringLiteral("このカードは終了しています"), MessageIcon::Exclamation,
                          MessageButtons::Ok);
    }
}

} // namespace penarin
