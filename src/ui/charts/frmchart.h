#pragma once

#include "charts/paint/chartpainter.h"

#include <QDialog>

#include <memory>

class QCheckBox;
class QComboBox;
class QPushButton;
class QRadioButton;
class QScrollArea;

namespace penarin {

class Prompts;
struct PublishedStandings;
struct Season;
struct Settings;

namespace chartwidgets {
class ChartSurface;
class LegendSurface;
class CompositionView;
} // namespace chartwidgets

// The chart window in its two layouts: the progression chart ("推移グラフ") of
// every shown team over the shown snapshots, and one team's surplus
// composition ("貯金構成"). Both can be saved as PNG or SVG pictures drawn by
// the same painting code.
class FrmChart : public QDialog
{
    Q_OBJECT

public:
    enum class Layout
    {
        Progression,
        Composition,
    };

    // Both layouts list the teams of the view's published standings. The
    // season is the caller's working copy: "再表示(&R)..." may change it.
    FrmChart(Season &season, const PublishedStandings &published, Settings &settings,
             Prompts &prompts, Layout layout, QWidget *parent = nullptr);
    ~FrmChart() override;

    // Progression: draws kind 0 (surplus) or 1 (percentage) and shows the
    // legend when asked. Returns DrawTooManyPoints, DrawNothing or the number
    // of values drawn.
    int drawChart(int kind, bool legendVisible);

    // Composition: selects the team of a standings row (from 0) and draws it.
    void selectTeam(int standingsRow);

    // The picture on screen, in a file: SVG for a name ending in ".svg",
    // otherwise PNG. False (with the reason) when it could not be written.
    [[nodiscard]] bool savePicture(const QString &path, QString *error = nullptr) const;

    // Where the guide line under the pressed mouse button stands (twips).
    [[nodiscard]] std::optional<int> guideLineX() const;

    [[nodiscard]] const ProgressionPicture *progression() const { return m_progression.get(); }
    [[nodiscard]] const CompositionPicture *composition() const { return m_composition.get(); }
    // Whether the chart data dialog changed the season.
    [[nodiscard]] bool edited() const { return m_edited; }

private:
    void buildProgression();
    void buildComposition();
    void placeProgression();
    void redraw();
    void exportHistory();
    [[nodiscard]] QString fileDialogStart() const;
    void reportSaveFailure(const QString &reason);
    void offerPictureMenu(QWidget *picture);
    void askAndSavePicture();
    void drawComposition(int index);
    [[nodiscard]] int surfaceHeight() const;
    bool eventFilter(QObject *watched, QEvent *event) override;

    Season &m_season;
    const PublishedStandings &m_published;
    Settings &m_settings;
    Prompts &m_prompts;
    Layout m_layout;
    bool m_edited = false;

    // Progression.
    QScrollArea *m_chartArea = nullptr;
    chartwidgets::ChartSurface *m_surface = nullptr;
    QScrollArea *m_legendArea = nullptr;
    chartwidgets::LegendSurface *m_legend = nullptr;
    QCheckBox *m_chkLegend = nullptr;
    QPushButton *m_btnRedraw = nullptr;
    QRadioButton *m_optSurplus = nullptr;
    QRadioButton *m_optPct = nullptr;
    std::shared_ptr<const ProgressionPicture> m_progression;
    ProgressionData m_data;
    bool m_legendVisible = false;

    // Composition.
    QComboBox *m_cmbTeam = nullptr;
    QCheckBox *m_chkNames = nullptr;
    QCheckBox *m_chkShares = nullptr;
    chartwidgets::CompositionView *m_view = nullptr;
    std::shared_ptr<const CompositionPicture> m_composition;
};

// The menu entry "推移グラフ(&G)...": draws the surplus chart and, when there
// was something to draw, shows the window modally until it is closed. Returns
// the draw result; for 0 or -1 the window was never shown and the caller writes
// DrawResultMessage(result) into the status bar. `edited` is the season as the
// chart data dialog left it, when it changed it.
struct ProgressionChartOutcome
{
    int result = 0;
    std::optional<Season> edited;
};
ProgressionChartOutcome ShowProgressionChart(const Season &season,
                                             const PublishedStandings &published,
                                             Settings &settings, Prompts &prompts, QWidget *parent);

// The menu entry "貯金構成(&O)..." (row 0) and the double click on the surplus
// column of a standings row (that row, from 0): shows the composition of that
// team modally.
void ShowCompositionChart(const Season &season, const PublishedStandings &published,
                          Settings &settings, Prompts &prompts, int standingsRow, QWidget *parent);

} // namespace penarin
