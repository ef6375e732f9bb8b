#include "platform/recordingprompts.h"
#include "season/oledate.h"
#include "ui/charts/frmdate.h"

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>

using namespace penarin;

namespace {

// Mid-afternoon, so a preset that kept the time of day would show. A
// function, not a global: the date conversion must not run before main.
double today()
{
    return toOleDate({2026, 8, 2, 15, 30, 0});
}

struct Dialog
{
    RecordingPrompts prompts;
    frmDate dialog{prompts, today()};
    QLineEdit *txtDate = dialog.findChild<QLineEdit *>(QStringLiteral("txtDate"));
    QLineEdit *txtMemo = dialog.findChild<QLineEdit *>(QStringLiteral("txtMemo"));
    QPushButton *btnYes = dialog.findChild<QPushButton *>(QStringLiteral("btnYes"));
    QPushButton *btnNo = dialog.findChild<QPushButton *>(QStringLiteral("btnNo"));

    [[nodiscard]] bool found() const { return txtDate && txtMemo && btnYes && btnNo; }

    void fill(const QString &date, const QString &memo)
    {
        txtDate->setText(date);
        txtMemo->setText(memo);
    }
};

} // namespace

class FrmDateTest : public QObject
{
    Q_OBJECT

private slots:
    void startsWithTodayReadyToConfirm();
    void acceptsValidDateWithTrimmedMemo_data();
    void acceptsValidDateWithTrimmedMemo();
    void refusesInvalidDateAndStaysOpen_data();
    void refusesInvalidDateAndStaysOpen();
    void acceptsAfterCorrection();
    void enterInDateBoxAnswersYes();
    void noAndEscapeAndCloseReject();
};

void FrmDateTest::startsWithTodayReadyToConfirm()
{
    Dialog d;
    QVERIFY(d.found());
    d.dialog.show();
    QVERIFY(QTest::qWaitForWindowExposed(&d.dialog));

    QCOMPARE(d.dialog.windowTitle(), QStringLiteral("グラフデータを保存しますか"));
    QVERIFY(d.dialog.isModal());
    QCOMPARE(d.txtDate->text(), QStringLiteral("2026/08/02"));
    QCOMPARE(d.txtDate->selectedText(), QStringLiteral("2026/08/02"));
    QCOMPARE(d.dialog.focusWidget(), d.txtDate);
    QCOMPARE(d.txtMemo->text(), QStringLiteral("(メモ)"));
    QCOMPARE(d.btnYes->text(), QStringLiteral("はい(&Y)"));
    QCOMPARE(d.btnNo->text(), QStringLiteral("いいえ(&N)"));

    // The labels carry the access keys and lead to their boxes.
    QStringList labels;
    for (const QLabel *label : d.dialog.findChildren<QLabel *>()) {
        labels << label->text();
        if (label->text() == QStringLiteral("日付(&D):")) {
            QCOMPARE(label->buddy(), d.txtDate);
        } else if (label->text() == QStringLiteral("メモ(&M):")) {
            QCOMPARE(label->buddy(), d.txtMemo);
        }
    }
    QVERIFY(labels.contains(QStringLiteral("日付(&D):")));
    QVERIFY(labels.contains(QStringLiteral("メモ(&M):")));
}

void FrmDateTest::acceptsValidDateWithTrimmedMemo_data()
{
    QTest::addColumn<QString>("date");
    QTest::addColumn<QString>("memo");
    QTest::addColumn<double>("expectedDate");
    QTest::addColumn<QString>("expectedMemo");

    QTest::newRow("preset") << QStringLiteral("2026/08/02") << QStringLiteral("(メモ)")
                            << toOleDate({2026, 8, 2}) << QStringLiteral("(メモ)");
    QTest::newRow("kanji date, padded memo")
        << QStringLiteral(" 2026年7月15日 ") << QStringLiteral("\u3000 前半戦終了 \u3000")
        << toOleDate({2026, 7, 15}) << QStringLiteral("前半戦終了");
    QTest::newRow("blank memo") << QStringLiteral("2026-9-30") << QStringLiteral(" \u3000 ")
                                << toOleDate({2026, 9, 30}) << QStringLiteral("(メモ)");
    QTest::newRow("empty memo") << QStringLiteral("2024/2/29") << QString()
                                << toOleDate({2024, 2, 29}) << QStringLiteral("(メモ)");
}

void FrmDateTest::acceptsValidDateWithTrimmedMemo()
{
    QFETCH(QString, date);
    QFETCH(QString, memo);
    QFETCH(double, expectedDate);
    QFETCH(QString, expectedMemo);

    Dialog d;
    QVERIFY(d.found());
    d.dialog.show();
    d.fill(date, memo);
    QTest::mouseClick(d.btnYes, Qt::LeftButton);

    QVERIFY(d.prompts.calls().empty());
    QCOMPARE(d.dialog.result(), int(QDialog::Accepted));
    QVERIFY(!d.dialog.isVisible());
    QCOMPARE(d.dialog.snapshotDate(), expectedDate);
    QCOMPARE(QString::fromStdU16String(d.dialog.snapshotMemo()), expectedMemo);
}

void FrmDateTest::refusesInvalidDateAndStaysOpen_data()
{
    QTest::addColumn<QString>("date");
    QTest::newRow("no such day") << QStringLiteral("2026/02/30");
    QTest::newRow("empty") << QString();
    QTest::newRow("garbage") << QStringLiteral("あした");
    QTest::newRow("two-digit year") << QStringLiteral("26/8/2");
}

void FrmDateTest::refusesInvalidDateAndStaysOpen()
{
    QFETCH(QString, date);

    Dialog d;
    QVERIFY(d.found());
    d.dialog.show();
    QVERIFY(QTest::qWaitForWindowExposed(&d.dialog));
    d.fill(date, QStringLiteral("メモ"));
    QTest::mouseClick(d.btnYes, Qt::LeftButton);

    const std::vector<RecordingPrompts::Call> messages = d.prompts.messages();
    QCOMPARE(messages.size(), std::size_t{1});
    QCOMPARE(messages[0].text, QStringLiteral("日付が正しくありません"));
    QCOMPARE(messages[0].icon, MessageIcon::Exclamation);
    QCOMPARE(messages[0].buttons, MessageButtons::Ok);

    QVERIFY(d.dialog.isVisible());
    QCOMPARE(d.dialog.result(), int(QDialog::Rejected));
    // The click took the focus to the button; the user must land back in the
    // date box with the wrong text selected, ready to be retyped.
    QCOMPARE(d.dialog.focusWidget(), d.txtDate);
    QCOMPARE(d.txtDate->text(), date);
    QCOMPARE(d.txtDate->selectedText(), date);
    QCOMPARE(d.txtMemo->text(), QStringLiteral("メモ"));
}

void FrmDateTest::acceptsAfterCorrection()
{
    Dialog d;
    QVERIFY(d.found());
    d.dialog.show();
    d.fill(QStringLiteral("2026/13/1"), QStringLiteral(" 最終戦 "));
    QTest::mouseClick(d.btnYes, Qt::LeftButton);
    QVERIFY(d.dialog.isVisible());

    d.txtDate->setText(QStringLiteral("2026/10/1"));
    QTest::mouseClick(d.btnYes, Qt::LeftButton);
    QCOMPARE(d.prompts.messages().size(), std::size_t{1});
    QCOMPARE(d.dialog.result(), int(QDialog::Accepted));
    QCOMPARE(d.dialog.snapshotDate(), toOleDate({2026, 10, 1}));
    QCOMPARE(QString::fromStdU16String(d.dialog.snapshotMemo()), QStringLiteral("最終戦"));
}

void FrmDateTest::enterInDateBoxAnswersYes()
{
    Dialog d;
    QVERIFY(d.found());
    d.dialog.show();
    QVERIFY(QTest::qWaitForWindowExposed(&d.dialog));
    d.txtDate->setFocus();
    QTest::keyClick(d.txtDate, Qt::Key_Return);
    QCOMPARE(d.dialog.result(), int(QDialog::Accepted));
    QCOMPARE(d.dialog.snapshotDate(), toOleDate({2026, 8, 2}));
    QCOMPARE(QString::fromStdU16String(d.dialog.snapshotMemo()), QStringLiteral("(メモ)"));
}

void FrmDateTest::noAndEscapeAndCloseReject()
{
    {
        Dialog d;
        QVERIFY(d.found());
        d.dialog.show();
        // Even an invalid date is no reason to bother the user who says no.
        d.fill(QStringLiteral("xx"), QStringLiteral("メモ"));
        QTest::mouseClick(d.btnNo, Qt::LeftButton);
        QCOMPARE(d.dialog.result(), int(QDialog::Rejected));
        QVERIFY(!d.dialog.isVisible());
        QVERIFY(d.prompts.calls().empty());
    }
    {
        Dialog d;
        QVERIFY(d.found());
        d.dialog.show();
        QVERIFY(QTest::qWaitForWindowExposed(&d.dialog));
        QTest::keyClick(&d.dialog, Qt::Key_Escape);
        QVERIFY(!d.dialog.isVisible());
        QCOMPARE(d.dialog.result(), int(QDialog::Rejected));
    }
    {
        Dialog d;
        QVERIFY(d.found());
        d.dialog.show();
        QVERIFY(d.dialog.close());
        QCOMPARE(d.dialog.result(), int(QDialog::Rejected));
        QVERIFY(d.prompts.calls().empty());
    }
}

QTEST_MAIN(FrmDateTest)
#include "frmdate_test.moc"
