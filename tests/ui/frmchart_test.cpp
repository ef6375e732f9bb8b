#include "modalhelper.h"
#include "platform/recordingprompts.h"
#include "platform/twips.h"
#include "season/settings.h"
#include "support/chartseason.h"
#include "ui/charts/frmchart.h"

#include <QCheckBox>
#include <QComboBox>
#include <QHelpEvent>
#include <QImage>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollArea>
#include <QScrollBar>
#include <QTemporaryDir>
#include <QTest>
#include <QToolTip>

using namespace penarin;

namespace {

template <class T> T *child(QWidget &parent, const char *name)
{
    T *found = parent.findChild<T *>(QLatin1String(name));
    if (!found) {
        qWarning("no %s", name);
    }
    return found;
}

void click(QWidget &parent, const char *name)
{
    QTest::mouseClick(child<QPushButton>(parent, name), Qt::LeftButton);
}

// A point of the widget at a position in twips.
QPoint at(const QWidget &widget, double x, double y)
{
    return {twipsToPixels(static_cast<int>(x), widget),
            twipsToPixels(static_cast<int>(y), widget, Qt::Vertical)};
}

} // namespace

class FrmChartTest : public QObject
{
    Q_OBJECT

private slots:
    void progressionPath();
    void nothingOrTooMuchKeepsTheWindowShut();
    void compositionPath();
};

void FrmChartTest::progressionPath()
{
    Season season = test::chartSeason();
    const PublishedStandings published = test::chartStandings(season);
    Settings settings;
    settings.Hanrei = 1;
    RecordingPrompts prompts;
    FrmChart chart(season, published, settings, prompts, FrmChart::Layout::Progression);
    QCOMPARE(chart.drawChart(0, true), 9); // three teams at three shown snapshots
    chart.show();
    QVERIFY(QTest::qWaitForWindowExposed(&chart));
    QCOMPARE(chart.windowTitle(), QStringLiteral("推移グラフ"));

    const ProgressionPicture *picture = chart.progression();
    QVERIFY(picture);
    QCOMPARE(picture->data().Series.front().TeamName, std::u16string(u"Aチーム"));
    const ProgressionGeometry &g = picture->geometry();
    QCOMPARE(g.Right, 4000);
    auto *view = child<QScrollArea>(chart, "picChartView");
    // The surface is as high as the viewport.
    QCOMPARE(g.Height, pixelsToTwips(view->viewport()->height(), chart, Qt::Vertical));
    QCOMPARE(view->horizontalScrollBar()->value(), view->horizontalScrollBar()->maximum());
    // A short chart fills the viewport, which the legend beside it narrowed.
    QCOMPARE(view->widget()->width(),
             std::max(twipsToPixels(g.SurfaceWidth, chart), view->viewport()->width()));
    auto *legend = child<QScrollArea>(chart, "picLegendView");
    QVERIFY(legend->isVisible());

    // The guide line stays while the button is down, at the nearest point.
    QWidget *surface = child<QWidget>(chart, "picChart");
    QTest::mousePress(surface, Qt::LeftButton, {}, at(*surface, 2600, 500));
    QCOMPARE(chart.guideLineX(), 3000);
    QTest::mouseRelease(surface, Qt::LeftButton, {}, at(*surface, 2600, 500));
    QCOMPARE(chart.guideLineX(), std::nullopt);
    QTest::mousePress(surface, Qt::LeftButton, {}, at(*surface, 900, 500)); // left of the axis
    QCOMPARE(chart.guideLineX(), std::nullopt);
    QTest::mouseRelease(surface, Qt::LeftButton, {}, at(*surface, 900, 500));

    child<QCheckBox>(chart, "chkLegend")->click();
    QVERIFY(!legend->isVisible());
    QCOMPARE(int(settings.Hanrei), 0);

    // A picture of what is on screen, drawn by the same code: no legend now.
    QTemporaryDir dir;
    const QString png = dir.filePath(QStringLiteral("chart.png"));
    prompts.queueSaveFile(png);
    click(chart, "btnSavePicture");
    QCOMPARE(prompts.calls().back().file.filter, QStringLiteral("PNG画像(*.png);;SVG画像(*.svg)"));
    const QImage image(png);
    QCOMPARE(image.width(), (g.SurfaceWidth + 14) / 15);
    QCOMPARE(image.height(), (g.Height + 14) / 15);
    const QString svg = dir.filePath(QStringLiteral("chart.svg"));
    QVERIFY(chart.savePicture(svg));
    QFile svgFile(svg);
    QVERIFY(svgFile.open(QIODevice::ReadOnly));
    QVERIFY(svgFile.readAll().contains("<svg"));
    prompts.queueSaveFile(dir.filePath(QStringLiteral("no-folder/chart.png")));
    click(chart, "btnSavePicture");
    QVERIFY(
        prompts.messageTexts().back().startsWith(QStringLiteral("ファイルを保存できません\r\n")));
    QCOMPARE(prompts.messages().back().icon, MessageIcon::Critical);

    // The percentage is drawn by "再表示(&R)..." after the chart data dialog,
    // with the teams it leaves shown.
    child<QRadioButton>(chart, "optPct")->click();
    QCOMPARE(chart.progression()->data().Kind, ChartKindSurplus);
    test::whenModalShown([](QWidget *dialog) {
        auto *teams = dialog->findChild<QListWidget *>(QStringLiteral("lstTeam"));
        teams->item(0)->setSelected(false);
        QTest::mouseClick(dialog->findChild<QPushButton *>(QStringLiteral("btnOK")),
                          Qt::LeftButton);
    });
    click(chart, "btnRedraw");
    QCOMPARE(chart.progression()->data().Kind, ChartKindPct);
    QCOMPARE(chart.progression()->data().Series.size(), std::size_t{2});
    QVERIFY(!legend->isVisible()); // the stored legend flag

    // "データ出力(&S)..." writes the history of the chart shown: percentages
    // of every standings team at the shown snapshots.
    const QString csv = dir.filePath(QStringLiteral("history.csv"));
    prompts.queueSaveFile(csv);
    click(chart, "btnExport");
    QCOMPARE(prompts.calls().back().file.title, QStringLiteral("名前を付けて保存"));
    QFile history(csv);
    QVERIFY(history.open(QIODevice::ReadOnly));
    const QList<QByteArray> lines = history.readAll().split('\n');
    QCOMPARE(lines.size(), 6); // dates, memos, three teams, and the end
    QCOMPARE(lines[0], QByteArray("\"\",\"2026/03/28\",\"2026/04/30\",\"2026/05/03\"\r"));
    QVERIFY(lines[2].endsWith("\".510\",\".530\",\".540\"\r"));

    for (Snapshot &snapshot : season.Snapshots) {
        snapshot.Shown = StoredFalse;
    }
    click(chart, "btnExport");
    QCOMPARE(prompts.messageTexts().back(), QStringLiteral("データがありません"));
    QCOMPARE(prompts.pendingAnswers(), 0);
}

void FrmChartTest::nothingOrTooMuchKeepsTheWindowShut()
{
    Season season = test::chartSeason();
    const PublishedStandings published = test::chartStandings(season);
    Settings settings;
    RecordingPrompts prompts;
    season.TeamShown.assign(3, StoredFalse);
    QCOMPARE(ShowProgressionChart(season, published, settings, prompts, nullptr).result,
             DrawNothing);
    season.TeamShown.assign(3, StoredTrue);
    for (int k = season.SnapshotCount(); k < 607; ++k) {
        season.Snapshots.push_back({season.Snapshots[4].Date, u"", StoredTrue});
        for (TeamSnapshot &team : season.TeamSnapshots) {
            team.Pcts.push_back(0.5F);
            team.Surpluses.push_back(0);
        }
    }
    // Neither result shows the window: an exec() here would never return.
    QCOMPARE(ShowProgressionChart(season, published, settings, prompts, nullptr).result,
             DrawTooManyPoints);
}

void FrmChartTest::compositionPath()
{
    Season season = test::chartSeason();
    season.team(2).LineColor = 0x0000FF;
    const PublishedStandings published = test::chartStandings(season);
    Settings settings;
    RecordingPrompts prompts;
    FrmChart chart(season, published, settings, prompts, FrmChart::Layout::Composition);
    chart.selectTeam(0);
    chart.show();
    QVERIFY(QTest::qWaitForWindowExposed(&chart));
    QCOMPARE(chart.windowTitle(), QStringLiteral("貯金構成"));
    auto *cmbTeam = child<QComboBox>(chart, "cmbTeam");
    QCOMPARE(cmbTeam->count(), 3);
    QCOMPARE(chart.composition()->composition().TeamNo, 1);
    QCOMPARE(chart.composition()->composition().TotalText, std::u16string(u"貯金:  7"));

    // Choosing another team draws it: C leads B and trails A.
    cmbTeam->setCurrentIndex(1);
    const Composition &c = chart.composition()->composition();
    QCOMPARE(c.TeamNo, 3);
    QCOMPARE(c.Leading.size(), std::size_t{1});
    QCOMPARE(c.Trailing.size(), std::size_t{1});

    // The tool tip of a segment names the opponent and the margin.
    QWidget *view = child<QWidget>(chart, "picComposition");
    const QRectF segment = chart.composition()->layout().segments.front().rect;
    const QPoint inside = at(*view, segment.center().x(), segment.center().y());
    QHelpEvent help(QEvent::ToolTip, inside, view->mapToGlobal(inside));
    QApplication::sendEvent(view, &help);
    QCOMPARE(QToolTip::text(), QStringLiteral("Bチームに対する勝越し[ 3 ]"));

    QTemporaryDir dir;
    const QString png = dir.filePath(QStringLiteral("composition.png"));
    prompts.queueSaveFile(png);
    click(chart, "btnSavePicture");
    const QSizeF size = chart.composition()->pictureSize();
    QCOMPARE(QImage(png).size(), QSize(static_cast<int>(std::ceil(size.width() / 15)),
                                       static_cast<int>(std::ceil(size.height() / 15))));
    click(chart, "btnClose");
    QVERIFY(!chart.isVisible());
}

QTEST_MAIN(FrmChartTest)
#include "frmchart_test.moc"
