#include "magic/calcodule.h"
#include "platform/flexgrid.h"
#include "platform/recordingprompts.h"
#include "season/settings.h"
#include "standings/standings.h"
#include "support/seasonbuilder.h"
#include "ui/dialogs/frmrace.h"
#include "ui/modalhelper.h"

#include <QComboBox>
#include <QElapsedTimer>
#include <QPushButton>
#include <QSpinBox>
#include <QTest>
#include <QThread>

Q_DECLARE_METATYPE(penarin::race::RaceState)

using namespace penarin;
using penarin::race::Answer;
using penarin::race::RaceState;
using penarin::test::SeasonBuilder;

namespace {

constexpr int HeaderRows = 2;
constexpr int TitleMarkCol = 3;
constexpr int TopMarkCol = 5;

// Four teams, 10 games a card, 30 a season, so by the end percentage and
// wins order the teams alike. Left: A-C 2, A-D 1, B-C 2, B-D 1, C-D 1.
// Wins now A 19, B 18, C 14, D 2; at best A 22, B 21, C 19, D 5.
//  - title: A wins out to 22, beyond B; B can pass A only if A slips; C at
//    best (19, beating A twice and B twice) only draws level with A.
//  - top two: A can only be caught level by both B and C (C cannot pass
//    19), so one more win settles it; B needs two of its three.
Season raceSeason()
{
    SeasonBuilder builder = SeasonBuilder::oneLeague({u"A", u"B", u"C", u"D"}, 10);
    builder.result(1, 2, 5, 5).result(1, 3, 5, 3).result(1, 4, 9, 0);
    builder.result(2, 3, 5, 3).result(2, 4, 8, 1).result(3, 4, 8, 1);
    Season season = builder.build();
    season.HasSeason = true;
    Settings settings;
    (void)RecalculateView(season, OrderSettingsFrom(settings), ViewRequest{1, 0});
    return season;
}

// The standings the window shows for the league.
PublishedStandings standingsOf(Season season)
{
    return *RecalculateView(season, OrderSettingsFrom(Settings{}), ViewRequest{1, 0}).Published;
}

// The team's rank and the number of teams sharing it, as the standings
// rank them with the championship judgment once the certificate is loaded.
std::pair<int, int> placeAfter(const Season &initial, const race::Certificate &certificate,
                               int team)
{
    Season season = initial;
    race::ApplyCertificate(season, certificate);
    const RecalculateResult pass =
        RecalculateView(season, OrderSettings{2, 0, 0}, ViewRequest{1, 0});
    int rank = 0;
    for (const StandingsRow &row : pass.Published->Rows) {
        rank = row.TeamNo == team ? row.Rank : rank;
    }
    int shared = 0;
    for (const StandingsRow &row : pass.Published->Rows) {
        shared += row.Rank == rank && row.Remaining == 0 ? 1 : 0;
    }
    return {rank, shared};
}

// Fifteen teams early in a season of 20 games a pair: an analysis that
// runs for seconds.
Season longSeason()
{
    std::vector<Text> names;
    for (char16_t c = u'A'; c < u'A' + 15; ++c) {
        names.push_back(Text(1, c));
    }
    SeasonBuilder builder = SeasonBuilder::oneLeague({}, 20);
    for (const Text &name : names) {
        builder.addTeam(name, 1);
    }
    builder.roundRobin(20);
    for (int a = 1; a <= 15; ++a) {
        for (int b = a + 1; b <= 15; ++b) {
            builder.result(a, b, (a + b) % 3, (a * b) % 3);
        }
    }
    Season season = builder.build();
    season.HasSeason = true;
    (void)RecalculateView(season, OrderSettings{}, ViewRequest{1, 0});
    return season;
}

struct Dialog
{
    Dialog(const Season &season, int topK)
        : published(standingsOf(season)),
          dialog(season, published, settings, prompts, ViewRequest{1, 0}, topK)
    {
        dialog.show();
        waitForAnalysis();
    }

    void waitForAnalysis() { QVERIFY(dialog.waitForAnalysis(std::chrono::seconds(60))); }

    template <class T> T *find(const char *name)
    {
        T *child = dialog.findChild<T *>(QLatin1String(name));
        if (!child) {
            qFatal("no %s", name);
        }
        return child;
    }
    FlexGrid *grid() { return find<FlexGrid>("grdRace"); }
    QComboBox *outcomes() { return find<QComboBox>("cmbOutcome"); }

    QStringList row(int team)
    {
        QStringList texts;
        for (int col = 0; col < grid()->colCount(); ++col) {
            texts << grid()->text(HeaderRows + team, col);
        }
        return texts;
    }
    void click(int team, int col)
    {
        QTest::mouseClick(grid()->viewport(), Qt::LeftButton, {},
                          grid()->cellRect(HeaderRows + team, col).center());
    }
    QStringList outcomeTexts()
    {
        QStringList texts;
        for (int i = 0; i < outcomes()->count(); ++i) {
            texts << outcomes()->itemText(i);
        }
        return texts;
    }

    PublishedStandings published;
    Settings settings;
    RecordingPrompts prompts;
    frmRace dialog;
};

RaceState state(Answer sure, Answer unlessTied, Answer possible, Answer withTie, Answer own,
                std::optional<int> magic, bool decided = true)
{
    RaceState s;
    s.Sure = sure;
    s.SureUnlessTied = unlessTied;
    s.Possible = possible;
    s.PossibleWithTie = withTie;
    s.OwnPower = own;
    s.Magic = magic;
    s.MagicDecided = decided;
    return s;
}

} // namespace

class FrmRaceTest : public QObject
{
    Q_OBJECT

private slots:
    void marks_data()
    {
        QTest::addColumn<RaceState>("state");
        QTest::addColumn<QString>("mark");
        QTest::addColumn<QString>("magic");
        QTest::addColumn<QString>("says");
        constexpr Answer Y = Answer::Yes;
        constexpr Answer N = Answer::No;
        constexpr Answer U = Answer::Unknown;
        QTest::newRow("sure") << state(Y, Y, Y, Y, Y, 0) << "確定"
                              << "0"
                              << "どんな結果になっても優勝が決まって";
        QTest::newRow("own power") << state(N, N, Y, Y, Y, 7) << "自力"
                                   << "7"
                                   << "あと7勝すれば";
        QTest::newRow("others") << state(N, N, Y, Y, N, std::nullopt) << "他力"
                                << "-"
                                << "結果によっては逃します";
        QTest::newRow("in only on a tie") << state(N, N, N, Y, N, std::nullopt) << "同率次第"
                                          << "-"
                                          << "同率で並んだうえで";
        // Nobody can pass it, a rival can only draw level.
        QTest::newRow("out only on a tie") << state(N, Y, Y, Y, Y, 2) << "同率次第"
                                           << "2"
                                           << "追い抜かれることはありませんが";
        QTest::newRow("out") << state(N, N, N, N, N, std::nullopt) << "消滅"
                             << "-"
                             << "可能性はありません";
        QTest::newRow("timed out") << state(N, N, Y, Y, U, std::nullopt, false) << "不明"
                                   << "?"
                                   << "時間内に判定できません";
        // An unknown "sure" must not read as a chance lost or won.
        QTest::newRow("sure unknown") << state(U, U, Y, Y, U, std::nullopt, false) << "不明"
                                      << "?"
                                      << "時間内に判定できません";
    }

    void marks()
    {
        QFETCH(RaceState, state);
        QFETCH(QString, mark);
        QFETCH(QString, magic);
        QFETCH(QString, says);
        QCOMPARE(RaceTableMark(state), mark);
        QCOMPARE(RaceTableMagic(state), magic);
        QVERIFY2(RaceMarkExplanation(state, 1).contains(says),
                 qPrintable(RaceMarkExplanation(state, 1)));
    }

    void dialogShowsTheRaceAndFollowsTheSpinBox()
    {
        const Season season = raceSeason();
        Dialog d(season, 2);
        QCOMPARE(d.grid()->text(0, TopMarkCol), QStringLiteral("上位2位"));
        QCOMPARE(d.row(0), QStringList({"1", "A", "3", "自力", "3", "同率次第", "1"}));
        QCOMPARE(d.row(1), QStringList({"2", "B", "3", "他力", "-", "自力", "2"}));
        QCOMPARE(d.row(2), QStringList({"3", "C", "5", "同率次第", "-", "他力", "-"}));
        QCOMPARE(d.row(3), QStringList({"4", "D", "3", "消滅", "-", "消滅", "-"}));

        // The mark explains itself under the pointer.
        QTest::mouseMove(d.grid()->viewport(),
                         d.grid()->cellRect(HeaderRows + 2, TitleMarkCol).center());
        QVERIFY(d.grid()->toolTipText().contains(QStringLiteral("同率で並んだうえで")));

        QSpinBox *spin = d.find<QSpinBox>("spnTop");
        QCOMPARE(spin->maximum(), 4);
        spin->setValue(3);
        QVERIFY(d.dialog.analysing());
        QCOMPARE(d.row(0).mid(TitleMarkCol), QStringList({"...", "...", "...", "..."}));
        QVERIFY(!d.find<QPushButton>("btnView")->isEnabled());
        d.waitForAnalysis();
        QCOMPARE(d.dialog.topK(), 3);
        QCOMPARE(d.grid()->text(0, TopMarkCol), QStringLiteral("上位3位"));
        QStringList topThree;
        for (int team = 0; team < 4; ++team) {
            topThree << d.row(team).mid(TopMarkCol);
        }
        QCOMPARE(topThree, QStringList({"確定", "0", "確定", "0", "確定", "0", "消滅", "-"}));
        // The title does not depend on k.
        QCOMPARE(d.row(0).mid(TitleMarkCol, 2), QStringList({"自力", "3"}));
    }

    void chosenOutcomeIsTheTeamsAndTheColumns()
    {
        const Season season = raceSeason();
        Dialog d(season, 2);

        // D cannot finish first: only the outcome that shows why is offered.
        d.click(3, TitleMarkCol);
        QCOMPARE(d.outcomeTexts(),
                 QStringList({"Dが全勝しても優勝を逃す結果の一例（引き分け0試合）",
                              "Dが全勝しても2位以内を逃す結果の一例（引き分け0試合）"}));
        QCOMPARE(d.outcomes()->currentIndex(), 0);

        // C's top-two cell: the outcome in which C gets in.
        d.click(2, TopMarkCol);
        QCOMPARE(d.outcomes()->currentText(),
                 QStringLiteral("Cが2位以内に入る結果の一例（引き分け0試合）"));
        QTest::mouseClick(d.find<QPushButton>("btnView"), Qt::LeftButton);
        QCOMPARE(d.dialog.result(), int(QDialog::Accepted));
        QVERIFY(d.dialog.chosenCertificate().has_value());
        const auto [rank, shared] = placeAfter(season, *d.dialog.chosenCertificate(), 3);
        QVERIFY(rank >= 1 && rank + shared - 1 <= 2);
        QVERIFY(d.dialog.chosenCertificate() ==
                d.dialog.analysis().Teams[2].Top.Reach); // not the title's
    }

    void showRaceFormReturnsTheLoadedOutcome()
    {
        const Season season = raceSeason();
        Settings settings;
        RecordingPrompts prompts;
        test::whenModalShown([](QWidget *modal) {
            auto *grid = modal->findChild<FlexGrid *>(QStringLiteral("grdRace"));
            // B's title: it can still pass A, not on its own.
            QTest::mouseClick(grid->viewport(), Qt::LeftButton, {},
                              grid->cellRect(HeaderRows + 1, TitleMarkCol).center());
            auto *outcomes = modal->findChild<QComboBox *>(QStringLiteral("cmbOutcome"));
            QCOMPARE(outcomes->currentText(),
                     QStringLiteral("Bが優勝する結果の一例（引き分け0試合）"));
            QTest::mouseClick(modal->findChild<QPushButton *>(QStringLiteral("btnView")),
                              Qt::LeftButton);
        });
        const std::optional<race::Certificate> chosen =
            ShowRaceForm(season, standingsOf(season), settings, 1, 0, prompts, nullptr);
        QVERIFY(chosen.has_value());
        QCOMPARE(placeAfter(season, *chosen, 2), std::make_pair(1, 1));
        QVERIFY(prompts.calls().empty());

        // Closed without loading anything.
        test::whenModalShown([](QWidget *modal) {
            QTest::mouseClick(modal->findChild<QPushButton *>(QStringLiteral("btnClose")),
                              Qt::LeftButton);
        });
        QVERIFY(!ShowRaceForm(season, standingsOf(season), settings, 1, 0, prompts, nullptr));
    }

    void answersComeAsTheyAreKnownAndStopWhenNotWanted()
    {
        const Season season = longSeason();
        Settings settings;
        RecordingPrompts prompts;
        const PublishedStandings published = standingsOf(season);
        frmRace dialog(season, published, settings, prompts, ViewRequest{1, 0}, 3);
        dialog.show();
        auto *grid = dialog.findChild<FlexGrid *>(QStringLiteral("grdRace"));
        // The title column fills first: no team's top-k answer is shown
        // before every title answer. The run goes on (the proofs are made
        // ordinary once every answer is in).
        QTRY_VERIFY_WITH_TIMEOUT(grid->text(HeaderRows, TitleMarkCol) != QStringLiteral("..."),
                                 20000);
        QVERIFY(dialog.analysing());
        if (grid->text(HeaderRows, TopMarkCol) != QStringLiteral("...")) {
            QVERIFY(grid->text(HeaderRows + 14, TitleMarkCol) != QStringLiteral("..."));
        }

        // A new k ends the run in progress: only the new one is left.
        QCOMPARE(RunningRaceAnalyses(), 1);
        QElapsedTimer clock;
        clock.start();
        dialog.findChild<QSpinBox *>(QStringLiteral("spnTop"))->setValue(6);
        while (RunningRaceAnalyses() > 1 && clock.elapsed() < 2000) {
            QThread::msleep(1);
        }
        QVERIFY2(clock.elapsed() <= 200, qPrintable(QString::number(clock.elapsed())));
        QTRY_VERIFY_WITH_TIMEOUT(grid->text(HeaderRows, TitleMarkCol) != QStringLiteral("..."),
                                 20000);
        QVERIFY(dialog.analysing());

        // Closing ends it too.
        clock.restart();
        dialog.reject();
        while (RunningRaceAnalyses() > 0 && clock.elapsed() < 2000) {
            QThread::msleep(1);
        }
        QVERIFY2(clock.elapsed() <= 200, qPrintable(QString::number(clock.elapsed())));
    }

    void inconsistentScheduleOpensNothing()
    {
        // Three results on a card of two games: no remaining games to range over.
        SeasonBuilder builder = SeasonBuilder::oneLeague({u"A", u"B", u"C"}, 2);
        builder.result(1, 2, 3, 0);
        Season season = builder.build();
        season.HasSeason = true;
        Settings settings;
        (void)RecalculateView(season, OrderSettingsFrom(settings), ViewRequest{1, 0});
        RecordingPrompts prompts;
        QVERIFY(!ShowRaceForm(season, standingsOf(season), settings, 1, 0, prompts, nullptr));
        QCOMPARE(prompts.messageTexts(), QStringList{QString::fromUtf8(ScheduleMessage)});
        QCOMPARE(prompts.messages().front().icon, MessageIcon::Critical);
    }
};

QTEST_MAIN(FrmRaceTest)
#include "frmrace_test.moc"
