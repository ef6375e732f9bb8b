#include "ui/dialogs/frmwa.h"

#include "platform/prompts.h"
#include "season/judgmentoptions.h"

#include <QComboBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>

#include <algorithm>

namespace penarin {

namespace {

constexpr int ConditionCount = 10;
// Left-list rows from which the rank-set button opens the matching set:
// "前年度順位(設定1)" is the eighth condition.
constexpr int FirstUserRankRow = 7;

QString kindCaption(int kind)
{
    switch (kind) {
    case frmWA::DivisionKind:
        return QStringLiteral("地区優勝判定-");
    case frmWA::InterleagueKind:
        return QStringLiteral("交流戦優勝判定-");
    default:
        return QStringLiteral("リーグ優勝判定-");
    }
}

int selectedRow(const QListWidget *list)
{
    const QList<QListWidgetItem *> selected = list->selectedItems();
    return selected.isEmpty() ? -1 : list->row(selected.first());
}

void selectRow(QListWidget *list, int row)
{
    list->setCurrentRow(row, QItemSelectionModel::ClearAndSelect);
}

QPushButton *makeButton(const QString &text, const char *name, QWidget *parent)
{
    auto *button = new QPushButton(text, parent);
    button->setObjectName(QLatin1String(name));
    // Enter belongs to the lists (it adds a condition), never to a button.
    button->setAutoDefault(false);
    return button;
}

} // namespace

frmWA::frmWA(Season &season, Prompts &prompts, int judgment, int mode,
             std::vector<std::int16_t> list, int setIndex, int kind, QWidget *parent)
    : QDialog(parent), m_season(season), m_prompts(prompts), m_judgment(judgment),
      m_mode(mode == ConditionMode ? ConditionMode : PreviousYearMode), m_list(std::move(list)),
      m_kind(kind)
{
    setObjectName(QStringLiteral("frmWA"));
    setModal(true);
    buildControls();
    if (m_mode == ConditionMode) {
        loadConditions();
        m_btnZrnk->setEnabled(setIndex != -1);
    } else {
        loadPreviousYear(setIndex);
    }
}

void frmWA::buildControls()
{
    const bool conditions = m_mode == ConditionMode;
    setWindowTitle(conditions ? kindCaption(m_kind) + QStringLiteral("判定オプション")
                              : QStringLiteral("前年度順位の設定"));

    m_lstDrg = new QListWidget(this);
    m_lstDrg->setObjectName(QStringLiteral("LstDrg"));
    m_lstDrp = new QListWidget(this);
    m_lstDrp->setObjectName(QStringLiteral("LstDrp"));
    for (QListWidget *list : {m_lstDrg, m_lstDrp}) {
        list->setSelectionMode(QAbstractItemView::SingleSelection);
        list->setMinimumSize(150, 180);
        list->installEventFilter(this);
    }
    m_label1 = new QLabel(
        conditions ? QStringLiteral("条件を選択(&L):") : QStringLiteral("対戦表の順序(&L):"), this);
    m_label1->setObjectName(QStringLiteral("Label1"));
    m_label1->setBuddy(m_lstDrg);
    m_label2 = new QLabel(QStringLiteral("条件と順番(&S):"), this);
    m_label2->setObjectName(QStringLiteral("Label2"));
    m_label2->setBuddy(m_lstDrp);

    m_btnAdd = makeButton(conditions ? QStringLiteral("追加(&A)>>") : QStringLiteral("上へ(&U)"),
                          "btnAdd", this);
    m_btnDel = makeButton(conditions ? QStringLiteral("<<削除(&D)") : QStringLiteral("下へ(&D)"),
                          "btnDel", this);
    m_btnOK =
        makeButton(conditions ? QStringLiteral("&OK") : QStringLiteral("適用(&A)"), "btnOK", this);
    m_btnCan = makeButton(conditions ? QStringLiteral("キャンセル") : QStringLiteral("閉じる"),
                          "btnCan", this);
    m_btnZrnk = makeButton(QStringLiteral("前年度順位の設定(&R)..."), "btnZrnk", this);
    m_lbluser = new QLabel(QStringLiteral("前年度順位(&R):"), this);
    m_lbluser->setObjectName(QStringLiteral("lbluser"));
    m_cmbUser = new QComboBox(this);
    m_cmbUser->setObjectName(QStringLiteral("cmbUser"));
    m_lbluser->setBuddy(m_cmbUser);

    auto *middle = new QVBoxLayout;
    middle->addStretch();
    middle->addWidget(m_btnAdd);
    middle->addWidget(m_btnDel);
    middle->addStretch();

    auto *lists = new QGridLayout;
    lists->addWidget(m_label1, 0, 0);
    lists->addWidget(m_label2, 0, 2);
    lists->addWidget(m_lstDrg, 1, 0);
    lists->addLayout(middle, 1, 1);
    lists->addWidget(m_lstDrp, 1, 2);
    lists->setColumnStretch(0, 1);
    lists->setColumnStretch(2, 1);

    auto *bottom = new QHBoxLayout;
    bottom->addWidget(m_btnZrnk);
    bottom->addWidget(m_lbluser);
    bottom->addWidget(m_cmbUser);
    bottom->addStretch();
    bottom->addWidget(m_btnOK);
    bottom->addWidget(m_btnCan);

    auto *layout = new QVBoxLayout(this);
    layout->addLayout(lists);
    layout->addLayout(bottom);

    m_btnZrnk->setVisible(conditions);
    m_lbluser->setVisible(!conditions);
    m_cmbUser->setVisible(!conditions);

    setTabOrder(m_lstDrg, m_btnAdd);
    setTabOrder(m_btnAdd, m_btnDel);
    setTabOrder(m_btnDel, m_lstDrp);
    setTabOrder(m_lstDrp, conditions ? static_cast<QWidget *>(m_btnZrnk) : m_cmbUser);
    setTabOrder(conditions ? static_cast<QWidget *>(m_btnZrnk) : m_cmbUser, m_btnOK);
    setTabOrder(m_btnOK, m_btnCan);

    connect(m_lstDrg, &QListWidget::itemDoubleClicked, this, [this] { addSelected(); });
    connect(m_lstDrp, &QListWidget::itemDoubleClicked, this, [this] {
        if (m_mode == ConditionMode) {
            removeSelected();
        }
    });
    connect(m_btnAdd, &QPushButton::clicked, this, [this] {
        if (m_mode == ConditionMode) {
            addSelected();
        } else {
            moveSelected(-1);
        }
    });
    connect(m_btnDel, &QPushButton::clicked, this, [this] {
        if (m_mode == ConditionMode) {
            removeSelected();
        } else {
            moveSelected(1);
        }
    });
    connect(m_btnOK, &QPushButton::clicked, this, &frmWA::onOk);
    connect(m_btnCan, &QPushButton::clicked, this, &QDialog::reject);
    connect(m_btnZrnk, &QPushButton::clicked, this, &frmWA::openRankSets);
}

void frmWA::loadConditions()
{
    for (const int code : ListedConditions(m_list)) {
        appendRight(code);
    }
    for (int code = 1; code <= ConditionCount; ++code) {
        auto *item = new QListWidgetItem(QString::fromStdU16String(ConditionName(code, m_judgment)),
                                         m_lstDrg);
        item->setData(Qt::UserRole, code);
    }
}

void frmWA::loadPreviousYear(int setIndex)
{
    // The names to pick from are shown on the button face: they are the
    // source of the order, not the order itself.
    QPalette palette = m_lstDrg->palette();
    palette.setColor(QPalette::Base, palette.color(QPalette::Button));
    m_lstDrg->setPalette(palette);
    for (int teamNo = 1; teamNo <= m_season.TeamCount(); ++teamNo) {
        auto *item = new QListWidgetItem(QString::fromStdU16String(m_season.team(teamNo).TeamName),
                                         m_lstDrg);
        item->setData(Qt::UserRole, teamNo);
    }
    m_cmbUser->addItems(
        {QStringLiteral("設定1"), QStringLiteral("設定2"), QStringLiteral("設定3")});
    connect(m_cmbUser, &QComboBox::currentIndexChanged, this, &frmWA::showRankSet);
    m_cmbUser->setCurrentIndex(std::clamp(setIndex, 0, 2));
    showRankSet(m_cmbUser->currentIndex());
}

void frmWA::showRankSet(int set)
{
    if (set < 0) {
        return;
    }
    m_lstDrp->clear();
    for (const int teamNo : RankSetOrder(m_season, set)) {
        appendRight(teamNo);
    }
    m_label2->setText(QStringLiteral("設定%1の順序(&S):").arg(set + 1));
}

void frmWA::appendRight(int value)
{
    const std::u16string text =
        m_mode == ConditionMode ? ConditionName(value, m_judgment) : m_season.team(value).TeamName;
    auto *item = new QListWidgetItem(QString::fromStdU16String(text), m_lstDrp);
    item->setData(Qt::UserRole, value);
}

std::vector<int> frmWA::rightValues() const
{
    std::vector<int> values;
    for (int row = 0; row < m_lstDrp->count(); ++row) {
        values.push_back(m_lstDrp->item(row)->data(Qt::UserRole).toInt());
    }
    return values;
}

void frmWA::addSelected()
{
    const int row = selectedRow(m_lstDrg);
    if (row < 0) {
        return;
    }
    const int value = m_lstDrg->item(row)->data(Qt::UserRole).toInt();
    std::vector<int> values = rightValues();
    const ListAddition added =
        m_mode == ConditionMode ? AddCondition(values, value) : AddTeam(values, value);
    if (added.kind == ListAddition::SecondRank) {
        m_prompts.message(QStringLiteral("前年度順位は複数設定できません"),
                          MessageIcon::Exclamation, MessageButtons::Ok);
        return;
    }
    if (added.kind == ListAddition::Appended) {
        appendRight(value);
    }
    selectRow(m_lstDrp, added.index);
}

void frmWA::removeSelected()
{
    const int row = selectedRow(m_lstDrp);
    if (row >= 0) {
        delete m_lstDrp->takeItem(row);
    }
}

void frmWA::moveSelected(int step)
{
    const int row = selectedRow(m_lstDrp);
    const int target = row + step;
    if (row < 0 || target < 0 || target >= m_lstDrp->count()) {
        return;
    }
    QListWidgetItem *item = m_lstDrp->takeItem(row);
    m_lstDrp->insertItem(target, item);
    selectRow(m_lstDrp, target);
}

void frmWA::onOk()
{
    if (m_mode == ConditionMode) {
        m_list = ConditionList(rightValues());
        m_edited = true;
        accept();
        return;
    }
    const int set = m_cmbUser->currentIndex();
    const MessageAnswer answer =
        m_prompts.message(QStringLiteral("[設定%1]を登録します").arg(set + 1),
                          MessageIcon::Question, MessageButtons::OkCancel);
    // An order that misses teams (a damaged set) is not applied; the user
    // adds the missing names from the left list first.
    if (answer == MessageAnswer::Ok && ApplyRankSet(m_season, set, rightValues())) {
        m_edited = true;
    }
}

void frmWA::openRankSets()
{
    const int row = selectedRow(m_lstDrg);
    const int set = row >= FirstUserRankRow ? row - FirstUserRankRow : 0;
    if (ShowConditionForm(m_season, m_prompts, 0, PreviousYearMode, {}, set, LeagueKind, this)
            .edited) {
        m_edited = true;
    }
}

bool frmWA::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() == QEvent::KeyPress && m_mode == ConditionMode) {
        const int key = static_cast<QKeyEvent *>(event)->key();
        if (watched == m_lstDrg && (key == Qt::Key_Return || key == Qt::Key_Enter)) {
            addSelected();
            return true;
        }
        if (watched == m_lstDrp && key == Qt::Key_Delete) {
            removeSelected();
            return true;
        }
    }
    return QDialog::eventFilter(watched, event);
}

ConditionFormResult ShowConditionForm(Season &season, Prompts &prompts, int judgment, int mode,
                                      const std::vector<std::int16_t> &list, int setIndex, int kind,
                                      QWidget *parent)
{
    frmWA dialog(season, prompts, judgment, mode, list, setIndex, kind, parent);
    dialog.exec();
    return {dialog.list(), dialog.edited()};
}

} // namespace penarin
