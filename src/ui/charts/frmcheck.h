#pragma once

#include <QDialog>

#include <cstdint>
#include <vector>

class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QPushButton;
class QTabWidget;

namespace penarin {

class Prompts;
struct PublishedStandings;
struct Season;
struct Settings;

// The chart data dialog ("グラフデータ"): which snapshots and teams the charts
// show, deleting snapshots, each team's line, and the length of the names the
// charts print. "&OK" applies the snapshots, the teams and the name length to
// the season and the settings; "適用(&A)" stores one team's line settings at
// once, and those stay even when the dialog is cancelled. It works on the
// season it is given, the caller's working copy.
class frmCheck : public QDialog
{
    Q_OBJECT

public:
    // The team lists follow the view's published standings.
    frmCheck(Season &season, const PublishedStandings *published, Settings &settings,
             Prompts &prompts, QWidget *parent = nullptr);

    // Whether a team's line was applied or OK applied the rest.
    [[nodiscard]] bool edited() const { return m_edited; }

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void fillData();
    void fillTeams();
    void toggleDataSelection();
    void deleteLine();
    void selectMonthly();
    void search();
    void applySelection(const std::vector<bool> &selected);
    void loadLineSettings(int index);
    void chooseColor();
    void showColor();
    void applyLineSettings();
    void confirm();

    Season &m_season;
    const PublishedStandings *m_published;
    Settings &m_settings;
    Prompts &m_prompts;

    QTabWidget *m_tabs = nullptr;
    QListWidget *m_lstData = nullptr;
    QLineEdit *m_txtSearch = nullptr;
    QListWidget *m_lstTeam = nullptr;
    QLineEdit *m_txtNameLen = nullptr;
    QComboBox *m_cmbTeam = nullptr;
    QLabel *m_lblColor = nullptr;
    QListWidget *m_lstStyle = nullptr;
    QLineEdit *m_txtWidth = nullptr;
    QCheckBox *m_chkLabels = nullptr;

    std::vector<bool> m_deleted; // per snapshot line
    std::vector<int> m_teams;    // team numbers of the team lines, standings order
    bool m_selectAllNext = true;
    std::int32_t m_color = 0; // the sample, as stored
    bool m_edited = false;
};

struct ChartDataOutcome
{
    bool accepted = false; // closed with "&OK": the charts are drawn again
    bool edited = false;   // the season given was changed
};

// The menu entry "グラフデータ(&C)..." and the chart window's "再表示(&R)...":
// shows the dialog modally over `season`, the caller's working copy.
ChartDataOutcome ShowChartData(Season &season, const PublishedStandings *published,
                               Settings &settings, Prompts &prompts, QWidget *parent);

} // namespace penarin
