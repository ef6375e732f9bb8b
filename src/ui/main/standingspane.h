#pragma once

#include "magic/calcodule.h"
#include "season/season.h"
#include "season/settings.h"

#include <QObject>

#include <memory>

class QMenu;

namespace penarin {

class FlexGrid;

// The standings grid RnkG: the ordered rows of the last recalculation pass
// with one narrow magic column per rival, the texts shown while the mouse
// moves over it, and the "セル幅" menu of the rival columns.
class StandingsPane : public QObject
{
    Q_OBJECT

public:
    StandingsPane(const Season &season, Settings &settings, QWidget *parentWidget);

    [[nodiscard]] FlexGrid *grid() const { return m_grid; }

    // Lays out and fills the grid from a pass's published standings, which
    // the hover texts and double clicks read until the next fill.
    void fill(std::shared_ptr<const PublishedStandings> published);
    void clear();
    void applyFont();

    enum class CellWidthChange
    {
        Wider,
        Narrower,
        Standard
    };
    // Acts on the rival column under the mouse at the last right-button press.
    void changeRivalColumnWidth(CellWidthChange change);

signals:
    // The status bar's first panel text for the cell under the mouse.
    void statusText(const QString &text);
    // Double clicks: the team data of a row against a rival, and the surplus
    // composition of a row (standings positions from 0).
    void teamDataRequested(int position, int rivalPosition);
    void compositionRequested(int position);

private:
    void mouseMoved(int row, int col);
    void pressed(int row, int col, Qt::MouseButton button);
    void doubleClicked(int row, int col);

    const Season &m_season;
    Settings &m_settings;
    std::shared_ptr<const PublishedStandings> m_published;
    FlexGrid *m_grid = nullptr;
    QMenu *m_cellWidthMenu = nullptr;
    int m_rivalColumnUnderMouse = 0;
};

} // namespace penarin
