#include "ui/dialogs/frmpropaty.h"

#include "magic/calcodule.h"
#include "season/settings.h"
#include "tables/teamreport.h"
#include "ui/dialogs/formwidgets.h"
#include "ui/dialogs/frmwa.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTabWidget>
#include <QTextDocument>
#include <QVBoxLayout>
#include <QtMath>

namespace penarin {

namespace {

// Magic numbers stand out in pure blue.
const QColor MagicBlue(0, 0, 255);

QString qs(const Text &text)
{
    return QString::fromStdU16String(text);
}

QLabel *caption(const QString &text, QWidget *parent)
{
    return new QLabel(text, parent);
}

// A value label: sunken like a read-only field, wide enough for a record
// such as "100勝 100敗 10分".
QLabel *valueLabel(const QString &name, QWidget *parent, int minimumChars = 6)
{
    auto *label = new QLabel(parent);
    label->setObjectName(name);
    label->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    label->setMinimumWidth(label->fontMetrics().horizontalAdvance(QLatin1Char('0')) * minimumChars);
    label->setTextInteractionFlags(Qt::TextSelectableByMouse);
    return label;
}

// Hidden captions keep their place, so the labels beside them do not move.
void keepPlaceWhenHidden(QWidget *widget)
{
    QSizePolicy policy = widget->sizePolicy();
    policy.setRetainSizeWhenHidden(true);
    widget->setSizePolicy(policy);
}

void setHighlighted(QLabel *label, bool highlighted)
{
    QPalette palette =
        label->parentWidget() != nullptr ? label->parentWidget()->palette() : label->palette();
    if (highlighted) {
        palette.setColor(QPalette::WindowText, MagicBlue);
    }
    label->setPalette(palette);
}

// A disabled reversal box takes the button face, an enabled one the window
// background, so an unavailable championship reads as such at a glance.
void setComboEnabled(QComboBox *combo, bool enabled)
{
    combo->setEnabled(enabled);
    QPalette palette = combo->palette();
    palette.setColor(QPalette::Base, combo->parentWidget()->palette().color(
                                         enabled ? QPalette::Base : QPalette::Button));
    combo->setPalette(palette);
}

QComboBox *reversalCombo(const char *name, QWidget *parent)
{
    auto *combo = new QComboBox(parent);
    combo->setObjectName(QLatin1String(name));
    return combo;
}

using form::button;

QGroupBox *frame(const QString &title, const QString &name, QWidget *parent)
{
    auto *box = new QGroupBox(title, parent);
    box->setObjectName(name);
    return box;
}

std::array<QRadioButton *, 2> optionPair(const char *name, const QString &first,
                                         const QString &second, QWidget *parent)
{
    std::array<QRadioButton *, 2> pair{new QRadioButton(first, parent),
                                       new QRadioButton(second, parent)};
    for (int i = 0; i < 2; ++i) {
        pair[i]->setObjectName(QLatin1String(name) + QString::number(i));
    }
    return pair;
}

// A pair side by side as a frame's only contents.
std::array<QRadioButton *, 2> optionRow(const char *name, const QString &first,
                                        const QString &second, QWidget *frame)
{
    const std::array<QRadioButton *, 2> pair = optionPair(name, first, second, frame);
    auto *row = new QHBoxLayout(frame);
    row->addWidget(pair[0]);
    row->addWidget(pair[1]);
    row->addStretch();
    return pair;
}

// The option index is the stored value; a value neither option stands for
// leaves both as they are.
void tick(const std::array<QRadioButton *, 2> &pair, int value)
{
    if (value == 0 || value == 1) {
        pair[value]->setChecked(true);
    }
}

int ticked(const std::array<QRadioButton *, 2> &pair)
{
    return pair[1]->isChecked() ? 1 : 0;
}

void enablePair(const std::array<QRadioButton *, 2> &pair, bool enabled)
{
    for (QRadioButton *option : pair) {
        option->setEnabled(enabled);
    }
}

} // namespace

frmPropaty::frmPropaty(Season &season, const PublishedStandings *published,
                       const Settings &settings, Prompts &prompts, GamesCountEditor showGamesCount,
                       QWidget *parent)
    : QDialog(parent), m_season(season), m_published(published), m_settings(settings),
      m_prompts(prompts), m_showGamesCount(std::move(showGamesCount))
{
    setObjectName(QStringLiteral("frmPropaty"));
    setWindowTitle(QStringLiteral("チームデータ"));
    setModal(true);
    buildControls();
    m_btnGames->setEnabled(static_cast<bool>(m_showGamesCount));
}

void frmPropaty::buildControls()
{
    m_cmbTeam = new QComboBox(this);
    m_cmbTeam->setObjectName(QStringLiteral("cmbTeam"));
    m_cmbTeam->setSizeAdjustPolicy(QComboBox::AdjustToContents);
    auto *teamCaption = caption(QStringLiteral("チーム(&H):"), this);
    teamCaption->setBuddy(m_cmbTeam);
    m_btncls = button(QStringLiteral("OK"), "btncls", this);

    m_lblLg = valueLabel(QStringLiteral("lblLg"), this, 12);
    m_lblGp = valueLabel(QStringLiteral("lblGp"), this, 12);
    m_lblGames = valueLabel(QStringLiteral("lblGames"), this, 10);
    for (int i = 0; i < 11; ++i) {
        const bool record = i == 1 || i == 5 || i == 7 || i == 9;
        m_lblPrp[i] = valueLabel(QStringLiteral("LblPrp%1").arg(i), this, record ? 16 : 7);
    }
    m_magicCaption = caption(QStringLiteral("優勝マジック:"), this);
    m_magicCaption->setObjectName(QStringLiteral("LblPrpStr8"));
    m_clinchCaption = caption(QStringLiteral("消  化:"), this);
    m_clinchCaption->setObjectName(QStringLiteral("LblPrpStr9"));
    keepPlaceWhenHidden(m_magicCaption);
    keepPlaceWhenHidden(m_clinchCaption);

    auto *top = new QHBoxLayout;
    top->addWidget(teamCaption);
    top->addWidget(m_cmbTeam);
    top->addStretch();
    top->addWidget(m_btncls);

    auto *place = new QHBoxLayout;
    place->addWidget(caption(QStringLiteral("リーグ:"), this));
    place->addWidget(m_lblLg, 1);
    place->addWidget(caption(QStringLiteral("地区:"), this));
    place->addWidget(m_lblGp, 1);
    place->addWidget(caption(QStringLiteral("試合数:"), this));
    place->addWidget(m_lblGames, 1);

    // Records and their percentages on the left, the short counts on the right.
    auto *record = new QGridLayout;
    const auto add = [&](QWidget *widget, int row, int column) {
        record->addWidget(widget, row, column);
    };
    add(m_magicCaption, 0, 0);
    add(m_lblPrp[0], 0, 1);
    add(m_clinchCaption, 1, 0);
    add(m_lblPrp[1], 1, 1);
    add(m_lblPrp[2], 1, 2);
    add(caption(QStringLiteral("勝  敗:"), this), 2, 0);
    add(m_lblPrp[5], 2, 1);
    add(caption(QStringLiteral("残り全 勝:"), this), 3, 0);
    add(m_lblPrp[7], 3, 1);
    add(m_lblPrp[8], 3, 2);
    add(caption(QStringLiteral("残り全 敗:"), this), 4, 0);
    add(m_lblPrp[9], 4, 1);
    add(m_lblPrp[10], 4, 2);
    add(caption(QStringLiteral("試  合:"), this), 0, 4);
    add(m_lblPrp[3], 0, 5);
    add(caption(QStringLiteral("残  試:"), this), 1, 4);
    add(m_lblPrp[4], 1, 5);
    add(caption(QStringLiteral("勝  率:"), this), 2, 4);
    add(m_lblPrp[6], 2, 5);
    record->setColumnMinimumWidth(3, 12);
    record->setColumnStretch(1, 2);
    record->setColumnStretch(2, 1);
    record->setColumnStretch(5, 1);

    m_tabRec = new QTabWidget(this);
    m_tabRec->setObjectName(QStringLiteral("tabRec"));
    m_tabRec->addTab(buildReportPage(), QStringLiteral("対戦"));
    m_tabRec->addTab(buildJudgmentPage(), QStringLiteral("マジックナンバー"));
    m_tabRec->addTab(buildRacePage(), QStringLiteral("ペナントレース"));
    for (int i = 0; i < m_tabRec->count(); ++i) {
        m_tabRec->widget(i)->setObjectName(QStringLiteral("tabOpt%1").arg(i));
    }

    auto *layout = new QVBoxLayout(this);
    layout->addLayout(top);
    layout->addLayout(place);
    layout->addLayout(record);
    layout->addWidget(m_tabRec, 1);

    for (const QString &text :
         {QStringLiteral("無視"), QStringLiteral("同数(率)は可"), QStringLiteral("完全に上位")}) {
        for (QComboBox *combo : {m_cmbLZ, m_cmbGZ, m_cmbCZ}) {
            combo->addItem(text);
        }
    }

    connect(m_cmbTeam, &QComboBox::currentIndexChanged, this, &frmPropaty::selectTeam);
    connect(m_cmbVs, &QComboBox::currentIndexChanged, this, &frmPropaty::selectOpponent);
    connect(m_btncls, &QPushButton::clicked, this, &QDialog::accept);
    connect(m_btnMgcL, &QPushButton::clicked, this, [this] { editConditions(frmWA::LeagueKind); });
    connect(m_btnMgcG, &QPushButton::clicked, this,
            [this] { editConditions(frmWA::DivisionKind); });
    connect(m_btnMgcJ, &QPushButton::clicked, this,
            [this] { editConditions(frmWA::InterleagueKind); });
    connect(m_btnMgcPV, &QPushButton::clicked, this, &frmPropaty::applyJudgments);
    connect(m_btnPset, &QPushButton::clicked, this, &frmPropaty::applyDrawReplay);
    connect(m_btnGames, &QPushButton::clicked, this, &frmPropaty::showGamesCount);
    connect(m_chkInt, &QCheckBox::toggled, this, &frmPropaty::setInterleagueDrawEnabled);
}

QWidget *frmPropaty::buildReportPage()
{
    auto *page = new QWidget(this);
    m_cmbVs = new QComboBox(page);
    m_cmbVs->setObjectName(QStringLiteral("cmbVs"));
    m_cmbVs->setSizeAdjustPolicy(QComboBox::AdjustToContents);
    auto *vsCaption = caption(QStringLiteral("チーム(&V):"), page);
    vsCaption->setBuddy(m_cmbVs);

    m_txtPrp = new QPlainTextEdit(page);
    m_txtPrp->setObjectName(QStringLiteral("txtPrp"));
    m_txtPrp->setReadOnly(true);
    // A line of the report is never broken: "team - rival" reads as one.
    m_txtPrp->setLineWrapMode(QPlainTextEdit::NoWrap);
    {
        // Japanese text is laid out in a fallback font taller than the
        // box's own, so the least size is measured on such text: twelve
        // lines (the rest scrolls), the first as long as two names of some fifteen characters.
        QTextDocument sample;
        sample.setDefaultFont(m_txtPrp->font());
        sample.setPlainText(QString(30, QChar(0x30A2)) + QString(11, QLatin1Char('\n')));
        const int frame = 2 * m_txtPrp->frameWidth() + 4;
        m_txtPrp->setMinimumSize(qCeil(sample.idealWidth()) + frame,
                                 qCeil(sample.size().height()) + frame);
    }

    m_frmCdm = frame(QString(), QStringLiteral("frmCdm"), page);
    m_cardMagicCaption = caption(QString(), m_frmCdm);
    m_cardMagicCaption->setObjectName(QStringLiteral("LblPrpStr16"));
    m_cardClinchCaption = caption(QStringLiteral("消  化:"), m_frmCdm);
    m_cardClinchCaption->setObjectName(QStringLiteral("LblPrpStrv"));
    keepPlaceWhenHidden(m_cardClinchCaption);
    for (int i = 0; i < 3; ++i) {
        m_lblvsPrp[i] = valueLabel(QStringLiteral("LblvsPrp%1").arg(i), m_frmCdm, 12);
    }
    // The caption holds the longest of its texts from the start, so the
    // frame does not change its width from one rival to the next.
    m_cardMagicCaption->setMinimumWidth(
        m_cardMagicCaption->fontMetrics().horizontalAdvance(QStringLiteral("カード別マジック:")));
    m_lblvsPrp[0]->setMinimumWidth(m_lblPrp[0]->minimumWidth());
    m_lblvsPrp[1]->setMinimumWidth(m_lblPrp[1]->minimumWidth());
    m_lblvsPrp[2]->setMinimumWidth(m_lblPrp[2]->minimumWidth());
    auto *card = new QHBoxLayout(m_frmCdm);
    card->addWidget(m_cardMagicCaption);
    card->addWidget(m_lblvsPrp[0], 1);
    card->addSpacing(12);
    card->addWidget(m_cardClinchCaption);
    card->addWidget(m_lblvsPrp[1], 2);
    card->addWidget(m_lblvsPrp[2], 1);

    auto *choose = new QHBoxLayout;
    choose->addWidget(vsCaption);
    choose->addWidget(m_cmbVs);
    choose->addStretch();

    auto *layout = new QVBoxLayout(page);
    layout->addLayout(choose);
    layout->addWidget(m_frmCdm);
    layout->addWidget(m_txtPrp, 1);
    return page;
}

QWidget *frmPropaty::buildJudgmentPage()
{
    auto *page = new QWidget(this);
    struct Championship
    {
        QString title, first, second, reversal, options;
        const char *option;
        const char *label;
        const char *combo;
        const char *button;
    };
    const Championship championships[3] = {
        {QStringLiteral("リーグ優勝判定"), QStringLiteral("最高勝率(&Q)"),
         QStringLiteral("最多勝利(&W)"), QStringLiteral("逆転現象(&J):"),
         QStringLiteral("判定オプション(&I)..."), "optMgcL", "lblZ", "cmbLZ", "btnMgcL"},
        {QStringLiteral("地区優勝判定"), QStringLiteral("最高勝率(&E)"),
         QStringLiteral("最多勝利(&R)"), QStringLiteral("逆転現象(&K):"),
         QStringLiteral("判定オプション(&O)..."), "optMgcG", "lblG", "cmbGZ", "btnMgcG"},
        {QStringLiteral("交流戦優勝判定"), QStringLiteral("最高勝率(&T)"),
         QStringLiteral("最多勝数(&Y)"), QStringLiteral("逆転現象(&L):"),
         QStringLiteral("判定オプション(&B)..."), "optMgcPV", "lblC", "cmbCZ", "btnMgcJ"},
    };
    std::array<std::array<QRadioButton *, 2> *, 3> options{&m_optMgcL, &m_optMgcG, &m_optMgcPV};
    std::array<QLabel **, 3> labels{&m_lblZ, &m_lblG, &m_lblC};
    std::array<QComboBox **, 3> combos{&m_cmbLZ, &m_cmbGZ, &m_cmbCZ};
    std::array<QPushButton **, 3> buttons{&m_btnMgcL, &m_btnMgcG, &m_btnMgcJ};

    auto *frames = new QHBoxLayout;
    for (int k = 0; k < 3; ++k) {
        const Championship &c = championships[k];
        QGroupBox *box = frame(c.title, QStringLiteral("frmMgc%1").arg(k), page);
        m_frmMgc[k] = box;
        *options[k] = optionPair(c.option, c.first, c.second, box);
        QLabel *label = caption(c.reversal, box);
        label->setObjectName(QLatin1String(c.label));
        QComboBox *combo = reversalCombo(c.combo, box);
        label->setBuddy(combo);
        QPushButton *b = button(c.options, c.button, box);
        *labels[k] = label;
        *combos[k] = combo;
        *buttons[k] = b;

        auto *layout = new QVBoxLayout(box);
        layout->addWidget((*options[k])[0]);
        layout->addWidget((*options[k])[1]);
        layout->addWidget(label);
        layout->addWidget(combo);
        layout->addStretch();
        layout->addWidget(b);
        frames->addWidget(box, 1);
    }
    m_btnMgcPV = button(QStringLiteral("適用(&A)"), "btnMgcPV", page);

    auto *bottom = new QHBoxLayout;
    bottom->addStretch();
    bottom->addWidget(m_btnMgcPV);

    auto *layout = new QVBoxLayout(page);
    layout->addLayout(frames, 1);
    layout->addLayout(bottom);
    return page;
}

QWidget *frmPropaty::buildRacePage()
{
    auto *page = new QWidget(this);
    m_frmLg = frame(QStringLiteral("リーグ引分再試合"), QStringLiteral("frmLg"), page);
    m_optLgDrw =
        optionRow("optLgDrw", QStringLiteral("あり(&Q)"), QStringLiteral("なし(&W)"), m_frmLg);

    m_frmGp = frame(QStringLiteral("地区引分再試合"), QStringLiteral("frmGp"), page);
    m_optGpDrw =
        optionRow("optGpDrw", QStringLiteral("あり(&E)"), QStringLiteral("なし(&R)"), m_frmGp);

    m_frmInt = frame(QStringLiteral("交流戦"), QStringLiteral("frmInt"), page);
    m_chkInt = new QCheckBox(QStringLiteral("公式戦の成績に組込む(&I)"), m_frmInt);
    m_chkInt->setObjectName(QStringLiteral("chkInt"));
    m_frmIntDrwSet = frame(QStringLiteral("引分再試合"), QStringLiteral("frmIntDrwSet"), m_frmInt);
    m_optIntDrw = optionRow("optIntDrw", QStringLiteral("あり(&T)"), QStringLiteral("なし(&Y)"),
                            m_frmIntDrwSet);
    auto *inter = new QVBoxLayout(m_frmInt);
    inter->addWidget(m_chkInt);
    inter->addWidget(m_frmIntDrwSet);
    inter->addStretch();

    m_btnPset = button(QStringLiteral("適用(&A)"), "btnPset", page);
    m_btnGames = button(QStringLiteral("対戦数(G)..."), "btnGames", page);

    auto *draws = new QVBoxLayout;
    draws->addWidget(m_frmLg);
    draws->addWidget(m_frmGp);
    auto *frames = new QHBoxLayout;
    frames->addLayout(draws, 1);
    frames->addWidget(m_frmInt, 1);

    auto *bottom = new QHBoxLayout;
    bottom->addWidget(m_btnGames);
    bottom->addStretch();
    bottom->addWidget(m_btnPset);

    auto *layout = new QVBoxLayout(page);
    layout->addLayout(frames, 1);
    layout->addLayout(bottom);
    return page;
}

void frmPropaty::load(int position, int rivalPosition)
{
    m_tabRec->setCurrentIndex(0);
    const QSignalBlocker teamBlocker(m_cmbTeam);
    const QSignalBlocker vsBlocker(m_cmbVs);
    m_cmbTeam->clear();
    m_cmbVs->clear();
    if (m_published != nullptr) {
        for (const StandingsRow &row : m_published->Rows) {
            if (m_season.Teams.contains(row.TeamNo)) {
                const QString name = qs(m_season.team(row.TeamNo).TeamName);
                m_cmbTeam->addItem(name);
                m_cmbVs->addItem(name);
            }
        }
    }
    const auto valid = [](const QComboBox *combo, int index) {
        return index >= 0 && index < combo->count() ? index : -1;
    };
    m_cmbTeam->setCurrentIndex(valid(m_cmbTeam, position));
    selectTeam(m_cmbTeam->currentIndex());
    m_cmbVs->setCurrentIndex(valid(m_cmbVs, rivalPosition));
    selectOpponent(m_cmbVs->currentIndex());
}

bool frmPropaty::ShowTeamForm(int position, int rivalPosition)
{
    m_edited = false;
    load(position, rivalPosition);
    exec();
    return m_edited;
}

int frmPropaty::selectedTeamNo() const
{
    const int row = m_cmbTeam->currentIndex() + 1;
    if (m_published == nullptr || !m_published->Analysis.contains(row)) {
        return 0;
    }
    return m_published->Analysis[row].TeamNo;
}

void frmPropaty::selectTeam(int index)
{
    if (index < 0 || m_published == nullptr) {
        return;
    }
    for (QLabel *label : m_lblPrp) {
        label->clear();
    }
    for (QComboBox *combo : {m_cmbLZ, m_cmbGZ, m_cmbCZ}) {
        combo->setCurrentIndex(0);
    }
    const std::optional<TeamSummary> summary =
        SummarizeTeam(m_season, *m_published, index + 1, m_settings.Round);
    if (!summary) {
        return;
    }
    const TeamRecord &team = m_season.team(summary->TeamNo);
    const InterleagueSettings &inter = m_season.Interleague;

    m_lblLg->setText(qs(summary->League));
    m_lblGp->setText(qs(summary->Division));
    m_lblGames->setText(qs(summary->Games));

    {
        // Loading the box is not the user's choice of it.
        const QSignalBlocker blocker(m_chkInt);
        m_chkInt->setChecked(inter.IntCounts != 0);
    }
    tick(m_optLgDrw, team.LeagueDrawReplay);
    tick(m_optGpDrw, team.DivisionDrawReplay);
    tick(m_optIntDrw, inter.IntDrawReplay);
    tick(m_optMgcL, team.LeagueJudgment.Judgment);
    tick(m_optMgcG, team.DivisionJudgment.Judgment);
    tick(m_optMgcPV, team.IntJudgment.Judgment);
    const auto reversal = [](QComboBox *combo, int value) {
        if (value >= 0 && value < combo->count()) {
            combo->setCurrentIndex(value);
        }
    };
    reversal(m_cmbLZ, team.LeagueJudgment.Reversal);
    reversal(m_cmbGZ, team.DivisionJudgment.Reversal);
    reversal(m_cmbCZ, team.IntJudgment.Reversal);
    m_conditions = {team.LeagueJudgment.Conditions, team.DivisionJudgment.Conditions,
                    team.IntJudgment.Conditions};

    const bool divisions = team.HasDivisions != StoredFalse;
    m_frmMgc[1]->setEnabled(divisions);
    enablePair(m_optMgcG, divisions);
    m_btnMgcG->setEnabled(divisions);
    m_lblG->setEnabled(divisions);
    setComboEnabled(m_cmbGZ, divisions);
    m_frmGp->setEnabled(divisions);
    enablePair(m_optGpDrw, divisions);

    const bool leagues = m_season.Header.LeagueCount != 1;
    m_frmMgc[2]->setEnabled(leagues);
    enablePair(m_optMgcPV, leagues);
    m_btnMgcJ->setEnabled(leagues);
    m_lblC->setEnabled(leagues);
    setComboEnabled(m_cmbCZ, leagues);
    m_chkInt->setEnabled(leagues);
    m_frmInt->setEnabled(leagues);
    setInterleagueDrawEnabled(leagues && inter.IntCounts != 0);

    m_lblPrp[0]->setText(qs(summary->Magic));
    setHighlighted(m_lblPrp[0], summary->MagicHighlighted);
    if (summary->MagicCaptionsShown) {
        m_magicCaption->setVisible(*summary->MagicCaptionsShown);
        m_clinchCaption->setVisible(*summary->MagicCaptionsShown);
    }
    m_lblPrp[1]->setText(qs(summary->ClinchRecord));
    m_lblPrp[2]->setText(qs(summary->ClinchPct));
    m_lblPrp[3]->setText(qs(summary->Played));
    m_lblPrp[4]->setText(qs(summary->Remaining));
    m_lblPrp[5]->setText(qs(summary->Record));
    m_lblPrp[6]->setText(qs(summary->Pct));
    m_lblPrp[7]->setText(qs(summary->BestRecord));
    m_lblPrp[8]->setText(qs(summary->BestPct));
    m_lblPrp[9]->setText(qs(summary->WorstRecord));
    m_lblPrp[10]->setText(qs(summary->WorstPct));

    const QSignalBlocker blocker(m_cmbVs);
    m_cmbVs->setCurrentIndex(-1);
    selectOpponent(-1);
}

void frmPropaty::selectOpponent(int index)
{
    m_txtPrp->clear();
    for (QLabel *label : m_lblvsPrp) {
        label->clear();
    }
    setHighlighted(m_lblvsPrp[0], false);
    m_cardMagicCaption->clear();
    m_frmCdm->setTitle(QString());
    m_cardClinchCaption->hide();
    if (m_published == nullptr) {
        return;
    }
    const int row = m_cmbTeam->currentIndex() + 1;
    const int opponent = index + 1;
    const OpponentReport report =
        ReportOpponent(m_season, *m_published, row, opponent, m_settings.Round);
    m_txtPrp->setPlainText(qs(JoinReportLines(report.Lines)));
    if (report.HasCard) {
        m_frmCdm->setTitle(qs(report.Caption));
        m_cardMagicCaption->setText(qs(report.MagicCaption));
        m_lblvsPrp[0]->setText(qs(report.Magic));
        setHighlighted(m_lblvsPrp[0], report.MagicHighlighted);
        m_lblvsPrp[1]->setText(qs(report.ClinchRecord));
        m_lblvsPrp[2]->setText(qs(report.ClinchPct));
        m_cardClinchCaption->setVisible(report.ClinchShown);
    }
    if (row > 0 && opponent > 0 && row != opponent) {
        m_txtPrp->setFocus();
    }
}

void frmPropaty::editConditions(int kind)
{
    const std::array<std::array<QRadioButton *, 2>, 3> options{m_optMgcL, m_optMgcG, m_optMgcPV};
    std::vector<std::int16_t> &list = m_conditions[static_cast<std::size_t>(kind)];
    const ConditionFormResult result =
        ShowConditionForm(m_season, m_prompts, ticked(options[static_cast<std::size_t>(kind)]),
                          frmWA::ConditionMode, list, 0, kind, this);
    list = result.list;
    // The rank sets reached from there are stored in the season at once.
    m_edited = m_edited || result.edited;
}

void frmPropaty::applyJudgments()
{
    const int teamNo = selectedTeamNo();
    if (teamNo == 0) {
        return;
    }
    const auto set = [](const std::array<QRadioButton *, 2> &option,
                        const std::vector<std::int16_t> &conditions, const QComboBox *reversal) {
        return JudgmentSet{static_cast<std::int16_t>(ticked(option)), conditions,
                           static_cast<std::int16_t>(std::max(0, reversal->currentIndex()))};
    };
    ApplyJudgmentSettings(m_season, teamNo, set(m_optMgcL, m_conditions[0], m_cmbLZ),
                          set(m_optMgcG, m_conditions[1], m_cmbGZ),
                          set(m_optMgcPV, m_conditions[2], m_cmbCZ));
    m_edited = true;
}

void frmPropaty::applyDrawReplay()
{
    const int teamNo = selectedTeamNo();
    if (teamNo == 0) {
        return;
    }
    ApplyDrawReplay(m_season, teamNo, ticked(m_optLgDrw), ticked(m_optGpDrw),
                    m_chkInt->isChecked() ? 1 : 0, ticked(m_optIntDrw));
    m_edited = true;
}

void frmPropaty::showGamesCount()
{
    const int teamNo = selectedTeamNo();
    if (teamNo == 0 || !m_showGamesCount) {
        return;
    }
    if (m_showGamesCount(m_season, teamNo, this)) {
        m_edited = true;
    }
    m_lblGames->setText(QString::number(m_season.team(teamNo).OfficialGames));
}

void frmPropaty::setInterleagueDrawEnabled(bool enabled)
{
    m_frmIntDrwSet->setEnabled(enabled);
    enablePair(m_optIntDrw, enabled);
}

std::optional<Season> ShowTeamForm(const Season &season, const PublishedStandings &published,
                                   const Settings &settings, Prompts &prompts, int position,
                                   int rivalPosition, const GamesCountEditor &showGamesCount,
                                   QWidget *parent)
{
    Season edited = season;
    frmPropaty dialog(edited, &published, settings, prompts, showGamesCount, parent);
    if (!dialog.ShowTeamForm(position, rivalPosition)) {
        return std::nullopt;
    }
    return edited;
}

} // namespace penarin
