#pragma once

#include "season/season.h"

#include <QDialog>

#include <cstdint>
#include <vector>

class QComboBox;
class QLabel;
class QListWidget;
class QPushButton;

namespace penarin {

class Prompts;

// The judgment options and previous-year rank dialog. In condition mode it
// edits one championship's ordered tie-break conditions and hands the list
// back to its caller; in previous-year mode it orders the team names of the
// rank sets "設定1" to "設定3" and writes each applied set into the season.
class frmWA : public QDialog
{
    Q_OBJECT

public:
    enum Mode
    {
        ConditionMode = 0,
        PreviousYearMode = 1,
    };
    enum Kind
    {
        LeagueKind = 0,
        DivisionKind = 1,
        InterleagueKind = 2,
    };

    // judgment: 0 highest percentage, 1 most wins (names the first
    // condition). setIndex: the rank set shown first in previous-year mode;
    // in condition mode -1 disables the button that opens the rank sets.
    frmWA(Season &season, Prompts &prompts, int judgment, int mode, std::vector<std::int16_t> list,
          int setIndex, int kind, QWidget *parent = nullptr);

    // The edited list after OK in condition mode; otherwise the list passed.
    [[nodiscard]] const std::vector<std::int16_t> &list() const { return m_list; }
    // Whether OK took a new condition list or a rank set was stored in the
    // season the dialog was given.
    [[nodiscard]] bool edited() const { return m_edited; }

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void buildControls();
    void loadConditions();
    void loadPreviousYear(int setIndex);
    void showRankSet(int set);
    void addSelected();
    void removeSelected();
    void moveSelected(int step);
    void onOk();
    void openRankSets();
    [[nodiscard]] std::vector<int> rightValues() const;
    void appendRight(int value);

    Season &m_season;
    Prompts &m_prompts;
    int m_judgment;
    int m_mode;
    std::vector<std::int16_t> m_list;
    int m_kind;
    bool m_edited = false;

    QLabel *m_label1 = nullptr;
    QLabel *m_label2 = nullptr;
    QListWidget *m_lstDrg = nullptr;
    QListWidget *m_lstDrp = nullptr;
    QPushButton *m_btnAdd = nullptr;
    QPushButton *m_btnDel = nullptr;
    QPushButton *m_btnOK = nullptr;
    QPushButton *m_btnCan = nullptr;
    QPushButton *m_btnZrnk = nullptr;
    QLabel *m_lbluser = nullptr;
    QComboBox *m_cmbUser = nullptr;
};

struct ConditionFormResult
{
    std::vector<std::int16_t> list;
    bool edited = false;
};

// Opens the dialog modally and returns the list it holds when it closes: the
// edited list after OK in condition mode, otherwise `list` unchanged.
// Condition mode writes nothing into the season; previous-year mode stores
// every applied rank set in `season`, the caller's working copy, which the
// caller then takes over as one step.
ConditionFormResult ShowConditionForm(Season &season, Prompts &prompts, int judgment, int mode,
                                      const std::vector<std::int16_t> &list, int setIndex, int kind,
                                      QWidget *parent = nullptr);

} // namespace penarin
