#include "modalhelper.h"
#include "platform/flexgrid.h"
#include "platform/recordingprompts.h"
#include "season/settings.h"
#include "ui/dialogs/dlgset.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLibraryInfo>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollBar>
#include <QSignalSpy>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QTranslator>
#include <QtTest>

#include <memory>

using namespace penarin;

namespace {

// The dialog over stand-ins for the main window's two grids and cell editor.
struct Dialog
{
    explicit Dialog(const Settings &initial = Settings{}) : settings(initial)
    {
        for (QWidget *widget : {static_cast<QWidget *>(&standings), static_cast<QWidget *>(&cards),
                                static_cast<QWidget *>(&editor)}) {
            setPointSize(widget, 9);
        }
        dialog =
            std::make_unique<DlgSet>(settings, prompts, FontPreview{&standings, &cards, &editor});
    }

    static void setPointSize(QWidget *widget, int size)
    {
        QFont font = widget->font();
        font.setPointSize(size);
        widget->setFont(font);
    }

    template <typename T> T *find(const char *name) const
    {
        T *child = dialog->findChild<T *>(QString::fromLatin1(name));
        if (child == nullptr) {
            qWarning("no child %s", name);
        }
        return child;
    }
    QCheckBox *box(const char *name) const { return find<QCheckBox>(name); }
    QRadioButton *option(const char *name) const { return find<QRadioButton>(name); }
    QPushButton *button(const char *name) const { return find<QPushButton>(name); }
    QLineEdit *digits() const { return find<QLineEdit>("txtZero"); }
    QTabWidget *tabs() const { return find<QTabWidget>("OpTab"); }
    QScrollBar *fontBar(int entry) const
    {
        return entry == 0 ? find<QScrollBar>("SclFnt0") : find<QScrollBar>("SclFnt1");
    }
    QString fontLabel(int entry) const
    {
        return find<QLabel>(entry == 0 ? "LblFnt0" : "LblFnt1")->text();
    }

    void showActive()
    {
        dialog->show();
        dialog->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(dialog.get()));
    }

    // Near the left edge: a box's clickable area is its mark and caption,
    // not the whole width the layout gives it.
    void click(const char *name)
    {
        QAbstractButton *button = find<QAbstractButton>(name);
        QTest::mouseClick(button, Qt::LeftButton, {}, QPoint(6, button->height() / 2));
    }

    Settings settings;
    RecordingPrompts prompts;
    FlexGrid standings;
    FlexGrid cards;
    QLineEdit editor;
    std::unique_ptr<DlgSet> dialog;
};

// Every option the dialog edits away from its default, Tabs left alone.
Settings everyOptionChanged()
{
    Settings s;
    s.Pct = 5;
    s.Magic = 0;
    s.Main = 1;
    s.Sub = 1;
    s.Game = 2;
    s.FontSizeA = 10;
    s.FontSizeB = 13;
    s.Zero = 1;
    s.Cells = 1;
    s.Enter = 1;
    s.DblClick = 1;
    s.ToolTip = 1;
    s.Selection = 0;
    s.MsgBox = 1;
    s.Simulation = 1;
    return s;
}

} // namespace

class DlgSetTest : public QObject
{
    Q_OBJECT

private slots:
    void showsSettingsWithOptionAndInputRules();
    void digitsBoxTakesDigitsOnly();
    void refusesDigitsAndStaysOpen_data();
    void refusesDigitsAndStaysOpen();
    void everyOptionReachesSettingsAndTheFile();
    void closingUndoesUnappliedFontPreview_data();
    void closingUndoesUnappliedFontPreview();
    void accessKeysActOnTheShownPageOnly();
    void reopensOnTheTabLastShown();
    void screenshots();
};

void DlgSetTest::showsSettingsWithOptionAndInputRules()
{
    Settings initial;
    initial.Main = 2;
    initial.Sub = 1;
    initial.Enter = 0;
    initial.DblClick = 1;
    initial.Pct = 4;
    initial.Game = 1;
    initial.FontSizeA = 11;
    initial.FontSizeB = 47;
    Dialog d(initial);
    d.showActive();

    QCOMPARE(d.dialog->windowTitle(), QStringLiteral("設定"));
    QVERIFY(d.dialog->isModal());
    QCOMPARE(d.tabs()->tabText(0), QStringLiteral("順位表"));
    QCOMPARE(d.tabs()->tabText(1), QStringLiteral("対戦成績"));
    QCOMPARE(d.tabs()->currentIndex(), 0);
    QCOMPARE(d.button("OKButton")->text(), QStringLiteral("&OK"));
    QCOMPARE(d.button("CancelButton")->text(), QStringLiteral("キャンセル"));
    QCOMPARE(d.button("btnSet")->text(), QStringLiteral("適用(&A)"));
    QCOMPARE(d.digits()->text(), QStringLiteral("4"));
    QCOMPARE(d.fontBar(0)->value(), 11);
    QCOMPARE(d.fontLabel(0), QStringLiteral("11"));
    QCOMPARE(d.fontBar(1)->value(), 47);
    QCOMPARE(d.fontLabel(1), QStringLiteral("47"));
    const auto *games = d.find<QComboBox>("cmbGame");
    QCOMPARE(games->count(), 3);
    QCOMPARE(games->itemText(0), QStringLiteral("比較しない"));
    QCOMPARE(games->itemText(1), QStringLiteral("試合数の少ない方が上"));
    QCOMPARE(games->itemText(2), QStringLiteral("試合数の多い方が上"));
    QCOMPARE(games->currentIndex(), 1);
    // Showing the values previews nothing.
    QCOMPARE(d.standings.font().pointSize(), 9);

    // Ordering by the championship judgment: the tie-break box is off duty
    // but keeps its tick and caption.
    QCheckBox *tieBreak = d.box("chkRank");
    QVERIFY(d.option("optrnk2")->isChecked());
    QVERIFY(!tieBreak->isEnabled());
    QVERIFY(tieBreak->isChecked());
    QCOMPARE(tieBreak->text(), QStringLiteral("同率の場合勝数で判定(&T)"));
    d.click("optrnk1");
    QVERIFY(tieBreak->isEnabled());
    QCOMPARE(tieBreak->text(), QStringLiteral("同数の場合勝率で判定(&T)"));
    d.click("optrnk2");
    QVERIFY(!tieBreak->isEnabled());
    QCOMPARE(tieBreak->text(), QStringLiteral("同数の場合勝率で判定(&T)"));
    d.click("optrnk0");
    QCOMPARE(tieBreak->text(), QStringLiteral("同率の場合勝数で判定(&T)"));
    QVERIFY(tieBreak->isChecked());

    // The double click belongs to keyboard input only, and keeps its tick.
    d.tabs()->setCurrentIndex(1);
    QCheckBox *doubleClick = d.box("chkCells");
    QVERIFY(d.option("optOn0")->isChecked());
    QVERIFY(!doubleClick->isEnabled());
    QVERIFY(doubleClick->isChecked());
    d.click("optOn1");
    QVERIFY(doubleClick->isEnabled());
    d.click("optOn0");
    QVERIFY(!doubleClick->isEnabled());
    QVERIFY(doubleClick->isChecked());
}

void DlgSetTest::digitsBoxTakesDigitsOnly()
{
    Dialog d;
    d.showActive();
    d.digits()->clear();
    QTest::keyClicks(d.digits(), QStringLiteral("1a -.5"));
    QCOMPARE(d.digits()->text(), QStringLiteral("15"));
    QTest::keyClick(d.digits(), Qt::Key_Backspace);
    QCOMPARE(d.digits()->text(), QStringLiteral("1"));
}

void DlgSetTest::refusesDigitsAndStaysOpen_data()
{
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("button");
    QTest::addColumn<int>("page");
    QTest::newRow("empty by OK") << QString() << "OKButton" << 0;
    QTest::newRow("0 by OK") << "0"
                             << "OKButton" << 0;
    QTest::newRow("16 by apply") << "16"
                                 << "btnSet" << 0;
    QTest::newRow("too long, from the other page") << "65539"
                                                   << "OKButton" << 1;
}

void DlgSetTest::refusesDigitsAndStaysOpen()
{
    QFETCH(QString, typed);
    QFETCH(QString, button);
    QFETCH(int, page);
    Settings initial;
    initial.Pct = 7;
    Dialog d(initial);
    QSignalSpy applied(d.dialog.get(), &DlgSet::settingsApplied);
    d.showActive();

    d.digits()->clear();
    QTest::keyClicks(d.digits(), typed);
    // Other choices made alongside must not be stored either.
    d.click("chkMagic");
    d.fontBar(0)->setValue(20);
    d.tabs()->setCurrentIndex(page);
    d.click(button.toLatin1().constData());

    QCOMPARE(d.prompts.calls().size(), std::size_t{1});
    const RecordingPrompts::Call &call = d.prompts.calls().front();
    QCOMPARE(call.text, QStringLiteral("設定が正しくありません\r\n"
                                       "勝率の小数点以下表示桁数は1～15の数字で入力してください"));
    QCOMPARE(call.icon, MessageIcon::Exclamation);
    QCOMPARE(call.buttons, MessageButtons::Ok);
    QVERIFY(d.dialog->isVisible());
    QCOMPARE(applied.count(), 0);
    QCOMPARE(d.settings, initial);
    // The value in force is back in the box, in view, ready to be typed over.
    QCOMPARE(d.digits()->text(), QStringLiteral("7"));
    QCOMPARE(d.tabs()->currentIndex(), 0);
    QCOMPARE(d.dialog->focusWidget(), d.digits());
    // The refused apply leaves the preview running until the dialog closes.
    QCOMPARE(d.standings.font().pointSize(), 20);
}

void DlgSetTest::everyOptionReachesSettingsAndTheFile()
{
    Dialog d;
    QSignalSpy applied(d.dialog.get(), &DlgSet::settingsApplied);
    d.showActive();

    // Page 1, as a user sets it.
    // In full-width digits, as an input method in that mode types them.
    d.digits()->selectAll();
    QTest::sendKeyEvent(QTest::Click, d.digits(), Qt::Key_unknown, QStringLiteral("５"), {});
    d.click("chkMagic");
    d.click("optrnk1");
    d.click("chkRank");
    auto *games = d.find<QComboBox>("cmbGame");
    games->setFocus();
    QTest::keyClick(games, Qt::Key_Down);
    QTest::keyClick(games, Qt::Key_Down);
    d.fontBar(0)->setFocus();
    QTest::keyClick(d.fontBar(0), Qt::Key_Right);
    // Page 2.
    d.tabs()->setCurrentIndex(1);
    for (int step = 0; step < 4; ++step) {
        QTest::keyClick(d.fontBar(1), Qt::Key_Right);
    }
    for (const char *name : {"chkZero", "chkBkc", "optOn1", "chkCells", "chkToolTip", "ChkSel",
                             "chkMsg", "chkSimClear"}) {
        d.click(name);
    }
    QCOMPARE(d.fontLabel(0), QStringLiteral("10"));
    QCOMPARE(d.fontLabel(1), QStringLiteral("13"));

    d.click("btnSet");
    QVERIFY(d.prompts.calls().empty());
    QVERIFY(d.dialog->isVisible());
    QCOMPARE(applied.count(), 1);
    QVERIFY(d.dialog->settingsChanged());
    QCOMPARE(d.settings, everyOptionChanged());
    // Fonts and input method are in force on the window's widgets at once.
    QCOMPARE(d.standings.font().pointSize(), 10);
    QCOMPARE(d.cards.font().pointSize(), 13);
    QCOMPARE(d.editor.font().pointSize(), 13);
    QCOMPARE(d.cards.focusMark(), FlexGrid::FocusMark::Heavy);

    d.click("OKButton");
    QVERIFY(!d.dialog->isVisible());
    QCOMPARE(d.dialog->result(), int(QDialog::Accepted));
    QCOMPARE(applied.count(), 2);
    Settings expected = everyOptionChanged();
    expected.Tabs = 2;
    QCOMPARE(d.settings, expected);

    // The program's next start reads them back from the settings file.
    QTemporaryDir folder;
    const std::filesystem::path file =
        std::filesystem::path(folder.path().toStdString()) / SettingsFileName;
    QVERIFY(writeSettings(file, d.settings, WindowValues{}, std::string()));
    QCOMPARE(readSettings(file).settings, expected);
}

void DlgSetTest::closingUndoesUnappliedFontPreview_data()
{
    QTest::addColumn<QString>("how");
    QTest::addColumn<bool>("applyFirst");
    QTest::newRow("cancel") << "cancel" << false;
    QTest::newRow("escape") << "escape" << false;
    QTest::newRow("close box") << "close" << false;
    QTest::newRow("cancel after apply") << "cancel" << true;
}

void DlgSetTest::closingUndoesUnappliedFontPreview()
{
    QFETCH(QString, how);
    QFETCH(bool, applyFirst);
    Dialog d;
    d.showActive();
    int appliedSize = 9;
    if (applyFirst) {
        d.fontBar(0)->setValue(12);
        d.fontBar(1)->setValue(14);
        d.click("btnSet");
        appliedSize = 12;
    }
    const Settings before = d.settings;

    d.fontBar(0)->setValue(20);
    d.fontBar(1)->setValue(30);
    QCOMPARE(d.standings.font().pointSize(), 20);
    QCOMPARE(d.fontLabel(0), QStringLiteral("20"));
    QCOMPARE(d.cards.font().pointSize(), 30);
    QCOMPARE(d.fontLabel(1), QStringLiteral("30"));
    QCOMPARE(d.editor.font().pointSize(), applyFirst ? 14 : 9); // never previewed

    if (how == QLatin1String("cancel")) {
        d.click("CancelButton");
    } else if (how == QLatin1String("escape")) {
        QTest::keyClick(d.dialog.get(), Qt::Key_Escape);
    } else {
        QVERIFY(d.dialog->close());
    }
    QVERIFY(!d.dialog->isVisible());
    QCOMPARE(d.dialog->result(), int(QDialog::Rejected));
    QCOMPARE(d.standings.font().pointSize(), appliedSize);
    QCOMPARE(d.cards.font().pointSize(), applyFirst ? 14 : 9);
    QCOMPARE(d.editor.font().pointSize(), applyFirst ? 14 : 9);
    QCOMPARE(d.settings, before);
    QCOMPARE(d.dialog->settingsChanged(), applyFirst);
}

// Both pages use "&T" and "&F"; only the page in view may answer them, and
// at the first press (two live owners of one key would only move the focus).
void DlgSetTest::accessKeysActOnTheShownPageOnly()
{
    Settings initial;
    initial.Main = 0;
    Dialog d(initial);
    d.showActive();
    QCheckBox *tieBreak = d.box("chkRank");
    QCheckBox *toolTip = d.box("chkToolTip");
    QCheckBox *highlight = d.box("ChkSel");

    QTest::keyClick(d.dialog.get(), Qt::Key_T, Qt::AltModifier);
    QTRY_VERIFY(tieBreak->isChecked());
    QTest::keyClick(d.dialog.get(), Qt::Key_F, Qt::AltModifier);
    QCOMPARE(d.dialog->focusWidget(), d.digits());
    QVERIFY(!toolTip->isChecked());
    QVERIFY(highlight->isChecked());

    // The keyboard's own way to the second page.
    QTest::keyClick(d.dialog->focusWidget(), Qt::Key_Tab, Qt::ControlModifier);
    QCOMPARE(d.tabs()->currentIndex(), 1);
    QTest::keyClick(d.dialog.get(), Qt::Key_T, Qt::AltModifier);
    QTRY_VERIFY(toolTip->isChecked());
    QTest::keyClick(d.dialog.get(), Qt::Key_F, Qt::AltModifier);
    QTRY_VERIFY(!highlight->isChecked());
    QVERIFY(tieBreak->isChecked());
}

void DlgSetTest::reopensOnTheTabLastShown()
{
    Settings settings;
    RecordingPrompts prompts;
    int shownPage = -1;
    const auto open = [&](int switchTo) {
        DlgSet dialog(settings, prompts, FontPreview{});
        test::whenModalShown([&](QWidget *modal) {
            auto *tabs = modal->findChild<QTabWidget *>(QStringLiteral("OpTab"));
            shownPage = tabs->currentIndex();
            tabs->setCurrentIndex(switchTo);
            QTest::mouseClick(modal->findChild<QPushButton *>(QStringLiteral("CancelButton")),
                              Qt::LeftButton);
        });
        return dialog.ShowSettings();
    };

    QVERIFY(!open(1));
    QCOMPARE(shownPage, 0);
    QCOMPARE(settings.Tabs, 2);
    QVERIFY(!open(0));
    QCOMPARE(shownPage, 1);
    QCOMPARE(settings.Tabs, 1);
    QVERIFY(!open(0));
    QCOMPARE(shownPage, 0);
}

// With PENARIN_SCREENSHOTS naming a folder, and a real display, saves a
// picture of each page there for a person to look at.
void DlgSetTest::screenshots()
{
    const QString folder = qEnvironmentVariable("PENARIN_SCREENSHOTS");
    if (folder.isEmpty()) {
        QSKIP("PENARIN_SCREENSHOTS not set");
    }
    const auto japanese = test::japaneseQtTexts();
    Dialog d;
    d.showActive();
    for (int page = 0; page < 2; ++page) {
        d.tabs()->setCurrentIndex(page);
        QTest::qWait(100);
        QVERIFY(d.dialog->grab().save(folder + QStringLiteral("/dlgset-page%1.png").arg(page + 1)));
    }
}

QTEST_MAIN(DlgSetTest)
#include "dlgset_test.moc"
