#include "ui/dialogs/frmleague.h"

#include "season/settings.h"
#include "ui/dialogs/frmwa.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QRegularExpressionValidator>
#include <QStackedWidget>
#include <QVBoxLayout>

namespace penarin {

namespace {

enum Page
{
    LeaguePage,
    DivisionPage,
    TeamPage,
    InterleaguePage,
};

// Long enough for any real season; what does not fit the season's counts
// is refused by the rules, not cut off here.
constexpr int GamesDigits = 5;
// The division page's frame shows this much of the league's name.
constexpr int TitleNameLength = 8;

QString fromText(const Text &text)
{
    return QString::fromStdU16String(text);
}

Text toText(const QString &text)
{
    return text.toStdU16String();
}

template <class Widget> Widget *named(Widget *widget, const QString &name)
{
    widget->setObjectName(name);
    return widget;
}

QPushButton *makeButton(const QString &text, const QString &name, QWidget *parent)
{
    auto *button = named(new QPushButton(text, parent), name);
    // Enter in the team name box adds the team; no button may take it.
    button->setAutoDefault(false);
    return button;
}

QLabel *makeLabel(const QString &text, const QString &name, QWidget *buddy, QWidget *parent)
{
    auto *label = named(new QLabel(text, parent), name);
    label->setBuddy(buddy);
    return label;
}

QLineEdit *makeGamesBox(const QString &name, QWidget *parent)
{
    auto *box = named(new QLineEdit(parent), name);
    box->setValidator(
        new QRegularExpressionValidator(QRegularExpression(QStringLiteral("[0-9]*")), box));
    box->setMaxLength(GamesDigits);
    return box;
}

QComboBox *makeNameList(const QString &name, QWidget *parent)
{
    auto *box = named(new QComboBox(parent), name);
    box->setEditable(true);
    box->setInsertPolicy(QComboBox::NoInsert);
    box->setMinimumContentsLength(16);
    return box;
}

// A list as tall as `rows` entries: tall enough for a league's divisions
// or a division's teams, and no taller than the other pages need.
void fitRows(QListWidget *list, int rows)
{
    list->addItem(QStringLiteral("地区"));
    const int row = list->sizeHintForRow(0);
    list->clear();
    list->setFixedHeight(row * rows + 2 * list->frameWidth());
}

} // namespace

int frmLeague::JudgmentControls::drawIndex() const
{
    return draw[0]->isChecked() ? 0 : 1;
}

int frmLeague::JudgmentControls::judgeIndex() const
{
    return judge[1]->isChecked() ? 1 : 0;
}

void frmLeague::JudgmentControls::reset()
{
    draw[1]->setChecked(true);
    judge[0]->setChecked(true);
    reversal->setCurrentIndex(0);
}

frmLeague::frmLeague(Season &season, Settings &settings, Prompts &prompts, const Clock &clock,
                     QWidget *parent)
    : QDialog(parent), m_season(season), m_settings(settings), m_prompts(prompts), m_clock(clock)
{
    setObjectName(QStringLiteral("frmLeague"));
    setWindowTitle(QStringLiteral("新規作成"));
    setModal(true);
    buildControls();
    startOver();
}

frmLeague::JudgmentControls frmLeague::makeJudgmentControls(QWidget *page, const QString &prefix,
                                                            const QString &judgeTitle,
                                                            const QString &noDrawText,
                                                            const QString &reversalText)
{
    JudgmentControls c;
    c.drawFrame = named(new QGroupBox(QStringLiteral("引分再試合"), page),
                        QStringLiteral("frm%1Draw").arg(prefix));
    c.draw[0] = named(new QRadioButton(QStringLiteral("あり(&R)"), c.drawFrame),
                      QStringLiteral("opt%1Draw0").arg(prefix));
    c.draw[1] =
        named(new QRadioButton(noDrawText, c.drawFrame), QStringLiteral("opt%1Draw1").arg(prefix));
    auto *drawLayout = new QVBoxLayout(c.drawFrame);
    drawLayout->addWidget(c.draw[0]);
    drawLayout->addWidget(c.draw[1]);

    c.judgeFrame = named(new QGroupBox(judgeTitle, page), QStringLiteral("frm%1Judge").arg(prefix));
    c.judge[0] = named(new QRadioButton(QStringLiteral("最高勝率(&V)"), c.judgeFrame),
                       QStringLiteral("opt%1Judge0").arg(prefix));
    c.judge[1] = named(new QRadioButton(QStringLiteral("最多勝利(&W)"), c.judgeFrame),
                       QStringLiteral("opt%1Judge1").arg(prefix));
    auto *judgeLayout = new QVBoxLayout(c.judgeFrame);
    judgeLayout->addWidget(c.judge[0]);
    judgeLayout->addWidget(c.judge[1]);

    c.options = makeButton(QStringLiteral("判定オプション(&T)..."),
                           QStringLiteral("btn%1Options").arg(prefix), page);
    c.reversal = named(new QComboBox(page), QStringLiteral("cmb%1Reversal").arg(prefix));
    c.reversal->addItems(
        {QStringLiteral("無視"), QStringLiteral("同数(率)は可"), QStringLiteral("完全に上位")});
    c.reversalLabel =
        makeLabel(reversalText, QStringLiteral("lbl%1Reversal").arg(prefix), c.reversal, page);
    return c;
}

namespace {

// The championship controls, the same on three pages: the two frames side
// by side, then the reversal rule and the tie-break button.
void placeJudgment(QGridLayout *grid, int row, QWidget *drawFrame, QWidget *judgeFrame,
                   QWidget *reversalLabel, QWidget *reversal, QWidget *options)
{
    grid->addWidget(drawFrame, row, 0, 1, 2);
    grid->addWidget(judgeFrame, row, 2, 1, 2);
    grid->addWidget(reversalLabel, row + 1, 0);
    grid->addWidget(reversal, row + 1, 1);
    grid->addWidget(options, row + 1, 2, 1, 2);
}

} // namespace

QWidget *frmLeague::buildLeaguePage()
{
    auto *page =
        named(new QGroupBox(QStringLiteral("リーグ設定")), QStringLiteral("frmLeaguePage"));
    m_cmbLeague = makeNameList(QStringLiteral("cmbLeague"), page);
    m_chkDivision =
        named(new QCheckBox(QStringLiteral("地区設定(&T)"), page), QStringLiteral("chkDivision"));
    m_txtLeagueGames = makeGamesBox(QStringLiteral("txtLeagueGames"), page);
    m_league =
        makeJudgmentControls(page, QStringLiteral("League"), QStringLiteral("リーグ優勝判定"),
                             QStringLiteral("なし(&D)"), QStringLiteral("逆転現象(&Z):"));
    m_btnLeagueNext = makeButton(QStringLiteral("次へ(&N)"), QStringLiteral("btnLeagueNext"), page);

    auto *grid = new QGridLayout(page);
    grid->addWidget(
        makeLabel(QStringLiteral("リーグ名(&L):"), QStringLiteral("lblLeague"), m_cmbLeague, page),
        0, 0);
    grid->addWidget(m_cmbLeague, 0, 1, 1, 3);
    grid->addWidget(makeLabel(QStringLiteral("リーグ試合数(&G):"), QStringLiteral("lblLeagueGames"),
                              m_txtLeagueGames, page),
                    1, 0);
    grid->addWidget(m_txtLeagueGames, 1, 1);
    grid->addWidget(m_chkDivision, 1, 2, 1, 2);
    placeJudgment(grid, 2, m_league.drawFrame, m_league.judgeFrame, m_league.reversalLabel,
                  m_league.reversal, m_league.options);
    grid->setRowStretch(4, 1);
    grid->addWidget(m_btnLeagueNext, 5, 3);

    connect(m_btnLeagueNext, &QPushButton::clicked, this, &frmLeague::leagueNext);
    connect(m_league.options, &QPushButton::clicked, this,
            [this] { editConditions(m_leagueConds, m_league, frmWA::LeagueKind); });
    // A league's divisions usually replay draws as the league does.
    for (int i = 0; i < 2; ++i) {
        connect(m_league.draw[i], &QRadioButton::clicked, this,
                [this, i] { m_division.draw[i]->setChecked(true); });
    }
    return page;
}

QWidget *frmLeague::buildDivisionPage()
{
    m_divisionFrame =
        named(new QGroupBox(QStringLiteral("地区設定")), QStringLiteral("frmDivisionPage"));
    QWidget *page = m_divisionFrame;
    m_cmbDivision = makeNameList(QStringLiteral("cmbDivision"), page);
    m_btnDivisionEntry =
        makeButton(QStringLiteral("登録(&E)"), QStringLiteral("btnDivisionEntry"), page);
    m_lblDivisionCount =
        named(new QLabel(QStringLiteral("0"), page), QStringLiteral("lblDivisionCount"));
    m_division =
        makeJudgmentControls(page, QStringLiteral("Division"), QStringLiteral("地区優勝判定"),
                             QStringLiteral("なし(&D)"), QStringLiteral("逆転現象(&Z):"));
    m_btnDivisionNext =
        makeButton(QStringLiteral("次へ(&N)"), QStringLiteral("btnDivisionNext"), page);

    auto *count = new QHBoxLayout;
    count->addWidget(
        named(new QLabel(QStringLiteral("地区数:"), page), QStringLiteral("lblDivisions")));
    count->addWidget(m_lblDivisionCount);
    count->addStretch();

    auto *grid = new QGridLayout(page);
    grid->addWidget(makeLabel(QStringLiteral("地区名(&G):"), QStringLiteral("lblDivision"),
                              m_cmbDivision, page),
                    0, 0);
    grid->addWidget(m_cmbDivision, 0, 1, 1, 2);
    grid->addWidget(m_btnDivisionEntry, 0, 3);
    grid->addLayout(count, 1, 1);
    placeJudgment(grid, 2, m_division.drawFrame, m_division.judgeFrame, m_division.reversalLabel,
                  m_division.reversal, m_division.options);
    grid->setRowStretch(4, 1);
    grid->addWidget(m_btnDivisionNext, 5, 3);

    connect(m_btnDivisionEntry, &QPushButton::clicked, this, &frmLeague::divisionEntry);
    connect(m_btnDivisionNext, &QPushButton::clicked, this, &frmLeague::divisionNext);
    connect(m_division.options, &QPushButton::clicked, this,
            [this] { editConditions(m_divisionConds, m_division, frmWA::DivisionKind); });
    return page;
}

QWidget *frmLeague::buildTeamPage()
{
    auto *page = named(new QGroupBox(QStringLiteral("チーム設定")), QStringLiteral("frmTeamPage"));
    m_lblTeamLeague = named(new QLabel(page), QStringLiteral("lblTeamLeague"));
    m_lstDivision = named(new QListWidget(page), QStringLiteral("LstDivision"));
    // The wizard walks the divisions in order, so the list only shows where
    // it is; a division chosen out of turn could be left without teams.
    m_lstDivision->setFocusPolicy(Qt::NoFocus);
    m_lstDivision->setAttribute(Qt::WA_TransparentForMouseEvents);
    m_txtTeam = named(new QLineEdit(page), QStringLiteral("txtTeam"));
    m_btnTeamAdd = makeButton(QStringLiteral("追加(&A)"), QStringLiteral("btnTeamAdd"), page);
    m_lstTeam = named(new QListWidget(page), QStringLiteral("LstTeam"));
    m_btnTeamEntry = makeButton(QStringLiteral("登録(&E)"), QStringLiteral("btnTeamEntry"), page);

    auto *grid = new QGridLayout(page);
    grid->addWidget(
        named(new QLabel(QStringLiteral("リーグ:"), page), QStringLiteral("lblTeamLeagueCaption")),
        0, 0);
    grid->addWidget(m_lblTeamLeague, 0, 1, 1, 2);
    grid->addWidget(
        named(new QLabel(QStringLiteral("地区:"), page), QStringLiteral("lblTeamDivision")), 1, 0,
        Qt::AlignTop);
    grid->addWidget(m_lstDivision, 1, 1, 1, 2);
    grid->addWidget(
        makeLabel(QStringLiteral("チーム名(&T):"), QStringLiteral("lblTeam"), m_txtTeam, page), 2,
        0);
    grid->addWidget(m_txtTeam, 2, 1);
    grid->addWidget(m_btnTeamAdd, 2, 2);
    grid->addWidget(
        named(new QLabel(QStringLiteral("チームリスト:"), page), QStringLiteral("lblTeamList")), 3,
        0, Qt::AlignTop);
    grid->addWidget(m_lstTeam, 3, 1, 1, 2);
    grid->addWidget(m_btnTeamEntry, 4, 2);
    grid->setRowStretch(5, 1);
    grid->setColumnStretch(1, 1);
    fitRows(m_lstDivision, 3);
    fitRows(m_lstTeam, 6);

    connect(m_btnTeamAdd, &QPushButton::clicked, this, &frmLeague::teamAdd);
    connect(m_txtTeam, &QLineEdit::returnPressed, this, &frmLeague::teamAdd);
    connect(m_lstTeam, &QListWidget::itemDoubleClicked, this,
            [this](QListWidgetItem *item) { teamRemove(m_lstTeam->row(item)); });
    connect(m_btnTeamEntry, &QPushButton::clicked, this, &frmLeague::teamEntry);
    return page;
}

QWidget *frmLeague::buildInterleaguePage()
{
    m_interleagueFrame =
        named(new QGroupBox(QStringLiteral("交流戦設定")), QStringLiteral("frmInterleaguePage"));
    QWidget *page = m_interleagueFrame;
    m_txtIntGames = makeGamesBox(QStringLiteral("txtIntGames"), page);
    m_chkIntCounts = named(new QCheckBox(QStringLiteral("公式戦の成績に組み込む(&I)"), page),
                           QStringLiteral("chkIntCounts"));
    m_interleague =
        makeJudgmentControls(page, QStringLiteral("Int"), QStringLiteral("交流戦優勝判定"),
                             QStringLiteral("なし(&N)"), QStringLiteral("逆転現象(&Z)"));

    auto *grid = new QGridLayout(page);
    grid->addWidget(makeLabel(QStringLiteral("交流戦対戦数(&G):"), QStringLiteral("lblIntGames"),
                              m_txtIntGames, page),
                    0, 0);
    grid->addWidget(m_txtIntGames, 0, 1);
    grid->addWidget(m_chkIntCounts, 1, 0, 1, 4);
    placeJudgment(grid, 2, m_interleague.drawFrame, m_interleague.judgeFrame,
                  m_interleague.reversalLabel, m_interleague.reversal, m_interleague.options);
    grid->setRowStretch(4, 1);

    connect(m_interleague.options, &QPushButton::clicked, this,
            [this] { editConditions(m_intConds, m_interleague, frmWA::InterleagueKind); });
    return page;
}

void frmLeague::buildControls()
{
    m_pages = named(new QStackedWidget(this), QStringLiteral("pages"));
    m_pages->addWidget(buildLeaguePage());
    m_pages->addWidget(buildDivisionPage());
    m_pages->addWidget(buildTeamPage());
    m_pages->addWidget(buildInterleaguePage());

    m_btnRedo = makeButton(QStringLiteral("やり直し(&X)"), QStringLiteral("btnRedo"), this);
    m_btnOK = makeButton(QStringLiteral("&OK"), QStringLiteral("btnOK"), this);
    m_btnCancel = makeButton(QStringLiteral("キャンセル"), QStringLiteral("btnCancel"), this);
    auto *buttons = new QHBoxLayout;
    buttons->addWidget(m_btnRedo);
    buttons->addStretch();
    buttons->addWidget(m_btnOK);
    buttons->addWidget(m_btnCancel);

    auto *layout = new QVBoxLayout(this);
    layout->addWidget(m_pages);
    layout->addLayout(buttons);

    const QList<QWidget *> order = {m_cmbLeague,
                                    m_chkDivision,
                                    m_league.draw[0],
                                    m_league.draw[1],
                                    m_txtLeagueGames,
                                    m_league.judge[0],
                                    m_league.judge[1],
                                    m_league.options,
                                    m_league.reversal,
                                    m_btnLeagueNext,
                                    m_cmbDivision,
                                    m_btnDivisionEntry,
                                    m_division.draw[0],
                                    m_division.draw[1],
                                    m_division.judge[0],
                                    m_division.judge[1],
                                    m_division.options,
                                    m_division.reversal,
                                    m_btnDivisionNext,
                                    m_txtTeam,
                                    m_btnTeamAdd,
                                    m_lstTeam,
                                    m_btnTeamEntry,
                                    m_txtIntGames,
                                    m_chkIntCounts,
                                    m_interleague.draw[0],
                                    m_interleague.draw[1],
                                    m_interleague.judge[0],
                                    m_interleague.judge[1],
                                    m_interleague.options,
                                    m_interleague.reversal,
                                    m_btnRedo,
                                    m_btnOK,
                                    m_btnCancel};
    for (qsizetype i = 1; i < order.size(); ++i) {
        setTabOrder(order[i - 1], order[i]);
    }

    connect(m_btnRedo, &QPushButton::clicked, this, &frmLeague::startOver);
    connect(m_btnOK, &QPushButton::clicked, this, &frmLeague::ok);
    connect(m_btnCancel, &QPushButton::clicked, this, &frmLeague::reject);
}

void frmLeague::startOver()
{
    ClearSeason(m_season, m_clock);
    m_setup = SeasonSetup{};
    m_leagueConds = m_divisionConds = m_intConds = {0};
    m_wantsGamesCount = false;

    m_cmbLeague->clear();
    m_cmbLeague->setEditText(QString());
    m_chkDivision->setChecked(false);
    m_txtLeagueGames->clear();
    m_league.reset();
    m_cmbDivision->clear();
    m_cmbDivision->setEditText(QString());
    m_lblDivisionCount->setText(QStringLiteral("0"));
    m_divisionFrame->setTitle(QStringLiteral("地区設定"));
    m_division.reset();
    m_lblTeamLeague->clear();
    m_lstDivision->clear();
    m_txtTeam->clear();
    m_lstTeam->clear();
    m_txtIntGames->clear();
    m_interleague.reset();
    m_interleagueFrame->setEnabled(true);
    m_chkIntCounts->setChecked(true);
    m_btnOK->setEnabled(false);
    showPage(LeaguePage, m_cmbLeague);
}

void frmLeague::showPage(int page, QWidget *focus)
{
    m_pages->setCurrentIndex(page);
    focus->setFocus();
}

void frmLeague::message(const QString &text, MessageIcon icon)
{
    m_prompts.message(text, icon, MessageButtons::Ok);
}

void frmLeague::editConditions(std::vector<std::int16_t> &list, const JudgmentControls &controls,
                               int kind)
{
    // From the wizard there are no teams yet, so the rank sets stay closed.
    list = ShowConditionForm(m_season, m_prompts, controls.judgeIndex(), frmWA::ConditionMode, list,
                             -1, kind, this)
               .list;
}

void frmLeague::leagueNext()
{
    LeagueChoice choice;
    choice.Name = toText(m_cmbLeague->currentText());
    choice.Games = GamesValue(toText(m_txtLeagueGames->text()));
    choice.HasDivisions = m_chkDivision->isChecked();
    choice.DrawReplay = m_league.drawIndex();
    choice.Judgment = JudgmentSet{static_cast<std::int16_t>(m_league.judgeIndex()), m_leagueConds,
                                  static_cast<std::int16_t>(m_league.reversal->currentIndex())};
    switch (m_setup.beginLeague(choice)) {
    case SetupRefusal::None:
        break;
    case SetupRefusal::LeagueNameMissing:
        message(QStringLiteral("リーグ名を入力してください"), MessageIcon::Exclamation);
        m_cmbLeague->setFocus();
        return;
    case SetupRefusal::LeagueNameTaken:
        message(QStringLiteral("リーグ名が重複しています"), MessageIcon::Information);
        m_cmbLeague->setFocus();
        m_cmbLeague->setEditText(QString());
        return;
    case SetupRefusal::TooManyGames:
        message(QStringLiteral("試合数が多すぎます"), MessageIcon::Exclamation);
        m_txtLeagueGames->setFocus();
        return;
    default:
        message(QStringLiteral("試合数を入力してください"), MessageIcon::Exclamation);
        m_txtLeagueGames->setFocus();
        return;
    }

    const QString name = fromText(m_setup.currentLeague().Name);
    m_cmbLeague->addItem(name);
    m_cmbLeague->setEditText(name);
    m_lblTeamLeague->setText(name);
    m_lstDivision->clear();
    if (!choice.HasDivisions) {
        m_lstDivision->addItem(QStringLiteral("(なし)"));
        showPage(TeamPage, m_txtTeam);
        return;
    }
    m_divisionFrame->setTitle(QStringLiteral("[%1] 地区設定").arg(name.left(TitleNameLength)));
    showPage(DivisionPage, m_cmbDivision);
}

void frmLeague::divisionEntry()
{
    const JudgmentSet judgment{static_cast<std::int16_t>(m_division.judgeIndex()), m_divisionConds,
                               static_cast<std::int16_t>(m_division.reversal->currentIndex())};
    const SetupRefusal refusal =
        m_setup.addDivision(toText(m_cmbDivision->currentText()), m_division.drawIndex(), judgment);
    if (refusal == SetupRefusal::Ignored) {
        return;
    }
    if (refusal == SetupRefusal::DivisionNameTaken) {
        message(QStringLiteral("同一リーグで地区名が重複しています"), MessageIcon::Exclamation);
        m_cmbDivision->setFocus();
        m_cmbDivision->setEditText(QString());
        return;
    }
    const std::vector<Text> divisions = m_setup.currentDivisions();
    const QString name = fromText(divisions.back());
    m_cmbDivision->addItem(name);
    m_lstDivision->addItem(name);
    m_lblDivisionCount->setText(QString::number(divisions.size()));
    m_cmbDivision->setEditText(QString());
    m_cmbDivision->setFocus();
}

void frmLeague::divisionNext()
{
    if (m_setup.finishDivisions() != SetupRefusal::None) {
        message(QStringLiteral("2つ以上の地区を設定してください"), MessageIcon::Exclamation);
        return;
    }
    m_lstDivision->setCurrentRow(0);
    m_btnTeamEntry->setEnabled(true);
    showPage(TeamPage, m_txtTeam);
}

void frmLeague::teamAdd()
{
    const SetupRefusal refusal = m_setup.addTeamName(toText(m_txtTeam->text()));
    if (refusal == SetupRefusal::Ignored) {
        return;
    }
    if (refusal == SetupRefusal::TeamNameTaken) {
        message(QStringLiteral("チーム名が重複しています"), MessageIcon::Information);
    } else {
        m_lstTeam->addItem(fromText(m_setup.pendingTeams().back()));
    }
    m_txtTeam->setFocus();
    m_txtTeam->clear();
}

void frmLeague::teamRemove(int row)
{
    m_setup.removeTeamName(row);
    delete m_lstTeam->takeItem(row);
}

void frmLeague::teamEntry()
{
    const SetupRefusal refusal = m_setup.checkRegistration();
    if (refusal == SetupRefusal::Ignored) {
        return;
    }
    if (refusal == SetupRefusal::LeagueOfOneTeam) {
        message(QStringLiteral("1チームだけのリーグは作成できません\n"
                               "2つ以上のチームを登録してください"),
                MessageIcon::Exclamation);
        m_txtTeam->setFocus();
        return;
    }
    const int d = m_setup.currentDivision();
    const QString question =
        d < 0 ? QStringLiteral("リーグ[ %1 ]のチームを登録します")
                    .arg(fromText(m_setup.currentLeague().Name))
              : QStringLiteral("地区[ %1 ]のチームを登録します")
                    .arg(fromText(m_setup.currentDivisions()[static_cast<std::size_t>(d)]));
    if (m_prompts.message(question, MessageIcon::Question, MessageButtons::OkCancel) !=
        MessageAnswer::Ok) {
        return;
    }
    const bool leagueDone = m_setup.registerTeams();
    m_lstTeam->clear();
    if (!leagueDone) {
        m_lstDivision->setCurrentRow(m_setup.currentDivision());
        m_txtTeam->setFocus();
        return;
    }
    m_lstDivision->clearSelection();
    m_lstDivision->setCurrentRow(-1);
    askForAnotherLeague();
}

void frmLeague::askForAnotherLeague()
{
    if (m_prompts.message(QStringLiteral("リーグを追加しますか"), MessageIcon::Question,
                          MessageButtons::YesNo) == MessageAnswer::Yes) {
        m_cmbLeague->setEditText(QString());
        m_cmbDivision->clear();
        m_cmbDivision->setEditText(QString());
        m_lstDivision->clear();
        m_lblDivisionCount->setText(QStringLiteral("0"));
        m_chkDivision->setChecked(false);
        m_leagueConds = {0};
        showPage(LeaguePage, m_cmbLeague);
        return;
    }
    if (m_setup.leagueNo() == 1) {
        disableInterleaguePage();
    }
    m_setup.finishLeagues();
    m_btnOK->setEnabled(true);
    showPage(InterleaguePage,
             m_interleagueFrame->isEnabled() ? static_cast<QWidget *>(m_txtIntGames) : m_btnOK);
}

void frmLeague::disableInterleaguePage()
{
    m_chkIntCounts->setChecked(false);
    m_txtIntGames->clear();
    m_interleague.reset();
    m_interleagueFrame->setEnabled(false);
}

void frmLeague::ok()
{
    InterleagueChoice interleague;
    interleague.GamesPerCard = GamesValue(toText(m_txtIntGames->text()));
    interleague.Counts = m_chkIntCounts->isChecked();
    interleague.DrawReplay = m_interleague.drawIndex();
    interleague.Judgment =
        JudgmentSet{static_cast<std::int16_t>(m_interleague.judgeIndex()), m_intConds,
                    static_cast<std::int16_t>(m_interleague.reversal->currentIndex())};
    switch (m_setup.checkSeason(interleague)) {
    case SetupRefusal::None:
        break;
    case SetupRefusal::TooManyTeams:
        message(QStringLiteral("チーム数が多すぎます"), MessageIcon::Critical);
        return;
    default:
        message(QStringLiteral("試合数が多すぎます"), MessageIcon::Exclamation);
        m_txtIntGames->setFocus();
        return;
    }

    // A new season is shown in the order of its championships.
    m_settings.Main = 2;
    m_settings.Sub = 0;
    m_setup.buildSeason(m_season, interleague, m_clock());
    m_wantsGamesCount =
        m_prompts.message(QStringLiteral("対戦数を設定しますか"), MessageIcon::Question,
                          MessageButtons::YesNo) == MessageAnswer::Yes;
    m_season.CurrentFile.clear();
    m_cancelled = false;
    accept();
}

void frmLeague::reject()
{
    // Nothing registered reaches the season before OK; clearing it again
    // also drops the edited mark a tie-break list's OK left on it, so the
    // caller sees a plain empty season.
    m_cancelled = true;
    ClearSeason(m_season, m_clock);
    QDialog::reject();
}

NewSeasonResult RunNewSeasonWizard(Season &season, Settings &settings, Prompts &prompts,
                                   QWidget *parent)
{
    frmLeague wizard(season, settings, prompts, systemNow, parent);
    wizard.exec();
    return {wizard.cancelled(), wizard.wantsGamesCount()};
}

} // namespace penarin
