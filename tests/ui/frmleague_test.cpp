#include "magic/calcodule.h"
#include "platform/recordingprompts.h"
#include "season/filemodule.h"
#include "season/settings.h"
#include "standings/viewlists.h"
#include "support/seasonbuilder.h"
#include "ui/dialogs/frmleague.h"
#include "ui/modalhelper.h"

#include <QAbstractButton>
#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QRegularExpression>
#include <QSet>
#include <QStackedWidget>
#include <QTemporaryDir>
#include <QTest>

#include <optional>

using namespace penarin;
using penarin::test::SeasonBuilder;
using penarin::test::testNow;

namespace {

using Codes = std::vector<std::int16_t>;

struct Wizard
{
    explicit Wizard(Season start = {}) : season(std::move(start))
    {
        dialog.show();
        if (!QTest::qWaitForWindowExposed(&dialog)) {
            qFatal("wizard not shown");
        }
    }

    template <class T> T *find(const char *name)
    {
        T *child = dialog.findChild<T *>(QLatin1String(name));
        if (!child) {
            qFatal("no %s", name);
        }
        return child;
    }
    QPushButton *button(const char *name) { return find<QPushButton>(name); }
    void click(const char *name) { QTest::mouseClick(button(name), Qt::LeftButton); }
    int page() { return find<QStackedWidget>("pages")->currentIndex(); }

    void league(const QString &name, const QString &games, bool divisions = false)
    {
        find<QComboBox>("cmbLeague")->setEditText(name);
        find<QLineEdit>("txtLeagueGames")->setText(games);
        find<QCheckBox>("chkDivision")->setChecked(divisions);
        click("btnLeagueNext");
    }
    void division(const QString &name)
    {
        find<QComboBox>("cmbDivision")->setEditText(name);
        click("btnDivisionEntry");
    }
    void teams(const QStringList &names)
    {
        for (const QString &name : names) {
            find<QLineEdit>("txtTeam")->setText(name);
            click("btnTeamAdd");
        }
    }
    // Lists the teams and registers them, answering the question with OK
    // and "リーグを追加しますか", when the league ends, with `another`.
    void registerTeams(const QStringList &names,
                       std::optional<MessageAnswer> another = std::nullopt)
    {
        teams(names);
        prompts.queueAnswer(MessageAnswer::Ok);
        if (another) {
            prompts.queueAnswer(*another);
        }
        click("btnTeamEntry");
    }
    void removeTeam(int row)
    {
        auto *list = find<QListWidget>("LstTeam");
        const QPoint at = list->visualItemRect(list->item(row)).center();
        QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, at);
        QTest::mouseDClick(list->viewport(), Qt::LeftButton, {}, at);
    }
    // A league without divisions, then "リーグを追加しますか".
    void wholeLeague(const QString &name, const QString &games, const QStringList &names,
                     bool another)
    {
        league(name, games);
        registerTeams(names, another ? MessageAnswer::Yes : MessageAnswer::No);
    }
    QStringList listTexts(const char *name)
    {
        QStringList texts;
        const auto *list = find<QListWidget>(name);
        for (int row = 0; row < list->count(); ++row) {
            texts << list->item(row)->text();
        }
        return texts;
    }

    RecordingPrompts prompts;
    Season season;
    Settings settings;
    frmLeague dialog{season, settings, prompts, testNow};
};

QStringList names(const QString &prefix, int count)
{
    QStringList out;
    for (int i = 1; i <= count; ++i) {
        out << prefix + QString::number(i);
    }
    return out;
}

// The standings of one view as the main window would show them.
QStringList standings(Season season, int league, int division)
{
    season.HasSeason = true;
    BuildViewLists(season, league, division);
    const RecalculateResult pass =
        RecalculateView(season, OrderSettings{2, 0, 0}, ViewRequest{league, division});
    QStringList rows;
    const PublishedStandings &p = *pass.Published;
    for (int i = 1; i <= p.Rows.size(); ++i) {
        const StandingsRow &r = p.Rows[i];
        QString row = QStringLiteral("%1:%2 %3-%4-%5 r%6 %7 m%8")
                          .arg(r.Rank)
                          .arg(r.TeamNo)
                          .arg(r.Wins)
                          .arg(r.Losses)
                          .arg(r.Draws)
                          .arg(r.Remaining)
                          .arg(QString::fromStdString(r.BehindLeader))
                          .arg(p.Analysis[i].MagicCountdown);
        for (const CardFigures &card : p.Analysis[i].Cards) {
            row += QLatin1Char(' ') + QString::fromStdU16String(card.MagicText());
        }
        rows << row;
    }
    return rows;
}

} // namespace

class FrmLeagueTest : public QObject
{
    Q_OBJECT

private slots:
    void opensClearedWithDefaults();
    void leaguePageRefusals_data();
    void leaguePageRefusals();
    void twoLeaguesBuiltSavedAndReopened();
    void singleLeague();
    void tooManyTeamsThenStartOverAndClose();
    void theRealSetupByKeyboard();
    void everyControlOfAPageHasItsOwnAccessKey();
};

void FrmLeagueTest::opensClearedWithDefaults()
{
    Wizard w(SeasonBuilder::oneLeague({u"A", u"B"}, 10).build());
    QCOMPARE(w.season.TeamCount(), 0); // cleared as soon as it opens
    QCOMPARE(w.dialog.windowTitle(), QStringLiteral("新規作成"));
    QCOMPARE(w.page(), 0);
    QCOMPARE(w.dialog.focusWidget(), w.find<QComboBox>("cmbLeague"));
    QVERIFY(!w.find<QCheckBox>("chkDivision")->isChecked());
    QVERIFY(w.find<QRadioButton>("optLeagueDraw1")->isChecked());
    QCOMPARE(w.find<QRadioButton>("optLeagueDraw1")->text(), QStringLiteral("なし(&D)"));
    QCOMPARE(w.find<QRadioButton>("optIntDraw1")->text(), QStringLiteral("なし(&N)"));
    QVERIFY(w.find<QRadioButton>("optLeagueJudge0")->isChecked());
    QCOMPARE(w.find<QComboBox>("cmbLeagueReversal")->currentText(), QStringLiteral("無視"));
    QCOMPARE(w.find<QComboBox>("cmbLeagueReversal")->count(), 3);
    QVERIFY(w.find<QCheckBox>("chkIntCounts")->isChecked());
    QVERIFY(!w.button("btnOK")->isEnabled());
    QCOMPARE(w.button("btnRedo")->text(), QStringLiteral("やり直し(&X)"));
    QCOMPARE(w.button("btnCancel")->text(), QStringLiteral("キャンセル"));

    // The games boxes take digits only, the full-width ones of an input
    // method too.
    auto *games = w.find<QLineEdit>("txtLeagueGames");
    games->setFocus();
    QTest::keyClicks(games, QStringLiteral("1a-4."));
    QTest::sendKeyEvent(QTest::Click, games, Qt::Key_unknown, QStringLiteral("４"), {});
    QTest::sendKeyEvent(QTest::Click, games, Qt::Key_unknown, QStringLiteral("ｘ"), {});
    QCOMPARE(games->text(), QStringLiteral("14４"));
    QTest::keyClick(games, Qt::Key_Backspace);
    QCOMPARE(games->text(), QStringLiteral("14"));
    auto *intGames = w.find<QLineEdit>("txtIntGames");
    QTest::keyClicks(intGames, QStringLiteral("x3"));
    QCOMPARE(intGames->text(), QStringLiteral("3"));

    // Division draws follow the league's choice.
    auto *withReplay = w.find<QRadioButton>("optLeagueDraw0");
    // On the indicator: a radio button answers clicks on its caption only.
    QTest::mouseClick(withReplay, Qt::LeftButton, {}, QPoint(8, withReplay->height() / 2));
    QVERIFY(withReplay->isChecked());
    QVERIFY(w.find<QRadioButton>("optDivisionDraw0")->isChecked());
}

void FrmLeagueTest::leaguePageRefusals_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("games");
    QTest::addColumn<QString>("message");
    QTest::addColumn<bool>("focusOnName");
    QTest::newRow("empty") << QString() << QStringLiteral("144")
                           << QStringLiteral("リーグ名を入力してください") << true;
    QTest::newRow("blanks") << QStringLiteral(" \u3000 ") << QStringLiteral("144")
                            << QStringLiteral("リーグ名を入力してください") << true;
    QTest::newRow("no games") << QStringLiteral("セ") << QString()
                              << QStringLiteral("試合数を入力してください") << false;
    QTest::newRow("zero games") << QStringLiteral("セ") << QStringLiteral("000")
                                << QStringLiteral("試合数を入力してください") << false;
    QTest::newRow("huge") << QStringLiteral("セ") << QStringLiteral("99999")
                          << QStringLiteral("試合数が多すぎます") << false;
}

void FrmLeagueTest::leaguePageRefusals()
{
    QFETCH(QString, name);
    QFETCH(QString, games);
    QFETCH(QString, message);
    QFETCH(bool, focusOnName);

    Wizard w;
    w.league(name, games);
    QCOMPARE(w.prompts.messageTexts(), QStringList{message});
    QCOMPARE(w.prompts.messages()[0].icon, MessageIcon::Exclamation);
    QCOMPARE(w.page(), 0);
    QCOMPARE(w.dialog.focusWidget(), focusOnName
                                         ? static_cast<QWidget *>(w.find<QComboBox>("cmbLeague"))
                                         : w.find<QLineEdit>("txtLeagueGames"));
}

void FrmLeagueTest::twoLeaguesBuiltSavedAndReopened()
{
    Wizard w;
    // League 1: 125 games among six teams (25 per card), 対戦成績 as the
    // first tie-break.
    penarin::test::whenModalShown([](QWidget *modal) {
        auto *left = modal->findChild<QListWidget *>(QStringLiteral("LstDrg"));
        left->setCurrentRow(1, QItemSelectionModel::ClearAndSelect);
        QTest::mouseClick(modal->findChild<QPushButton *>(QStringLiteral("btnAdd")),
                          Qt::LeftButton);
        QTest::mouseClick(modal->findChild<QPushButton *>(QStringLiteral("btnOK")), Qt::LeftButton);
    });
    w.click("btnLeagueOptions");
    w.league(QStringLiteral(" セントラル "), QStringLiteral("125"));
    QCOMPARE(w.page(), 2);
    QCOMPARE(w.find<QLabel>("lblTeamLeague")->text(), QStringLiteral("セントラル"));
    QCOMPARE(w.listTexts("LstDivision"), QStringList{"(なし)"});

    // Enter adds; a name typed twice is refused; a removed one comes back.
    auto *txtTeam = w.find<QLineEdit>("txtTeam");
    txtTeam->setText(QStringLiteral("巨"));
    QTest::keyClick(txtTeam, Qt::Key_Return);
    w.teams({"神", "巨", "広", "中", "ヤ", "横"});
    QCOMPARE(w.prompts.messageTexts().last(), QStringLiteral("チーム名が重複しています"));
    QCOMPARE(w.prompts.messages().back().icon, MessageIcon::Information);
    w.removeTeam(1);
    w.teams({"神"});
    QCOMPARE(w.listTexts("LstTeam"), (QStringList{"巨", "広", "中", "ヤ", "横", "神"}));
    w.registerTeams({}, MessageAnswer::Yes);
    QCOMPARE(w.page(), 0);
    QCOMPARE(w.find<QComboBox>("cmbLeague")->currentText(), QString());

    // League 2: two divisions of three.
    w.league(QStringLiteral("セントラル"), QStringLiteral("125"));
    QCOMPARE(w.prompts.messageTexts().last(), QStringLiteral("リーグ名が重複しています"));
    QCOMPARE(w.prompts.messages().back().icon, MessageIcon::Information);
    w.league(QStringLiteral("パシフィック・リーグ"), QStringLiteral("125"), true);
    QCOMPARE(w.page(), 1);
    QCOMPARE(w.find<QGroupBox>("frmDivisionPage")->title(),
             QStringLiteral("[パシフィック・リ] 地区設定"));
    w.division(QStringLiteral("東"));
    w.click("btnDivisionNext");
    QCOMPARE(w.prompts.messageTexts().last(), QStringLiteral("2つ以上の地区を設定してください"));
    w.division(QStringLiteral(" 東"));
    QCOMPARE(w.prompts.messageTexts().last(), QStringLiteral("同一リーグで地区名が重複しています"));
    w.division(QStringLiteral("西"));
    QCOMPARE(w.find<QLabel>("lblDivisionCount")->text(), QStringLiteral("2"));
    w.click("btnDivisionNext");
    QCOMPARE(w.page(), 2);
    QCOMPARE(w.listTexts("LstDivision"), (QStringList{"東", "西"}));
    QCOMPARE(w.find<QListWidget>("LstDivision")->currentRow(), 0);

    w.teams({"日", "楽", "ロ"});
    w.prompts.queueAnswer(MessageAnswer::Cancel);
    w.click("btnTeamEntry");
    QCOMPARE(w.listTexts("LstTeam").size(), 3); // cancelled: still listed
    w.registerTeams({});
    QCOMPARE(w.find<QListWidget>("LstDivision")->currentRow(), 1);
    w.registerTeams({"西", "ソ", "オ"}, MessageAnswer::No);
    QCOMPARE(w.page(), 3);
    QVERIFY(w.find<QGroupBox>("frmInterleaguePage")->isEnabled());
    QVERIFY(w.button("btnOK")->isEnabled());

    w.find<QLineEdit>("txtIntGames")->setText(QStringLiteral("3"));
    w.prompts.queueAnswer(MessageAnswer::Yes);
    w.click("btnOK");
    QCOMPARE(w.prompts.messageTexts(),
             (QStringList{"チーム名が重複しています", "リーグ[ セントラル ]のチームを登録します",
                          "リーグを追加しますか", "リーグ名が重複しています",
                          "2つ以上の地区を設定してください", "同一リーグで地区名が重複しています",
                          "地区[ 東 ]のチームを登録します", "地区[ 東 ]のチームを登録します",
                          "地区[ 西 ]のチームを登録します", "リーグを追加しますか",
                          "対戦数を設定しますか"}));
    QCOMPARE(w.prompts.pendingAnswers(), 0);
    QCOMPARE(w.dialog.result(), int(QDialog::Accepted));
    QVERIFY(!w.dialog.cancelled());
    QVERIFY(w.dialog.wantsGamesCount());
    QCOMPARE(w.settings.Main, 2);
    QCOMPARE(w.settings.Sub, 0);

    Season &built = w.season;
    QCOMPARE(built.TeamCount(), 12);
    QCOMPARE(built.Header.LeagueCount, 2);
    QCOMPARE(built.Interleague.IntCounts, 1);
    QCOMPARE(QString::fromStdU16String(built.team(6).TeamName), QStringLiteral("神"));
    QCOMPARE(built.team(1).LeagueJudgment.Conditions, (Codes{2}));
    QCOMPARE(built.team(9).DivisionName, u"東");
    QCOMPARE(built.team(10).Division, 2);
    QCOMPARE(built.team(1).CardGames[2], 25);
    QCOMPARE(built.team(1).CardGames[7], 3);
    QCOMPARE(built.team(12).OfficialGames, 143);
    QVERIFY(built.CurrentFile.empty());

    // The same league built in code, with the same results in both.
    SeasonBuilder code;
    for (int i = 1; i <= 12; ++i) {
        code.addTeam(built.team(i).TeamName, i <= 6 ? 1 : 2, i <= 6 ? 0 : i <= 9 ? 1 : 2);
    }
    code.roundRobin(25, 3).intCounts(1).drawReplay(1, 1, 1);
    Season expected = code.build();
    for (int i = 1; i <= 12; ++i) {
        expected.team(i).LeagueJudgment = built.team(i).LeagueJudgment;
    }
    const int results[][5] = {{1, 2, 20, 4, 1}, {1, 3, 9, 3, 0},  {2, 3, 20, 5, 0},
                              {4, 5, 7, 6, 1},  {7, 8, 11, 4, 0}, {10, 11, 3, 9, 2},
                              {1, 7, 2, 1, 0},  {12, 6, 3, 0, 0}, {9, 4, 1, 1, 1}};
    QTemporaryDir dir;
    QVERIFY(SaveSeason(built, (dir.path() + QStringLiteral("/new.ptr")).toStdString(), testNow));
    Season reopened;
    QCOMPARE(LoadSeason(reopened, (dir.path() + QStringLiteral("/new.ptr")).toStdString(), testNow),
             LoadStatus::Loaded);
    for (Season *season : {&reopened, &expected}) {
        for (const auto &r : results) {
            TeamRecord &a = season->team(r[0]);
            TeamRecord &b = season->team(r[1]);
            a.CardWins[r[1]] = b.CardLosses[r[0]] = static_cast<std::int16_t>(r[2]);
            a.CardLosses[r[1]] = b.CardWins[r[0]] = static_cast<std::int16_t>(r[3]);
            a.CardDraws[r[1]] = b.CardDraws[r[0]] = static_cast<std::int16_t>(r[4]);
        }
    }
    for (const auto &[league, division] :
         {std::pair{1, -1}, std::pair{2, 0}, std::pair{2, 1}, std::pair{0, -1}}) {
        const QStringList rows = standings(reopened, league, division);
        QVERIFY(!rows.isEmpty());
        QCOMPARE(rows, standings(expected, league, division));
    }
}

void FrmLeagueTest::singleLeague()
{
    Wizard w;
    w.league(QStringLiteral("独立リーグ"), QStringLiteral("60"));
    w.teams({"甲"});
    w.click("btnTeamEntry");
    QCOMPARE(w.prompts.messageTexts(),
             QStringList{"1チームだけのリーグは作成できません\n2つ以上のチームを登録してください"});
    QCOMPARE(w.page(), 2);
    w.registerTeams({"乙", "丙", "丁"}, MessageAnswer::No);

    QCOMPARE(w.page(), 3);
    QVERIFY(!w.find<QGroupBox>("frmInterleaguePage")->isEnabled());
    QVERIFY(!w.find<QCheckBox>("chkIntCounts")->isChecked());
    QVERIFY(w.find<QLineEdit>("txtIntGames")->text().isEmpty());
    w.prompts.queueAnswer(MessageAnswer::No);
    w.click("btnOK");
    QVERIFY(!w.dialog.cancelled());
    QVERIFY(!w.dialog.wantsGamesCount());
    QCOMPARE(w.season.TeamCount(), 4);
    QCOMPARE(w.season.Interleague.IntCounts, 0);
    QCOMPARE(w.season.team(4).CardGames[1], 20);
    QCOMPARE(w.season.team(4).PlaysInterleague, StoredFalse);
}

void FrmLeagueTest::tooManyTeamsThenStartOverAndClose()
{
    Wizard w;
    w.wholeLeague(QStringLiteral("A"), QStringLiteral("120"), names(QStringLiteral("a"), 44), true);
    w.wholeLeague(QStringLiteral("B"), QStringLiteral("120"), names(QStringLiteral("b"), 45),
                  false);
    w.click("btnOK");
    QCOMPARE(w.prompts.messageTexts().last(), QStringLiteral("チーム数が多すぎます"));
    QCOMPARE(w.prompts.messages().back().icon, MessageIcon::Critical);
    QVERIFY(w.dialog.isVisible());
    QCOMPARE(w.season.TeamCount(), 0);

    // やり直し asks first, Enter keeping what is registered; then
    // everything registered is gone, names included.
    w.click("btnRedo");
    QCOMPARE(w.prompts.messageTexts().last(),
             QStringLiteral("入力した内容をすべて破棄してやり直しますか"));
    QCOMPARE(w.prompts.messages().back().defaultAnswer, MessageAnswer::No);
    QCOMPARE(w.page(), 3);
    QVERIFY(w.button("btnOK")->isEnabled());
    w.prompts.queueAnswer(MessageAnswer::Yes);
    w.click("btnRedo");
    QCOMPARE(w.page(), 0);
    QVERIFY(!w.button("btnOK")->isEnabled());
    QCOMPARE(w.find<QComboBox>("cmbLeague")->count(), 0);
    w.wholeLeague(QStringLiteral("A"), QStringLiteral("40"), {"a1", "a2"}, true);
    w.wholeLeague(QStringLiteral("B"), QStringLiteral("40"), {"b1", "b2"}, false);
    // An empty interleague box schedules cards of 0 games.
    w.prompts.queueAnswer(MessageAnswer::No);
    w.click("btnOK");
    QCOMPARE(w.season.TeamCount(), 4);
    QCOMPARE(w.season.team(1).CardGames[3], 0);
    QCOMPARE(w.season.team(1).PlaysInterleague, StoredFalse);
    QCOMPARE(w.season.Interleague.IntCounts, 1);

    // The close box cancels and leaves the season empty.
    Wizard closed;
    penarin::test::whenModalShown([](QWidget *modal) {
        QTest::mouseClick(modal->findChild<QPushButton *>(QStringLiteral("btnOK")), Qt::LeftButton);
    });
    closed.click("btnLeagueOptions");
    closed.wholeLeague(QStringLiteral("A"), QStringLiteral("40"), {"a1", "a2"}, false);
    QVERIFY(closed.dialog.close());
    QVERIFY(closed.dialog.cancelled());
    QCOMPARE(closed.season.TeamCount(), 0);
}

// The 2025 setup as a fan types it: Tab from the name to the games, the
// games in full-width digits, what they give shown before the matrix, a
// team taken off with "削除", and a third league page opened by mistake
// left without losing the two leagues.
void FrmLeagueTest::theRealSetupByKeyboard()
{
    Wizard w;
    auto typeFullWidth = [](QWidget *box, const QString &digits) {
        for (const QChar digit : digits) {
            QTest::sendKeyEvent(QTest::Click, box, Qt::Key_unknown, QString(digit), {});
        }
    };
    auto *name = w.find<QComboBox>("cmbLeague");
    QCOMPARE(w.dialog.focusWidget(), name);
    name->setEditText(QStringLiteral("セントラル"));
    QTest::keyClick(w.dialog.focusWidget(), Qt::Key_Tab);
    QCOMPARE(w.dialog.focusWidget(), w.find<QLineEdit>("txtLeagueGames"));
    typeFullWidth(w.dialog.focusWidget(), QStringLiteral("１２５"));
    QTest::keyClick(w.dialog.focusWidget(), Qt::Key_Tab);
    QCOMPARE(w.dialog.focusWidget(), w.find<QCheckBox>("chkDivision"));
    QVERIFY(!w.find<QCheckBox>("chkDivision")->isChecked());
    QVERIFY(!w.button("btnLeagueStop")->isVisible());
    w.click("btnLeagueNext");
    QCOMPARE(w.page(), 2);

    w.teams({"巨", "神", "広", "中", "ヤ", "横", "誤"});
    QCOMPARE(w.find<QLabel>("lblCardGames")->text(), QStringLiteral("1カード20試合"));
    w.find<QListWidget>("LstTeam")->setCurrentRow(6);
    w.click("btnTeamRemove");
    QCOMPARE(w.listTexts("LstTeam"), (QStringList{"巨", "神", "広", "中", "ヤ", "横"}));
    QCOMPARE(w.find<QLabel>("lblCardGames")->text(), QStringLiteral("1カード25試合"));
    w.registerTeams({}, MessageAnswer::Yes);
    QCOMPARE(w.prompts.messages().back().defaultAnswer, MessageAnswer::Yes);

    QVERIFY(w.button("btnLeagueStop")->isVisible());
    w.league(QStringLiteral("パシフィック"), QStringLiteral("125"));
    QVERIFY(!w.button("btnLeagueStop")->isVisible());
    // From the second league on, Enter answers No; a Yes by mistake opens
    // a page that can still be left.
    w.registerTeams({"ソ", "日", "ロ", "楽", "オ", "西"}, MessageAnswer::Yes);
    QCOMPARE(w.prompts.messages().back().text, QStringLiteral("リーグを追加しますか"));
    QCOMPARE(w.prompts.messages().back().defaultAnswer, MessageAnswer::No);
    QCOMPARE(w.page(), 0);
    w.click("btnLeagueStop");
    QCOMPARE(w.page(), 3);
    QVERIFY(w.button("btnOK")->isEnabled());
    QVERIFY(w.find<QGroupBox>("frmInterleaguePage")->isEnabled());

    auto *intGames = w.find<QLineEdit>("txtIntGames");
    QCOMPARE(w.dialog.focusWidget(), intGames);
    typeFullWidth(intGames, QStringLiteral("３"));
    QCOMPARE(w.find<QLabel>("lblIntGamesTotal")->text(), QStringLiteral("交流戦18試合"));
    w.prompts.queueAnswer(MessageAnswer::No);
    w.click("btnOK");
    QVERIFY(!w.dialog.cancelled());
    QCOMPARE(w.season.TeamCount(), 12);
    QCOMPARE(w.season.Header.LeagueCount, 2);
    QCOMPARE(w.season.team(1).CardGames[2], 25);
    QCOMPARE(w.season.team(1).CardGames[7], 3);
    QCOMPARE(w.season.team(12).OfficialGames, 143);
}

// Alt with a letter reaches one control: no two captions of a page (nor of
// the buttons under every page) share an access key.
void FrmLeagueTest::everyControlOfAPageHasItsOwnAccessKey()
{
    Wizard w;
    const auto keysOf = [](const QWidget *root) {
        QStringList keys;
        const QRegularExpression mnemonic(QStringLiteral("&([^&])"));
        for (const QWidget *widget : root->findChildren<QWidget *>()) {
            QString text;
            if (const auto *button = qobject_cast<const QAbstractButton *>(widget)) {
                text = button->text();
            } else if (const auto *label = qobject_cast<const QLabel *>(widget)) {
                text = label->buddy() ? label->text() : QString();
            }
            const QRegularExpressionMatch match = mnemonic.match(text);
            if (match.hasMatch()) {
                keys << match.captured(1).toUpper();
            }
        }
        return keys;
    };
    QStringList common;
    for (const char *name : {"btnRedo", "btnOK", "btnCancel"}) {
        const QRegularExpressionMatch match =
            QRegularExpression(QStringLiteral("&([^&])")).match(w.button(name)->text());
        if (match.hasMatch()) {
            common << match.captured(1).toUpper();
        }
    }
    auto *pages = w.find<QStackedWidget>("pages");
    for (int page = 0; page < pages->count(); ++page) {
        const QStringList keys = keysOf(pages->widget(page)) + common;
        QVERIFY(keys.size() >= 5);
        QCOMPARE(QSet<QString>(keys.begin(), keys.end()).size(), keys.size());
    }
}

QTEST_MAIN(FrmLeagueTest)
#include "frmleague_test.moc"
