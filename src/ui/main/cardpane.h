#pragma once

#include "season/cellsfunction.h"
#include "season/season.h"
#include "season/settings.h"
#include "ui/main/cardundo.h"

#include <QObject>

class QKeyEvent;
class QLineEdit;

namespace penarin {

class FlexGrid;
class Prompts;

// The head-to-head grid MyG: the wins, losses and draws of every card of the
// view, entered with the mouse or, in keyboard input, through the in-place
// editor MyCells; real results or, in simulation mode, simulated ones.
class CardPane : public QObject
{
    Q_OBJECT

public:
    CardPane(Season &season, Settings &settings, Prompts &prompts, QWidget *parentWidget);

    [[nodiscard]] FlexGrid *grid() const { return m_grid; }
    [[nodiscard]] QLineEdit *cellEditor() const { return m_myCells; }

    // Lays out and fills the grid from the season's view lists.
    void fill();
    void clear();
    // Fonts and the input method's focus mark, from the settings.
    void applySettings();

    void HighlightCell(int row, int col);
    void OpenCellEditor();
    void hideCellEditor();

signals:
    // A result was accepted and stored: the standings must follow.
    void cardChanged(const CardChange &change);
    // The status bar's first panel text.
    void statusText(const QString &text);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void pressed(int row, int col, Qt::MouseButton button);
    void released(int row, int col);
    void mouseMoved(int row, int col);
    void doubleClicked(int row, int col);
    void keyPressed(QKeyEvent *event);
    void commitCellEditor();
    void ShowCardStatus(int row, int col);
    void ReportCardError(CardEntryResult code);
    void reportCardLimit(const CardEntry &entry);
    void writeCardCell(int row, int col, int value);
    void enter(int row, int col, int value);

    Season &m_season;
    Settings &m_settings;
    Prompts &m_prompts;
    FlexGrid *m_grid = nullptr;
    QLineEdit *m_myCells = nullptr;

    int m_highlightedRow = 0;
    int m_highlightedCol = 0;
    int m_highlightedGroupCol = 0;
    int m_editRow = 0;
    int m_editCol = 0;
};

} // namespace penarin
