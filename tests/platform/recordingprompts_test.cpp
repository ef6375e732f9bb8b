#include "platform/recordingprompts.h"

#include <QRegularExpression>
#include <QTest>

using namespace penarin;

namespace {

// Production code asks through the interface, not the test double.
Prompts &asPrompts(RecordingPrompts &prompts)
{
    return prompts;
}

} // namespace

class RecordingPromptsTest : public QObject
{
    Q_OBJECT

private slots:
    void recordsMessagesExactlyAndInOrder();
    void answersFromTheScriptThenAsADismissedBox();
    void reportsAnswersThatFitNoButton();
    void fileAndColourDialogsHaveTheirOwnScripts();
    void clearForgetsCallsAndScripts();
};

void RecordingPromptsTest::recordsMessagesExactlyAndInOrder()
{
    RecordingPrompts recording;
    Prompts &prompts = asPrompts(recording);
    const QString twoLines = QString::fromUtf8("優勝ラインを正しく計算できません\n"
                                               "対戦数・引分再試合の設定を変更するか、"
                                               "リーグ・地区を選択してください");
    prompts.message(twoLines, MessageIcon::Critical, MessageButtons::Ok);
    prompts.message(QString::fromUtf8("現在のデータを保存しますか"), MessageIcon::Exclamation,
                    MessageButtons::YesNoCancel, "Title");

    const auto messages = recording.messages();
    QCOMPARE(messages.size(), std::size_t{2});
    QCOMPARE(messages[0].text, twoLines);
    QCOMPARE(messages[0].icon, MessageIcon::Critical);
    QCOMPARE(messages[0].buttons, MessageButtons::Ok);
    QCOMPARE(messages[0].title, QString());
    QCOMPARE(messages[1].icon, MessageIcon::Exclamation);
    QCOMPARE(messages[1].buttons, MessageButtons::YesNoCancel);
    QCOMPARE(messages[1].title, QString("Title"));
    QCOMPARE(recording.messageTexts(),
             (QStringList{twoLines, QString::fromUtf8("現在のデータを保存しますか")}));
}

void RecordingPromptsTest::answersFromTheScriptThenAsADismissedBox()
{
    RecordingPrompts recording;
    Prompts &prompts = asPrompts(recording);
    recording.queueAnswer(MessageAnswer::No);
    recording.queueAnswer(MessageAnswer::Yes);
    QCOMPARE(recording.pendingAnswers(), 2);
    QCOMPARE(prompts.message("a", MessageIcon::Question, MessageButtons::YesNo), MessageAnswer::No);
    QCOMPARE(prompts.message("b", MessageIcon::Question, MessageButtons::YesNoCancel),
             MessageAnswer::Yes);
    QCOMPARE(recording.pendingAnswers(), 0);

    // Script used up: the answer of a box closed without a choice.
    QCOMPARE(prompts.message("c", MessageIcon::Information, MessageButtons::Ok), MessageAnswer::Ok);
    QCOMPARE(prompts.message("d", MessageIcon::Question, MessageButtons::OkCancel),
             MessageAnswer::Cancel);
    QCOMPARE(prompts.message("e", MessageIcon::Question, MessageButtons::YesNo), MessageAnswer::No);
    QCOMPARE(prompts.message("f", MessageIcon::Question, MessageButtons::YesNoCancel),
             MessageAnswer::Cancel);
    QCOMPARE(recording.messages()[1].answer, MessageAnswer::Yes);
    QCOMPARE(recording.messages()[5].answer, MessageAnswer::Cancel);
    QCOMPARE(recording.misfitAnswers(), 0);
}

void RecordingPromptsTest::reportsAnswersThatFitNoButton()
{
    RecordingPrompts recording;
    recording.queueAnswer(MessageAnswer::Yes);
    QTest::ignoreMessage(QtWarningMsg, QRegularExpression("not a button"));
    QCOMPARE(asPrompts(recording).message("x", MessageIcon::Information, MessageButtons::Ok),
             MessageAnswer::Yes);
    QCOMPARE(recording.misfitAnswers(), 1);

    QVERIFY(answerFits(MessageAnswer::Cancel, MessageButtons::YesNoCancel));
    QVERIFY(!answerFits(MessageAnswer::Ok, MessageButtons::YesNoCancel));
    QVERIFY(!answerFits(MessageAnswer::Cancel, MessageButtons::YesNo));
    QVERIFY(answerFits(MessageAnswer::Cancel, MessageButtons::OkCancel));
}

void RecordingPromptsTest::fileAndColourDialogsHaveTheirOwnScripts()
{
    RecordingPrompts recording;
    Prompts &prompts = asPrompts(recording);
    recording.queueSaveFile("/tmp/out.csv");
    recording.queueOpenFile("/tmp/in.ptr");
    recording.queueColor(QColor(255, 0, 0));
    recording.queueColor(std::nullopt);

    const FileRequest open{
        QString::fromUtf8("ファイルを開く"), QString::fromUtf8("ペナリン(*.ptr)"), "ptr", {}};
    const FileRequest save{QString::fromUtf8("名前を付けて保存"),
                           QString::fromUtf8("カンマ区切り(*.csv);;タブ区切り(*.txt)"), "csv",
                           "/tmp"};
    QCOMPARE(prompts.openFile(open), QString("/tmp/in.ptr"));
    QCOMPARE(prompts.saveFile(save), QString("/tmp/out.csv"));
    // Used up: cancelled.
    QCOMPARE(prompts.saveFile(save), QString());
    QCOMPARE(prompts.chooseColor(QColor(Qt::white)), std::optional<QColor>(QColor(255, 0, 0)));
    QCOMPARE(prompts.chooseColor(QColor()), std::optional<QColor>());
    QCOMPARE(prompts.chooseColor(QColor()), std::optional<QColor>());

    const auto &calls = recording.calls();
    QCOMPARE(calls.size(), std::size_t{6});
    QCOMPARE(calls[0].kind, RecordingPrompts::Kind::OpenFile);
    QVERIFY(calls[0].file == open);
    QCOMPARE(calls[1].kind, RecordingPrompts::Kind::SaveFile);
    QVERIFY(calls[1].file == save);
    QCOMPARE(calls[3].kind, RecordingPrompts::Kind::ChooseColor);
    QCOMPARE(calls[3].initialColor, QColor(Qt::white));
    QVERIFY(recording.messages().empty());
}

void RecordingPromptsTest::clearForgetsCallsAndScripts()
{
    RecordingPrompts recording;
    recording.queueAnswer(MessageAnswer::Yes);
    recording.queueOpenFile("a");
    asPrompts(recording).message("x", MessageIcon::Question, MessageButtons::YesNo);
    recording.clear();
    QVERIFY(recording.calls().empty());
    QCOMPARE(recording.pendingAnswers(), 0);
    QCOMPARE(asPrompts(recording).openFile({}), QString());
}

QTEST_APPLESS_MAIN(RecordingPromptsTest)

#include "recordingprompts_test.moc"
