#include "platform/recordingprompts.h"
#include "support/seasonbuilder.h"
#include "ui/dialogs/frmwa.h"
#include "ui/modalhelper.h"

#include <QComboBox>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QTest>

using namespace penarin;
using penarin::test::SeasonBuilder;

namespace {

using Codes = std::vector<std::int16_t>;

struct Dialog
{
    Dialog(Season &season, int judgment, int mode, Codes list, int setIndex, int kind)
        : dialog(season, prompts, judgment, mode, std::move(list), setIndex, kind)
    {
        dialog.show();
    }

    template <class T> T *find(const char *name)
    {
        T *child = dialog.findChild<T *>(QLatin1String(name));
        if (!child) {
            qFatal("no %s", name);
        }
        return child;
    }
    QListWidget *left() { return find<QListWidget>("LstDrg"); }
    QListWidget *right() { return find<QListWidget>("LstDrp"); }
    QPushButton *button(const char *name) { return find<QPushButton>(name); }

    void pickLeft(int row) { left()->setCurrentRow(row, QItemSelectionModel::ClearAndSelect); }
    void pickRight(int row) { right()->setCurrentRow(row, QItemSelectionModel::ClearAndSelect); }
    void doubleClick(QListWidget *list, int row)
    {
        const QRect rect = list->visualItemRect(list->item(row));
        QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, rect.center());
        QTest::mouseDClick(list->viewport(), Qt::LeftButton, {}, rect.center());
    }

    QStringList rightTexts()
    {
        QStringList texts;
        for (int row = 0; row < right()->count(); ++row) {
            texts << right()->item(row)->text();
        }
        return texts;
    }

    RecordingPrompts prompts;
    frmWA dialog;
};

Season fourTeams()
{
    return SeasonBuilder::oneLeague({u"鷹", u"燕", u"鯉", u"虎"}, 25).build();
}

} // namespace

class FrmWATest : public QObject
{
    Q_OBJECT

private slots:
    void conditionListIsEdited();
    void emptyListAndCancel();
    void rankSetsAreOrderedAndApplied();
    void rankButtonOpensTheChosenSetOnTop();
};

void FrmWATest::conditionListIsEdited()
{
    Season season = fourTeams();
    Dialog d(season, 1, frmWA::ConditionMode, {2, 9, 0}, 0, frmWA::DivisionKind);

    QCOMPARE(d.dialog.windowTitle(), QStringLiteral("地区優勝判定-判定オプション"));
    QCOMPARE(d.find<QLabel>("Label1")->text(), QStringLiteral("条件を選択(&L):"));
    QCOMPARE(d.find<QLabel>("Label2")->text(), QStringLiteral("条件と順番(&S):"));
    QCOMPARE(d.button("btnAdd")->text(), QStringLiteral("追加(&A)>>"));
    QCOMPARE(d.button("btnDel")->text(), QStringLiteral("<<削除(&D)"));
    QCOMPARE(d.button("btnOK")->text(), QStringLiteral("&OK"));
    QCOMPARE(d.button("btnCan")->text(), QStringLiteral("キャンセル"));
    QVERIFY(d.button("btnZrnk")->isVisible());
    QVERIFY(d.button("btnZrnk")->isEnabled());
    QVERIFY(!d.find<QComboBox>("cmbUser")->isVisible());
    QCOMPARE(d.left()->count(), 10);
    QCOMPARE(d.left()->item(0)->text(), QStringLiteral("勝率")); // most wins decides
    QCOMPARE(d.left()->item(9)->text(), QStringLiteral("前年度順位(設定3)"));
    QCOMPARE(d.rightTexts(), (QStringList{"対戦成績", "前年度順位(設定2)"}));

    // A second 対戦成績 only selects the listed one.
    d.pickLeft(1);
    QTest::mouseClick(d.button("btnAdd"), Qt::LeftButton);
    QCOMPARE(d.right()->count(), 2);
    QCOMPARE(d.right()->currentRow(), 0);

    // A second previous-year rank is refused.
    d.pickLeft(6);
    QTest::mouseClick(d.button("btnAdd"), Qt::LeftButton);
    QCOMPARE(d.prompts.messageTexts(), QStringList{"前年度順位は複数設定できません"});
    QCOMPARE(d.prompts.messages()[0].icon, MessageIcon::Exclamation);
    QCOMPARE(d.right()->count(), 2);

    // Delete removes the selected entry; then the grid order is allowed.
    d.pickRight(1);
    QTest::keyClick(d.right(), Qt::Key_Delete);
    QCOMPARE(d.rightTexts(), QStringList{"対戦成績"});
    d.doubleClick(d.left(), 6);
    d.pickLeft(0);
    QTest::keyClick(d.left(), Qt::Key_Return);
    QCOMPARE(d.rightTexts(), (QStringList{"対戦成績", "前年度順位(対戦表)", "勝率"}));
    QCOMPARE(d.right()->currentRow(), 2);
    d.doubleClick(d.right(), 0);
    d.pickRight(0);
    QTest::mouseClick(d.button("btnDel"), Qt::LeftButton);
    QCOMPARE(d.rightTexts(), QStringList{"勝率"});
    d.pickLeft(4);
    QTest::mouseClick(d.button("btnAdd"), Qt::LeftButton);

    QVERIFY(d.dialog.isVisible()); // Enter went to the list, not to OK
    QTest::mouseClick(d.button("btnOK"), Qt::LeftButton);
    QCOMPARE(d.dialog.result(), int(QDialog::Accepted));
    QCOMPARE(d.dialog.list(), (Codes{1, 5}));
    QVERIFY(d.dialog.edited());
    QCOMPARE(season.team(1).DivisionJudgment.Conditions, Codes{0}); // the caller stores it
    QCOMPARE(d.prompts.messages().size(), std::size_t{1});
}

void FrmWATest::emptyListAndCancel()
{
    Season season = fourTeams();
    Codes returned;
    {
        Dialog d(season, 0, frmWA::ConditionMode, {3, 0}, -1, frmWA::InterleagueKind);
        QCOMPARE(d.dialog.windowTitle(), QStringLiteral("交流戦優勝判定-判定オプション"));
        QCOMPARE(d.left()->item(0)->text(), QStringLiteral("勝数"));
        QVERIFY(!d.button("btnZrnk")->isEnabled()); // opened from the wizard
        d.pickRight(0);
        QTest::mouseClick(d.button("btnDel"), Qt::LeftButton);
        QTest::mouseClick(d.button("btnOK"), Qt::LeftButton);
        returned = d.dialog.list();
        QCOMPARE(returned, Codes{0});
    }
    {
        Dialog d(season, 0, frmWA::ConditionMode, returned, 0, frmWA::LeagueKind);
        QCOMPARE(d.dialog.windowTitle(), QStringLiteral("リーグ優勝判定-判定オプション"));
        QCOMPARE(d.right()->count(), 0);
        d.pickLeft(2);
        QTest::mouseClick(d.button("btnAdd"), Qt::LeftButton);
        QVERIFY(d.dialog.close()); // the close box cancels
        QCOMPARE(d.dialog.list(), Codes{0});
    }
    Dialog d(season, 0, frmWA::ConditionMode, {7, 2, 0}, 0, frmWA::LeagueKind);
    d.pickRight(0);
    QTest::mouseClick(d.button("btnDel"), Qt::LeftButton);
    QTest::mouseClick(d.button("btnCan"), Qt::LeftButton);
    QCOMPARE(d.dialog.list(), (Codes{7, 2, 0}));
    QVERIFY(!d.dialog.edited());
}

void FrmWATest::rankSetsAreOrderedAndApplied()
{
    Season season = fourTeams();
    // Set 2 is damaged: team 3 holds rank 0, so the listing stops there.
    const std::int16_t ranks[] = {2, 1, 0, 3};
    for (int i = 1; i <= 4; ++i) {
        season.team(i).UserRankB = ranks[i - 1];
    }
    Dialog d(season, 0, frmWA::PreviousYearMode, {}, 1, frmWA::LeagueKind);

    QCOMPARE(d.dialog.windowTitle(), QStringLiteral("前年度順位の設定"));
    QCOMPARE(d.find<QLabel>("Label1")->text(), QStringLiteral("対戦表の順序(&L):"));
    QCOMPARE(d.find<QLabel>("Label2")->text(), QStringLiteral("設定2の順序(&S):"));
    QCOMPARE(d.find<QLabel>("lbluser")->text(), QStringLiteral("前年度順位(&R):"));
    QCOMPARE(d.button("btnAdd")->text(), QStringLiteral("上へ(&U)"));
    QCOMPARE(d.button("btnDel")->text(), QStringLiteral("下へ(&D)"));
    QCOMPARE(d.button("btnOK")->text(), QStringLiteral("適用(&A)"));
    QCOMPARE(d.button("btnCan")->text(), QStringLiteral("閉じる"));
    QVERIFY(!d.button("btnZrnk")->isVisible());
    auto *cmbUser = d.find<QComboBox>("cmbUser");
    QVERIFY(cmbUser->isVisible());
    QCOMPARE(cmbUser->count(), 3);
    QCOMPARE(cmbUser->currentText(), QStringLiteral("設定2"));
    QCOMPARE(d.left()->count(), 4);
    QCOMPARE(d.rightTexts(), (QStringList{"燕", "鷹"}));

    // An incomplete order is not applied, and says nothing more.
    d.prompts.queueAnswer(MessageAnswer::Ok);
    QTest::mouseClick(d.button("btnOK"), Qt::LeftButton);
    QCOMPARE(d.prompts.messageTexts(), QStringList{"[設定2]を登録します"});
    QCOMPARE(d.prompts.messages()[0].buttons, MessageButtons::OkCancel);
    QCOMPARE(season.team(3).UserRankB, 0);
    QVERIFY(!d.dialog.edited());

    d.doubleClick(d.left(), 2); // 鯉 appended
    d.doubleClick(d.left(), 0); // 鷹 already listed: selected
    QCOMPARE(d.right()->currentRow(), 1);
    d.doubleClick(d.left(), 3);
    QCOMPARE(d.rightTexts(), (QStringList{"燕", "鷹", "鯉", "虎"}));
    // 虎 two up, then 燕 down past the end stays last.
    d.pickRight(3);
    QTest::mouseClick(d.button("btnAdd"), Qt::LeftButton);
    QTest::mouseClick(d.button("btnAdd"), Qt::LeftButton);
    QCOMPARE(d.right()->currentRow(), 1);
    d.pickRight(0);
    QTest::mouseClick(d.button("btnAdd"), Qt::LeftButton); // already first
    for (int i = 0; i < 4; ++i) {
        QTest::mouseClick(d.button("btnDel"), Qt::LeftButton);
    }
    QCOMPARE(d.rightTexts(), (QStringList{"虎", "鷹", "鯉", "燕"}));

    d.prompts.queueAnswer(MessageAnswer::Ok);
    QTest::mouseClick(d.button("btnOK"), Qt::LeftButton);
    const std::int16_t applied[] = {2, 4, 3, 1};
    for (int i = 1; i <= 4; ++i) {
        QCOMPARE(season.team(i).UserRankB, applied[i - 1]);
    }
    QVERIFY(d.dialog.edited());
    QVERIFY(d.dialog.isVisible()); // another set may follow

    // Set 1 shows its own order; Cancel on its apply changes nothing.
    cmbUser->setCurrentIndex(0);
    QCOMPARE(d.find<QLabel>("Label2")->text(), QStringLiteral("設定1の順序(&S):"));
    QCOMPARE(d.rightTexts(), (QStringList{"鷹", "燕", "鯉", "虎"}));
    d.pickRight(1);
    QTest::mouseClick(d.button("btnAdd"), Qt::LeftButton);
    d.prompts.queueAnswer(MessageAnswer::Cancel);
    QTest::mouseClick(d.button("btnOK"), Qt::LeftButton);
    QCOMPARE(d.prompts.messageTexts().last(), QStringLiteral("[設定1]を登録します"));
    QCOMPARE(season.team(1).UserRankA, 1);
    cmbUser->setCurrentIndex(1);
    QCOMPARE(d.rightTexts(), (QStringList{"虎", "鷹", "鯉", "燕"}));

    QTest::mouseClick(d.button("btnCan"), Qt::LeftButton);
    QVERIFY(!d.dialog.isVisible());
    QCOMPARE(d.prompts.pendingAnswers(), 0);
}

void FrmWATest::rankButtonOpensTheChosenSetOnTop()
{
    Season season = fourTeams();
    Dialog d(season, 0, frmWA::ConditionMode, {1, 0}, 0, frmWA::LeagueKind);
    QString title;
    QString set;
    QString label;
    const auto readAndClose = [&](QWidget *modal) {
        title = modal->windowTitle();
        set = modal->findChild<QComboBox *>(QStringLiteral("cmbUser"))->currentText();
        label = modal->findChild<QLabel *>(QStringLiteral("Label2"))->text();
        QTest::mouseClick(modal->findChild<QPushButton *>(QStringLiteral("btnCan")),
                          Qt::LeftButton);
    };

    d.pickLeft(8); // 前年度順位(設定2)
    penarin::test::whenModalShown(readAndClose);
    QTest::mouseClick(d.button("btnZrnk"), Qt::LeftButton);
    QCOMPARE(title, QStringLiteral("前年度順位の設定"));
    QCOMPARE(set, QStringLiteral("設定2"));
    QCOMPARE(label, QStringLiteral("設定2の順序(&S):"));

    d.pickLeft(3); // not a rank set: the first set
    penarin::test::whenModalShown(readAndClose);
    QTest::mouseClick(d.button("btnZrnk"), Qt::LeftButton);
    QCOMPARE(set, QStringLiteral("設定1"));
    QVERIFY(d.dialog.isVisible());
    QCOMPARE(d.dialog.list(), (Codes{1, 0}));
}

QTEST_MAIN(FrmWATest)
#include "frmwa_test.moc"
