#include "magic/calcodule.h"
#include "platform/flexgrid.h"
#include "platform/recordingprompts.h"
#include "season/settings.h"
#include "support/seasonbuilder.h"
#include "ui/dialogs/frmrace.h"
#include "ui/dialogs/oddspanel.h"

#include <QComboBox>
#include <QLabel>
#include <QSpinBox>
#include <QTest>

using namespace penarin;

namespace {

constexpr int HeaderRows = 2;
constexpr int TitleMarkCol = 3;
constexpr int TopMarkCol = 5;

// Four teams with a few games left (so the odds are exact): A and B fight
// for the title, C can only draw level, D is out of everything.
Season raceSeason()
{
    test::SeasonBuilder builder = test::SeasonBuilder::oneLeague({u"A", u"B", u"C", u"D"}, 10);
    builder.result(1, 2, 5, 5).result(1, 3, 5, 3).result(1, 4, 9, 0);
    builder.result(2, 3, 5, 3).result(2, 4, 8, 1).result(3, 4, 8, 1);
    Season season = builder.build();
    season.HasSeason = true;
    return season;
}

} // namespace

class OddsPanelTest : public QObject
{
    Q_OBJECT

private slots:
    // The race dialog with its probability columns, its model choice and
    // 大一番, end to end.
    void oddsBesideTheMarks()
    {
        Season season = raceSeason();
        Settings settings;
        RecordingPrompts prompts;
        const PublishedStandings published =
            *RecalculateView(season, OrderSettingsFrom(settings), ViewRequest{1, 0}).Published;
        frmRace dialog(season, published, settings, prompts, ViewRequest{1, 0}, 2);
        dialog.show();
        QVERIFY(dialog.waitForAnalysis(std::chrono::seconds(60)));
        auto *panel = dialog.findChild<OddsPanel *>(QStringLiteral("oddsPanel"));
        QVERIFY(panel != nullptr);
        QVERIFY(panel->waitForOdds(std::chrono::seconds(60)));
        auto *race = dialog.findChild<FlexGrid *>(QStringLiteral("grdRace"));
        auto *odds = dialog.findChild<FlexGrid *>(QStringLiteral("grdOdds"));
        auto *bigGames = dialog.findChild<FlexGrid *>(QStringLiteral("grdBigGames"));
        auto column = [&](int col) {
            QStringList texts;
            for (int row = HeaderRows; row < odds->rowCount(); ++row) {
                texts << odds->text(row, col);
            }
            return texts;
        };

        // Labelled as chances and how they were found; the rows line up
        // with the race table's.
        QCOMPARE(odds->text(0, 0), QStringLiteral("厳密計算"));
        QCOMPARE(odds->text(1, 0), QStringLiteral("優勝確率"));
        QCOMPARE(odds->text(1, 1), QStringLiteral("上位2位確率"));
        QCOMPARE(odds->rowCount(), race->rowCount());
        QCOMPARE(odds->cellRect(HeaderRows, 0).top(), race->cellRect(HeaderRows, 0).top());
        // Where the marks have settled it the chances agree; where they
        // have not, no chance reads as certain.
        QCOMPARE(race->text(HeaderRows + 3, TitleMarkCol), QStringLiteral("消滅"));
        QCOMPARE(column(0).last(), QStringLiteral("0%"));
        QCOMPARE(race->text(HeaderRows, TitleMarkCol), QStringLiteral("自力"));
        QVERIFY(column(0).first() != QStringLiteral("100%"));
        const odds::OddsResult coin = panel->result();
        double total = 0.0;
        for (const odds::TeamOdds &t : coin.Teams) {
            total += t.Title;
        }
        QCOMPARE(total, 1.0);

        // Another model, another computation; the marks stay.
        auto *model = dialog.findChild<QComboBox *>(QStringLiteral("cmbModel"));
        model->setCurrentIndex(1);
        QVERIFY(panel->computing());
        QCOMPARE(column(0).first(), QStringLiteral("..."));
        QVERIFY(panel->waitForOdds(std::chrono::seconds(60)));
        QCOMPARE(panel->result().GameModel, odds::Model::Strength);
        QVERIFY(panel->result().Teams[0].Title != coin.Teams[0].Title);
        QCOMPARE(race->text(HeaderRows, TitleMarkCol), QStringLiteral("自力"));

        // The spin box asks both for three places: A, B and C are sure.
        dialog.findChild<QSpinBox *>(QStringLiteral("spnTop"))->setValue(3);
        QVERIFY(dialog.waitForAnalysis(std::chrono::seconds(60)));
        QVERIFY(panel->waitForOdds(std::chrono::seconds(60)));
        QCOMPARE(odds->text(1, 1), QStringLiteral("上位3位確率"));
        QCOMPARE(race->text(HeaderRows + 2, TopMarkCol), QStringLiteral("確定"));
        QCOMPARE(column(1), QStringList({"100%", "100%", "100%", "0%"}));

        // A click on B's chances selects B in both tables and lists the
        // games that move B's title chance most.
        QTest::mouseClick(odds->viewport(), Qt::LeftButton, {},
                          odds->cellRect(HeaderRows + 1, 0).center());
        QCOMPARE(race->currentRow(), HeaderRows + 1);
        QVERIFY(dialog.findChild<QLabel *>(QStringLiteral("lblBigGames"))
                    ->text()
                    .startsWith(QStringLiteral("Bの優勝確率")));
        QVERIFY(bigGames->text(1, 0).contains(QStringLiteral(" - ")));
        QVERIFY(bigGames->text(1, 1) != bigGames->text(1, 2));
    }
};

QTEST_MAIN(OddsPanelTest)
#include "oddspanel_test.moc"
