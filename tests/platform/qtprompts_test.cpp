#include "platform/qtprompts.h"

#include <QAbstractButton>
#include <QApplication>
#include <QColorDialog>
#include <QFileDialog>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include <functional>

using namespace penarin;

namespace {

// Runs the action on the next modal dialog once it is up, while the code
// under test is blocked in its exec().
void whenModal(std::function<void(QWidget *)> action)
{
    auto *timer = new QTimer(qApp);
    timer->setInterval(10);
    QObject::connect(timer, &QTimer::timeout, qApp, [timer, action] {
        QWidget *modal = QApplication::activeModalWidget();
        if (modal == nullptr || !modal->isVisible()) {
            return;
        }
        timer->stop();
        timer->deleteLater();
        action(modal);
        // An action that failed to close its dialog fails the test instead
        // of leaving it blocked.
        if (auto *dialog = qobject_cast<QDialog *>(modal); dialog && dialog->isVisible()) {
            dialog->reject();
        }
    });
    timer->start();
}

// Chooses a file the way a user does, by typing its name: selecting it in
// the list depends on the dialog having read the folder, which it does in
// the background.
void typeFileName(QFileDialog *dialog, const QString &name)
{
    auto *edit = dialog->findChild<QLineEdit *>("fileNameEdit");
    QVERIFY(edit != nullptr);
    edit->setText(name);
    static_cast<QDialog *>(dialog)->accept();
}

} // namespace

class QtPromptsTest : public QObject
{
    Q_OBJECT

private slots:
    void messageBoxShowsWhatWasAsked_data();
    void messageBoxShowsWhatWasAsked();
    void closedMessageBoxAnswersAsDismissed_data();
    void closedMessageBoxAnswersAsDismissed();
    void givenTitleReplacesTheProgramTitle();
    void saveDialogUsesFilterAndDefaultSuffix();
    void openDialogReturnsTheChosenFile();
    void colourDialogStartsFromTheInitialColour();
};

void QtPromptsTest::messageBoxShowsWhatWasAsked_data()
{
    QTest::addColumn<MessageIcon>("icon");
    QTest::addColumn<MessageButtons>("buttons");
    QTest::addColumn<QMessageBox::Icon>("boxIcon");
    QTest::addColumn<QMessageBox::StandardButtons>("boxButtons");
    QTest::addColumn<QMessageBox::StandardButton>("click");
    QTest::addColumn<MessageAnswer>("answer");

    QTest::newRow("information ok")
        << MessageIcon::Information << MessageButtons::Ok << QMessageBox::Information
        << QMessageBox::StandardButtons(QMessageBox::Ok) << QMessageBox::Ok << MessageAnswer::Ok;
    QTest::newRow("exclamation yes/no/cancel, no")
        << MessageIcon::Exclamation << MessageButtons::YesNoCancel << QMessageBox::Warning
        << (QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel) << QMessageBox::No
        << MessageAnswer::No;
    QTest::newRow("question yes/no, yes")
        << MessageIcon::Question << MessageButtons::YesNo << QMessageBox::Question
        << (QMessageBox::Yes | QMessageBox::No) << QMessageBox::Yes << MessageAnswer::Yes;
    QTest::newRow("critical ok/cancel, cancel")
        << MessageIcon::Critical << MessageButtons::OkCancel << QMessageBox::Critical
        << (QMessageBox::Ok | QMessageBox::Cancel) << QMessageBox::Cancel << MessageAnswer::Cancel;
}

void QtPromptsTest::messageBoxShowsWhatWasAsked()
{
    QFETCH(MessageIcon, icon);
    QFETCH(MessageButtons, buttons);
    QFETCH(QMessageBox::Icon, boxIcon);
    QFETCH(QMessageBox::StandardButtons, boxButtons);
    QFETCH(QMessageBox::StandardButton, click);
    QFETCH(MessageAnswer, answer);

    const QString text = QString::fromUtf8("このカードは終了しています");
    QString seenText;
    QString seenTitle;
    QMessageBox::Icon seenIcon = QMessageBox::NoIcon;
    QMessageBox::StandardButtons seenButtons;
    QMessageBox::StandardButton seenDefault = QMessageBox::NoButton;
    whenModal([&](QWidget *modal) {
        auto *box = qobject_cast<QMessageBox *>(modal);
        QVERIFY(box != nullptr);
        seenText = box->text();
        seenTitle = box->windowTitle();
        seenIcon = box->icon();
        seenButtons = box->standardButtons();
        seenDefault = box->standardButton(box->defaultButton());
        box->button(click)->click();
    });
    QtPrompts prompts;
    QCOMPARE(prompts.message(text, icon, buttons), answer);
    QCOMPARE(seenText, text);
    QCOMPARE(seenTitle, QString::fromUtf8("ペナリン"));
    QCOMPARE(seenIcon, boxIcon);
    QCOMPARE(seenButtons, boxButtons);
    // The first button is the default.
    QCOMPARE(seenDefault, buttons == MessageButtons::Ok || buttons == MessageButtons::OkCancel
                              ? QMessageBox::Ok
                              : QMessageBox::Yes);
}

void QtPromptsTest::closedMessageBoxAnswersAsDismissed_data()
{
    QTest::addColumn<MessageButtons>("buttons");
    QTest::addColumn<MessageAnswer>("answer");
    QTest::newRow("ok") << MessageButtons::Ok << MessageAnswer::Ok;
    QTest::newRow("ok/cancel") << MessageButtons::OkCancel << MessageAnswer::Cancel;
    QTest::newRow("yes/no") << MessageButtons::YesNo << MessageAnswer::No;
    QTest::newRow("yes/no/cancel") << MessageButtons::YesNoCancel << MessageAnswer::Cancel;
}

void QtPromptsTest::closedMessageBoxAnswersAsDismissed()
{
    QFETCH(MessageButtons, buttons);
    QFETCH(MessageAnswer, answer);
    whenModal([](QWidget *modal) { QTest::keyClick(modal, Qt::Key_Escape); });
    QtPrompts prompts;
    QCOMPARE(prompts.message("?", MessageIcon::Question, buttons), answer);
}

void QtPromptsTest::givenTitleReplacesTheProgramTitle()
{
    // A text far shorter than the title, as the about box's is.
    const QString title = QString::fromUtf8("バージョン情報");
    QString seenTitle;
    int seenWidth = 0;
    whenModal([&](QWidget *modal) {
        seenTitle = modal->windowTitle();
        seenWidth = modal->width();
        QTest::keyClick(modal, Qt::Key_Escape);
    });
    QtPrompts prompts;
    prompts.message("x", MessageIcon::Information, MessageButtons::Ok, title);
    QCOMPARE(seenTitle, title);
    // Room for the whole title and the title bar's buttons beside it.
    const QFontMetrics metrics(QApplication::font());
    QVERIFY2(seenWidth >= metrics.horizontalAdvance(title) + 4 * metrics.height(),
             qPrintable(QString::number(seenWidth)));
}

void QtPromptsTest::saveDialogUsesFilterAndDefaultSuffix()
{
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    QString seenTitle;
    QStringList seenFilters;
    QString seenSuffix;
    bool saveMode = false;
    whenModal([&](QWidget *modal) {
        auto *dialog = qobject_cast<QFileDialog *>(modal);
        QVERIFY(dialog != nullptr);
        seenTitle = dialog->windowTitle();
        seenFilters = dialog->nameFilters();
        seenSuffix = dialog->defaultSuffix();
        saveMode = dialog->acceptMode() == QFileDialog::AcceptSave;
        typeFileName(dialog, dir.filePath("table"));
    });
    QtPrompts prompts;
    const QString path = prompts.saveFile(
        {QString::fromUtf8("名前を付けて保存"),
         QString::fromUtf8("カンマ区切り(*.csv);;タブ区切り(*.txt)"), "csv", dir.path()});
    QCOMPARE(path, dir.filePath("table.csv"));
    QCOMPARE(seenTitle, QString::fromUtf8("名前を付けて保存"));
    QCOMPARE(seenFilters, (QStringList{QString::fromUtf8("カンマ区切り(*.csv)"),
                                       QString::fromUtf8("タブ区切り(*.txt)")}));
    QCOMPARE(seenSuffix, QString("csv"));
    QVERIFY(saveMode);

    whenModal([](QWidget *modal) { qobject_cast<QDialog *>(modal)->reject(); });
    QCOMPARE(prompts.saveFile({"x", "*.ptr", "ptr", dir.path()}), QString());
}

void QtPromptsTest::openDialogReturnsTheChosenFile()
{
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    const QString existing = dir.filePath("season.ptr");
    QFile file(existing);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.close();

    QFileDialog::FileMode mode = QFileDialog::AnyFile;
    whenModal([&](QWidget *modal) {
        auto *dialog = qobject_cast<QFileDialog *>(modal);
        QVERIFY(dialog != nullptr);
        mode = dialog->fileMode();
        typeFileName(dialog, existing);
    });
    QtPrompts prompts;
    const QString path =
        prompts.openFile({QString::fromUtf8("ファイルを開く"), QString::fromUtf8("ペナリン(*.ptr)"),
                          "ptr", dir.path()});
    QCOMPARE(path, existing);
    QCOMPARE(mode, QFileDialog::ExistingFile);
}

void QtPromptsTest::colourDialogStartsFromTheInitialColour()
{
    QColor seenInitial;
    bool customAllWhite = true;
    QColorDialog::setCustomColor(3, Qt::red);
    whenModal([&](QWidget *modal) {
        auto *dialog = qobject_cast<QColorDialog *>(modal);
        QVERIFY(dialog != nullptr);
        seenInitial = dialog->currentColor();
        for (int i = 0; i < QColorDialog::customCount(); ++i) {
            customAllWhite = customAllWhite && QColorDialog::customColor(i) == QColor(Qt::white);
        }
        dialog->setCurrentColor(QColor(0, 128, 255));
        static_cast<QDialog *>(dialog)->accept();
    });
    QtPrompts prompts;
    QCOMPARE(prompts.chooseColor(QColor(255, 255, 192)),
             std::optional<QColor>(QColor(0, 128, 255)));
    QCOMPARE(seenInitial, QColor(255, 255, 192));
    QVERIFY(customAllWhite);

    whenModal([](QWidget *modal) { qobject_cast<QDialog *>(modal)->reject(); });
    QCOMPARE(prompts.chooseColor(Qt::blue), std::optional<QColor>());
}

QTEST_MAIN(QtPromptsTest)

#include "qtprompts_test.moc"
