#include "magic/calcodule.h"
#include "magic/winline.h"
#include "modalhelper.h"
#include "platform/flexgrid.h"
#include "platform/recordingprompts.h"
#include "season/gamescount.h"
#include "season/settings.h"
#include "support/seasonbuilder.h"
#include "ui/dialogs/frmrank.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScrollBar>
#include <QTemporaryDir>
#include <QtTest>

using namespace penarin;

namespace {

// League 1: Ants and Bees in division 1, Cats in division 2; league 2: Dogs
// and Eels. 10 games within a league, 3 across, interleague games not counted.
Season twoLeagues()
{
    test::SeasonBuilder builder;
    builder.addTeam(u"Ants", 1, 1);
    builder.addTeam(u"Bees", 1, 1);
    builder.addTeam(u"Cats", 1, 2);
    builder.addTeam(u"Dogs", 2);
    builder.addTeam(u"Eels", 2);
    Season season = builder.roundRobin(10, 3).intCounts(0).build();
    season.HasSeason = true;
    return season;
}

// Ants 7-5-1, Bees 8-4-1, Cats 3-9, ten games a card, draws replayed.
Season displayedSeason()
{
    Season season = test::SeasonBuilder::oneLeague({u"Ants", u"Bees", u"Cats"}, 10)
                        .result(1, 2, 4, 2, 1)
                        .result(1, 3, 3, 3)
                        .result(2, 3, 6, 0)
                        .build();
    season.HasSeason = true;
    return season;
}

template <class T> T *child(QWidget &parent, const char *name)
{
    T *found = parent.findChild<T *>(QString::fromLatin1(name));
    if (found == nullptr) {
        qWarning("missing child %s", name);
    }
    return found;
}

void clickCell(FlexGrid *grid, int row, int col)
{
    QTest::mouseClick(grid->viewport(), Qt::LeftButton, {}, grid->cellRect(row, col).center());
}

int columnOf(FlexGrid *grid, const QString &team)
{
    for (int col = 1; col < grid->colCount(); ++col) {
        if (grid->text(0, col) == team) {
            return col;
        }
    }
    return -1;
}

} // namespace

class FrmRankTest : public QObject
{
    Q_OBJECT

private slots:
    void gamesCountEditFilterAndOk();
    void gamesCountCloseBoxDiscards();
    void gamesCountNeverGoesBelowThePlayedGames();
    void teamGamesCountShowsOneRow();
    void winLineOptionsTooltipAndExport();
    void winLineReportsFailureToItsOpener();
};

void FrmRankTest::gamesCountEditFilterAndOk()
{
    Season season = twoLeagues();
    Settings settings;
    RecordingPrompts prompts;
    frmRank form(frmRank::Mode::GamesCount, season, settings, prompts);
    form.show();
    QVERIFY(QTest::qWaitForWindowActive(&form));

    auto *grid = child<FlexGrid>(form, "GrdLine");
    auto *rng = child<QLineEdit>(form, "rng");
    auto *cmbL = child<QComboBox>(form, "cmbL");
    auto *cmbG = child<QComboBox>(form, "cmbG");
    QVERIFY(grid && rng && cmbL && cmbG);
    QCOMPARE(form.windowTitle(), QStringLiteral("対戦数"));
    QVERIFY(child<QFrame>(form, "frmSel")->isVisible());
    QVERIFY(!child<QGroupBox>(form, "frmov")->isVisible());
    QVERIFY(!rng->isVisible());
    QCOMPARE(cmbL->count(), 3);
    QCOMPARE(cmbL->itemText(2), QStringLiteral("リーグ2"));
    QCOMPARE(cmbG->count(), 0);
    QCOMPARE(grid->text(0, 3), QStringLiteral("Cats"));
    QCOMPARE(grid->text(1, 2), QStringLiteral("10"));
    QCOMPARE(grid->text(1, 4), QStringLiteral("3"));
    QCOMPARE(grid->shownBackground(2, 2), grid->shownBackground(0, 0));

    // A card: the editor opens over the cell with its games selected; only
    // digits are typed.
    clickCell(grid, 1, 2);
    QCOMPARE(form.windowTitle(), QStringLiteral("対戦数 - Ants × Bees"));
    QVERIFY(rng->isVisible());
    QCOMPARE(rng->geometry(), grid->cellRect(1, 2));
    QCOMPARE(rng->selectedText(), QStringLiteral("10"));
    QTRY_VERIFY(rng->hasFocus());
    QTest::keyClicks(rng, QStringLiteral("1a-2"));
    QCOMPARE(rng->text(), QStringLiteral("12"));
    QTest::keyClick(rng, Qt::Key_Return);
    QVERIFY(!rng->isVisible());
    QCOMPARE(grid->text(1, 2), QStringLiteral("12"));
    QCOMPARE(grid->text(2, 1), QStringLiteral("12"));
    QCOMPARE(grid->currentRow(), 1);
    QCOMPARE(grid->currentCol(), 3);
    QCOMPARE(season.team(1).CardGames[2], 10); // nothing is written before OK

    // Enter on the grid opens the current cell: clearing Ants - Cats.
    QTest::keyClick(grid, Qt::Key_Return);
    QVERIFY(rng->isVisible());
    QTest::keyClick(rng, Qt::Key_Backspace);
    QTest::keyClick(rng, Qt::Key_Return);
    QCOMPARE(grid->text(3, 1), QString());

    // An interleague card while interleague games do not count.
    clickCell(grid, 4, 2);
    QTest::keyClicks(rng, QStringLiteral("5"));
    QTest::keyClick(rng, Qt::Key_Return);
    QCOMPARE(prompts.messageTexts(), QStringList{QStringLiteral("交流戦は設定されていません")});
    QCOMPARE(prompts.messages().back().icon, MessageIcon::Exclamation);
    QCOMPARE(grid->text(4, 2), QString());
    QCOMPARE(grid->text(2, 4), QString());

    // A number that does not fit is refused and can be corrected.
    clickCell(grid, 4, 5);
    QTest::keyClicks(rng, QStringLiteral("40000"));
    QTest::keyClick(rng, Qt::Key_Return);
    QCOMPARE(prompts.messageTexts().size(), 2);
    QCOMPARE(prompts.messageTexts().back(), QString::fromUtf8(GamesTooLargeMessage));
    QVERIFY(rng->isVisible());
    QCOMPARE(grid->text(4, 5), QStringLiteral("10"));
    QTest::keyClicks(rng, QStringLiteral("0"));
    QTest::keyClick(rng, Qt::Key_Return);
    QCOMPARE(grid->text(5, 4), QStringLiteral("0"));

    // Escape and a lost focus both discard the edit.
    clickCell(grid, 2, 3);
    QTest::keyClicks(rng, QStringLiteral("7"));
    QTest::keyClick(rng, Qt::Key_Escape);
    QVERIFY(!rng->isVisible());
    QVERIFY(form.isVisible());
    clickCell(grid, 2, 3);
    QTest::keyClicks(rng, QStringLiteral("7"));
    child<QPushButton>(form, "btnVew")->setFocus();
    QVERIFY(!rng->isVisible());
    QCOMPARE(form.windowTitle(), QStringLiteral("対戦数"));
    QCOMPARE(grid->text(2, 3), QStringLiteral("10"));

    // The filter: league 1, division 2 leaves Cats alone.
    cmbL->setCurrentIndex(1);
    QCOMPARE(cmbG->count(), 3);
    QCOMPARE(cmbG->currentIndex(), 0);
    cmbG->setCurrentIndex(2);
    QTest::mouseClick(child<QPushButton>(form, "btnVew"), Qt::LeftButton);
    for (int team = 1; team <= 5; ++team) {
        QCOMPARE(grid->rowHeight(team) > 0, team == 3);
        QCOMPARE(grid->colWidth(team) > 0, team == 3);
    }
    cmbL->setCurrentIndex(0);
    QCOMPARE(cmbG->count(), 0);
    QTest::mouseClick(child<QPushButton>(form, "btnVew"), Qt::LeftButton);
    QCOMPARE(grid->rowHeight(4), grid->rowHeight(0));
    QCOMPARE(grid->colWidth(4), grid->colWidth(0));

    // OK writes every card back, hidden ones included, and recounts totals.
    QTest::mouseClick(child<QPushButton>(form, "btnpok"), Qt::LeftButton);
    QCOMPARE(form.result(), int(QDialog::Accepted));
    QVERIFY(form.gamesWritten());
    const TeamRecord &ants = season.team(1);
    QCOMPARE(ants.CardGames[2], 12);
    QCOMPARE(ants.CardGames[3], -1);
    QCOMPARE(season.team(3).CardGames[1], -1);
    QCOMPARE(season.team(2).CardGames[4], -1);
    QCOMPARE(season.team(1).CardGames[4], 3);
    QCOMPARE(season.team(4).CardGames[5], -1);
    QCOMPARE(ants.LeagueGames, 12);
    QCOMPARE(ants.InterleagueGames, 6);
    QCOMPARE(ants.OfficialGames, 18);
    QCOMPARE(prompts.messageTexts().size(), 2);
}

void FrmRankTest::gamesCountCloseBoxDiscards()
{
    Season season = twoLeagues();
    const Season before = season;
    Settings settings;
    RecordingPrompts prompts;
    test::whenModalShown([](QWidget *modal) {
        auto *grid = modal->findChild<FlexGrid *>(QStringLiteral("GrdLine"));
        auto *rng = modal->findChild<QLineEdit *>(QStringLiteral("rng"));
        clickCell(grid, 1, 2);
        QTest::keyClicks(rng, QStringLiteral("4"));
        QTest::keyClick(rng, Qt::Key_Return);
        // Escape belongs to the editor only; the close box leaves.
        QTest::keyClick(grid, Qt::Key_Escape);
        if (modal->isVisible()) {
            modal->close();
        }
    });
    QVERIFY(!frmRank::showGamesCount(season, settings, prompts, nullptr));
    QVERIFY(season.Teams == before.Teams);
}

// A card with results keeps at least the games they used up: a smaller
// count, 0 or an empty cell is refused with the card and the number.
void FrmRankTest::gamesCountNeverGoesBelowThePlayedGames()
{
    test::SeasonBuilder builder = test::SeasonBuilder::oneLeague({u"Ants", u"Bees", u"Cats"}, 25);
    builder.result(1, 2, 10, 5, 1).drawReplay(1, 1, 1);
    Season season = builder.build();
    season.HasSeason = true;
    Settings settings;
    RecordingPrompts prompts;
    frmRank form(frmRank::Mode::GamesCount, season, settings, prompts);
    form.show();
    QVERIFY(QTest::qWaitForWindowActive(&form));
    auto *grid = child<FlexGrid>(form, "GrdLine");
    auto *rng = child<QLineEdit>(form, "rng");
    const QString refusal = QStringLiteral("Ants－Bees は既に16試合消化しています");
    for (const QString &typed : {QStringLiteral("15"), QStringLiteral("0"), QString()}) {
        clickCell(grid, 1, 2);
        rng->setText(typed);
        QTest::keyClick(rng, Qt::Key_Return);
        QCOMPARE(prompts.messageTexts().last(), refusal);
        QVERIFY(rng->isVisible()); // still open for a number that fits
        QTest::keyClick(rng, Qt::Key_Escape);
        QCOMPARE(grid->text(1, 2), QStringLiteral("25"));
    }
    clickCell(grid, 1, 2);
    rng->setText(QStringLiteral("16"));
    QTest::keyClick(rng, Qt::Key_Return);
    QCOMPARE(grid->text(2, 1), QStringLiteral("16"));
    QCOMPARE(prompts.messageTexts().size(), 3);
}

void FrmRankTest::teamGamesCountShowsOneRow()
{
    Season season = twoLeagues();
    Settings settings;
    RecordingPrompts prompts;
    bool checked = false;
    test::whenModalShown([&checked](QWidget *modal) {
        auto *grid = modal->findChild<FlexGrid *>(QStringLiteral("GrdLine"));
        auto *rng = modal->findChild<QLineEdit *>(QStringLiteral("rng"));
        checked = grid->rowHeight(2) > 0 && grid->rowHeight(1) == 0 && grid->rowHeight(5) == 0 &&
                  !modal->findChild<QComboBox *>(QStringLiteral("cmbL"))->isVisible() &&
                  !modal->findChild<QPushButton *>(QStringLiteral("btnVew"))->isVisible();
        clickCell(grid, 2, 3);
        QTest::keyClicks(rng, QStringLiteral("8"));
        QTest::keyClick(rng, Qt::Key_Return);
        QTest::mouseClick(modal->findChild<QPushButton *>(QStringLiteral("btnpok")),
                          Qt::LeftButton);
    });
    QVERIFY(frmRank::showTeamGamesCount(season, settings, prompts, 2, nullptr));
    QVERIFY(checked);
    QCOMPARE(season.team(2).CardGames[3], 8);
    QCOMPARE(season.team(3).CardGames[2], 8);
    QCOMPARE(season.team(2).OfficialGames, 24);
}

void FrmRankTest::winLineOptionsTooltipAndExport()
{
    Season season = displayedSeason();
    Settings settings;
    settings.NameLen = 2;
    RecordingPrompts prompts;
    const PublishedStandings published = *RecalculateView(season, {}, ViewRequest{1, -1}).Published;
    frmRank form(frmRank::Mode::WinLine, season, settings, prompts, &published);
    form.show();
    QVERIFY(QTest::qWaitForWindowExposed(&form));

    auto *grid = child<FlexGrid>(form, "GrdLine");
    auto *lblLine = child<QLabel>(form, "LblLine");
    auto *cmbAVG = child<QComboBox>(form, "cmbAVG");
    auto *chk = child<QCheckBox>(form, "ChkZanAVG");
    auto *scrBer = child<QScrollBar>(form, "scrBer");
    QVERIFY(grid && lblLine && cmbAVG && chk && scrBer);
    QCOMPARE(form.windowTitle(), QStringLiteral("優勝ライン"));
    QVERIFY(!child<QFrame>(form, "frmSel")->isVisible());
    QCOMPARE(lblLine->text(), QStringLiteral("勝 - 敗(残り試合の勝率 / 最終勝率)"));
    QCOMPARE(cmbAVG->count(), 15);
    QCOMPARE(cmbAVG->currentText(), QStringLiteral("3"));
    QVERIFY(!chk->isChecked());
    QVERIFY(!form.calculationFailed());

    // 16 down to 3 wins, then the remaining cards.
    QCOMPARE(grid->rowCount(), 16);
    QCOMPARE(grid->text(0, 0), QStringLiteral("勝"));
    QCOMPARE(grid->text(15, 0), QStringLiteral("残"));
    const int ants = columnOf(grid, QStringLiteral("Ants"));
    QVERIFY(ants > 0);
    QCOMPARE(grid->text(16 - 10 + 1, ants), QStringLiteral("3 - 5( .375 / .500 )"));
    QCOMPARE(grid->cellAlignment(1, ants), Qt::AlignLeft | Qt::AlignVCenter);
    QCOMPARE(grid->colWidth(ants), 2021);

    // Digits and final-only apply on re-show and go into the settings.
    cmbAVG->setCurrentIndex(4);
    chk->setChecked(true);
    QCOMPARE(grid->text(16 - 10 + 1, ants), QStringLiteral("3 - 5( .375 / .500 )"));
    scrBer->setValue(3000);
    QCOMPARE(grid->colWidth(ants), 3000);
    QTest::mouseClick(child<QPushButton>(form, "BtnReShow"), Qt::LeftButton);
    QCOMPARE(grid->text(16 - 10 + 1, ants), QStringLiteral("3 - 5( .50000 )"));
    QCOMPARE(lblLine->text(), QStringLiteral("勝 - 敗(最終勝率)"));
    QCOMPARE(settings.Line, 5);
    QCOMPARE(settings.ZanAvg, 1);
    QCOMPARE(grid->colWidth(ants), 3000);

    // Over a team's column the tooltip lists the cards it still plays.
    QTest::mouseMove(grid->viewport(), grid->cellRect(3, ants).center());
    QTRY_COMPARE(grid->toolTipText(), QStringLiteral("Be4 Ca4 "));

    // Export: the save dialog as the exports ask it, the table as shown.
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("line.csv"));
    prompts.queueSaveFile(path);
    QTest::mouseClick(child<QPushButton>(form, "btnCsv"), Qt::LeftButton);
    const RecordingPrompts::Call &call = prompts.calls().back();
    QCOMPARE(call.kind, RecordingPrompts::Kind::SaveFile);
    QCOMPARE(call.file.title, QStringLiteral("名前を付けて保存"));
    QCOMPARE(call.file.filter, QStringLiteral("カンマ区切り(*.csv);;タブ区切り(*.txt)"));
    QCOMPARE(call.file.defaultSuffix, QStringLiteral("csv"));
    QFile written(path);
    QVERIFY(written.open(QIODevice::ReadOnly));
    const QList<QByteArray> lines = written.readAll().split('\n');
    QCOMPARE(lines.size(), 17);                              // 16 lines, each ending in CR LF
    QCOMPARE(lines[0].left(5), QByteArray("\"\x8f\x9f\",")); // "勝" in Shift_JIS
    QVERIFY(lines[15].contains("\"Be4 Ca4 \""));
    QCOMPARE(form.focusWidget(), child<QPushButton>(form, "btnCan"));

    // A file that cannot be written is reported.
    prompts.queueSaveFile(dir.filePath(QStringLiteral("missing/line.txt")));
    QTest::mouseClick(child<QPushButton>(form, "btnCsv"), Qt::LeftButton);
    QCOMPARE(prompts.messageTexts(), QStringList{QStringLiteral("ファイルを保存できません")});

    // The grid follows the window; the options stay flush with its right edge.
    const int gridWidth = grid->width();
    form.resize(form.width() + 200, form.height() + 100);
    QTRY_COMPARE(grid->width(), gridWidth + 200);
    QCOMPARE(child<QGroupBox>(form, "frmov")->geometry().right(), grid->geometry().right());

    QTest::mouseClick(child<QPushButton>(form, "btnCan"), Qt::LeftButton);
    QVERIFY(!form.isVisible());
}

void FrmRankTest::winLineReportsFailureToItsOpener()
{
    // Three games played on a card of two.
    Season season =
        test::SeasonBuilder::oneLeague({u"Ants", u"Bees"}, 2).result(1, 2, 2, 1).build();
    season.HasSeason = true;
    const PublishedStandings published = *RecalculateView(season, {}, ViewRequest{1, -1}).Published;
    Settings settings;
    RecordingPrompts prompts;
    QWidget opener;
    opener.setGeometry(100, 120, 1000, 500);
    QRect shownAt;
    test::whenModalShown([&shownAt](QWidget *modal) {
        shownAt = modal->geometry();
        QTest::mouseClick(modal->findChild<QPushButton *>(QStringLiteral("btnCan")),
                          Qt::LeftButton);
    });
    QVERIFY(frmRank::showWinLine(season, published, settings, prompts, &opener));
    QCOMPARE(shownAt, opener.geometry());
    QVERIFY(prompts.calls().empty()); // the opener tells the user
}

QTEST_MAIN(FrmRankTest)
#include "frmrank_test.moc"
