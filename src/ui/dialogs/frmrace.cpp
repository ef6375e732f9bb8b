#include "ui/dialogs/frmrace.h"

#include "platform/flexgrid.h"
#include "platform/prompts.h"
#include "platform/twips.h"
#include "season/settings.h"
#include "ui/dialogs/formwidgets.h"
#include "ui/dialogs/oddspanel.h"

#include <QComboBox>
#include <QCoreApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QScrollBar>
#include <QSpinBox>
#include <QThread>
#include <QThreadPool>
#include <QTimer>
#include <QVBoxLayout>

#include <algorithm>
#include <atomic>
#include <mutex>

namespace penarin {

namespace {

using race::Answer;
using race::RaceState;

// Grid layout: two header rows, then one row per team of the view.
constexpr int HeaderRows = 2;
enum Column
{
    RankCol,
    NameCol,
    RemainingCol,
    TitleMarkCol,
    TitleMagicCol,
    TopMarkCol,
    TopMagicCol,
    ColumnCount,
};

// The standings grid's colours for a decided title, so a "確定" reads the
// same in both windows.
const QColor SureBackground(0, 0, 255);
const QColor SureText(192, 255, 255);
const QColor TieBackground(255, 255, 192);
const QColor OutText(128, 128, 128);
const QColor UnknownText(192, 0, 0);

// A long season with many teams can keep the solver busy for seconds, so
// the analysis runs beside the window, which stays responsive meanwhile.
constexpr std::chrono::milliseconds PollInterval{30};
// ShowRaceForm waits this long before opening the window, so a quick
// analysis is there at once and a schedule that cannot be analysed is
// reported without a window flashing up.
constexpr std::chrono::milliseconds FirstLook{300};

// One analysis at a time: a change of k while one runs queues the next,
// and one that nobody waits for any more is skipped before it starts. The
// pool belongs to the application, so leaving the program waits for a
// running analysis instead of cutting it off inside the solver.
QThreadPool &analysisPool()
{
    static QThreadPool *pool = [] {
        auto *created = new QThreadPool(QCoreApplication::instance());
        created->setMaxThreadCount(1);
        return created;
    }();
    return *pool;
}

bool onlyTieKeepsOut(const RaceState &state)
{
    return state.Sure != Answer::Yes && state.SureUnlessTied == Answer::Yes;
}

bool onlyTieLetsIn(const RaceState &state)
{
    return state.Possible == Answer::No && state.PossibleWithTie == Answer::Yes;
}

QString goal(int places)
{
    return places == 1 ? QStringLiteral("優勝") : QStringLiteral("%1位以内").arg(places);
}

bool isTitle(int kind)
{
    return kind == RaceOutcome::TitleReach || kind == RaceOutcome::TitleFailure;
}

QString numberText(int value)
{
    return QString::number(value);
}

} // namespace

// Handed to the worker: the result comes back through it, never through a
// signal to a window that may be gone by then.
struct frmRace::Job
{
    // Raised when nobody waits for the answer any more: the analysis reads
    // it between questions and the solver inside every search, so a closed
    // dialog or a new k frees the worker at once.
    std::atomic<bool> stop{false};
    std::mutex mutex;
    std::optional<race::RaceAnalysis> partial; // the latest progress, not yet shown
    std::optional<race::RaceAnalysis> result;
};

namespace {

std::atomic<int> runningAnalyses{0};

} // namespace

int RunningRaceAnalyses()
{
    return runningAnalyses.load();
}

QString RaceTableMark(const RaceState &state)
{
    return QString::fromStdU16String(race::RaceMark(state));
}

QString RaceTableMagic(const RaceState &state)
{
    if (!state.MagicDecided) {
        return QStringLiteral("?");
    }
    return state.Magic ? numberText(*state.Magic) : QStringLiteral("-");
}

QString RaceMarkExplanation(const RaceState &state, int places)
{
    const QString target = goal(places);
    const QString mark = RaceTableMark(state);
    QString text;
    if (mark == QStringLiteral("確定")) {
        text = QStringLiteral("残り試合がどんな結果になっても%1が決まっています。").arg(target);
    } else if (mark == QStringLiteral("消滅")) {
        text = QStringLiteral("残り試合をすべて勝っても、%1の可能性はありません。").arg(target);
    } else if (onlyTieLetsIn(state)) {
        text = (places == 1 ? QStringLiteral("優勝するには")
                            : QStringLiteral("%1に入るには").arg(target)) +
               QStringLiteral("、同率で並んだうえで順位決定の条件で上になるしかありません。");
    } else if (onlyTieKeepsOut(state)) {
        text = QStringLiteral("追い抜かれることはありませんが、同率で並ばれると順位決定の条件で"
                              "%1を逃すことがあります。")
                   .arg(target);
    } else if (mark == QStringLiteral("自力")) {
        text = QStringLiteral("残り試合に勝ち続ければ、ほかのチームの結果にかかわらず%1が"
                              "決まります。")
                   .arg(target);
    } else if (mark == QStringLiteral("他力")) {
        text = QStringLiteral("%1の可能性はありますが、残り試合をすべて勝っても、ほかのチームの"
                              "結果によっては逃します。")
                   .arg(target);
    } else {
        return QStringLiteral("時間内に判定できませんでした。");
    }
    if (state.MagicDecided && state.Magic && *state.Magic > 0) {
        text += QStringLiteral("\nあと%1勝すれば、ほかのチームの結果にかかわらず%2が決まります。")
                    .arg(*state.Magic)
                    .arg(target);
    }
    return text;
}

std::vector<RaceOutcome> RaceOutcomes(const race::TeamRace &team, int topK)
{
    std::vector<RaceOutcome> outcomes;
    auto add = [&outcomes](RaceOutcome::Kind kind, const QString &caption,
                           const std::optional<race::Certificate> &certificate) {
        if (certificate) {
            outcomes.push_back({kind, caption, *certificate});
        }
    };
    const QString top = goal(topK);
    add(RaceOutcome::TitleReach,
        team.Title.ReachNeedsTie ? QStringLiteral("同率で首位に並ぶ結果の一例")
                                 : QStringLiteral("優勝する結果の一例"),
        team.Title.Reach);
    add(RaceOutcome::TitleFailure, QStringLiteral("全勝しても優勝を逃す結果の一例"),
        team.Title.WinOutFailure);
    if (topK > 1) {
        add(RaceOutcome::TopReach,
            team.Top.ReachNeedsTie ? QStringLiteral("同率で%1に並ぶ結果の一例").arg(top)
                                   : QStringLiteral("%1に入る結果の一例").arg(top),
            team.Top.Reach);
        add(RaceOutcome::TopFailure, QStringLiteral("全勝しても%1を逃す結果の一例").arg(top),
            team.Top.WinOutFailure);
    }
    // How ordinary the outcome is, at a glance: the analysis keeps draws to
    // the rate so far wherever the proof allows.
    for (RaceOutcome &outcome : outcomes) {
        outcome.caption +=
            QStringLiteral("（引き分け%1試合）").arg(race::DrawCount(outcome.certificate));
    }
    return outcomes;
}

frmRace::frmRace(const Season &season, const PublishedStandings &published,
                 const Settings &settings, Prompts &prompts, const ViewRequest &view, int topK,
                 QWidget *parent)
    : QDialog(parent), m_season(season), m_published(published), m_settings(settings),
      m_prompts(prompts),
      // The worker reads its own copy: the window's season may change once
      // this dialog is closed, while an analysis still runs.
      m_snapshot(std::make_shared<const Season>(season)),
      m_request(race::RaceRequestForView(season, published, view, topK, settings.Game))
{
    setObjectName(QStringLiteral("frmRace"));
    setWindowTitle(QStringLiteral("優勝・CS争い"));
    setModal(true);
    // The chances beside the exact marks, with their model and 大一番.
    m_odds = new OddsPanel(season, published, settings, view, topK, this);
    buildControls();
    const QString measure =
        m_request.Judgment == 1 ? QStringLiteral("勝利数") : QStringLiteral("勝率");
    // Short lines rather than word wrap: a wrapped Japanese label can be
    // given too little height by the layout and lose its last line.
    m_lblNote->setText(QStringLiteral("残り試合のすべての勝ち負けの組み合わせを調べた結果です。\n"
                                      "順位は順位表の「優勝判定適用」と同じく、%1で比べ、"
                                      "並んだときは順位決定の条件で決めます。\n"
                                      "マジック：あと何勝で確定するか"
                                      "（-：自力では確定しない、?：時間内に決まらない）")
                           .arg(measure));
    const int teams = std::max(1, static_cast<int>(m_request.Teams.size()));
    m_spnTop->setRange(1, teams);
    m_spnTop->setValue(std::clamp(topK, 1, teams));
    m_request.TopK = m_spnTop->value();
    // Only now: the value set above must not start a second analysis.
    connect(m_spnTop, &QSpinBox::valueChanged, this, &frmRace::setTopK);
    startAnalysis();
}

frmRace::~frmRace()
{
    stopAnalysis();
}

void frmRace::stopAnalysis()
{
    if (m_job) {
        m_job->stop = true;
    }
}

void frmRace::done(int result)
{
    // Closing by any way (閉じる, Esc, the title bar, a chosen outcome)
    // ends the analysis in progress.
    stopAnalysis();
    m_poll->stop();
    QDialog::done(result);
}

void frmRace::buildControls()
{
    m_lblNote = new QLabel(this);
    m_lblNote->setObjectName(QStringLiteral("lblNote"));
    m_lblMismatch =
        new QLabel(QStringLiteral("試合数が対戦ごとの試合数の合計と合わないチームがあります。\n"
                                  "残り試合は対戦ごとの試合数から数えています。"),
                   this);
    m_lblMismatch->setObjectName(QStringLiteral("lblMismatch"));
    m_lblMismatch->hide();
    m_lblBusy = new QLabel(QStringLiteral("計算しています..."), this);
    m_lblBusy->setObjectName(QStringLiteral("lblBusy"));

    m_poll = new QTimer(this);
    m_poll->setInterval(PollInterval);
    connect(m_poll, &QTimer::timeout, this, [this] { (void)collect(); });

    m_spnTop = new QSpinBox(this);
    m_spnTop->setObjectName(QStringLiteral("spnTop"));
    m_spnTop->setSuffix(QStringLiteral(" 位以内"));
    // Typing "12" must not analyse for 1 first.
    m_spnTop->setKeyboardTracking(false);
    auto *lblTop = new QLabel(QStringLiteral("上位(&K):"), this);
    lblTop->setObjectName(QStringLiteral("lblTop"));
    lblTop->setBuddy(m_spnTop);

    m_grid = new FlexGrid(this);
    m_grid->setObjectName(QStringLiteral("grdRace"));
    m_grid->setFocusMark(FlexGrid::FocusMark::None);
    m_grid->viewport()->installEventFilter(this);
    QFont font = m_grid->font();
    font.setPointSize(m_settings.FontSizeA);
    m_grid->setFont(font);

    m_cmbOutcome = new QComboBox(this);
    m_cmbOutcome->setObjectName(QStringLiteral("cmbOutcome"));
    m_cmbOutcome->setSizeAdjustPolicy(QComboBox::AdjustToContents);
    auto *lblOutcome = new QLabel(QStringLiteral("結果(&R):"), this);
    lblOutcome->setObjectName(QStringLiteral("lblOutcome"));
    lblOutcome->setBuddy(m_cmbOutcome);
    m_btnView = new QPushButton(QStringLiteral("この結果を見る(&V)"), this);
    m_btnView->setObjectName(QStringLiteral("btnView"));
    m_btnView->setToolTip(QStringLiteral("選んだ結果を試算モードで入力し、順位表で確かめます"));
    m_btnClose = new QPushButton(QStringLiteral("閉じる"), this);
    m_btnClose->setObjectName(QStringLiteral("btnClose"));
    m_btnClose->setDefault(true);

    auto *top = new QHBoxLayout;
    top->addWidget(lblTop);
    top->addWidget(m_spnTop);
    top->addSpacing(12);
    top->addWidget(m_lblBusy);
    top->addStretch();

    auto *bottom = new QHBoxLayout;
    bottom->addWidget(lblOutcome);
    bottom->addWidget(m_cmbOutcome, 1);
    bottom->addWidget(m_btnView);
    bottom->addSpacing(12);
    bottom->addWidget(m_btnClose);

    auto *layout = new QVBoxLayout(this);
    layout->addLayout(top);
    auto *tables = new QHBoxLayout;
    tables->setSpacing(0);
    tables->addWidget(m_grid, 1);
    tables->addWidget(m_odds->grid());
    layout->addLayout(tables, 1);
    layout->addWidget(m_lblNote);
    layout->addWidget(m_lblMismatch);
    layout->addWidget(m_odds);
    m_odds->follow(m_grid);
    connect(m_odds, &OddsPanel::teamSelected, this, [this](int teamNo) {
        const auto found = std::find(m_request.Teams.begin(), m_request.Teams.end(), teamNo);
        m_grid->setCurrentCell(HeaderRows + static_cast<int>(found - m_request.Teams.begin()),
                               NameCol);
    });
    layout->addLayout(bottom);

    setTabOrder(m_spnTop, m_grid);
    setTabOrder(m_grid, m_cmbOutcome);
    setTabOrder(m_cmbOutcome, m_btnView);
    setTabOrder(m_btnView, m_btnClose);

    connect(m_grid, &FlexGrid::currentCellChanged, this,
            [this](int row, int col, int, int) { selectTeam(row, col); });
    connect(m_grid, &FlexGrid::mouseMovedOverCell, this,
            [this](int row, int col, QPoint) { showCellTip(row, col); });
    connect(m_grid, &FlexGrid::cellDoubleClicked, this, [this](int row, int, Qt::MouseButton) {
        if (row >= HeaderRows && m_btnView->isEnabled()) {
            viewOutcome();
        }
    });
    connect(m_cmbOutcome, &QComboBox::currentIndexChanged, this, [this](int index) {
        if (index >= 0 && index < static_cast<int>(m_outcomes.size())) {
            m_wantedKind = m_outcomes[index].kind;
        }
    });
    connect(m_btnView, &QPushButton::clicked, this, &frmRace::viewOutcome);
    connect(m_btnClose, &QPushButton::clicked, this, &QDialog::reject);
}

void frmRace::setTopK(int topK)
{
    if (topK == m_request.TopK) {
        return;
    }
    m_request.TopK = topK;
    m_odds->setTopK(topK);
    {
        const QSignalBlocker block(m_spnTop);
        m_spnTop->setValue(topK);
    }
    startAnalysis();
}

int frmRace::topK() const
{
    return m_analysis.TopK;
}

bool frmRace::analysing() const
{
    return !m_ready;
}

void frmRace::startAnalysis()
{
    stopAnalysis();
    m_job = std::make_shared<Job>();
    m_ready = false;
    m_analysis = race::RaceAnalysis{};
    m_analysis.TopK = m_request.TopK;
    ++runningAnalyses;
    analysisPool().start([job = m_job, season = m_snapshot, request = m_request]() mutable {
        struct Done
        {
            ~Done() { --runningAnalyses; }
        } done;
        if (job->stop) {
            return;
        }
        request.Stop = &job->stop;
        request.Progress = [&job](const race::RaceAnalysis &sofar) {
            const std::lock_guard lock(job->mutex);
            job->partial = sofar;
        };
        race::RaceAnalysis analysis = race::AnalyzeRace(*season, request);
        const std::lock_guard lock(job->mutex);
        job->result = std::move(analysis);
    });
    m_lblBusy->setText(QStringLiteral("計算しています..."));
    m_lblBusy->show();
    fillGrid();
    m_poll->start();
}

bool frmRace::collect()
{
    if (m_ready) {
        return true;
    }
    {
        const std::lock_guard lock(m_job->mutex);
        if (!m_job->result) {
            // What is known so far: the title column first, then each
            // team's top-k answers.
            if (m_job->partial) {
                m_analysis = std::move(*m_job->partial);
                m_job->partial.reset();
                const int teams = static_cast<int>(m_request.Teams.size());
                m_lblBusy->setText(QStringLiteral("計算しています...（優勝 %1/%2、%3 %4/%2）")
                                       .arg(m_analysis.TitlesDone)
                                       .arg(teams)
                                       .arg(goal(m_request.TopK))
                                       .arg(m_analysis.TopsDone));
                fillGrid();
            }
            return false;
        }
        m_analysis = std::move(*m_job->result);
    }
    m_job.reset();
    m_ready = true;
    m_poll->stop();
    m_lblBusy->hide();
    if (m_analysis.Status == race::RaceStatus::ScheduleInconsistent) {
        m_prompts.message(QString::fromUtf8(ScheduleMessage), MessageIcon::Critical,
                          MessageButtons::Ok);
        reject();
        return true;
    }
    m_lblMismatch->setVisible(m_analysis.ScheduleMismatch);
    fillGrid();
    return true;
}

bool frmRace::waitForAnalysis(std::chrono::milliseconds limit)
{
    return form::pollUntil([this] { return collect(); }, limit);
}

void frmRace::fillGrid()
{
    const int teams = static_cast<int>(m_request.Teams.size());
    const QString topHeader = QStringLiteral("上位%1位").arg(m_request.TopK);
    {
        FlexGrid::UpdateGuard guard(*m_grid);
        m_grid->clear();
        m_grid->setRowCount(HeaderRows + teams);
        m_grid->setColCount(ColumnCount);
        m_grid->setFixedRows(HeaderRows);
        m_grid->setFixedCols(0);
        m_grid->setMergeRow(0, true);
        const QString headers[2][ColumnCount] = {
            {QString(), QString(), QString(), QStringLiteral("優勝"), QStringLiteral("優勝"),
             topHeader, topHeader},
            {QStringLiteral("順位"), QStringLiteral("チーム"), QStringLiteral("残り試合"),
             QStringLiteral("状況"), QStringLiteral("マジック"), QStringLiteral("状況"),
             QStringLiteral("マジック")}};
        for (int row = 0; row < HeaderRows; ++row) {
            for (int col = 0; col < ColumnCount; ++col) {
                m_grid->setText(row, col, headers[row][col]);
                m_grid->setCellAlignment(row, col, Qt::AlignCenter);
            }
        }
        const PublishedStandings *published = &m_published;
        for (int i = 0; i < teams; ++i) {
            const int teamNo = m_request.Teams[i];
            const int row = HeaderRows + i;
            if (published != nullptr) {
                for (int r = 1; r <= published->Rows.size(); ++r) {
                    if (published->Rows[r].TeamNo == teamNo) {
                        m_grid->setText(row, RankCol, numberText(published->Rows[r].Rank));
                        m_grid->setText(row, RemainingCol,
                                        numberText(published->Rows[r].Remaining));
                    }
                }
            }
            m_grid->setText(row, NameCol,
                            QString::fromStdU16String(m_season.team(teamNo).TeamName));
            for (int col = TitleMarkCol; col <= TopMagicCol; ++col) {
                m_grid->setText(row, col, QStringLiteral("..."));
            }
            if (titleKnown(i)) {
                const race::TeamRace &team = m_analysis.Teams[i];
                m_grid->setText(row, TitleMarkCol, RaceTableMark(team.Title));
                m_grid->setText(row, TitleMagicCol, RaceTableMagic(team.Title));
            }
            if (topKnown(i)) {
                const race::TeamRace &team = m_analysis.Teams[i];
                m_grid->setText(row, TopMarkCol, RaceTableMark(team.Top));
                m_grid->setText(row, TopMagicCol, RaceTableMagic(team.Top));
            }
            for (const int col : {TitleMarkCol, TopMarkCol}) {
                m_grid->setCellAlignment(row, col, Qt::AlignCenter);
            }
            for (const int col : {RankCol, RemainingCol, TitleMagicCol, TopMagicCol}) {
                m_grid->setCellAlignment(row, col, Qt::AlignRight | Qt::AlignVCenter);
            }
        }
        const int minimum[ColumnCount] = {600, 1600, 900, 1000, 900, 1000, 900};
        for (int col = 0; col < ColumnCount; ++col) {
            m_grid->fitColWidth(col, minimum[col], 1);
        }
        m_nameWidth = m_grid->colWidth(NameCol);
    }
    // Every column in view without a horizontal scroll bar, and every row
    // up to a league of 16 teams without a vertical one; no empty band
    // below the last team.
    const GridGeometry &geometry = m_grid->gridGeometry();
    const int frame = 2 * m_grid->frameWidth();
    const int height = geometry.rowTop(std::min(HeaderRows + teams, HeaderRows + 16)) + frame;
    m_grid->setMinimumWidth(geometry.totalWidth() + frame +
                            m_grid->verticalScrollBar()->sizeHint().width());
    m_grid->setMinimumHeight(height);
    m_grid->setMaximumHeight(teams > 16 ? QWIDGETSIZE_MAX : height);

    fitOutcomeBox();
    fillWidth();

    m_teamIndex = std::clamp(m_teamIndex, 0, std::max(0, teams - 1));
    if (teams > 0) {
        const QSignalBlocker block(m_grid);
        m_grid->setCurrentCell(HeaderRows + m_teamIndex, NameCol);
    }
    paintRows();
    fillOutcomes();
}

bool frmRace::titleKnown(int index) const
{
    return index >= 0 && index < static_cast<int>(m_analysis.Teams.size()) &&
           (m_ready || index < m_analysis.TitlesDone);
}

bool frmRace::topKnown(int index) const
{
    return titleKnown(index) && (m_ready || index < m_analysis.TopsDone);
}

void frmRace::fillWidth()
{
    // The name column takes whatever the window gives beyond the columns'
    // own widths, so no empty band shows right of the table.
    const GridGeometry &geometry = m_grid->gridGeometry();
    const int others =
        geometry.totalWidth() - geometry.colLeft(NameCol + 1) + geometry.colLeft(NameCol);
    const int spare =
        m_grid->viewport()->width() - others - twipsToPixels(m_nameWidth, geometry.dpiX());
    m_grid->setColWidth(NameCol, m_nameWidth + std::max(0, pixelsToTwips(spare, geometry.dpiX())));
}

bool frmRace::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == m_grid->viewport() && event->type() == QEvent::Resize) {
        fillWidth();
    }
    return QDialog::eventFilter(watched, event);
}

void frmRace::fitOutcomeBox()
{
    // Wide enough for the longest name with the longest caption, so that
    // going from team to team never cuts an entry off nor moves the buttons.
    race::TeamRace every;
    every.Title.Reach = every.Top.Reach = every.Title.WinOutFailure = every.Top.WinOutFailure =
        race::Certificate{};
    QStringList captions;
    for (const bool tie : {false, true}) {
        every.Title.ReachNeedsTie = every.Top.ReachNeedsTie = tie;
        for (const RaceOutcome &outcome : RaceOutcomes(every, m_request.TopK)) {
            captions << outcome.caption;
        }
    }
    const QSignalBlocker block(m_cmbOutcome);
    m_cmbOutcome->clear();
    for (const int teamNo : m_request.Teams) {
        for (const QString &caption : captions) {
            m_cmbOutcome->addItem(QString::fromStdU16String(m_season.team(teamNo).TeamName) +
                                  QStringLiteral("が") + caption);
        }
    }
    m_cmbOutcome->setMinimumWidth(m_cmbOutcome->sizeHint().width());
    m_cmbOutcome->clear();
}

void frmRace::paintRows()
{
    const QPalette palette = m_grid->palette();
    for (int i = 0; i < static_cast<int>(m_request.Teams.size()); ++i) {
        const int row = HeaderRows + i;
        const bool selected = i == m_teamIndex;
        for (int col = 0; col < ColumnCount; ++col) {
            m_grid->setCellBackground(row, col,
                                      selected ? palette.color(QPalette::Highlight) : QColor());
            m_grid->setCellForeground(
                row, col, selected ? palette.color(QPalette::HighlightedText) : QColor());
        }
        if (selected || !titleKnown(i)) {
            continue;
        }
        const race::TeamRace &team = m_analysis.Teams[i];
        for (const auto &[col, state] :
             {std::pair{TitleMarkCol, &team.Title}, std::pair{TopMarkCol, &team.Top}}) {
            if (col == TopMarkCol && !topKnown(i)) {
                continue;
            }
            const QString mark = RaceTableMark(*state);
            if (mark == QStringLiteral("確定")) {
                m_grid->setCellBackground(row, col, SureBackground);
                m_grid->setCellForeground(row, col, SureText);
            } else if (mark == QStringLiteral("同率次第")) {
                m_grid->setCellBackground(row, col, TieBackground);
            } else if (mark == QStringLiteral("消滅")) {
                m_grid->setCellForeground(row, col, OutText);
            } else if (mark == QStringLiteral("不明")) {
                m_grid->setCellForeground(row, col, UnknownText);
            }
        }
    }
}

void frmRace::selectTeam(int row, int col)
{
    const int index = row - HeaderRows;
    if (index < 0 || index >= static_cast<int>(m_request.Teams.size())) {
        return;
    }
    m_teamIndex = index;
    m_odds->setSelectedTeam(m_request.Teams[static_cast<std::size_t>(index)]);
    paintRows();
    // A click on a top-k cell offers that column's outcome first.
    const bool topColumn = col == TopMarkCol || col == TopMagicCol;
    const bool titleColumn = col == TitleMarkCol || col == TitleMagicCol;
    if (topColumn || titleColumn) {
        m_wantedKind = topColumn ? RaceOutcome::TopReach : RaceOutcome::TitleReach;
    }
    fillOutcomes();
}

void frmRace::fillOutcomes()
{
    m_outcomes.clear();
    if (titleKnown(m_teamIndex)) {
        race::TeamRace team = m_analysis.Teams[m_teamIndex];
        if (!topKnown(m_teamIndex)) {
            team.Top = race::RaceState{};
        }
        m_outcomes = RaceOutcomes(team, m_analysis.TopK);
    }
    const QString name = m_outcomes.empty()
                             ? QString()
                             : QString::fromStdU16String(
                                   m_season.team(m_analysis.Teams[m_teamIndex].TeamNo).TeamName);
    const QSignalBlocker block(m_cmbOutcome);
    m_cmbOutcome->clear();
    // The column clicked last, or the kind the user picked last: going from
    // team to team keeps showing the same kind of outcome.
    const int wanted = m_wantedKind;
    for (const RaceOutcome &outcome : m_outcomes) {
        m_cmbOutcome->addItem(name + QStringLiteral("が") + outcome.caption);
    }
    auto find = [this](auto matches) {
        const auto found = std::find_if(m_outcomes.begin(), m_outcomes.end(),
                                        [&](const RaceOutcome &o) { return matches(int(o.kind)); });
        return found == m_outcomes.end() ? -1 : static_cast<int>(found - m_outcomes.begin());
    };
    int current = m_outcomes.empty() ? -1 : 0;
    if (wanted >= 0) {
        // Failing that kind, the other outcome of the same column.
        const int exact = find([wanted](int kind) { return kind == wanted; });
        const int column = find([wanted](int kind) { return isTitle(kind) == isTitle(wanted); });
        current = exact >= 0 ? exact : (column >= 0 ? column : current);
    }
    m_cmbOutcome->setCurrentIndex(current);
    m_cmbOutcome->setEnabled(!m_outcomes.empty());
    m_btnView->setEnabled(!m_outcomes.empty());
}

void frmRace::showCellTip(int row, int col)
{
    const int index = row - HeaderRows;
    QString tip;
    if (titleKnown(index)) {
        const race::TeamRace &team = m_analysis.Teams[index];
        if (col == TitleMarkCol || col == TitleMagicCol) {
            tip = RaceMarkExplanation(team.Title, 1);
        } else if ((col == TopMarkCol || col == TopMagicCol) && topKnown(index)) {
            tip = RaceMarkExplanation(team.Top, m_analysis.TopK);
        }
    }
    m_grid->setToolTipText(tip);
}

void frmRace::viewOutcome()
{
    const int index = m_cmbOutcome->currentIndex();
    if (index < 0 || index >= static_cast<int>(m_outcomes.size())) {
        return;
    }
    m_chosen = m_outcomes[index].certificate;
    accept();
}

std::optional<race::Certificate> ShowRaceForm(const Season &season,
                                              const PublishedStandings &published,
                                              const Settings &settings, int league, int division,
                                              Prompts &prompts, QWidget *parent)
{
    if (published.Rows.size() == 0) {
        return std::nullopt;
    }
    frmRace dialog(season, published, settings, prompts, ViewRequest{league, division}, 3, parent);
    if (dialog.waitForAnalysis(FirstLook) &&
        dialog.analysis().Status == race::RaceStatus::ScheduleInconsistent) {
        return std::nullopt; // the dialog has said why
    }
    if (dialog.exec() != QDialog::Accepted) {
        return std::nullopt;
    }
    return dialog.chosenCertificate();
}

} // namespace penarin
