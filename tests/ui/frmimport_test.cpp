#include "platform/flexgrid.h"
#include "support/seasonbuilder.h"
#include "ui/dialogs/frmimport.h"

#include <QCheckBox>
#include <QLabel>
#include <QPushButton>
#include <QtTest>

using namespace penarin;

class FrmImportTest : public QObject
{
    Q_OBJECT

private slots:
    void previewShowsEveryLineAndImportsOnlyWhenAllowed();
};

// A list with a possible repeat (dated on the day of the newest snapshot),
// an error and a valid game: the rows, the totals, and "取り込む" held back
// until the error is to be skipped.
void FrmImportTest::previewShowsEveryLineAndImportsOnlyWhenAllowed()
{
    Season season =
        test::SeasonBuilder::oneLeague({u"読売ジャイアンツ", u"阪神タイガース", u"中日"}, 4)
            .build();
    season.Snapshots.push_back({toOleDate({2026, 4, 1}), u"開幕", StoredTrue});
    for (TeamSnapshot &values : season.TeamSnapshots) {
        values.Pcts.push_back(0.0F);
        values.Surpluses.push_back(0);
    }
    const GameList list =
        ReadGameList(season, u"4/1,読売,阪神,3,2\n4/2,読売,ヤクルト,1,0\n4/2,中日,阪神,2,1\n");

    frmImport form(season, list);
    form.show();
    QVERIFY(QTest::qWaitForWindowExposed(&form));
    auto *lines = form.findChild<FlexGrid *>(QStringLiteral("grdLines"));
    auto *totals = form.findChild<FlexGrid *>(QStringLiteral("grdTotals"));
    auto *skip = form.findChild<QCheckBox *>(QStringLiteral("chkSkip"));
    auto *snapshots = form.findChild<QCheckBox *>(QStringLiteral("chkSnapshots"));
    auto *import = form.findChild<QPushButton *>(QStringLiteral("btnImport"));
    QVERIFY(lines && totals && skip && snapshots && import);

    QCOMPARE(lines->rowCount(), 4);
    const QStringList first = {"1", "2026/04/01", "読売ジャイアンツ", "阪神タイガース", "3-2"};
    for (int col = 0; col < first.size(); ++col) {
        QCOMPARE(lines->text(1, col), first[col]);
    }
    QCOMPARE(lines->text(1, 5),
             QStringLiteral("重複の可能性 (グラフデータ 2026/04/01 以前の日付)"));
    QCOMPARE(lines->text(2, 3), QStringLiteral("ヤクルト"));
    QCOMPARE(lines->text(2, 5), QStringLiteral("エラー: チーム名が見つかりません: ヤクルト"));
    QCOMPARE(lines->text(3, 5), QStringLiteral("取り込み"));
    QCOMPARE(form.findChild<QLabel *>(QStringLiteral("lblSummary"))->text(),
             QStringLiteral("3 行: 取り込み 1、重複の可能性 1、エラー 1"));

    // Totals: 読売 1-0, 阪神 0-2, 中日 1-0.
    QCOMPARE(totals->rowCount(), 4);
    QCOMPARE(totals->text(2, 0), QStringLiteral("阪神タイガース"));
    QCOMPARE(totals->text(2, 1), QStringLiteral("0"));
    QCOMPARE(totals->text(2, 2), QStringLiteral("2"));

    QVERIFY(!import->isEnabled());
    skip->click();
    QVERIFY(import->isEnabled());
    snapshots->click();
    const ImportChoice choice = form.choice();
    QVERIFY(choice.skipInvalid && choice.snapshots);
    import->click();
    QCOMPARE(form.result(), int(QDialog::Accepted));
}

QTEST_MAIN(FrmImportTest)
#include "frmimport_test.moc"
