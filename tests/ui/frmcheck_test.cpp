#include "platform/recordingprompts.h"
#include "season/settings.h"
#include "support/chartseason.h"
#include "ui/charts/frmcheck.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QTabWidget>
#include <QTest>

using namespace penarin;

namespace {

struct Dialog
{
    Season season = test::chartSeason();
    Settings settings = [] {
        Settings s;
        s.NameLen = 2;
        return s;
    }();
    RecordingPrompts prompts;
    PublishedStandings published = test::chartStandings(season);
    frmCheck dialog{season, &published, settings, prompts};

    template <class T> T *child(const char *name)
    {
        T *found = dialog.findChild<T *>(QLatin1String(name));
        if (!found) {
            qWarning("no %s", name);
        }
        return found;
    }
    void click(const char *name) { QTest::mouseClick(child<QPushButton>(name), Qt::LeftButton); }

    QList<bool> selection(const char *list)
    {
        QList<bool> selected;
        auto *widget = child<QListWidget>(list);
        for (int i = 0; i < widget->count(); ++i) {
            selected << widget->item(i)->isSelected();
        }
        return selected;
    }
};

} // namespace

class FrmCheckTest : public QObject
{
    Q_OBJECT

private slots:
    void snapshotsAndTeamsAppliedOnOk();
    void deletingEverythingLeavesNoSnapshot();
    void lineSettingsStayWhenCancelled();
};

void FrmCheckTest::snapshotsAndTeamsAppliedOnOk()
{
    Dialog d;
    d.dialog.show();
    QVERIFY(QTest::qWaitForWindowExposed(&d.dialog));
    QCOMPARE(d.dialog.windowTitle(), QStringLiteral("グラフデータ"));
    auto *tabs = d.child<QTabWidget>("tabCheck");
    QCOMPARE(tabs->currentIndex(), 0);
    QCOMPARE(tabs->tabText(0), QStringLiteral("データ"));
    QCOMPARE(tabs->tabText(2), QStringLiteral("グラフ"));

    auto *lstData = d.child<QListWidget>("lstData");
    QCOMPARE(lstData->item(0)->text(), QStringLiteral("2026/03/28  開幕"));
    QCOMPARE(d.selection("lstData"), (QList<bool>{true, false, true, true}));
    d.click("btnDataSelect"); // the first press selects all, the second none
    QCOMPARE(d.selection("lstData"), (QList<bool>{true, true, true, true}));
    d.click("btnDataSelect");
    QCOMPARE(d.selection("lstData"), (QList<bool>{false, false, false, false}));

    d.child<QLineEdit>("txtSearch")->setText(QStringLiteral("  *交流戦* "));
    d.click("btnSearch");
    QCOMPARE(d.selection("lstData"), (QList<bool>{false, true, true, false}));
    // Enter in the search box searches and leaves the dialog open.
    d.child<QLineEdit>("txtSearch")->setText(QStringLiteral("開幕"));
    d.child<QLineEdit>("txtSearch")->setFocus();
    QTest::keyClick(d.child<QLineEdit>("txtSearch"), Qt::Key_Return);
    QVERIFY(d.dialog.isVisible());
    QCOMPARE(d.selection("lstData"), (QList<bool>{true, false, false, false}));
    // The last line of every month, the newest included.
    d.click("btnMonthly");
    QCOMPARE(d.selection("lstData"), (QList<bool>{true, false, true, true}));

    lstData->setCurrentRow(2, QItemSelectionModel::NoUpdate);
    d.click("btnDelete");
    QCOMPARE(lstData->item(2)->text(), QString());
    QCOMPARE(d.selection("lstData"), (QList<bool>{true, false, false, true}));

    tabs->setCurrentIndex(1);
    auto *lstTeam = d.child<QListWidget>("lstTeam");
    QCOMPARE(lstTeam->count(), 3);
    QCOMPARE(lstTeam->item(1)->text(), QStringLiteral("Cチーム")); // standings order
    lstTeam->item(2)->setSelected(false);
    QCOMPARE(d.child<QLineEdit>("txtNameLen")->text(), QStringLiteral("2"));
    QTest::keyClicks(d.child<QLineEdit>("txtNameLen"), QStringLiteral("0"));
    d.child<QLineEdit>("txtNameLen")->clear();
    QTest::keyClicks(d.child<QLineEdit>("txtNameLen"), QStringLiteral("04"));
    QCOMPARE(d.child<QLineEdit>("txtNameLen")->text(), QStringLiteral("4")); // digits 1 to 9 only

    d.click("btnOK");
    QCOMPARE(d.dialog.result(), int(QDialog::Accepted));
    QCOMPARE(d.season.SnapshotCount(), 3);
    QCOMPARE(d.season.Snapshots[3].Memo, std::u16string(u"(メモ)"));
    QCOMPARE(d.season.Snapshots[2].Shown, StoredFalse);
    QCOMPARE(d.season.Snapshots[3].Shown, StoredTrue);
    QCOMPARE(d.season.TeamSnapshots[2].Surpluses, (OneBased<std::int16_t>{-2, -4, -8}));
    QCOMPARE(d.season.TeamShown[2], StoredFalse); // the third line is team B
    QCOMPARE(d.season.TeamShown[3], StoredTrue);
    QCOMPARE(int(d.settings.NameLen), 4);
    QVERIFY(d.dialog.edited());
}

void FrmCheckTest::deletingEverythingLeavesNoSnapshot()
{
    Dialog d;
    d.dialog.show();
    auto *lstData = d.child<QListWidget>("lstData");
    for (int row = 0; row < lstData->count(); ++row) {
        lstData->setCurrentRow(row, QItemSelectionModel::NoUpdate);
        d.click("btnDelete");
    }
    d.click("btnMonthly"); // deleted lines are never selected again
    QCOMPARE(d.selection("lstData"), (QList<bool>{false, false, false, false}));
    d.child<QLineEdit>("txtNameLen")->clear(); // an empty box keeps the setting
    d.click("btnOK");
    QCOMPARE(d.season.SnapshotCount(), 0);
    QVERIFY(d.season.TeamSnapshots[1].Pcts.empty());
    QCOMPARE(int(d.settings.NameLen), 2);
}

void FrmCheckTest::lineSettingsStayWhenCancelled()
{
    Dialog d;
    d.dialog.show();
    d.child<QTabWidget>("tabCheck")->setCurrentIndex(2);
    d.season.team(3).LineStyle = 3;
    d.season.team(3).LineWidth = 5;
    d.season.team(3).ShowLabels = 1;
    auto *cmbTeam = d.child<QComboBox>("cmbTeam");
    cmbTeam->setCurrentIndex(1); // Cチーム, second in the standings
    QCOMPARE(d.child<QListWidget>("lstStyle")->currentRow(), 3);
    QCOMPARE(d.child<QLineEdit>("txtWidth")->text(), QStringLiteral("5"));
    QVERIFY(d.child<QCheckBox>("chkLabels")->isChecked());

    d.prompts.queueColor(std::nullopt); // cancelled: the sample stays
    d.prompts.queueColor(QColor(0x11, 0x22, 0x33));
    d.click("btnColor");
    d.click("btnColor");
    QCOMPARE(d.prompts.calls().at(0).initialColor, QColor(0x80, 0x80, 0x80));
    d.child<QListWidget>("lstStyle")->setCurrentRow(4);
    d.child<QLineEdit>("txtWidth")->setText(QStringLiteral("0"));
    d.click("btnApply");
    QCOMPARE(d.prompts.messageTexts(), QStringList{QStringLiteral("エラー")});
    QCOMPARE(d.prompts.messages().at(0).icon, MessageIcon::Information);
    QCOMPARE(d.season.team(3).LineStyle, std::int16_t{3});
    QVERIFY(!d.dialog.edited());

    d.child<QLineEdit>("txtWidth")->setText(QStringLiteral("7"));
    d.child<QCheckBox>("chkLabels")->setChecked(false);
    d.click("btnApply");
    d.click("btnCancel");
    QCOMPARE(d.dialog.result(), int(QDialog::Rejected));
    const TeamRecord &team = d.season.team(3);
    QCOMPARE(team.LineColor, 0x332211);
    QCOMPARE(team.LineStyle, std::int16_t{4});
    QCOMPARE(team.LineWidth, std::int16_t{7});
    QCOMPARE(team.ShowLabels, std::int16_t{0});
    QVERIFY(d.dialog.edited());
    // Cancelling leaves the snapshots and the settings alone.
    QCOMPARE(d.season.SnapshotCount(), 4);
    QCOMPARE(d.season.Snapshots[2].Shown, StoredFalse);

    // Another team loads its own settings.
    cmbTeam->setCurrentIndex(0);
    QCOMPARE(d.child<QLineEdit>("txtWidth")->text(), QStringLiteral("1"));
}

QTEST_MAIN(FrmCheckTest)
#include "frmcheck_test.moc"
