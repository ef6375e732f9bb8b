#pragma once

#include "import/gamelist.h"

#include <QDialog>
#include <QString>

#include <optional>

class QCheckBox;
class QLabel;
class QPushButton;

namespace penarin {

class FlexGrid;

// The status column of one line: "取り込み", "重複の可能性 (why)" or
// "エラー: why".
[[nodiscard]] QString ImportStatusText(const ImportLine &line);

// The preview of a game list before it is imported: one row per line with
// the teams as matched, the result and the status, the totals each team
// would gain, and the choices of the import. The season is only read; the
// caller applies the choice.
class frmImport : public QDialog
{
    Q_OBJECT

public:
    frmImport(const Season &season, const GameList &list, QWidget *parent = nullptr);

    // The choices as they stand; what "取り込む" accepts.
    [[nodiscard]] ImportChoice choice() const;

private:
    void fillLines();
    void fillTotals();
    void updateImportButton();

    const Season &m_season;
    const GameList &m_list;
    FlexGrid *m_lines = nullptr;
    FlexGrid *m_totals = nullptr;
    QLabel *m_lblSummary = nullptr;
    QCheckBox *m_chkSkip = nullptr;
    QCheckBox *m_chkSnapshots = nullptr;
    QPushButton *m_btnImport = nullptr;
    QPushButton *m_btnCancel = nullptr;
};

// Shows the preview modally; the choice when the user pressed "取り込む".
[[nodiscard]] std::optional<ImportChoice> ShowImportForm(const Season &season, const GameList &list,
                                                         QWidget *parent = nullptr);

} // namespace penarin
