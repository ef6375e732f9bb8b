#include "ui/charts/frmcheck.h"

#include "magic/calcodule.h"
#include "platform/prompts.h"
#include "platform/storedcolor.h"
#include "season/chartdata.h"
#include "season/settings.h"
#include "ui/dialogs/formwidgets.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRegularExpressionValidator>
#include <QTabWidget>
#include <QVBoxLayout>

namespace penarin {

namespace {

using form::button;

QLabel *label(const QString &text, const char *name, QWidget *parent, QWidget *buddy = nullptr)
{
    auto *l = new QLabel(text, parent);
    l->setObjectName(QLatin1String(name));
    if (buddy) {
        l->setBuddy(buddy);
    }
    return l;
}

QLineEdit *digitBox(const char *name, const QString &digits, QWidget *parent)
{
    auto *box = new QLineEdit(parent);
    box->setObjectName(QLatin1String(name));
    box->setMaxLength(1);
    box->setValidator(new QRegularExpressionValidator(
        QRegularExpression(QStringLiteral("[%1]?").arg(digits)), box));
    box->setMaximumWidth(box->fontMetrics().horizontalAdvance(QStringLiteral("00")) + 16);
    return box;
}

} // namespace

frmCheck::frmCheck(Season &season, const PublishedStandings *published, Settings &settings,
                   Prompts &prompts, QWidget *parent)
    : QDialog(parent), m_season(season), m_published(published), m_settings(settings),
      m_prompts(prompts)
{
    setObjectName(QStringLiteral("frmCheck"));
    setWindowTitle(QStringLiteral("グラフデータ"));
    setModal(true);

    m_tabs = new QTabWidget(this);
    m_tabs->setObjectName(QStringLiteral("tabCheck"));

    // Tab "データ": the snapshots.
    auto *data = new QWidget;
    data->setObjectName(QStringLiteral("pageData"));
    m_lstData = new QListWidget(data);
    m_lstData->setObjectName(QStringLiteral("lstData"));
    m_lstData->setSelectionMode(QAbstractItemView::MultiSelection);
    m_txtSearch = new QLineEdit(data);
    m_txtSearch->setObjectName(QStringLiteral("txtSearch"));
    auto *btnDataSelect = button(QStringLiteral("選択(&S)"), "btnDataSelect", data);
    auto *btnDelete = button(QStringLiteral("削除(&D)"), "btnDelete", data);
    auto *btnMonthly = button(QStringLiteral("月別(&M)"), "btnMonthly", data);
    auto *btnSearch = button(QStringLiteral("検索(&F)"), "btnSearch", data);
    auto *dataButtons = new QVBoxLayout;
    dataButtons->addWidget(btnDataSelect);
    dataButtons->addWidget(btnDelete);
    dataButtons->addWidget(btnMonthly);
    dataButtons->addSpacing(12);
    dataButtons->addWidget(m_txtSearch);
    dataButtons->addWidget(btnSearch);
    dataButtons->addStretch();
    auto *dataLayout = new QHBoxLayout(data);
    dataLayout->addWidget(m_lstData, 1);
    dataLayout->addLayout(dataButtons);

    // Tab "チーム": the teams and the name length.
    auto *teams = new QWidget;
    teams->setObjectName(QStringLiteral("pageTeam"));
    m_lstTeam = new QListWidget(teams);
    m_lstTeam->setObjectName(QStringLiteral("lstTeam"));
    m_lstTeam->setSelectionMode(QAbstractItemView::MultiSelection);
    auto *btnTeamSelect = button(QStringLiteral("選択(&S)"), "btnTeamSelect", teams);
    m_txtNameLen = digitBox("txtNameLen", QStringLiteral("1-9"), teams);
    auto *nameLen = new QHBoxLayout;
    nameLen->addWidget(
        label(QStringLiteral("チーム名文字数(&M):"), "lblNameLen", teams, m_txtNameLen));
    nameLen->addWidget(m_txtNameLen);
    nameLen->addWidget(label(QStringLiteral("(1～9)"), "lblNameLenRange", teams));
    nameLen->addStretch();
    auto *teamButtons = new QVBoxLayout;
    teamButtons->addWidget(btnTeamSelect);
    teamButtons->addStretch();
    auto *teamTop = new QHBoxLayout;
    teamTop->addWidget(m_lstTeam, 1);
    teamTop->addLayout(teamButtons);
    auto *teamLayout = new QVBoxLayout(teams);
    teamLayout->addLayout(teamTop, 1);
    teamLayout->addLayout(nameLen);

    // Tab "グラフ": one team's line.
    auto *graph = new QWidget;
    graph->setObjectName(QStringLiteral("pageGraph"));
    m_cmbTeam = new QComboBox(graph);
    m_cmbTeam->setObjectName(QStringLiteral("cmbTeam"));
    m_lblColor = label(QString(), "lblColor", graph);
    m_lblColor->setAutoFillBackground(true);
    m_lblColor->setFrameShape(QFrame::Box);
    m_lblColor->setMinimumSize(48, 20);
    auto *btnColor = button(QStringLiteral("..."), "btnColor", graph);
    auto *frmLine = new QGroupBox(QStringLiteral("折線グラフ"), graph);
    frmLine->setObjectName(QStringLiteral("frmLine"));
    m_lstStyle = new QListWidget(frmLine);
    m_lstStyle->setObjectName(QStringLiteral("lstStyle"));
    for (const char16_t *name : LineStyleNames) {
        m_lstStyle->addItem(QString::fromUtf16(name));
    }
    m_lstStyle->setMaximumHeight(m_lstStyle->sizeHintForRow(0) * LineStyleCount +
                                 2 * m_lstStyle->frameWidth() + 4);
    m_txtWidth = digitBox("txtWidth", QStringLiteral("0-9"), frmLine);
    m_chkLabels = new QCheckBox(QStringLiteral("データを表示する(&D)"), frmLine);
    m_chkLabels->setObjectName(QStringLiteral("chkLabels"));
    auto *btnApply = button(QStringLiteral("適用(&A)"), "btnApply", frmLine);
    auto *width = new QHBoxLayout;
    width->addWidget(m_txtWidth);
    width->addWidget(label(QStringLiteral("(1～9)"), "lblWidthRange", frmLine));
    width->addStretch();
    auto *line = new QGridLayout(frmLine);
    line->addWidget(label(QStringLiteral("種類(&L):"), "lblStyle", frmLine, m_lstStyle), 0, 0,
                    Qt::AlignTop);
    line->addWidget(m_lstStyle, 0, 1);
    line->addWidget(label(QStringLiteral("太さ(&W):"), "lblWidth", frmLine, m_txtWidth), 1, 0);
    line->addLayout(width, 1, 1);
    line->addWidget(m_chkLabels, 2, 0, 1, 2);
    auto *apply = new QHBoxLayout;
    apply->addStretch();
    apply->addWidget(btnApply);
    line->addLayout(apply, 3, 0, 1, 2);
    auto *color = new QHBoxLayout;
    color->addWidget(m_lblColor);
    color->addWidget(btnColor);
    color->addStretch();
    auto *graphTop = new QGridLayout;
    graphTop->addWidget(label(QStringLiteral("チーム(&T):"), "lblTeam", graph, m_cmbTeam), 0, 0);
    graphTop->addWidget(m_cmbTeam, 0, 1);
    graphTop->addWidget(label(QStringLiteral("色(&C):"), "lblColorCaption", graph, btnColor), 1, 0);
    graphTop->addLayout(color, 1, 1);
    graphTop->setColumnStretch(1, 1);
    auto *graphLayout = new QVBoxLayout(graph);
    graphLayout->addLayout(graphTop);
    graphLayout->addWidget(frmLine);
    graphLayout->addStretch();

    m_tabs->addTab(data, QStringLiteral("データ"));
    m_tabs->addTab(teams, QStringLiteral("チーム"));
    m_tabs->addTab(graph, QStringLiteral("グラフ"));

    auto *btnOK = button(QStringLiteral("&OK"), "btnOK", this);
    btnOK->setDefault(true);
    auto *btnCancel = button(QStringLiteral("キャンセル"), "btnCancel", this);
    auto *buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(btnOK);
    buttons->addWidget(btnCancel);
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(m_tabs, 1);
    layout->addLayout(buttons);
    setMinimumSize(400, 320);

    fillData();
    fillTeams();

    connect(btnDataSelect, &QPushButton::clicked, this, &frmCheck::toggleDataSelection);
    connect(btnDelete, &QPushButton::clicked, this, &frmCheck::deleteLine);
    connect(btnMonthly, &QPushButton::clicked, this, &frmCheck::selectMonthly);
    connect(btnSearch, &QPushButton::clicked, this, &frmCheck::search);
    m_txtSearch->installEventFilter(this);
    connect(btnTeamSelect, &QPushButton::clicked, m_lstTeam, &QListWidget::selectAll);
    connect(m_cmbTeam, &QComboBox::currentIndexChanged, this, &frmCheck::loadLineSettings);
    connect(btnColor, &QPushButton::clicked, this, &frmCheck::chooseColor);
    connect(btnApply, &QPushButton::clicked, this, &frmCheck::applyLineSettings);
    connect(btnOK, &QPushButton::clicked, this, &frmCheck::confirm);
    connect(btnCancel, &QPushButton::clicked, this, &QDialog::reject);

    m_tabs->setCurrentIndex(0);
    if (m_cmbTeam->count() > 0) {
        m_cmbTeam->setCurrentIndex(0);
        loadLineSettings(0);
    }
}

// Enter in the search box searches; it must not reach the default button
// and close the dialog.
bool frmCheck::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == m_txtSearch && event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent *>(event)->key();
        if (key == Qt::Key_Return || key == Qt::Key_Enter) {
            search();
            return true;
        }
    }
    return QDialog::eventFilter(watched, event);
}

void frmCheck::fillData()
{
    m_deleted.assign(static_cast<std::size_t>(m_season.SnapshotCount()), false);
    for (int k = 1; k <= m_season.SnapshotCount(); ++k) {
        const Snapshot &snapshot = m_season.Snapshots[k];
        auto *item =
            new QListWidgetItem(QString::fromStdU16String(SnapshotLineText(snapshot)), m_lstData);
        item->setSelected(snapshot.Shown != StoredFalse);
    }
}

void frmCheck::fillTeams()
{
    m_txtNameLen->setText(QString::number(m_settings.NameLen));
    if (m_published == nullptr) {
        return;
    }
    for (const StandingsRow &row : m_published->Rows) {
        if (!m_season.Teams.contains(row.TeamNo)) {
            continue;
        }
        m_teams.push_back(row.TeamNo);
        const QString name = QString::fromStdU16String(m_season.team(row.TeamNo).TeamName);
        auto *item = new QListWidgetItem(name, m_lstTeam);
        item->setSelected(!m_season.TeamShown.contains(row.TeamNo) ||
                          m_season.TeamShown[row.TeamNo] != StoredFalse);
        m_cmbTeam->addItem(name);
    }
}

void frmCheck::applySelection(const std::vector<bool> &selected)
{
    for (int i = 0; i < m_lstData->count(); ++i) {
        m_lstData->item(i)->setSelected(selected[static_cast<std::size_t>(i)]);
    }
}

void frmCheck::toggleDataSelection()
{
    std::vector<bool> selected(m_deleted.size());
    for (std::size_t i = 0; i < selected.size(); ++i) {
        selected[i] = m_selectAllNext && !m_deleted[i];
    }
    applySelection(selected);
    m_selectAllNext = !m_selectAllNext;
}

void frmCheck::deleteLine()
{
    const int row = m_lstData->currentRow();
    if (row < 0) {
        return;
    }
    m_deleted[static_cast<std::size_t>(row)] = true;
    QListWidgetItem *item = m_lstData->item(row);
    item->setText(QString());
    item->setSelected(false);
    item->setFlags(item->flags() & ~Qt::ItemIsSelectable);
}

void frmCheck::selectMonthly()
{
    std::vector<double> dates;
    for (const Snapshot &snapshot : m_season.Snapshots) {
        dates.push_back(snapshot.Date);
    }
    applySelection(MonthlySelection(dates, m_deleted));
}

void frmCheck::search()
{
    std::vector<std::u16string> memos;
    for (const Snapshot &snapshot : m_season.Snapshots) {
        memos.push_back(snapshot.Memo);
    }
    applySelection(SearchSelection(memos, m_deleted, m_txtSearch->text().toStdU16String()));
}

void frmCheck::loadLineSettings(int index)
{
    if (index < 0 || index >= static_cast<int>(m_teams.size())) {
        return;
    }
    const TeamRecord &team = m_season.team(m_teams[static_cast<std::size_t>(index)]);
    m_color = team.LineColor;
    showColor();
    m_lstStyle->setCurrentRow(std::clamp<int>(team.LineStyle, 0, LineStyleCount - 1));
    m_txtWidth->setText(QString::number(std::clamp<int>(team.LineWidth, 0, 9)));
    m_chkLabels->setChecked(team.ShowLabels == 1);
}

void frmCheck::showColor()
{
    QPalette palette = m_lblColor->palette();
    palette.setColor(QPalette::Window, colorFromStored(m_color, this->palette()));
    m_lblColor->setPalette(palette);
}

void frmCheck::chooseColor()
{
    const std::optional<QColor> chosen = m_prompts.chooseColor(colorFromStored(m_color, palette()));
    if (chosen) {
        m_color = storedFromColor(*chosen);
        showColor();
    }
}

void frmCheck::applyLineSettings()
{
    const std::optional<int> width = ParseLineWidth(m_txtWidth->text().toStdU16String());
    if (!width) {
        m_prompts.message(QStringLiteral("エラー"), MessageIcon::Information, MessageButtons::Ok);
        return;
    }
    const int index = m_cmbTeam->currentIndex();
    if (index < 0 || index >= static_cast<int>(m_teams.size())) {
        return;
    }
    TeamRecord &team = m_season.team(m_teams[static_cast<std::size_t>(index)]);
    team.LineColor = m_color;
    team.LineStyle = static_cast<std::int16_t>(std::max(m_lstStyle->currentRow(), 0));
    team.LineWidth = static_cast<std::int16_t>(*width);
    team.ShowLabels = m_chkLabels->isChecked() ? 1 : 0;
    m_edited = true;
}

void frmCheck::confirm()
{
    std::vector<bool> selected(m_deleted.size());
    for (int i = 0; i < m_lstData->count(); ++i) {
        selected[static_cast<std::size_t>(i)] = m_lstData->item(i)->isSelected();
    }
    RebuildSnapshots(m_season, m_deleted, selected);
    for (int i = 0; i < m_lstTeam->count(); ++i) {
        const int teamNo = m_teams[static_cast<std::size_t>(i)];
        if (m_season.TeamShown.contains(teamNo)) {
            m_season.TeamShown[teamNo] =
                m_lstTeam->item(i)->isSelected() ? StoredTrue : StoredFalse;
        }
    }
    m_settings.NameLen = static_cast<std::uint8_t>(
        NameLenFromBox(m_txtNameLen->text().toStdU16String(), m_settings.NameLen));
    m_edited = true;
    accept();
}

ChartDataOutcome ShowChartData(Season &season, const PublishedStandings *published,
                               Settings &settings, Prompts &prompts, QWidget *parent)
{
    frmCheck dialog(season, published, settings, prompts, parent);
    const bool accepted = dialog.exec() == QDialog::Accepted;
    return {accepted, dialog.edited()};
}

} // namespace penarin
