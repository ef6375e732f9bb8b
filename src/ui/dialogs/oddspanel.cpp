#include "ui/dialogs/oddspanel.h"

#include "platform/flexgrid.h"
#include "platform/twips.h"
#include "season/settings.h"
#include "ui/dialogs/formwidgets.h"

#include <QComboBox>
#include <QCoreApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QScrollBar>
#include <QThread>
#include <QThreadPool>
#include <QTimer>
#include <QVBoxLayout>

#include <algorithm>
#include <atomic>
#include <mutex>

namespace penarin {

namespace {

// The race table's two header rows, so the rows line up beside it.
constexpr int HeaderRows = 2;
constexpr int TitleCol = 0;
constexpr int TopCol = 1;
constexpr int BigGameRows = 5;

constexpr std::chrono::milliseconds PollInterval{50};

// The odds use every core themselves; one computation at a time. The pool
// belongs to the application, so leaving the program waits for a running
// computation (which stops at its next block once cancelled).
QThreadPool &oddsPool()
{
    static QThreadPool *pool = [] {
        auto *created = new QThreadPool(QCoreApplication::instance());
        created->setMaxThreadCount(1);
        return created;
    }();
    return *pool;
}

QString probability(double p, bool proven)
{
    return QString::fromStdString(odds::FormatProbability(p, proven));
}

QString teamName(const Season &season, int teamNo)
{
    return QString::fromStdU16String(season.team(teamNo).TeamName);
}

// The grid's look shared by both tables of the panel.
void prepareGrid(FlexGrid *grid, const Settings &settings)
{
    grid->setFocusMark(FlexGrid::FocusMark::None);
    QFont font = grid->font();
    font.setPointSize(settings.FontSizeA);
    grid->setFont(font);
}

} // namespace

// Handed to the worker: the result comes back through it, never through a
// signal to a panel that may be gone by then.
struct OddsPanel::Job
{
    std::atomic<bool> cancel{false};
    std::atomic<int> permille{0};
    std::mutex mutex;
    std::optional<odds::OddsResult> result;
};

OddsPanel::OddsPanel(const Season &season, const PublishedStandings &published,
                     const Settings &settings, const ViewRequest &view, int topK, QWidget *parent)
    : QWidget(parent),
      // The worker reads its own copy: the window's season may change once
      // the dialog is closed, while a computation still runs.
      m_snapshot(std::make_shared<const Season>(season)), m_settings(settings),
      m_request(odds::OddsRequestForView(season, published, view, OrderSettingsFrom(settings),
                                         std::max(1, topK)))
{
    setObjectName(QStringLiteral("oddsPanel"));
    m_teamNo = m_request.Teams.empty() ? 0 : m_request.Teams.front();

    m_grid = new FlexGrid(this);
    m_grid->setObjectName(QStringLiteral("grdOdds"));
    prepareGrid(m_grid, settings);
    m_grid->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    m_grid->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    m_grid->setToolTipText(QStringLiteral("残り試合の結果の確率です。確定・消滅は左の判定が"
                                          "示します。"));

    m_cmbModel = new QComboBox(this);
    m_cmbModel->setObjectName(QStringLiteral("cmbModel"));
    m_cmbModel->addItem(QStringLiteral("五分五分"));
    m_cmbModel->addItem(QStringLiteral("戦績の差を反映"));
    m_cmbModel->setToolTip(QStringLiteral("五分五分：どの試合も勝ち負け半々（引分は今季の引分率）\n"
                                          "戦績の差を反映：今季の勝率の高い方が勝ちやすい"));
    auto *lblModel = new QLabel(QStringLiteral("確率の計算(&M):"), this);
    lblModel->setObjectName(QStringLiteral("lblModel"));
    lblModel->setBuddy(m_cmbModel);
    m_lblMethod = new QLabel(this);
    m_lblMethod->setObjectName(QStringLiteral("lblMethod"));

    m_lblBigGames = new QLabel(this);
    m_lblBigGames->setObjectName(QStringLiteral("lblBigGames"));
    m_cmbBasis = new QComboBox(this);
    m_cmbBasis->setObjectName(QStringLiteral("cmbBasis"));
    auto *lblBasis = new QLabel(QStringLiteral("大一番(&G):"), this);
    lblBasis->setObjectName(QStringLiteral("lblBasis"));
    lblBasis->setBuddy(m_cmbBasis);
    m_grdBigGames = new FlexGrid(this);
    m_grdBigGames->setObjectName(QStringLiteral("grdBigGames"));
    prepareGrid(m_grdBigGames, settings);
    // Sized to its rows and columns (fillBigGames): a scroll bar would only
    // take room from the last column.
    m_grdBigGames->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    m_grdBigGames->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);

    auto *controls = new QHBoxLayout;
    controls->addWidget(lblModel);
    controls->addWidget(m_cmbModel);
    controls->addSpacing(12);
    controls->addWidget(m_lblMethod);
    controls->addStretch();
    auto *bigGames = new QHBoxLayout;
    bigGames->addWidget(lblBasis);
    bigGames->addWidget(m_cmbBasis);
    bigGames->addSpacing(12);
    bigGames->addWidget(m_lblBigGames);
    bigGames->addStretch();
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addLayout(controls);
    layout->addLayout(bigGames);
    layout->addWidget(m_grdBigGames, 0, Qt::AlignLeft);

    m_poll = new QTimer(this);
    m_poll->setInterval(PollInterval);
    connect(m_poll, &QTimer::timeout, this, [this] { (void)collect(); });
    connect(m_cmbModel, &QComboBox::currentIndexChanged, this, [this](int index) {
        setModel(index == 1 ? odds::Model::Strength : odds::Model::Coin);
    });
    connect(m_cmbBasis, &QComboBox::currentIndexChanged, this, [this] { fillBigGames(); });
    connect(m_grid, &FlexGrid::cellPressed, this, [this](int row, int, Qt::MouseButton) {
        const int index = row - HeaderRows;
        if (index >= 0 && index < static_cast<int>(m_request.Teams.size())) {
            setSelectedTeam(m_request.Teams[static_cast<std::size_t>(index)]);
            emit teamSelected(m_teamNo);
        }
    });
    start();
}

OddsPanel::~OddsPanel()
{
    if (m_job) {
        m_job->cancel = true;
    }
}

void OddsPanel::follow(FlexGrid *raceGrid)
{
    connect(raceGrid->verticalScrollBar(), &QScrollBar::valueChanged, m_grid,
            [this](int value) { m_grid->verticalScrollBar()->setValue(value); });
}

void OddsPanel::setTopK(int topK)
{
    if (topK == m_request.TopK || topK < 1) {
        return;
    }
    m_request.TopK = topK;
    start();
}

void OddsPanel::setModel(odds::Model model)
{
    {
        const QSignalBlocker block(m_cmbModel);
        m_cmbModel->setCurrentIndex(model == odds::Model::Strength ? 1 : 0);
    }
    if (model == m_request.GameModel) {
        return;
    }
    m_request.GameModel = model;
    start();
}

void OddsPanel::setSelectedTeam(int teamNo)
{
    if (std::find(m_request.Teams.begin(), m_request.Teams.end(), teamNo) ==
        m_request.Teams.end()) {
        return;
    }
    m_teamNo = teamNo;
    fillGrid();
    fillBigGames();
}

void OddsPanel::start()
{
    if (m_job) {
        m_job->cancel = true;
    }
    m_job = std::make_shared<Job>();
    m_ready = false;
    odds::OddsRequest request = m_request;
    request.Cancel = &m_job->cancel;
    Job *job = m_job.get();
    request.Progress = [job](std::int64_t done, std::int64_t total) {
        job->permille = static_cast<int>(done * 1000 / std::max<std::int64_t>(1, total));
    };
    oddsPool().start([job = m_job, season = m_snapshot, request = std::move(request)] {
        if (job->cancel) {
            return;
        }
        odds::OddsResult result = odds::ComputeOdds(*season, request);
        const std::lock_guard lock(job->mutex);
        job->result = std::move(result);
    });
    m_lblMethod->setText(QStringLiteral("計算しています..."));
    fillGrid();
    fillBigGames();
    m_poll->start();
}

bool OddsPanel::collect()
{
    if (m_ready) {
        return true;
    }
    {
        const std::lock_guard lock(m_job->mutex);
        if (!m_job->result) {
            m_lblMethod->setText(
                QStringLiteral("計算しています... %1%").arg(m_job->permille.load() / 10));
            return false;
        }
        m_result = std::move(*m_job->result);
    }
    m_job.reset();
    m_ready = true;
    m_poll->stop();
    if (m_result.Status == odds::OddsStatus::Computed) {
        m_lblMethod->setText(QStringLiteral("確率は%1によります（判定ではありません）")
                                 .arg(QString::fromStdString(odds::MethodCaption(m_result))));
    } else {
        m_lblMethod->setText(QStringLiteral("確率を計算できません"));
    }
    fillGrid();
    fillBigGames();
    return true;
}

bool OddsPanel::waitForOdds(std::chrono::milliseconds limit)
{
    return form::pollUntil([this] { return collect(); }, limit);
}

void OddsPanel::fillGrid()
{
    const int teams = static_cast<int>(m_request.Teams.size());
    const bool shown = m_ready && m_result.Status == odds::OddsStatus::Computed;
    const QString caption =
        shown ? QString::fromStdString(odds::MethodCaption(m_result)) : QStringLiteral("確率");
    {
        FlexGrid::UpdateGuard guard(*m_grid);
        m_grid->clear();
        m_grid->setRowCount(HeaderRows + teams);
        m_grid->setColCount(2);
        m_grid->setFixedRows(HeaderRows);
        m_grid->setMergeRow(0, true);
        m_grid->setText(0, TitleCol, caption);
        m_grid->setText(0, TopCol, caption);
        m_grid->setText(1, TitleCol, QStringLiteral("優勝確率"));
        m_grid->setText(1, TopCol, QStringLiteral("上位%1位確率").arg(m_request.TopK));
        for (int row = 0; row < HeaderRows; ++row) {
            m_grid->setCellAlignment(row, TitleCol, Qt::AlignCenter);
            m_grid->setCellAlignment(row, TopCol, Qt::AlignCenter);
        }
        const QPalette palette = m_grid->palette();
        for (int i = 0; i < teams; ++i) {
            const int row = HeaderRows + i;
            const bool selected = m_request.Teams[static_cast<std::size_t>(i)] == m_teamNo;
            for (const int col : {TitleCol, TopCol}) {
                m_grid->setCellAlignment(row, col, Qt::AlignRight | Qt::AlignVCenter);
                m_grid->setCellBackground(row, col,
                                          selected ? palette.color(QPalette::Highlight) : QColor());
                m_grid->setCellForeground(
                    row, col, selected ? palette.color(QPalette::HighlightedText) : QColor());
            }
            if (shown) {
                const odds::TeamOdds &t = m_result.Teams[static_cast<std::size_t>(i)];
                m_grid->setText(row, TitleCol, probability(t.Title, t.TitleProven));
                m_grid->setText(row, TopCol, probability(t.TopK, t.TopKProven));
            } else {
                m_grid->setText(row, TitleCol, QStringLiteral("..."));
                m_grid->setText(row, TopCol, QStringLiteral("..."));
            }
        }
        m_grid->fitColWidth(TitleCol, 1100, 1);
        m_grid->fitColWidth(TopCol, 1100, 1);
        // The merged caption must fit over the two columns.
        const GridGeometry &geometry = m_grid->gridGeometry();
        const int wanted = pixelsToTwips(m_grid->textWidth(caption), geometry.dpiX()) + 240;
        const int have = m_grid->colWidth(TitleCol) + m_grid->colWidth(TopCol);
        if (wanted > have) {
            m_grid->setColWidth(TopCol, m_grid->colWidth(TopCol) + wanted - have);
        }
    }
    // As tall as the race table beside it (up to 16 teams without scrolling).
    const GridGeometry &geometry = m_grid->gridGeometry();
    const int frame = 2 * m_grid->frameWidth();
    const int height = geometry.rowTop(std::min(HeaderRows + teams, HeaderRows + 16)) + frame;
    m_grid->setFixedWidth(geometry.totalWidth() + frame);
    m_grid->setMinimumHeight(height);
    m_grid->setMaximumHeight(teams > 16 ? QWIDGETSIZE_MAX : height);
}

void OddsPanel::fillBigGames()
{
    const Season &season = *m_snapshot;
    const QString top = QStringLiteral("上位%1位確率").arg(m_request.TopK);
    {
        const QSignalBlocker block(m_cmbBasis);
        const int basis = std::max(0, m_cmbBasis->currentIndex());
        m_cmbBasis->clear();
        m_cmbBasis->addItem(QStringLiteral("優勝確率"));
        m_cmbBasis->addItem(top);
        m_cmbBasis->setCurrentIndex(basis);
    }
    const bool byTop = m_cmbBasis->currentIndex() == 1;
    const bool shown = m_ready && m_result.Status == odds::OddsStatus::Computed;
    std::vector<odds::BigGame> games;
    if (shown && m_teamNo != 0) {
        games = odds::BigGames(m_result, m_teamNo, byTop, BigGameRows);
    }
    m_lblBigGames->setText(m_teamNo == 0 ? QString()
                                         : QStringLiteral("%1の%2を最も動かす次の試合")
                                               .arg(teamName(season, m_teamNo),
                                                    byTop ? top : QStringLiteral("優勝確率")));
    {
        FlexGrid::UpdateGuard guard(*m_grdBigGames);
        m_grdBigGames->clear();
        m_grdBigGames->setRowCount(1 + BigGameRows);
        m_grdBigGames->setColCount(4);
        m_grdBigGames->setFixedRows(1);
        const QString headers[] = {QStringLiteral("対戦"), QStringLiteral("左が勝てば"),
                                   QStringLiteral("右が勝てば"), QStringLiteral("差")};
        for (int col = 0; col < 4; ++col) {
            m_grdBigGames->setText(0, col, headers[col]);
            m_grdBigGames->setCellAlignment(0, col, Qt::AlignCenter);
        }
        for (int i = 0; i < BigGameRows; ++i) {
            const int row = 1 + i;
            if (i >= static_cast<int>(games.size())) {
                if (i == 0) {
                    m_grdBigGames->setText(row, 0,
                                           shown
                                               ? QStringLiteral("（確率を動かす試合はありません）")
                                               : QStringLiteral("..."));
                }
                continue;
            }
            const odds::BigGame &g = games[static_cast<std::size_t>(i)];
            m_grdBigGames->setText(row, 0,
                                   teamName(season, g.TeamA) + QStringLiteral(" - ") +
                                       teamName(season, g.TeamB));
            m_grdBigGames->setText(row, 1, probability(g.IfAWins, m_result.Exact));
            m_grdBigGames->setText(row, 2, probability(g.IfBWins, m_result.Exact));
            m_grdBigGames->setText(
                row, 3,
                QStringLiteral("%1pt").arg(std::abs(g.IfAWins - g.IfBWins) * 100, 0, 'f', 1));
            for (int col = 1; col < 4; ++col) {
                m_grdBigGames->setCellAlignment(row, col, Qt::AlignRight | Qt::AlignVCenter);
            }
        }
        const int minimum[] = {3600, 1200, 1200, 900};
        for (int col = 0; col < 4; ++col) {
            m_grdBigGames->fitColWidth(col, minimum[col]);
        }
    }
    const GridGeometry &geometry = m_grdBigGames->gridGeometry();
    const int frame = 2 * m_grdBigGames->frameWidth();
    m_grdBigGames->setFixedHeight(geometry.rowTop(1 + BigGameRows) + frame);
    m_grdBigGames->setFixedWidth(geometry.totalWidth() + frame);
}

} // namespace penarin
