#pragma once

#include "magic/calcodule.h"
#include "odds/odds.h"

#include <QWidget>

#include <chrono>
#include <memory>

class QComboBox;
class QLabel;
class QTimer;

namespace penarin {

class FlexGrid;
struct Settings;

// The probability part of "優勝・CS争い": how likely each team is to win the
// title and to finish in the first k places, found by exact enumeration or
// simulation of the remaining games, and "大一番", the next games that move
// the selected team's chances the most. The race table's marks stay the
// exact analysis; these are chances, labelled as such, never a proof.
//
// grid() holds the two probability columns, one row per team in the race
// table's order with the same two header rows, to be placed beside the
// race table; the panel itself holds the model choice and the 大一番 list.
class OddsPanel : public QWidget
{
    Q_OBJECT

public:
    // published: the view's latest recalculation (its teams and their
    // order). The odds start at once on a worker thread.
    OddsPanel(const Season &season, const PublishedStandings &published, const Settings &settings,
              const ViewRequest &view, int topK, QWidget *parent = nullptr);
    ~OddsPanel() override;

    [[nodiscard]] FlexGrid *grid() const { return m_grid; }
    // Scrolls the probability rows with the race table's rows.
    void follow(FlexGrid *raceGrid);

    void setTopK(int topK);
    void setModel(odds::Model model);
    [[nodiscard]] odds::Model model() const { return m_request.GameModel; }
    // The team whose 大一番 are listed.
    void setSelectedTeam(int teamNo);

    [[nodiscard]] bool computing() const { return !m_ready; }
    // Blocks until the running computation is shown, at most `limit`.
    bool waitForOdds(std::chrono::milliseconds limit);
    [[nodiscard]] const odds::OddsResult &result() const { return m_result; }

signals:
    // A row of the probability columns was clicked.
    void teamSelected(int teamNo);

private:
    struct Job;

    void start();
    bool collect();
    void fillGrid();
    void fillBigGames();

    std::shared_ptr<const Season> m_snapshot;
    const Settings &m_settings;
    odds::OddsRequest m_request;
    std::shared_ptr<Job> m_job;
    bool m_ready = false;
    odds::OddsResult m_result;
    int m_teamNo = 0;

    FlexGrid *m_grid = nullptr;
    QComboBox *m_cmbModel = nullptr;
    QLabel *m_lblMethod = nullptr;
    QLabel *m_lblBigGames = nullptr;
    QComboBox *m_cmbBasis = nullptr;
    FlexGrid *m_grdBigGames = nullptr;
    QTimer *m_poll = nullptr;
};

} // namespace penarin
