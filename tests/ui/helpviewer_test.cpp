#include "platform/helpviewer.h"

#include <QFile>
#include <QRegularExpression>
#include <QScrollBar>
#include <QSet>
#include <QTemporaryDir>
#include <QTest>
#include <QTextBlock>
#include <QTextBrowser>
#include <QTextDocument>

using namespace penarin;

namespace {

void writeFile(const QString &path, const QString &html)
{
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    file.write(html.toUtf8());
}

// A page long enough to scroll, with a link from the top to an anchor at
// the bottom.
QString longPage(const QString &marker)
{
    QString html = QStringLiteral("<html><head><meta charset=\"utf-8\"></head><body>"
                                  "<p><a href=\"#end\">終わりへ</a></p><p>%1</p>")
                       .arg(marker);
    for (int i = 0; i < 200; ++i) {
        html += QStringLiteral("<p>行 %1</p>").arg(i);
    }
    return html + QStringLiteral("<h2><a name=\"end\">終わり</a></h2></body></html>");
}

struct Anchors
{
    QSet<QString> names;
    QStringList internalLinks;
};

// What the browser made of the document's anchors: the names it can scroll
// to and the targets of the links that stay inside the document.
Anchors anchorsOf(const QTextDocument &document)
{
    Anchors out;
    for (QTextBlock block = document.begin(); block.isValid(); block = block.next()) {
        for (auto it = block.begin(); !it.atEnd(); ++it) {
            const QTextCharFormat format = it.fragment().charFormat();
            for (const QString &name : format.anchorNames()) {
                out.names.insert(name);
            }
            const QString href = format.anchorHref();
            if (href.startsWith(u'#') && !out.internalLinks.contains(href.mid(1))) {
                out.internalLinks << href.mid(1);
            }
        }
    }
    return out;
}

} // namespace

class HelpViewerTest : public QObject
{
    Q_OBJECT

private slots:
    void missingFileShowsNote();
    void showingAgainReloadsAtTheTop();
    void showsClosesAndReopens();
    void helpDocumentHasWorkingContents();
};

void HelpViewerTest::missingFileShowsNote()
{
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    const QString path = dir.filePath(QStringLiteral("<none>/Mgcsm.html"));

    HelpViewer viewer;
    viewer.showContents(path);
    QVERIFY(viewer.isVisible());
    const QString text = viewer.browser()->toPlainText();
    QVERIFY(text.contains(QStringLiteral("ヘルプファイルが見つかりません")));
    // The path is shown as text, not taken as markup.
    QVERIFY(text.contains(path));

    // A folder of that name is no help file either.
    viewer.showContents(dir.path());
    QVERIFY(
        viewer.browser()->toPlainText().contains(QStringLiteral("ヘルプファイルが見つかりません")));

    // Once the file is there, the same window shows it.
    const QString good = dir.filePath(QStringLiteral("Mgcsm.html"));
    writeFile(good, longPage(QStringLiteral("見つかった")));
    viewer.showContents(good);
    QVERIFY(viewer.browser()->toPlainText().contains(QStringLiteral("見つかった")));
    QVERIFY(!viewer.browser()->isBackwardAvailable());
}

void HelpViewerTest::showingAgainReloadsAtTheTop()
{
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    const QString path = dir.filePath(QStringLiteral("Mgcsm.html"));
    writeFile(path, longPage(QStringLiteral("第一版")));

    HelpViewer viewer;
    viewer.resize(400, 300);
    viewer.showContents(path);
    QVERIFY(QTest::qWaitForWindowExposed(&viewer));
    QTextBrowser *browser = viewer.browser();
    QScrollBar *bar = browser->verticalScrollBar();

    // Follow the link at the top as the user would.
    browser->setSource(QUrl(QStringLiteral("#end")));
    QTRY_VERIFY(bar->value() > 0);

    writeFile(path, longPage(QStringLiteral("第二版")));
    viewer.showContents(path);
    QVERIFY(browser->toPlainText().contains(QStringLiteral("第二版")));
    QCOMPARE(bar->value(), 0);
}

void HelpViewerTest::showsClosesAndReopens()
{
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    const QString path = dir.filePath(QStringLiteral("Mgcsm.html"));
    writeFile(path, longPage(QStringLiteral("本文")));

    HelpViewer viewer;
    viewer.closeHelp(); // closing a help window that was never opened is harmless
    QVERIFY(!viewer.isVisible());

    viewer.showContents(path);
    QVERIFY(viewer.isVisible());
    QVERIFY(viewer.isWindow());
    QCOMPARE(viewer.windowTitle(), QStringLiteral("ペナリン ヘルプ"));
    QTextBrowser *browser = viewer.findChild<QTextBrowser *>(QStringLiteral("helpBrowser"));
    QVERIFY(browser);
    QVERIFY(browser->isReadOnly());
    QVERIFY(browser->toPlainText().contains(QStringLiteral("本文")));
    viewer.closeHelp();
    QVERIFY(!viewer.isVisible());

    viewer.showMinimized();
    viewer.showContents(path);
    QVERIFY(viewer.isVisible());
    QVERIFY(!viewer.isMinimized());
    QVERIFY(viewer.browser()->toPlainText().contains(QStringLiteral("本文")));
}

void HelpViewerTest::helpDocumentHasWorkingContents()
{
    const QString path = QFINDTESTDATA("../../docs/Mgcsm.html");
    QVERIFY2(!path.isEmpty(), "docs/Mgcsm.html not found");

    HelpViewer viewer;
    viewer.showContents(path);
    QTextBrowser *browser = viewer.browser();
    QCOMPARE(browser->documentTitle(), QStringLiteral("ペナリン ヘルプ"));

    // Every entry of the table of contents must lead somewhere the browser
    // can scroll to.
    const Anchors anchors = anchorsOf(*browser->document());
    QVERIFY(anchors.internalLinks.size() >= 10);
    for (const QString &target : anchors.internalLinks) {
        QVERIFY2(anchors.names.contains(target), qPrintable(target));
    }
    viewer.resize(500, 400);
    QVERIFY(QTest::qWaitForWindowExposed(&viewer));
    browser->setSource(QUrl(u'#' + anchors.internalLinks.last()));
    QTRY_VERIFY(browser->verticalScrollBar()->value() > 0);

    // The texts the user meets in the program are quoted as the program
    // shows them.
    const QString text = browser->toPlainText();
    for (const char *quoted : {"グラフデータを保存しますか",
                               "日付が正しくありません",
                               "上書き保存",
                               "名前を付けて保存",
                               "カード別マジック",
                               "隠れマジック",
                               "優勝マジック",
                               "上位確定",
                               "下位確定",
                               "シミュレーション",
                               "クリア",
                               "公式戦",
                               "リーグ戦",
                               "交流戦",
                               "Mgcsm.ini",
                               "優勝・CS争い",
                               "確定",
                               "自力",
                               "他力",
                               "同率次第",
                               "消滅",
                               "この結果を見る"}) {
        QVERIFY2(text.contains(QString::fromUtf8(quoted)), quoted);
    }
}

QTEST_MAIN(HelpViewerTest)
#include "helpviewer_test.moc"
