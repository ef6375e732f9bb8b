#include "tables/chartmodule.h"

#include "magic/calcodule.h"
#include "season/oledate.h"
#include "standings/standings.h"

#include <algorithm>
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
            series.ShortName =
                team.TeamName.substr(0, static_cast<std::size_t>(std::max(nameLen, 1)));
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

ProgressionGeometry LayoutProgression(const ProgressionData &data, int height)
{
    ProgressionGeometry geometry;
    geometry.Step = ChartStep(data.pointCount());
    geometry.Height = height;
    geometry.PlotHeight = height - 600;
    geometry.Right = geometry.Step * (data.pointCount() + 1);
    geometry.SurfaceWidth = geometry.Right + 1500;
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
