#include "ui/charts/frmchart.h"

#include "magic/calcodule.h"
#include "platform/prompts.h"
#include "platform/twips.h"
#include "season/settings.h"
#include "season/tablewriter.h"
#include "tables/historytable.h"
#include "ui/charts/frmcheck.h"
#include "ui/dialogs/formwidgets.h"
#include "ui/dialogs/tableexport.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QEvent>
#include <QFileInfo>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHelpEvent>
#include <QLabel>
#include <QMenu>
#include <QMouseEvent>
#include <QPainter>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollArea>
#include <QScrollBar>
#include <QToolTip>
#include <QVBoxLayout>

namespace penarin {

namespace chartwidgets {

namespace {

// Widgets paint in twips: one twip is dpi / 1440 pixels.
QTransform twipsTransform(const QWidget &widget)
{
    return QTransform::fromScale(widget.logicalDpiX() / double(TwipsPerInch),
                                 widget.logicalDpiY() / double(TwipsPerInch));
}

QSize pixelsOf(const QSizeF &twips, const QWidget &widget)
{
    return {twipsToPixels(static_cast<int>(std::ceil(twips.width())), widget, Qt::Horizontal),
            twipsToPixels(static_cast<int>(std::ceil(twips.height())), widget, Qt::Vertical)};
}

} // namespace

// The drawing surface of the progression chart, as wide as the chart; the
// scroll area around it shows a part. A press of the left button shows the
// guide line at the nearest point until the button is released.
class ChartSurface : public QWidget
{
public:
    explicit ChartSurface(QWidget *parent) : QWidget(parent)
    {
        setObjectName(QStringLiteral("picChart"));
        setContextMenuPolicy(Qt::CustomContextMenu);
    }

    void setPicture(std::shared_ptr<const ProgressionPicture> picture, const QString &message)
    {
        m_picture = std::move(picture);
        m_message = message;
        m_guide.reset();
        update();
    }

    [[nodiscard]] std::optional<int> guideX() const { return m_guide; }

protected:
    void paintEvent(QPaintEvent *) override
    {
        QPainter painter(this);
        const ChartColors colors = ChartColors::fromPalette(palette());
        if (!m_picture) {
            painter.fillRect(rect(), colors.background);
            painter.setPen(colors.buttonText);
            painter.drawText(rect(), Qt::AlignCenter, m_message);
            return;
        }
        // A short chart leaves room at the right of the viewport.
        painter.fillRect(rect(), colors.background);
        painter.setRenderHint(QPainter::Antialiasing);
        painter.setTransform(twipsTransform(*this));
        m_picture->paintSurface(painter, colors, m_guide);
    }

    void mousePressEvent(QMouseEvent *event) override
    {
        if (event->button() != Qt::LeftButton || !m_picture) {
            return;
        }
        const double x = event->position().x() * TwipsPerInch / logicalDpiX();
        const ProgressionGeometry &g = m_picture->geometry();
        m_guide = GuideLineX(static_cast<int>(std::lround(x)), g.Step, g.Right);
        update();
    }

    void mouseReleaseEvent(QMouseEvent *event) override
    {
        if (event->button() == Qt::LeftButton && m_guide) {
            m_guide.reset();
            update();
        }
    }

private:
    std::shared_ptr<const ProgressionPicture> m_picture;
    QString m_message;
    std::optional<int> m_guide;
};

class LegendSurface : public QWidget
{
public:
    explicit LegendSurface(QWidget *parent) : QWidget(parent)
    {
        setObjectName(QStringLiteral("picLegend"));
    }

    void setPicture(std::shared_ptr<const ProgressionPicture> picture)
    {
        m_picture = std::move(picture);
        if (m_picture) {
            setFixedSize(pixelsOf(m_picture->legendSize(), *this));
        }
        update();
    }

protected:
    void paintEvent(QPaintEvent *) override
    {
        if (!m_picture) {
            return;
        }
        QPainter painter(this);
        painter.setRenderHint(QPainter::Antialiasing);
        painter.setTransform(twipsTransform(*this));
        m_picture->paintLegend(painter, ChartColors::fromPalette(palette()));
    }

private:
    std::shared_ptr<const ProgressionPicture> m_picture;
};

// The bars, the even list and the total of the composition; a segment's tool
// tip names the opponent and the margin.
class CompositionView : public QWidget
{
public:
    explicit CompositionView(QWidget *parent) : QWidget(parent)
    {
        setObjectName(QStringLiteral("picComposition"));
        setContextMenuPolicy(Qt::CustomContextMenu);
    }

    void setPicture(std::shared_ptr<const CompositionPicture> picture)
    {
        m_picture = std::move(picture);
        setMinimumSize(pixelsOf(m_picture->size(), *this));
        update();
    }

    void setCaptions(bool names, bool shares)
    {
        m_names = names;
        m_shares = shares;
        update();
    }

    [[nodiscard]] QString toolTipAt(QPoint pixel) const
    {
        if (!m_picture) {
            return {};
        }
        return m_picture->toolTipAt(twipsTransform(*this).inverted().map(QPointF(pixel)));
    }

protected:
    bool event(QEvent *event) override
    {
        if (event->type() == QEvent::ToolTip) {
            auto *help = static_cast<QHelpEvent *>(event);
            const QString tip = toolTipAt(help->pos());
            if (tip.isEmpty()) {
                QToolTip::hideText();
                event->ignore();
            } else {
                QToolTip::showText(help->globalPos(), tip, this);
            }
            return true;
        }
        return QWidget::event(event);
    }

    void paintEvent(QPaintEvent *) override
    {
        QPainter painter(this);
        const ChartColors colors = ChartColors::fromPalette(palette());
        painter.fillRect(rect(), colors.background);
        if (!m_picture) {
            return;
        }
        painter.setTransform(twipsTransform(*this));
        m_picture->paint(painter, colors, m_names, m_shares);
    }

private:
    std::shared_ptr<const CompositionPicture> m_picture;
    bool m_names = true;
    bool m_shares = true;
};

} // namespace chartwidgets

using chartwidgets::ChartSurface;
using chartwidgets::CompositionView;
using chartwidgets::LegendSurface;

namespace {

using form::button;

} // namespace

FrmChart::FrmChart(Season &season, const PublishedStandings &published, Settings &settings,
                   Prompts &prompts, Layout layout, QWidget *parent)
    : QDialog(parent), m_season(season), m_published(published), m_settings(settings),
      m_prompts(prompts), m_layout(layout)
{
    setObjectName(QStringLiteral("FrmChart"));
    setModal(true);
    if (layout == Layout::Progression) {
        buildProgression();
    } else {
        buildComposition();
    }
}

FrmChart::~FrmChart() = default;

void FrmChart::buildProgression()
{
    setWindowTitle(QStringLiteral("推移グラフ"));

    m_surface = new ChartSurface(this);
    m_chartArea = new QScrollArea(this);
    m_chartArea->setObjectName(QStringLiteral("picChartView"));
    m_chartArea->setWidgetResizable(false);
    m_chartArea->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    m_chartArea->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    m_chartArea->setWidget(m_surface);
    m_chartArea->horizontalScrollBar()->setObjectName(QStringLiteral("hsbChart"));
    m_chartArea->viewport()->installEventFilter(this);
    // The scroll area learns the surface's new width only once its events
    // run, so the newest points are brought into view whenever the range moves.
    connect(m_chartArea->horizontalScrollBar(), &QScrollBar::rangeChanged, this,
            [this](int, int maximum) { m_chartArea->horizontalScrollBar()->setValue(maximum); });

    m_legend = new LegendSurface(this);
    m_legendArea = new QScrollArea(this);
    m_legendArea->setObjectName(QStringLiteral("picLegendView"));
    m_legendArea->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    m_legendArea->setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    m_legendArea->setWidget(m_legend);
    m_legendArea->verticalScrollBar()->setObjectName(QStringLiteral("vsbLegend"));
    m_legendArea->hide();

    m_chkLegend = new QCheckBox(QStringLiteral("凡例(&L)"), this);
    m_chkLegend->setObjectName(QStringLiteral("chkLegend"));
    m_chkLegend->setChecked(m_settings.Hanrei != 0);
    m_btnRedraw = button(QStringLiteral("再表示(&R)..."), "btnRedraw", this);
    m_optSurplus = new QRadioButton(QStringLiteral("貯金推移(&B)"), this);
    m_optSurplus->setObjectName(QStringLiteral("optSurplus"));
    m_optSurplus->setChecked(true);
    m_optPct = new QRadioButton(QStringLiteral("勝率推移(&V)"), this);
    m_optPct->setObjectName(QStringLiteral("optPct"));
    auto *kinds = new QButtonGroup(this);
    kinds->addButton(m_optSurplus, ChartKindSurplus);
    kinds->addButton(m_optPct, ChartKindPct);
    auto *btnExport = button(QStringLiteral("データ出力(&S)..."), "btnExport", this);
    auto *btnSavePicture = button(QStringLiteral("画像保存(&E)..."), "btnSavePicture", this);
    auto *btnClose = button(QStringLiteral("閉じる(&C)"), "btnClose", this);

    auto *legendColumn = new QVBoxLayout;
    legendColumn->addWidget(m_legendArea);
    legendColumn->addStretch();
    auto *charts = new QHBoxLayout;
    charts->addWidget(m_chartArea, 1);
    charts->addLayout(legendColumn);
    auto *controls = new QHBoxLayout;
    controls->addWidget(m_chkLegend);
    controls->addWidget(m_btnRedraw);
    controls->addWidget(m_optSurplus);
    controls->addWidget(m_optPct);
    controls->addStretch();
    controls->addWidget(btnExport);
    controls->addWidget(btnSavePicture);
    controls->addWidget(btnClose);
    auto *layout = new QVBoxLayout(this);
    layout->addLayout(charts, 1);
    layout->addLayout(controls);

    resize(std::max(twipsToPixels(9330, *this), sizeHint().width()),
           twipsToPixels(6885, *this, Qt::Vertical));

    connect(m_chkLegend, &QCheckBox::toggled, this, [this](bool checked) {
        m_legendVisible = checked;
        m_settings.Hanrei = checked ? 1 : 0;
        m_legendArea->setVisible(checked && m_progression);
    });
    // A new kind is drawn by "再表示(&R)...", where the focus goes.
    connect(kinds, &QButtonGroup::idClicked, m_btnRedraw, [this] { m_btnRedraw->setFocus(); });
    connect(m_btnRedraw, &QPushButton::clicked, this, &FrmChart::redraw);
    connect(btnExport, &QPushButton::clicked, this, &FrmChart::exportHistory);
    connect(btnSavePicture, &QPushButton::clicked, this, &FrmChart::askAndSavePicture);
    connect(btnClose, &QPushButton::clicked, this, &QDialog::accept);
    offerPictureMenu(m_surface);
}

void FrmChart::buildComposition()
{
    setWindowTitle(QStringLiteral("貯金構成"));

    auto *frmTeam = new QGroupBox(this);
    frmTeam->setObjectName(QStringLiteral("frmTeam"));
    m_cmbTeam = new QComboBox(frmTeam);
    m_cmbTeam->setObjectName(QStringLiteral("cmbTeam"));
    m_cmbTeam->setSizeAdjustPolicy(QComboBox::AdjustToContents);
    auto *lblTeam = new QLabel(QStringLiteral("チーム(&T):"), frmTeam);
    lblTeam->setObjectName(QStringLiteral("lblTeam"));
    lblTeam->setBuddy(m_cmbTeam);
    m_chkNames = new QCheckBox(QStringLiteral("チーム名表示(&N)"), frmTeam);
    m_chkNames->setObjectName(QStringLiteral("chkNames"));
    m_chkNames->setChecked(true);
    m_chkShares = new QCheckBox(QStringLiteral("構成比を表示(&P)"), frmTeam);
    m_chkShares->setObjectName(QStringLiteral("chkShares"));
    m_chkShares->setChecked(true);
    auto *team = new QHBoxLayout(frmTeam);
    team->addWidget(lblTeam);
    team->addWidget(m_cmbTeam);
    team->addSpacing(12);
    team->addWidget(m_chkNames);
    team->addWidget(m_chkShares);
    team->addStretch();

    m_view = new CompositionView(this);
    auto *btnSavePicture = button(QStringLiteral("画像保存(&E)..."), "btnSavePicture", this);
    auto *btnClose = button(QStringLiteral("閉じる(&C)"), "btnClose", this);
    auto *buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(btnSavePicture);
    buttons->addWidget(btnClose);
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(frmTeam);
    layout->addWidget(m_view, 1);
    layout->addLayout(buttons);

    for (const StandingsRow &row : m_published.Rows) {
        m_cmbTeam->addItem(m_season.Teams.contains(row.TeamNo)
                               ? QString::fromStdU16String(m_season.team(row.TeamNo).TeamName)
                               : QString());
    }
    // No team until one is chosen: the caller names the row to show first.
    m_cmbTeam->setCurrentIndex(-1);
    resize(std::max(twipsToPixels(7305, *this), sizeHint().width()),
           std::max(twipsToPixels(3950, *this, Qt::Vertical), sizeHint().height()));

    connect(m_cmbTeam, &QComboBox::currentIndexChanged, this, &FrmChart::drawComposition);
    const auto captions = [this] {
        m_view->setCaptions(m_chkNames->isChecked(), m_chkShares->isChecked());
    };
    connect(m_chkNames, &QCheckBox::toggled, this, captions);
    connect(m_chkShares, &QCheckBox::toggled, this, captions);
    connect(btnSavePicture, &QPushButton::clicked, this, &FrmChart::askAndSavePicture);
    connect(btnClose, &QPushButton::clicked, this, &QDialog::accept);
    offerPictureMenu(m_view);
}

int FrmChart::surfaceHeight() const
{
    return pixelsToTwips(m_chartArea->viewport()->height(), *this, Qt::Vertical);
}

int FrmChart::drawChart(int kind, bool legendVisible)
{
    if (m_layout != Layout::Progression) {
        return DrawNothing;
    }
    // The surface takes the viewport's height, which the layout decides even
    // before the window is first shown.
    layout()->activate();
    m_data = GatherProgression(m_season, &m_published, kind, m_settings.NameLen);
    const int result = DrawResult(m_data);
    m_legendVisible = legendVisible;
    if (result <= 0) {
        m_progression.reset();
        m_surface->setPicture(nullptr,
                              QString::fromStdU16String(std::u16string(DrawResultMessage(result))));
        m_surface->resize(m_chartArea->viewport()->size());
        m_legend->setPicture(nullptr);
        m_legendArea->hide();
        return result;
    }
    placeProgression();
    return result;
}

void FrmChart::placeProgression()
{
    const int height = surfaceHeight();
    if (DrawResult(m_data) <= 0 || height <= 600) {
        return;
    }
    m_progression = std::make_shared<const ProgressionPicture>(m_data, height, font());
    const ProgressionGeometry &g = m_progression->geometry();
    m_surface->setPicture(m_progression, QString());
    m_surface->setFixedSize(
        std::max(twipsToPixels(g.SurfaceWidth, *this), m_chartArea->viewport()->width()),
        m_chartArea->viewport()->height());
    const int viewportWidth = pixelsToTwips(m_chartArea->viewport()->width(), *this);
    QScrollBar *scroll = m_chartArea->horizontalScrollBar();
    scroll->setEnabled(ChartScrollEnabled(g.Right, viewportWidth));
    // The newest points are the ones a fan looks at first.
    scroll->setValue(scroll->maximum());

    m_legend->setPicture(m_progression);
    const int legendHeight = static_cast<int>(m_progression->legendSize().height());
    const int container = LegendContainerHeight(legendHeight, height);
    m_legendArea->setFixedHeight(twipsToPixels(container, *this, Qt::Vertical) +
                                 2 * m_legendArea->frameWidth());
    const bool scrolls = legendHeight > container;
    m_legendArea->setFixedWidth(
        m_legend->width() + 2 * m_legendArea->frameWidth() +
        (scrolls ? m_legendArea->verticalScrollBar()->sizeHint().width() : 0));
    m_legendArea->verticalScrollBar()->setValue(0);
    m_legendArea->setVisible(m_legendVisible);
}

bool FrmChart::eventFilter(QObject *watched, QEvent *event)
{
    // The surface follows the viewport: its height is the chart's, and a
    // chart narrower than the viewport fills it. Before the window is first
    // shown that size may not be known yet, so the first real one draws.
    if (m_chartArea && watched == m_chartArea->viewport() && event->type() == QEvent::Resize &&
        DrawResult(m_data) > 0) {
        placeProgression();
    }
    return QDialog::eventFilter(watched, event);
}

std::optional<int> FrmChart::guideLineX() const
{
    return m_surface ? m_surface->guideX() : std::nullopt;
}

void FrmChart::redraw()
{
    const ChartDataOutcome outcome =
        ShowChartData(m_season, &m_published, m_settings, m_prompts, this);
    m_edited = m_edited || outcome.edited;
    if (!outcome.accepted) {
        return;
    }
    m_chartArea->horizontalScrollBar()->setValue(0);
    m_legendArea->verticalScrollBar()->setValue(0);
    drawChart(m_optPct->isChecked() ? ChartKindPct : ChartKindSurplus, m_settings.Hanrei != 0);
}

QString FrmChart::fileDialogStart() const
{
    if (m_season.CurrentFile.empty()) {
        return {};
    }
    return QFileInfo(QString::fromStdString(m_season.CurrentFile)).absolutePath();
}

void FrmChart::reportSaveFailure(const QString &reason)
{
    m_prompts.message(QStringLiteral("ファイルを保存できません\r\n") + reason,
                      MessageIcon::Critical, MessageButtons::Ok);
}

// "データ出力(&S)...": the history of the chart on screen, as the export of
// the main window writes it.
void FrmChart::exportHistory()
{
    const HistoryKind kind = m_data.Kind == ChartKindPct ? HistoryKind::Pct : HistoryKind::Surplus;
    const std::optional<TextTable> table = BuildHistoryTable(m_season, m_published, kind);
    if (!table) {
        m_prompts.message(QStringLiteral("データがありません"), MessageIcon::Exclamation,
                          MessageButtons::Ok);
        return;
    }
    (void)ExportTable(m_prompts, *table, fileDialogStart());
}

void FrmChart::drawComposition(int index)
{
    if (index < 0 || index >= m_published.Rows.size()) {
        return;
    }
    const StandingsRow &row = m_published.Rows[index + 1];
    m_composition = std::make_shared<const CompositionPicture>(
        BuildComposition(m_season, row, m_published.GameScope, m_settings.NameLen),
        m_cmbTeam->itemText(index), font());
    m_view->setPicture(m_composition);
    m_view->setCaptions(m_chkNames->isChecked(), m_chkShares->isChecked());
}

void FrmChart::selectTeam(int standingsRow)
{
    if (!m_cmbTeam || standingsRow < 0 || standingsRow >= m_cmbTeam->count()) {
        return;
    }
    if (m_cmbTeam->currentIndex() == standingsRow) {
        drawComposition(standingsRow);
    } else {
        m_cmbTeam->setCurrentIndex(standingsRow);
    }
}

bool FrmChart::savePicture(const QString &path, QString *error) const
{
    const ChartColors colors = ChartColors::fromPalette(palette());
    if (m_progression) {
        const bool legend = m_legendVisible;
        return writeChartPicture(
            path, m_progression->pictureSize(legend),
            [&](QPainter &painter) { m_progression->paintPicture(painter, colors, legend); },
            error);
    }
    if (m_composition) {
        const bool names = m_chkNames->isChecked();
        const bool shares = m_chkShares->isChecked();
        return writeChartPicture(
            path, m_composition->pictureSize(),
            [&](QPainter &painter) { m_composition->paintPicture(painter, colors, names, shares); },
            error);
    }
    if (error) {
        *error = QString::fromStdU16String(std::u16string(DrawResultMessage(DrawNothing)));
    }
    return false;
}

// A right click on the picture offers to save it.
void FrmChart::offerPictureMenu(QWidget *picture)
{
    connect(picture, &QWidget::customContextMenuRequested, this, [this, picture](const QPoint &at) {
        QMenu menu(this);
        QAction *save = menu.addAction(QStringLiteral("画像として保存(&E)..."));
        save->setObjectName(QStringLiteral("actSavePicture"));
        if (menu.exec(picture->mapToGlobal(at)) == save) {
            askAndSavePicture();
        }
    });
}

void FrmChart::askAndSavePicture()
{
    const QString path = m_prompts.saveFile(FileRequest{
        QStringLiteral("画像として保存"), QStringLiteral("PNG画像(*.png);;SVG画像(*.svg)"),
        QStringLiteral("png"), fileDialogStart()});
    if (path.isEmpty()) {
        return;
    }
    QString error;
    if (!savePicture(path, &error)) {
        reportSaveFailure(error);
    }
}

ProgressionChartOutcome ShowProgressionChart(const Season &season,
                                             const PublishedStandings &published,
                                             Settings &settings, Prompts &prompts, QWidget *parent)
{
    Season shown = season;
    FrmChart window(shown, published, settings, prompts, FrmChart::Layout::Progression, parent);
    ProgressionChartOutcome outcome;
    outcome.result = window.drawChart(ChartKindSurplus, settings.Hanrei != 0);
    if (outcome.result > 0) {
        window.exec();
    }
    if (window.edited()) {
        outcome.edited = std::move(shown);
    }
    return outcome;
}

void ShowCompositionChart(const Season &season, const PublishedStandings &published,
                          Settings &settings, Prompts &prompts, int standingsRow, QWidget *parent)
{
    Season shown = season;
    FrmChart window(shown, published, settings, prompts, FrmChart::Layout::Composition, parent);
    window.selectTeam(standingsRow);
    window.exec();
}

} // namespace penarin
