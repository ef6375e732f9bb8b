#include "ui/dialogs/frmimport.h"

#include "platform/flexgrid.h"
#include "season/snapshotinput.h"

#include <QCheckBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

namespace penarin {

namespace {

enum LineColumn
{
    LineNoCol,
    DateCol,
    TeamCol,
    OpponentCol,
    ResultCol,
    StatusCol,
    LineColumnCount,
};

const QColor ErrorText(192, 0, 0);
const QColor DuplicateBackground(255, 255, 192);

QString text(const std::u16string &value)
{
    return QString::fromStdU16String(value);
}

// A matched team by its name in the season; what the line said otherwise.
QString teamText(const Season &season, int team, const std::u16string &written)
{
    return team > 0 ? text(season.team(team).TeamName) : text(written);
}

} // namespace

QString ImportStatusText(const ImportLine &line)
{
    switch (line.status) {
    case ImportStatus::Import:
        return QStringLiteral("取り込み");
    case ImportStatus::PossibleDuplicate:
        return QStringLiteral("重複の可能性 (%1)").arg(text(line.reason));
    case ImportStatus::Error:
        break;
    }
    return QStringLiteral("エラー: %1").arg(text(line.reason));
}

frmImport::frmImport(const Season &season, const GameList &list, QWidget *parent)
    : QDialog(parent), m_season(season), m_list(list)
{
    setWindowTitle(QStringLiteral("試合結果の取り込み"));

    m_lblSummary = new QLabel(this);
    m_lblSummary->setObjectName(QStringLiteral("lblSummary"));
    m_lines = new FlexGrid(this);
    m_lines->setObjectName(QStringLiteral("grdLines"));
    m_lines->setFocusMark(FlexGrid::FocusMark::None);
    m_totals = new FlexGrid(this);
    m_totals->setObjectName(QStringLiteral("grdTotals"));
    m_totals->setFocusMark(FlexGrid::FocusMark::None);

    m_chkSkip = new QCheckBox(QStringLiteral("エラーの行を飛ばして取り込む(&S)"), this);
    m_chkSkip->setObjectName(QStringLiteral("chkSkip"));
    m_chkSnapshots = new QCheckBox(QStringLiteral("日付ごとにグラフデータを作成(&G)"), this);
    m_chkSnapshots->setObjectName(QStringLiteral("chkSnapshots"));
    // Snapshots hold the real standings: simulated games would not move them.
    m_chkSnapshots->setEnabled(season.SimMode == 0);
    m_btnImport = new QPushButton(QStringLiteral("取り込む(&I)"), this);
    m_btnImport->setObjectName(QStringLiteral("btnImport"));
    m_btnImport->setDefault(true);
    m_btnCancel = new QPushButton(QStringLiteral("キャンセル"), this);
    m_btnCancel->setObjectName(QStringLiteral("btnCancel"));

    auto *grids = new QHBoxLayout;
    grids->addWidget(m_lines, 3);
    grids->addWidget(m_totals, 1);
    auto *buttons = new QHBoxLayout;
    buttons->addWidget(m_chkSkip);
    buttons->addWidget(m_chkSnapshots);
    buttons->addStretch(1);
    buttons->addWidget(m_btnImport);
    buttons->addWidget(m_btnCancel);
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(m_lblSummary);
    layout->addLayout(grids, 1);
    layout->addLayout(buttons);
    setTabOrder(m_lines, m_totals);
    setTabOrder(m_totals, m_chkSkip);
    setTabOrder(m_chkSkip, m_chkSnapshots);
    setTabOrder(m_chkSnapshots, m_btnImport);
    setTabOrder(m_btnImport, m_btnCancel);

    connect(m_chkSkip, &QCheckBox::toggled, this, [this] { updateImportButton(); });
    connect(m_btnImport, &QPushButton::clicked, this, &QDialog::accept);
    connect(m_btnCancel, &QPushButton::clicked, this, &QDialog::reject);

    fillLines();
    fillTotals();
    updateImportButton();
    resize(1000, 560);
}

ImportChoice frmImport::choice() const
{
    return {m_chkSnapshots->isEnabled() && m_chkSnapshots->isChecked(), m_chkSkip->isChecked()};
}

void frmImport::fillLines()
{
    const int count = static_cast<int>(m_list.lines.size());
    int duplicates = 0;
    FlexGrid::UpdateGuard guard(*m_lines);
    m_lines->clear();
    m_lines->setRowCount(1 + count);
    m_lines->setColCount(LineColumnCount);
    m_lines->setFixedRows(1);
    m_lines->setFixedCols(0);
    const QString headers[] = {QStringLiteral("行"),     QStringLiteral("日付"),
                               QStringLiteral("チーム"), QStringLiteral("相手"),
                               QStringLiteral("結果"),   QStringLiteral("状態")};
    for (int col = 0; col < LineColumnCount; ++col) {
        m_lines->setText(0, col, headers[col]);
        m_lines->setCellAlignment(0, col, Qt::AlignCenter);
    }
    for (int k = 0; k < count; ++k) {
        const ImportLine &line = m_list.lines[static_cast<std::size_t>(k)];
        const int row = k + 1;
        m_lines->setText(row, LineNoCol, QString::number(line.lineNo));
        m_lines->setCellAlignment(row, LineNoCol, Qt::AlignRight | Qt::AlignVCenter);
        if (line.date) {
            m_lines->setText(row, DateCol, text(snapshotDateText(*line.date)));
        }
        m_lines->setText(row, TeamCol, teamText(m_season, line.team, line.teamText));
        m_lines->setText(row, OpponentCol, teamText(m_season, line.opponent, line.opponentText));
        m_lines->setText(row, ResultCol, text(line.resultText));
        m_lines->setCellAlignment(row, ResultCol, Qt::AlignCenter);
        m_lines->setText(row, StatusCol, ImportStatusText(line));
        for (int col = 0; col < LineColumnCount; ++col) {
            if (!line.valid()) {
                m_lines->setCellForeground(row, col, ErrorText);
            } else if (line.status == ImportStatus::PossibleDuplicate) {
                m_lines->setCellBackground(row, col, DuplicateBackground);
            }
        }
        duplicates += line.status == ImportStatus::PossibleDuplicate ? 1 : 0;
    }
    for (int col = 0; col < LineColumnCount; ++col) {
        m_lines->fitColWidth(col, 400);
    }
    m_lblSummary->setText(QStringLiteral("%1 行: 取り込み %2、重複の可能性 %3、エラー %4")
                              .arg(count)
                              .arg(m_list.validCount() - duplicates)
                              .arg(duplicates)
                              .arg(m_list.errorCount()));
}

void frmImport::fillTotals()
{
    const OneBased<ImportedRecord> totals = ImportTotals(m_season, m_list);
    std::vector<int> teams;
    for (int team = 1; team <= totals.size(); ++team) {
        const ImportedRecord &added = totals[team];
        if (added.wins + added.losses + added.draws > 0) {
            teams.push_back(team);
        }
    }
    FlexGrid::UpdateGuard guard(*m_totals);
    m_totals->clear();
    m_totals->setRowCount(1 + static_cast<int>(teams.size()));
    m_totals->setColCount(4);
    m_totals->setFixedRows(1);
    m_totals->setFixedCols(0);
    const QString headers[] = {QStringLiteral("チーム"), QStringLiteral("勝"), QStringLiteral("敗"),
                               QStringLiteral("分")};
    for (int col = 0; col < 4; ++col) {
        m_totals->setText(0, col, headers[col]);
        m_totals->setCellAlignment(0, col, Qt::AlignCenter);
    }
    for (std::size_t k = 0; k < teams.size(); ++k) {
        const int row = static_cast<int>(k) + 1;
        const ImportedRecord &added = totals[teams[k]];
        m_totals->setText(row, 0, text(m_season.team(teams[k]).TeamName));
        const int values[] = {added.wins, added.losses, added.draws};
        for (int col = 1; col < 4; ++col) {
            m_totals->setText(row, col, QString::number(values[col - 1]));
            m_totals->setCellAlignment(row, col, Qt::AlignRight | Qt::AlignVCenter);
        }
    }
    for (int col = 0; col < 4; ++col) {
        m_totals->fitColWidth(col, 400);
    }
}

// Nothing is imported while a line is refused, unless the user chose to
// leave the refused lines out; a list without a valid line has nothing to
// import at all.
void frmImport::updateImportButton()
{
    m_btnImport->setEnabled(m_list.validCount() > 0 &&
                            (m_list.errorCount() == 0 || m_chkSkip->isChecked()));
}

std::optional<ImportChoice> ShowImportForm(const Season &season, const GameList &list,
                                           QWidget *parent)
{
    frmImport form(season, list, parent);
    if (form.exec() != QDialog::Accepted) {
        return std::nullopt;
    }
    return form.choice();
}

} // namespace penarin
