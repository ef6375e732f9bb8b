// Filling both grids of the main window, and one click on a card, for seasons
// of 12, 30 and 88 teams, every team shown. Each iteration ends with the grids
// painted, because the user waits for the picture, not the data.

#include "benchseasons.h"
#include "platform/flexgrid.h"
#include "platform/recordingprompts.h"
#include "season/settings.h"
#include "ui/dialogs/qtdialogs.h"
#include "ui/main/frmmain.h"

#include <QApplication>
#include <QTest>

#include <benchmark/benchmark.h>

using namespace penarin;

namespace {

struct Window
{
    Season season;
    Settings settings;
    RecordingPrompts prompts;
    QtDialogs dialogs{prompts};
    frmMain window;

    // By default the size the window opens at on a first start (9570 x 6060
    // twips); a large desktop shows many more cells to paint.
    explicit Window(int teams, QSize size = QSize(638, 404))
        : season(bench::buildSeason(bench::Shape{teams, 1})),
          window(season, settings, prompts, dialogs, ProgramFiles{})
    {
        window.resize(size);
        window.show();
        window.SelectView(0, -1);
        QApplication::processEvents();
    }

    void paint()
    {
        window.standingsGrid()->viewport()->repaint();
        window.cardGrid()->viewport()->repaint();
    }
};

void BM_FillGrids(benchmark::State &state)
{
    Window w(static_cast<int>(state.range(0)));
    for (auto _ : state) {
        w.window.FillGrids(0, -1);
        w.paint();
    }
    state.counters["cells"] =
        static_cast<double>(w.window.cardGrid()->rowCount()) * w.window.cardGrid()->colCount();
}

// A left click on the wins cell of the first team against the second, then
// a right click that takes it back, so every iteration sees the same season.
void BM_ClickOnCard(benchmark::State &state)
{
    Window w(static_cast<int>(state.range(0)),
             QSize(static_cast<int>(state.range(1)), static_cast<int>(state.range(2))));
    FlexGrid *grid = w.window.cardGrid();
    const QPoint cell = grid->cellRect(2, 4).center();
    for (auto _ : state) {
        QTest::mouseClick(grid->viewport(), Qt::LeftButton, {}, cell);
        w.paint();
        QTest::mouseClick(grid->viewport(), Qt::RightButton, {}, cell);
        w.paint();
    }
    state.SetItemsProcessed(state.iterations() * 2);
}

} // namespace

BENCHMARK(BM_FillGrids)->Arg(12)->Arg(30)->Arg(88)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ClickOnCard)
    ->ArgNames({"teams", "width", "height"})
    ->Args({12, 638, 404})
    ->Args({30, 638, 404})
    ->Args({88, 638, 404})
    ->Args({88, 1600, 1000})
    ->Unit(benchmark::kMillisecond);
