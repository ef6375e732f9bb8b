#include "tables/chartmodule.h"

#include "magic/calcodule.h"
#include "season/oledate.h"
#include "season/shortnames.h"
#include "standings/standings.h"

#include <algorithm>
#include <cmath>
#include <cstdint>

namespace penarin {

namespace {

std::u16string decimal(long long value)
{
    const std::string digits = std::to_string(value);
    return {digits.begin(), digits.end()};
}

} // namespace

std::u16string_view DrawResultMessage(int result)
{
    if (result == DrawNothing) {
        return u"データがありません";
    }
    if (result == DrawTooManyPoints) {
        return u"データが多すぎます";
    }
    return {};
}

ProgressionData GatherProgression(const Season &season, const PublishedStandings *published,
                                  int kind, int nameLen)
{
    ProgressionData data;
    data.Kind = kind;
    std::vector<int> points;
    for (int k = 1; k <= season.SnapshotCount(); ++k) {
        if (season.Snapshots[k].Shown != StoredFalse) {
            points.push_back(k);
            data.Dates.push_back(season.Snapshots[k].Date);
        }
    }
    double smallest = 0.0;
    double largest = 0.0;
    if (published != nullptr && !points.empty()) {
        const std::vector<Text> shortNames = TeamShortNames(season, std::max(nameLen, 1));
        for (const StandingsRow &row : published->Rows) {
            const int teamNo = row.TeamNo;
            if (!season.Teams.contains(teamNo) ||
                (season.TeamShown.contains(teamNo) && season.TeamShown[teamNo] == StoredFalse)) {
                continue;
            }
            const TeamRecord &team = season.team(teamNo);
            ProgressionSeries series;
            series.TeamNo = teamNo;
            series.TeamName = team.TeamName;
            series.ShortName = shortNames[static_cast<std::size_t>(teamNo)];
            series.LineColor = team.LineColor;
            series.LineStyle = team.LineStyle;
            series.LineWidth = team.LineWidth;
            series.ShowLabels = team.ShowLabels == 1;
            const bool stored = season.TeamSnapshots.contains(teamNo);
            for (int k : points) {
                double value = 0.0;
                if (stored) {
                    const TeamSnapshot &values = season.TeamSnapshots[teamNo];
                    if (kind == ChartKindPct) {
                        value = values.Pcts.contains(k) ? values.Pcts[k] : 0.0F;
                    } else {
                        value = values.Surpluses.contains(k) ? values.Surpluses[k] : 0;
                    }
                }
                smallest = std::min(smallest, value);
                largest = std::max(largest, value);
                series.Values.push_back(value);
            }
            data.Series.push_back(std::move(series));
        }
    }
    data.Smallest = smallest - 1.0;
    data.Largest = largest + 1.0;
    return data;
}

int ChartStep(int points)
{
    for (int step = 1000; step >= 50; step -= 50) {
        if (static_cast<std::int64_t>(points) * step + 2500 <= 32767) {
            return step;
        }
    }
    return 0;
}

int DrawResult(const ProgressionData &data)
{
    if (data.valueCount() == 0) {
        return DrawNothing;
    }
    if (ChartStep(data.pointCount()) == 0) {
        return DrawTooManyPoints;
    }
    return data.valueCount();
}

ProgressionGeometry LayoutProgression(const ProgressionData &data, int height, int width)
{
    ProgressionGeometry geometry;
    geometry.Step = ChartStep(data.pointCount());
    if (width > 0 && geometry.Step > 0) {
        // The surface is Step x points + the narrow step before the axis +
        // 1500 for the names: the points share what the width leaves, in
        // steps of 50.
        const int points = data.pointCount();
        const int narrow = geometry.Step;
        const int fits = (width - 1500 - narrow) / points / 50 * 50;
        const int most = (32767 - 2500) / points / 50 * 50;
        geometry.Step = std::max(narrow, std::min(fits, most));
        geometry.Left = geometry.Step - narrow;
    }
    geometry.Height = height;
    geometry.PlotHeight = height - 600;
    geometry.Right = geometry.Step * (data.pointCount() + 1);
    geometry.SurfaceWidth = geometry.Right + 1500 - geometry.Left;
    geometry.ReferenceY = data.Kind == ChartKindPct
                              ? geometry.PlotHeight * 0.5
                              : geometry.PlotHeight / data.range() * data.Largest;
    geometry.DateTop = height - 500;
    for (int k = 1; k <= data.pointCount(); ++k) {
        const CivilDateTime date = fromOleDate(data.Dates[static_cast<std::size_t>(k - 1)]);
        geometry.Ticks.push_back({geometry.Step * k, decimal(date.month), decimal(date.day)});
    }
    return geometry;
}

std::vector<ScaleTick> ValueScale(const ProgressionData &data, int plotHeight, double minGap)
{
    std::vector<ScaleTick> ticks;
    const bool pct = data.Kind == ChartKindPct;
    // Whole games for surpluses, thousandths for percentages.
    const double unit = pct ? 0.001 : 1.0;
    const double low = pct ? 0.0 : data.Smallest;
    const double high = pct ? 1.0 : data.Largest;
    if (plotHeight <= 0 || high <= low) {
        return ticks;
    }
    const double perUnit = plotHeight / ((high - low) / unit);
    // The steps a reader counts in: 1, 2, 5, 10, 20, ... games; for
    // percentages only steps that pass through .500.
    std::vector<long long> steps;
    if (pct) {
        steps = {1, 2, 5, 10, 20, 25, 50, 100, 125, 250, 500};
    } else {
        for (long long scale = 1; scale <= 1000000000LL; scale *= 10) {
            steps.insert(steps.end(), {scale, 2 * scale, 5 * scale});
        }
    }
    long long step = 0;
    for (const long long candidate : steps) {
        if (step == 0 && static_cast<double>(candidate) * perUnit >= minGap) {
            step = candidate;
        }
    }
    if (step == 0) {
        return ticks;
    }
    const auto first = static_cast<long long>(std::ceil(low / unit / static_cast<double>(step)));
    const auto last = static_cast<long long>(std::floor(high / unit / static_cast<double>(step)));
    for (long long k = last; k >= first; --k) {
        const double value = static_cast<double>(k * step) * unit;
        const double y = ValueY(data, plotHeight, value);
        if (y < minGap || y > plotHeight) {
            continue;
        }
        std::u16string text;
        if (pct) {
            const std::string formatted = FormatPct(value, 3);
            text.assign(formatted.begin(), formatted.end());
        } else {
            text = decimal(k * step);
        }
        ticks.push_back({y, text});
    }
    return ticks;
}

std::u16string_view ScaleCaption(int kind)
{
    return kind == ChartKindPct ? u"勝率" : u"貯金";
}

std::vector<double> SpreadLabels(const std::vector<double> &wanted, double gap, double top,
                                 double bottom)
{
    std::vector<std::size_t> order(wanted.size());
    for (std::size_t i = 0; i < order.size(); ++i) {
        order[i] = i;
    }
    std::stable_sort(order.begin(), order.end(),
                     [&](std::size_t a, std::size_t b) { return wanted[a] < wanted[b]; });
    // Runs of labels that touch, each placed around the mean of its wishes.
    struct Run
    {
        std::size_t count = 0;
        double sum = 0.0;
        double start = 0.0;
    };
    const auto place = [&](Run &run) {
        const double span = gap * static_cast<double>(run.count - 1);
        run.start = run.sum / static_cast<double>(run.count) - span / 2.0;
        run.start = std::max(std::min(run.start, bottom - span), top);
    };
    std::vector<Run> runs;
    for (const std::size_t i : order) {
        runs.push_back({1, wanted[i], wanted[i]});
        place(runs.back());
        while (runs.size() >= 2) {
            Run &before = runs[runs.size() - 2];
            const Run &after = runs.back();
            if (before.start + gap * static_cast<double>(before.count) <= after.start) {
                break;
            }
            before.count += after.count;
            before.sum += after.sum;
            runs.pop_back();
            place(runs.back());
        }
    }
    std::vector<double> placed(wanted.size());
    std::size_t next = 0;
    for (const Run &run : runs) {
        for (std::size_t k = 0; k < run.count; ++k, ++next) {
            placed[order[next]] = run.start + gap * static_cast<double>(k);
        }
    }
    return placed;
}

double LabelTop(double pointY, double textHeight, double plotHeight)
{
    return std::max(0.0, std::min(pointY, plotHeight - textHeight));
}

double ValueY(const ProgressionData &data, int plotHeight, double value)
{
    if (data.Kind == ChartKindPct) {
        return (1.0 - value) * plotHeight;
    }
    return (data.Largest - value) * plotHeight / data.range();
}

std::u16string PointText(const ProgressionData &data, const ProgressionSeries &series, int index)
{
    std::u16string text;
    if (series.ShowLabels) {
        const double value = series.Values[static_cast<std::size_t>(index)];
        if (data.Kind == ChartKindPct) {
            const std::string pct = FormatPct(value, 3);
            text.assign(pct.begin(), pct.end());
        } else {
            text = decimal(static_cast<long long>(value));
        }
    }
    if (index == data.pointCount() - 1) {
        text += u"  " + series.ShortName;
    }
    return text;
}

std::optional<int> GuideLineX(int x, int step, int right)
{
    if (step <= 0 || x <= step || x >= right) {
        return std::nullopt;
    }
    const int below = x / step * step;
    return x - below <= step / 2 ? below : below + step;
}

int LegendHeight(int teams, int textHeight)
{
    return (teams + 1) * textHeight;
}

int LegendContainerHeight(int legendHeight, int surfaceHeight)
{
    if (legendHeight >= surfaceHeight - 500) {
        return surfaceHeight - 750;
    }
    return legendHeight + 50;
}

int ChartScrollMaximum(int surfaceWidth, int viewportWidth)
{
    return std::max(0, surfaceWidth - viewportWidth);
}

bool ChartScrollEnabled(int right, int viewportWidth)
{
    return right > viewportWidth - 1600;
}

} // namespace penarin
