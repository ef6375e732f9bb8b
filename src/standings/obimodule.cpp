#include "standings/obimodule.h"

#include "season/shortnames.h"

#include "standings/standings.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>

namespace penarin {

namespace {

std::u16string decimal(long long value)
{
    const std::string digits = std::to_string(value);
    return {digits.begin(), digits.end()};
}

struct Narrow
{
    char16_t wide;
    const char16_t *narrow;
};

// Japanese punctuation and katakana with half-width forms.
constexpr Narrow NarrowForms[] = {
    {0x3001, u"\uFF64"},       {0x3002, u"\uFF61"},       {0x300C, u"\uFF62"},
    {0x300D, u"\uFF63"},       {0x3099, u"\uFF9E"},       {0x309A, u"\uFF9F"},
    {0x30A1, u"\uFF67"},       {0x30A2, u"\uFF71"},       {0x30A3, u"\uFF68"},
    {0x30A4, u"\uFF72"},       {0x30A5, u"\uFF69"},       {0x30A6, u"\uFF73"},
    {0x30A7, u"\uFF6A"},       {0x30A8, u"\uFF74"},       {0x30A9, u"\uFF6B"},
    {0x30AA, u"\uFF75"},       {0x30AB, u"\uFF76"},       {0x30AC, u"\uFF76\uFF9E"},
    {0x30AD, u"\uFF77"},       {0x30AE, u"\uFF77\uFF9E"}, {0x30AF, u"\uFF78"},
    {0x30B0, u"\uFF78\uFF9E"}, {0x30B1, u"\uFF79"},       {0x30B2, u"\uFF79\uFF9E"},
    {0x30B3, u"\uFF7A"},       {0x30B4, u"\uFF7A\uFF9E"}, {0x30B5, u"\uFF7B"},
    {0x30B6, u"\uFF7B\uFF9E"}, {0x30B7, u"\uFF7C"},       {0x30B8, u"\uFF7C\uFF9E"},
    {0x30B9, u"\uFF7D"},       {0x30BA, u"\uFF7D\uFF9E"}, {0x30BB, u"\uFF7E"},
    {0x30BC, u"\uFF7E\uFF9E"}, {0x30BD, u"\uFF7F"},       {0x30BE, u"\uFF7F\uFF9E"},
    {0x30BF, u"\uFF80"},       {0x30C0, u"\uFF80\uFF9E"}, {0x30C1, u"\uFF81"},
    {0x30C2, u"\uFF81\uFF9E"}, {0x30C3, u"\uFF6F"},       {0x30C4, u"\uFF82"},
    {0x30C5, u"\uFF82\uFF9E"}, {0x30C6, u"\uFF83"},       {0x30C7, u"\uFF83\uFF9E"},
    {0x30C8, u"\uFF84"},       {0x30C9, u"\uFF84\uFF9E"}, {0x30CA, u"\uFF85"},
    {0x30CB, u"\uFF86"},       {0x30CC, u"\uFF87"},       {0x30CD, u"\uFF88"},
    {0x30CE, u"\uFF89"},       {0x30CF, u"\uFF8A"},       {0x30D0, u"\uFF8A\uFF9E"},
    {0x30D1, u"\uFF8A\uFF9F"}, {0x30D2, u"\uFF8B"},       {0x30D3, u"\uFF8B\uFF9E"},
    {0x30D4, u"\uFF8B\uFF9F"}, {0x30D5, u"\uFF8C"},       {0x30D6, u"\uFF8C\uFF9E"},
    {0x30D7, u"\uFF8C\uFF9F"}, {0x30D8, u"\uFF8D"},       {0x30D9, u"\uFF8D\uFF9E"},
    {0x30DA, u"\uFF8D\uFF9F"}, {0x30DB, u"\uFF8E"},       {0x30DC, u"\uFF8E\uFF9E"},
    {0x30DD, u"\uFF8E\uFF9F"}, {0x30DE, u"\uFF8F"},       {0x30DF, u"\uFF90"},
    {0x30E0, u"\uFF91"},       {0x30E1, u"\uFF92"},       {0x30E2, u"\uFF93"},
    {0x30E3, u"\uFF6C"},       {0x30E4, u"\uFF94"},       {0x30E5, u"\uFF6D"},
    {0x30E6, u"\uFF95"},       {0x30E7, u"\uFF6E"},       {0x30E8, u"\uFF96"},
    {0x30E9, u"\uFF97"},       {0x30EA, u"\uFF98"},       {0x30EB, u"\uFF99"},
    {0x30EC, u"\uFF9A"},       {0x30ED, u"\uFF9B"},       {0x30EF, u"\uFF9C"},
    {0x30F2, u"\uFF66"},       {0x30F3, u"\uFF9D"},       {0x30F4, u"\uFF73\uFF9E"},
    {0x30F7, u"\uFF9C\uFF9E"}, {0x30FA, u"\uFF66\uFF9E"}, {0x30FB, u"\uFF65"},
    {0x30FC, u"\uFF70"},       {0x309B, u"\uFF9E"},       {0x309C, u"\uFF9F"},
};

CompositionSegment segmentFor(int opponent, int value)
{
    CompositionSegment segment;
    segment.TeamNo = opponent;
    segment.Value = value;
    return segment;
}

bool admits(const Season &season, int scope, int team, int opponent)
{
    const bool sameLeague = season.team(team).League == season.team(opponent).League;
    if (scope == ScopeLeague) {
        return sameLeague;
    }
    if (scope == ScopeInterleague) {
        return !sameLeague;
    }
    return true;
}

void finishBar(std::vector<CompositionSegment> &bar, int unit, const Season &season,
               std::u16string_view toolTipMiddle, const std::vector<Text> &shortNames)
{
    int total = 0;
    for (const CompositionSegment &segment : bar) {
        total += segment.Value;
    }
    for (CompositionSegment &segment : bar) {
        const TeamRecord &opponent = season.team(segment.TeamNo);
        segment.Length = segment.Value * unit;
        segment.Color = opponent.LineColor;
        const std::u16string name =
            NarrowText(shortNames[static_cast<std::size_t>(segment.TeamNo)]);
        segment.Tag = name + u"\t" + decimal(segment.Value) + u"\t(" +
                      ShareText(segment.Value, total) + u"%)";
        segment.ToolTip =
            opponent.TeamName + std::u16string(toolTipMiddle) + decimal(segment.Value) + u" ]";
    }
}

} // namespace

Composition BuildComposition(const Season &season, const StandingsRow &row, int scope, int nameLen)
{
    Composition composition;
    const int team = row.TeamNo;
    composition.TeamNo = team;
    if (!season.Teams.contains(team)) {
        return composition;
    }
    const TeamRecord &record = season.team(team);
    int leading = 0;
    int trailing = 0;
    for (int opponent = 1; opponent <= season.TeamCount(); ++opponent) {
        if (opponent == team || !admits(season, scope, team, opponent) ||
            !record.CardGames.contains(opponent) || record.CardGames[opponent] < 1) {
            continue;
        }
        const int d = record.CardWins[opponent] - record.CardLosses[opponent];
        if (d > 0) {
            composition.Leading.push_back(segmentFor(opponent, d));
            leading += d;
        } else if (d < 0) {
            composition.Trailing.push_back(segmentFor(opponent, -d));
            trailing += -d;
        } else {
            composition.EvenText += season.team(opponent).TeamName + u"   ";
        }
    }
    composition.Unit = CompositionUnit(leading, trailing);
    // Thirty teams make narrow segments: their names must still tell the
    // teams apart.
    const std::vector<Text> shortNames = TeamShortNames(season, std::max(nameLen, 1));
    finishBar(composition.Leading, composition.Unit, season, u"に対する勝越し[ ", shortNames);
    finishBar(composition.Trailing, composition.Unit, season, u"に対する負越し[ ", shortNames);

    const int surplus = row.Wins - row.Losses;
    if (surplus > 0) {
        composition.TotalText = u"貯金:  " + decimal(surplus);
        composition.TotalColor = 0x00FF0000;
    } else {
        composition.TotalText = u"借金:  " + decimal(-static_cast<long long>(surplus));
        composition.TotalColor = 0x000000FF;
    }
    return composition;
}

int CompositionUnit(int leadingTotal, int trailingTotal)
{
    const int longer = std::max(leadingTotal, trailingTotal);
    if (longer <= 0) {
        return 0;
    }
    // The quotient of two whole numbers ends in exactly .5 only when it is
    // exact in binary too, so the even-neighbour rule needs no tolerance.
    const double unit = static_cast<double>(CompositionBarLength) / longer;
    double whole = std::floor(unit);
    const double fraction = unit - whole;
    if (fraction > 0.5 || (fraction == 0.5 && std::fmod(whole, 2.0) != 0.0)) {
        whole += 1.0;
    }
    return static_cast<int>(whole);
}

std::u16string ShareText(int value, int barTotal)
{
    if (barTotal <= 0) {
        return u"0";
    }
    // Single precision, as the shares have always been computed: 1/8 of a bar
    // is 12.5 exactly and shows as 13.
    const float share = static_cast<float>(value) / static_cast<float>(barTotal) * 100.0F;
    return decimal(std::lround(share));
}

std::u16string SegmentCaption(std::u16string_view tag, bool showNames, bool showShares)
{
    const std::size_t firstTab = tag.find(u'\t');
    const std::u16string_view name = tag.substr(0, firstTab);
    std::u16string_view value;
    std::u16string_view share;
    if (firstTab != std::u16string_view::npos) {
        const std::size_t secondTab = tag.find(u'\t', firstTab + 1);
        value = tag.substr(firstTab + 1, secondTab == std::u16string_view::npos
                                             ? std::u16string_view::npos
                                             : secondTab - firstTab - 1);
        if (secondTab != std::u16string_view::npos) {
            share = tag.substr(secondTab + 1);
        }
    }
    std::u16string caption;
    if (showNames) {
        caption += name;
    }
    caption += u'\n';
    caption += value;
    caption += u'\n';
    if (showShares) {
        caption += share;
    }
    return caption;
}

std::u16string NarrowText(std::u16string_view text)
{
    std::u16string narrow;
    narrow.reserve(text.size());
    for (char16_t c : text) {
        if (c >= 0xFF01 && c <= 0xFF5E) {
            narrow += static_cast<char16_t>(c - 0xFF01 + 0x21);
        } else if (c == 0x3000) {
            narrow += u' ';
        } else {
            const auto *form = std::find_if(std::begin(NarrowForms), std::end(NarrowForms),
                                            [c](const Narrow &n) { return n.wide == c; });
            if (form != std::end(NarrowForms)) {
                narrow += form->narrow;
            } else {
                narrow += c;
            }
        }
    }
    return narrow;
}

} // namespace penarin
