#include "cli/chartcommand.h"

#include "charts/paint/chartpainter.h"
#include "cli/report.h"
#include "magic/calcodule.h"
#include "season/textcodec.h"
#include "standings/obimodule.h"
#include "tables/chartmodule.h"

#include <QGuiApplication>
#include <QPainter>

#include <algorithm>
#include <memory>
#include <ostream>

namespace penarin::cli {

namespace {

// The drawing surface's height of the chart window as it first opens; the
// pictures of the command have it too.
constexpr int PictureSurfaceHeight = 5400;

// Fonts and the palette need a Qt Gui application. A command line has no
// use for a display, so without an explicit platform it draws offscreen.
void ensureGuiApplication()
{
    if (QCoreApplication::instance()) {
        return;
    }
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
    }
    static int argc = 1;
    static char name[] = "penarin-report";
    static char *argv[] = {name, nullptr};
    static std::unique_ptr<QGuiApplication> application =
        std::make_unique<QGuiApplication>(argc, argv);
}

} // namespace

int runChart(const Season &season, const PublishedStandings &published, const Settings &settings,
             const ChartOptions &options, std::ostream &err)
{
    ensureGuiApplication();
    const ChartColors colors = ChartColors::fromPalette(QGuiApplication::palette());
    const QFont family = QGuiApplication::font();
    const QString out = QString::fromStdString(options.out);
    QString error;
    bool written = false;

    if (options.composition) {
        const StandingsRow *row = nullptr;
        for (const StandingsRow &candidate : published.Rows) {
            if (!row && (!options.team || candidate.TeamNo == *options.team)) {
                row = &candidate;
            }
        }
        if (!row) {
            err << toUtf8(std::u16string(DrawResultMessage(DrawNothing))) << '\n';
            return ExitNothingToDraw;
        }
        const CompositionPicture picture(
            BuildComposition(season, *row, published.GameScope, settings.NameLen),
            QString::fromStdU16String(season.team(row->TeamNo).TeamName), family);
        written = writeChartPicture(
            out, picture.pictureSize(),
            [&](QPainter &painter) { picture.paintPicture(painter, colors, true, true); }, &error);
    } else {
        ProgressionData data = GatherProgression(
            season, &published, options.percentage ? ChartKindPct : ChartKindSurplus,
            settings.NameLen);
        const int result = DrawResult(data);
        if (result <= 0) {
            err << toUtf8(std::u16string(DrawResultMessage(result))) << '\n';
            return ExitNothingToDraw;
        }
        const ProgressionPicture picture(std::move(data), PictureSurfaceHeight, family);
        const bool legend = settings.Hanrei != 0;
        written = writeChartPicture(
            out, picture.pictureSize(legend),
            [&](QPainter &painter) { picture.paintPicture(painter, colors, legend); }, &error);
    }
    if (!written) {
        err << cannotWrite(options.out, error.toStdString()) << '\n';
        return ExitCannotWrite;
    }
    return ExitOk;
}

int runChartCommand(Invocation &call)
{
    ChartOptions chart;
    chart.composition = call.args.text("--kind") == "composition";
    chart.percentage = call.args.text("--measure") == "pct";
    chart.team = call.args.number("--team");
    chart.out = *call.args.text("--out");
    const auto &rows = call.view.published->Rows;
    if (chart.team && std::none_of(rows.begin(), rows.end(), [&](const StandingsRow &row) {
            return row.TeamNo == *chart.team;
        })) {
        throw UsageError{"チーム番号 " + std::to_string(*chart.team) + " は表示にありません"};
    }
    return runChart(call.season, *call.view.published, call.view.settings, chart, call.err);
}

} // namespace penarin::cli
