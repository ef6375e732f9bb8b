#include "magic/calcodule.h"
#include "modalhelper.h"
#include "platform/recordingprompts.h"
#include "season/filemodule.h"
#include "season/settings.h"
#include "standings/viewlists.h"
#include "support/seasonbuilder.h"
#include "ui/dialogs/frmpropaty.h"
#include "ui/modalhelper.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLibraryInfo>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTabWidget>
#include <QTest>
#include <QTranslator>

#include <memory>
#include <utility>

using namespace penarin;
using penarin::test::SeasonBuilder;

namespace {

// League 1 with divisions (赤 and 青 in the first, 黄 in the second) and
// league 2 without (白, 黒). 青 and 黄 have no card.
Season twoLeagues()
{
    SeasonBuilder b;
    b.addTeam(u"赤", 1, 1);
    b.addTeam(u"青", 1, 1);
    b.addTeam(u"黄", 1, 2);
    b.addTeam(u"白", 2);
    b.addTeam(u"黒", 2);
    b.roundRobin(10, 4).card(2, 3, -1);
    b.result(1, 2, 6, 2).result(1, 3, 5, 3).result(1, 4, 2, 1);
    return b.build();
}

// The season as the main window leaves it after showing a view; by default
// league 1 as a whole, counted in official games.
struct ShownSeason
{
    Season season;
    PublishedStandings published;
};

ShownSeason shown(Season season, int league = 1, int division = 0)
{
    season.HasSeason = true;
    BuildViewLists(season, league, division);
    const RecalculateResult pass =
        RecalculateView(season, OrderSettings{}, ViewRequest{league, division});
    return {std::move(season), *pass.Published};
}

struct Dialog
{
    explicit Dialog(ShownSeason start, GamesCountEditor gamesCount = {})
        : season(std::move(start.season)), published(std::move(start.published)),
          dialog(std::make_unique<frmPropaty>(season, &published, settings, prompts,
                                              std::move(gamesCount)))
    {
        dialog->load(-1, -1); // lists the standings, so names give positions
    }

    template <class T> T *find(const char *name) const
    {
        T *child = dialog->findChild<T *>(QLatin1String(name));
        if (!child) {
            qFatal("no %s", name);
        }
        return child;
    }
    QString text(const char *name) const { return find<QLabel>(name)->text(); }
    QString report() const { return find<QPlainTextEdit>("txtPrp")->toPlainText(); }
    bool enabled(const char *name) const { return find<QWidget>(name)->isEnabled(); }
    bool hidden(const char *name) const { return find<QWidget>(name)->isHidden(); }
    int position(const QString &name) const { return find<QComboBox>("cmbTeam")->findText(name); }

    void open(const QString &team, const QString &rival = {})
    {
        dialog->load(position(team), rival.isEmpty() ? -1 : position(rival));
    }
    void chooseTeam(const QString &name)
    {
        find<QComboBox>("cmbTeam")->setCurrentIndex(position(name));
    }
    void chooseRival(const QString &name)
    {
        find<QComboBox>("cmbVs")->setCurrentIndex(position(name));
    }
    void showPage(int page)
    {
        dialog->show();
        find<QTabWidget>("tabRec")->setCurrentIndex(page);
        QVERIFY(QTest::qWaitForWindowExposed(dialog.get()));
    }
    void click(const char *name) { QTest::mouseClick(find<QPushButton>(name), Qt::LeftButton); }

    // Replaces a row's published figures, as if the last pass had found them.
    void publish(const std::function<void(PublishedStandings &)> &change) { change(published); }

    Season season;
    PublishedStandings published;
    Settings settings;
    RecordingPrompts prompts;
    std::unique_ptr<frmPropaty> dialog;
};

const char *const DivisionControls[] = {"frmMgc1", "optMgcG0", "optMgcG1",  "btnMgcG",  "cmbGZ",
                                        "lblG",    "frmGp",    "optGpDrw0", "optGpDrw1"};
const char *const InterleagueControls[] = {"frmMgc2",      "optMgcPV0",  "optMgcPV1", "btnMgcJ",
                                           "lblC",         "cmbCZ",      "chkInt",    "frmInt",
                                           "frmIntDrwSet", "optIntDrw0", "optIntDrw1"};

} // namespace

class FrmPropatyTest : public QObject
{
    Q_OBJECT

private slots:
    void reportAgainstARivalOrNone();
    void magicCaptionsFollowTheCountdown();
    void controlsFollowLeaguesAndDivisions();
    void scheduledGames_data();
    void scheduledGames();
    void judgmentApplyReachesItsScope();
    void drawReplayApplyAndGamesCount();
    void showTeamFormTellsWhetherTheSeasonChanged();
    void screenshots();
};

void FrmPropatyTest::reportAgainstARivalOrNone()
{
    Dialog d(shown(twoLeagues()));
    const int red = d.position(QStringLiteral("赤"));
    const int blue = d.position(QStringLiteral("青"));
    d.publish([&](PublishedStandings &p) {
        CardFigures &card = p.Analysis[red + 1].Cards[blue + 1];
        card.MagicKind = MagicKind::PerCard;
        card.MagicNumber = 3;
    });
    d.open(QStringLiteral("赤"), QStringLiteral("青"));
    QVERIFY(d.report().startsWith(QStringLiteral("対 青全敗(他全勝)\n  勝敗: ")));
    QVERIFY(d.report().contains(QStringLiteral("\n\n赤 - 青\n  勝敗: 6勝 2敗 0分\n")));
    QVERIFY(d.report().contains(QStringLiteral("\n  勝敗: 20勝 8敗 0分\n")));
    QVERIFY(d.report().endsWith(QStringLiteral("\n  全敗勝率: .111")));
    QCOMPARE(d.find<QGroupBox>("frmCdm")->title(), QStringLiteral("対  青"));
    QCOMPARE(d.text("LblPrpStr16"), QStringLiteral("カード別マジック:"));
    QCOMPARE(d.text("LblvsPrp0"), QStringLiteral("3"));
    QCOMPARE(d.find<QLabel>("LblvsPrp0")->palette().color(QPalette::WindowText), QColor(0, 0, 255));
    QVERIFY(!d.hidden("LblPrpStrv"));
    QVERIFY(!d.text("LblvsPrp1").isEmpty());

    // The team itself, then a team without a card: only the notice remains.
    const std::pair<QString, QString> pairs[] = {{QStringLiteral("赤"), QStringLiteral("赤")},
                                                 {QStringLiteral("青"), QStringLiteral("黄")}};
    for (const auto &[team, rival] : pairs) {
        d.chooseTeam(team);
        d.chooseRival(rival);
        QCOMPARE(d.report(), QStringLiteral("対戦がありません"));
        QCOMPARE(d.find<QGroupBox>("frmCdm")->title(), QString());
        QCOMPARE(d.text("LblPrpStr16"), QString());
        QCOMPARE(d.text("LblvsPrp0"), QString());
        QVERIFY(d.hidden("LblPrpStrv"));
    }
    // Choosing another team forgets the rival.
    d.chooseTeam(QStringLiteral("赤"));
    QCOMPARE(d.find<QComboBox>("cmbVs")->currentIndex(), -1);
    QCOMPARE(d.report(), QString());
}

void FrmPropatyTest::magicCaptionsFollowTheCountdown()
{
    Dialog d(shown(twoLeagues()));
    d.publish([](PublishedStandings &p) {
        p.Analysis[1].MagicCountdown = 2;
        p.Analysis[2].MagicCountdown = -1;
        p.Analysis[3].MagicCountdown = 0;
    });
    const QString first = d.find<QComboBox>("cmbTeam")->itemText(0);
    const QString second = d.find<QComboBox>("cmbTeam")->itemText(1);
    const QString third = d.find<QComboBox>("cmbTeam")->itemText(2);

    d.open(first);
    QCOMPARE(d.text("LblPrp0"), QStringLiteral("2"));
    QVERIFY(!d.hidden("LblPrpStr8") && !d.hidden("LblPrpStr9"));
    QVERIFY(d.text("LblPrp1").endsWith(QStringLiteral("分")));

    d.chooseTeam(second);
    QCOMPARE(d.text("LblPrp0"), QString());
    QVERIFY(d.hidden("LblPrpStr8") && d.hidden("LblPrpStr9"));

    // A clinched team says so; the captions keep what the team before left.
    d.chooseTeam(third);
    QCOMPARE(d.text("LblPrp0"), QStringLiteral("優勝"));
    QCOMPARE(d.find<QLabel>("LblPrp0")->palette().color(QPalette::WindowText), QColor(0, 0, 255));
    QVERIFY(d.hidden("LblPrpStr8") && d.hidden("LblPrpStr9"));
    QCOMPARE(d.text("LblPrp1"), QString());
    QCOMPARE(d.text("LblPrp2"), QString());

    d.chooseTeam(first);
    QVERIFY(!d.hidden("LblPrpStr8") && !d.hidden("LblPrpStr9"));
    d.chooseTeam(third);
    QVERIFY(!d.hidden("LblPrpStr8") && !d.hidden("LblPrpStr9"));
}

void FrmPropatyTest::controlsFollowLeaguesAndDivisions()
{
    Dialog d(shown(twoLeagues(), 0, -1)); // every team
    d.open(QStringLiteral("赤"));
    for (const char *name : DivisionControls) {
        QVERIFY2(d.enabled(name), name);
    }
    for (const char *name : InterleagueControls) {
        QVERIFY2(d.enabled(name), name);
    }
    QCOMPARE(d.text("lblGp"), QStringLiteral("地区1"));
    // The interleague draw replay follows the box at once.
    d.find<QCheckBox>("chkInt")->setChecked(false);
    QVERIFY(!d.enabled("frmIntDrwSet") && !d.enabled("optIntDrw0") && !d.enabled("optIntDrw1"));
    d.find<QCheckBox>("chkInt")->setChecked(true);
    QVERIFY(d.enabled("optIntDrw1"));

    d.chooseTeam(QStringLiteral("白"));
    QCOMPARE(d.text("lblGp"), QStringLiteral("（なし）"));
    for (const char *name : DivisionControls) {
        QVERIFY2(!d.enabled(name), name);
    }
    QVERIFY(d.enabled("optMgcPV0"));
    QCOMPARE(d.find<QComboBox>("cmbGZ")->palette().color(QPalette::Base),
             d.dialog->palette().color(QPalette::Button));

    Dialog single(shown(SeasonBuilder::oneLeague({u"甲", u"乙"}, 20).intCounts(1).build(), 1, -1));
    single.open(QStringLiteral("甲"));
    for (const char *name : InterleagueControls) {
        QVERIFY2(!single.enabled(name), name);
    }
    QVERIFY(single.enabled("optMgcL1"));
}

void FrmPropatyTest::scheduledGames_data()
{
    QTest::addColumn<int>("scope");
    QTest::addColumn<int>("intCounts");
    QTest::addColumn<QString>("games");
    // 赤: 20 league games and 8 interleague games.
    QTest::newRow("league") << int(ScopeLeague) << 1 << QStringLiteral("20（リーグ戦）");
    QTest::newRow("official") << int(ScopeOfficial) << 1 << QStringLiteral("28");
    QTest::newRow("official, interleague not counted")
        << int(ScopeOfficial) << 0 << QStringLiteral("20");
    QTest::newRow("interleague") << int(ScopeInterleague) << 1 << QStringLiteral("8（交流戦）");
}

void FrmPropatyTest::scheduledGames()
{
    QFETCH(int, scope);
    QFETCH(int, intCounts);
    QFETCH(QString, games);
    Dialog d(shown(twoLeagues()));
    d.season.GameScope = scope;
    d.season.Interleague.IntCounts = static_cast<std::int16_t>(intCounts);
    d.open(QStringLiteral("赤"));
    QCOMPARE(d.text("lblGames"), games);
}

void FrmPropatyTest::judgmentApplyReachesItsScope()
{
    Dialog d(shown(twoLeagues()));
    d.open(QStringLiteral("赤"));
    d.showPage(1);
    d.find<QRadioButton>("optMgcL1")->setChecked(true);
    d.find<QComboBox>("cmbLZ")->setCurrentIndex(2);
    d.find<QRadioButton>("optMgcG1")->setChecked(true);
    d.find<QComboBox>("cmbGZ")->setCurrentIndex(1);
    d.find<QComboBox>("cmbCZ")->setCurrentIndex(2);
    // The league's conditions: "対戦成績" added in the options dialog.
    test::whenModalShown([](QWidget *modal) {
        auto *left = modal->findChild<QListWidget *>(QStringLiteral("LstDrg"));
        left->setCurrentRow(1);
        QTest::mouseClick(modal->findChild<QPushButton *>(QStringLiteral("btnAdd")),
                          Qt::LeftButton);
        QTest::mouseClick(modal->findChild<QPushButton *>(QStringLiteral("btnOK")), Qt::LeftButton);
    });
    d.click("btnMgcL");
    // Nothing is stored before the apply button.
    QCOMPARE(d.season.team(1).LeagueJudgment, (JudgmentSet{0, {0}, 0}));
    d.click("btnMgcPV");

    const JudgmentSet league{1, {2}, 2};
    const JudgmentSet division{1, {0}, 1};
    const JudgmentSet untouched{0, {0}, 0};
    const JudgmentSet inter{0, {0}, 2};
    const JudgmentSet expectedLeague[] = {league, league, league, untouched, untouched};
    const JudgmentSet expectedDivision[] = {division, division, untouched, untouched, untouched};
    for (int t = 1; t <= 5; ++t) {
        QCOMPARE(d.season.team(t).LeagueJudgment, expectedLeague[t - 1]);
        QCOMPARE(d.season.team(t).DivisionJudgment, expectedDivision[t - 1]);
        QCOMPARE(d.season.team(t).IntJudgment, inter);
    }
    QVERIFY(d.dialog->edited());

    // Another team shows what is stored for it.
    d.chooseTeam(QStringLiteral("黄"));
    QVERIFY(d.find<QRadioButton>("optMgcL1")->isChecked());
    QVERIFY(d.find<QRadioButton>("optMgcG0")->isChecked());
    QCOMPARE(d.find<QComboBox>("cmbGZ")->currentIndex(), 0);
    QCOMPARE(d.find<QComboBox>("cmbCZ")->currentIndex(), 2);
}

void FrmPropatyTest::drawReplayApplyAndGamesCount()
{
    int asked = 0;
    QWidget *over = nullptr;
    Dialog d(shown(twoLeagues()), [&](Season &season, int teamNo, QWidget *dialog) {
        asked = teamNo;
        over = dialog;
        season.team(teamNo).OfficialGames = 30;
        return true;
    });
    d.open(QStringLiteral("黄"));
    d.showPage(2);
    d.find<QRadioButton>("optLgDrw1")->setChecked(true);
    d.find<QRadioButton>("optGpDrw1")->setChecked(true);
    d.find<QCheckBox>("chkInt")->setChecked(false);
    d.click("btnPset");
    const int leagueDraw[] = {1, 1, 1, 0, 0};
    const int divisionDraw[] = {0, 0, 1, 0, 0};
    for (int t = 1; t <= 5; ++t) {
        QCOMPARE(d.season.team(t).LeagueDrawReplay, leagueDraw[t - 1]);
        QCOMPARE(d.season.team(t).DivisionDrawReplay, divisionDraw[t - 1]);
    }
    QCOMPARE(d.season.Interleague.IntCounts, 0);
    QVERIFY(d.dialog->edited());

    d.click("btnGames");
    QCOMPARE(asked, 3);
    QCOMPARE(over, d.dialog.get());
    QCOMPARE(d.text("lblGames"), QStringLiteral("30"));

    Dialog without(shown(twoLeagues()));
    without.open(QStringLiteral("黄"));
    QVERIFY(!without.enabled("btnGames"));
}

void FrmPropatyTest::showTeamFormTellsWhetherTheSeasonChanged()
{
    const ShownSeason start = shown(twoLeagues());
    Settings settings;
    RecordingPrompts prompts;
    for (const bool apply : {false, true}) {
        int shownTeam = -2;
        test::whenModalShown([&](QWidget *modal) {
            shownTeam = modal->findChild<QComboBox *>(QStringLiteral("cmbTeam"))->currentIndex();
            if (apply) {
                modal->findChild<QTabWidget *>(QStringLiteral("tabRec"))->setCurrentIndex(2);
                QTest::mouseClick(modal->findChild<QPushButton *>(QStringLiteral("btnPset")),
                                  Qt::LeftButton);
            }
            QTest::mouseClick(modal->findChild<QPushButton *>(QStringLiteral("btncls")),
                              Qt::LeftButton);
        });
        const std::optional<Season> edited =
            ShowTeamForm(start.season, start.published, settings, prompts, 1, -1, {});
        QCOMPARE(edited.has_value(), apply);
        QCOMPARE(shownTeam, 1);
    }
}

// With PENARIN_SCREENSHOTS naming a folder, saves a picture of each page of
// the dialog on the second sample season for a person to look at.
void FrmPropatyTest::screenshots()
{
    const QString folder = qEnvironmentVariable("PENARIN_SCREENSHOTS");
    if (folder.isEmpty()) {
        QSKIP("PENARIN_SCREENSHOTS not set");
    }
    const auto japanese = test::japaneseQtTexts();
    Season season;
    QVERIFY(LoadSeason(season, PENARIN_SAMPLES_DIR "/sample-b.ptr") != LoadStatus::Failed);
    // A division whose leader has a championship magic.
    Dialog d(shown(std::move(season), 2, 2), [](Season &, int, QWidget *) { return false; });
    d.dialog->load(0, 1);
    for (int page = 0; page < 3; ++page) {
        d.showPage(page);
        QTest::qWait(100);
        QVERIFY(
            d.dialog->grab().save(folder + QStringLiteral("/frmpropaty-page%1.png").arg(page + 1)));
    }
}

QTEST_MAIN(FrmPropatyTest)
#include "frmpropaty_test.moc"
