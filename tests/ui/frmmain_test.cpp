#include "modalhelper.h"
#include "platform/flexgrid.h"
#include "platform/recordingprompts.h"
#include "race/race.h"
#include "season/cellsfunction.h"
#include "season/filemodule.h"
#include "season/fileseasons.h"
#include "season/settings.h"
#include "support/scripteddialogs.h"
#include "support/seasonbuilder.h"
#include "ui/main/frmmain.h"
#include "ui/main/seasondocument.h"

#include <QAction>
#include <QClipboard>
#include <QComboBox>
#include <QDir>
#include <QInputMethodEvent>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QMimeData>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>
#include <QTemporaryDir>
#include <QUndoStack>
#include <QUrl>
#include <QtTest>

#include <fstream>
#include <functional>
#include <memory>
#include <optional>

#include <sys/stat.h>

using namespace penarin;

namespace {

const QString sampleA = QStringLiteral(PENARIN_SAMPLES_DIR "/sample-a.ptr");
const QString sampleB = QStringLiteral(PENARIN_SAMPLES_DIR "/sample-b.ptr");

QString undoText(const frmMain &window)
{
    return QStringLiteral("元に戻す(&U): ") + window.undoStack()->undoText();
}

QAction *findAction(QWidget *window, const QString &caption)
{
    for (QAction *action : window->findChildren<QAction *>()) {
        if (action->text() == caption) {
            return action;
        }
    }
    return nullptr;
}

// The season as saved while its (first) league was on show.
Season leagueShown(const test::SeasonBuilder &builder)
{
    Season season = builder.build();
    season.Header.ViewLeague = 1;
    return season;
}

// Four teams in one league; team 1 and 2 have no card with each other.
Season smallSeason()
{
    auto b = test::SeasonBuilder::oneLeague({u"甲", u"乙", u"丙", u"丁"}, 10);
    b.card(1, 2, -1);
    b.result(1, 3, 6, 4).result(2, 4, 3, 2, 1);
    return leagueShown(b);
}

} // namespace

class FrmMainTest : public QObject
{
    Q_OBJECT

private:
    std::unique_ptr<QTemporaryDir> m_dir;
    Season m_season;
    Settings m_settings;
    std::unique_ptr<RecordingPrompts> m_prompts;
    std::unique_ptr<test::ScriptedDialogs> m_dialogs;
    std::unique_ptr<frmMain> m_window;
    // Settings a test wants in force, applied after start-up has read the file.
    std::optional<Settings> m_wanted;

    Settings &want()
    {
        if (!m_wanted) {
            m_wanted = Settings{};
        }
        return *m_wanted;
    }

    QString path(const QString &name) const { return m_dir->filePath(name); }

    // Nothing the user would lose: the season document's own answer.
    bool saved() const { return !m_window->document()->isModified(); }

    void writeIni(const QString &text)
    {
        std::ofstream(path(QStringLiteral("Mgcsm.ini")).toStdString(), std::ios::binary)
            << text.toStdString();
    }

    QString readIni() const
    {
        QFile file(path(QStringLiteral("Mgcsm.ini")));
        return file.open(QIODevice::ReadOnly) ? QString::fromUtf8(file.readAll()) : QString();
    }

    frmMain &start(const QString &fileToOpen = QString())
    {
        ClearSeason(m_season);
        m_prompts = std::make_unique<RecordingPrompts>();
        m_dialogs = std::make_unique<test::ScriptedDialogs>();
        m_window = std::make_unique<frmMain>(
            m_season, m_settings, *m_prompts, *m_dialogs,
            ProgramFiles{path(QStringLiteral("Mgcsm.ini")).toStdString(),
                         path(QStringLiteral("Mgcsm.html")).toStdString()});
        m_window->startUp(fileToOpen);
        if (m_wanted) {
            m_settings = *m_wanted;
        }
        m_window->show();
        return *m_window;
    }

    QString copyOf(const QString &source, const QString &name)
    {
        const QString target = path(name);
        QFile::remove(target);
        QFile::copy(source, target);
        QFile::setPermissions(target, QFile::ReadOwner | QFile::WriteOwner);
        return target;
    }

    QString saved(Season season, const QString &name)
    {
        season.AddSnapshot = false;
        const QString target = path(name);
        if (!SaveSeason(season, target.toStdString(), test::testNow)) {
            qWarning("cannot write %s", qPrintable(target));
        }
        return target;
    }

    static void click(FlexGrid *grid, int row, int col, Qt::MouseButton button = Qt::LeftButton)
    {
        grid->ensureCellVisible(row, col);
        QTest::mouseClick(grid->viewport(), button, {}, grid->cellRect(row, col).center());
    }

    static void hover(FlexGrid *grid, int row, int col)
    {
        grid->ensureCellVisible(row, col);
        QTest::mouseMove(grid->viewport(), grid->cellRect(row, col).center());
    }

private slots:
    void init()
    {
        m_dir = std::make_unique<QTemporaryDir>();
        m_settings = Settings{};
        m_wanted.reset();
    }

    void cleanup()
    {
        if (m_window) {
            m_window->hide();
        }
        m_window.reset();
        m_dialogs.reset();
        m_prompts.reset();
    }

    void startWithLoadOnAndADeletedFileIsQuiet()
    {
        writeIni(QStringLiteral("[Option]\r\nLoad=1\r\nFileName=%1\r\n").arg(path("gone.ptr")));
        frmMain &window = start();
        QVERIFY(m_prompts->calls().empty());
        QVERIFY(!m_season.HasSeason);
        QCOMPARE(window.standingsGrid()->rowCount(), 0);
        QCOMPARE(window.windowTitle(), QStringLiteral("ペナリン"));
        QVERIFY(window.close());
        QVERIFY(m_prompts->calls().empty());
        // The last file survives a run in which nothing was open.
        QVERIFY(readIni().contains(QStringLiteral("FileName=") + path("gone.ptr")));
        QVERIFY(readIni().contains(QStringLiteral("[Window]")));
    }

    void aSettingsFileThatIsAPipeIsSaidAndLeftAlone()
    {
        // Opening a pipe would wait for a writer before the window appears.
        const QString ini = path(QStringLiteral("Mgcsm.ini"));
        QCOMPARE(::mkfifo(QFile::encodeName(ini).constData(), 0600), 0);
        frmMain &window = start();
        QCOMPARE(
            m_prompts->messageTexts(),
            QStringList{QStringLiteral("設定ファイルを読み込めません\r\n既定の設定で起動します")});
        QCOMPARE(m_prompts->messages().front().icon, MessageIcon::Exclamation);
        QCOMPARE(m_settings, Settings{});
        QVERIFY(window.close());
        // The close wrote nothing over it.
        QVERIFY(QFileInfo(ini).exists());
        QVERIFY(!QFileInfo(ini).isFile());
    }

    void startReopensTheLastFileAndCloseAsksNothing()
    {
        const QString file = copyOf(sampleA, QStringLiteral("a.ptr"));
        writeIni(QStringLiteral("[Option]\r\nLoad=1\r\nFileName=%1\r\n").arg(file));
        frmMain &window = start();
        QVERIFY(m_season.HasSeason);
        QVERIFY(saved());
        QCOMPARE(window.windowTitle(), QStringLiteral("a.ptr[*] - ペナリン"));
        QCOMPARE(window.standingsGrid()->rowCount(), 7);
        QCOMPARE(window.panelText(2), QStringLiteral("公式戦"));
        QCOMPARE(window.panelText(3), QStringLiteral("リーグ勝率"));
        QCOMPARE(window.panelText(4), QStringLiteral("勝数→対戦→対戦表"));
        QVERIFY(window.panelText(5).startsWith(QStringLiteral("更新日時：2026/08/02")));
        QVERIFY(window.close());
        QVERIFY(m_prompts->calls().empty());
    }

    void oneResultThenCancelledCloseKeepsTheWindowButWritesSettings()
    {
        frmMain &window = start();
        QVERIFY(window.openSeason(saved(smallSeason(), QStringLiteral("s.ptr"))));
        QVERIFY(saved());
        // 丙 against 丁: wins cell of row 丙 (row 4), opponent group 4.
        click(window.cardGrid(), 4, 10);
        QCOMPARE(m_season.team(3).CardWins[4], 1);
        QCOMPARE(m_season.team(4).CardLosses[3], 1);
        QVERIFY(!saved());
        m_prompts->queueAnswer(MessageAnswer::Cancel);
        QVERIFY(!window.close());
        QVERIFY(window.isVisible());
        QCOMPARE(m_prompts->messageTexts(),
                 QStringList{QStringLiteral("現在のデータを保存しますか")});
        QCOMPARE(m_prompts->messages().front().buttons, MessageButtons::YesNoCancel);
        QCOMPARE(m_prompts->messages().front().icon, MessageIcon::Exclamation);
        QVERIFY(readIni().contains(QStringLiteral("[Window]")));
        m_prompts->queueAnswer(MessageAnswer::No);
        QVERIFY(window.close());
    }

    void showAllLeaguesSwitchesToInterleague()
    {
        frmMain &window = start();
        QVERIFY(window.openSeason(copyOf(sampleA, QStringLiteral("a.ptr"))));
        auto *leagues = window.findChild<QComboBox *>(QStringLiteral("cmbLg"));
        QCOMPARE(leagues->count(), 3);
        QCOMPARE(leagues->itemText(0), QStringLiteral("すべて表示"));
        leagues->setCurrentIndex(0);
        QTest::mouseClick(window.findChild<QPushButton *>(QStringLiteral("btnShow")),
                          Qt::LeftButton);
        QCOMPARE(m_season.GameScope, ScopeInterleague);
        QCOMPARE(window.panelText(2), QStringLiteral("交流戦"));
        QCOMPARE(window.standingsGrid()->rowCount(), 13);
        QVERIFY(!findAction(&window, QStringLiteral("公式戦(&P)"))->isEnabled());
        QVERIFY(findAction(&window, QStringLiteral("交流戦(&I)"))->isChecked());
    }

    void hoveringTheEleventhAgainstTheFirstShowsItsMagic()
    {
        // Twelve teams, every card played out: team i won both games against
        // every team after it, so the standings run 1..12 in team order.
        test::SeasonBuilder b;
        for (int team = 1; team <= 12; ++team) {
            b.addTeam(u"T" + std::u16string(1, static_cast<char16_t>(u'@' + team)), 1);
        }
        b.roundRobin(2).intCounts(0);
        for (int a = 1; a <= 12; ++a) {
            for (int c = a + 1; c <= 12; ++c) {
                b.result(a, c, 2, 0);
            }
        }
        frmMain &window = start();
        QVERIFY(window.openSeason(saved(leagueShown(b), QStringLiteral("twelve.ptr"))));
        window.resize(1400, 1000);
        FlexGrid *grid = window.standingsGrid();
        QCOMPARE(grid->rowCount(), 13);
        hover(grid, 11, 11);
        QCOMPARE(window.panelText(1), QStringLiteral("下位確定"));
        hover(grid, 1, 21);
        QCOMPARE(window.panelText(1), QStringLiteral("上位確定 "));
        hover(grid, 11, 21);
        QCOMPARE(window.panelText(1), QString());
        // The percentage column shows the unrounded percentage: 20 of 22.
        hover(grid, 2, 6);
        QCOMPARE(window.panelText(1), QStringLiteral("TB：0.909090909090909"));
    }

    void menusFollowTheSeasonAndItsSnapshots()
    {
        frmMain &window = start();
        auto enabled = [&window](const char *caption) {
            QAction *action = findAction(&window, QString::fromUtf8(caption));
            for (QMenu *menu : window.menuBar()->findChildren<QMenu *>()) {
                emit menu->aboutToShow();
            }
            return action->isEnabled();
        };
        QVERIFY(!enabled("上書き保存(&S)"));
        QVERIFY(!enabled("公式戦(&P)"));
        QVERIFY(enabled("開く(&O)..."));
        QVERIFY(window.openSeason(copyOf(sampleB, QStringLiteral("b.ptr"))));
        QVERIFY(enabled("上書き保存(&S)"));
        QVERIFY(enabled("名前を付けて保存(&A)..."));
        QVERIFY(enabled("次回起動時ファイルを開く(&F)"));
        QVERIFY(enabled("公式戦(&P)"));
        QVERIFY(!enabled("推移グラフ(&G)..."));
    }

    void savingAddsASnapshotOnlyWhenAskedTo()
    {
        frmMain &window = start();
        const QString file = saved(smallSeason(), QStringLiteral("s.ptr"));
        QVERIFY(window.openSeason(file));
        m_dialogs->snapshots.push_back(SnapshotRequest{46266.0, u"首位攻防"});
        QVERIFY(window.save());
        Season reread;
        QCOMPARE(LoadSeason(reread, file.toStdString()), LoadStatus::Loaded);
        QCOMPARE(reread.SnapshotCount(), 1);
        QCOMPARE(reread.Snapshots[1].Memo, Text(u"首位攻防"));
        QCOMPARE(reread.Snapshots[1].Date, 46266.0);
        QVERIFY(window.panelText(5).startsWith(QStringLiteral("更新日時：")));

        QVERIFY(window.save());
        QCOMPARE(m_dialogs->snapshotQuestions, 2);
        QCOMPARE(LoadSeason(reread, file.toStdString()), LoadStatus::Loaded);
        QCOMPARE(reread.SnapshotCount(), 1);
        QVERIFY(saved());
    }

    void unloadableFileSaysSoWithACriticalIcon()
    {
        frmMain &window = start();
        const QString junk = path(QStringLiteral("junk.ptr"));
        std::ofstream(junk.toStdString());
        QVERIFY(!window.openSeason(junk));
        QCOMPARE(m_prompts->messageTexts(),
                 QStringList{QStringLiteral("ファイルを開けません\r\n%1\r\n"
                                            "シーズンファイルではないか、壊れています")
                                 .arg(QDir::toNativeSeparators(junk))});
        QCOMPARE(m_prompts->messages().front().icon, MessageIcon::Critical);
        QVERIFY(!m_season.HasSeason);
        // A file larger than any season is refused unread, with the reason.
        const QString huge = path(QStringLiteral("huge.ptr"));
        std::ofstream(huge.toStdString());
        std::filesystem::resize_file(huge.toStdString(), MaxSeasonFileBytes + 1);
        QVERIFY(!window.openSeason(huge));
        QCOMPARE(m_prompts->messageTexts().back(),
                 QStringLiteral("ファイルを開けません\r\n%1\r\nファイルが大きすぎます")
                     .arg(QDir::toNativeSeparators(huge)));
    }

    void aboutBoxNamesTheProgramAndTheBuildsVersion()
    {
        frmMain &window = start();
        findAction(&window, QString::fromUtf8("バージョン情報(&A)..."))->trigger();
        const std::vector<RecordingPrompts::Call> boxes = m_prompts->messages();
        QCOMPARE(boxes.size(), std::size_t{1});
        const RecordingPrompts::Call &box = boxes.front();
        QCOMPARE(box.text, QString::fromUtf8("ペナリン\nVer " PENARIN_PROJECT_VERSION));
        QCOMPARE(box.title, QString::fromUtf8("バージョン情報"));
        QCOMPARE(box.icon, MessageIcon::Information);
        QCOMPARE(box.buttons, MessageButtons::Ok);
    }

    void headToHeadGridTextsMergesAndEmptyCards()
    {
        want().Cells = 1;
        frmMain &window = start();
        QVERIFY(window.openSeason(saved(smallSeason(), QStringLiteral("s.ptr"))));
        FlexGrid *grid = window.cardGrid();
        QCOMPARE(grid->rowCount(), 6);
        QCOMPARE(grid->colCount(), 13);
        QCOMPARE(grid->text(0, 4), QStringLiteral("乙"));
        QCOMPARE(grid->text(0, 5), QStringLiteral("乙"));
        QCOMPARE(grid->text(1, 4), QStringLiteral("勝"));
        QCOMPARE(grid->text(1, 6), QStringLiteral("分"));
        QVERIFY(grid->mergeRow(0));
        QCOMPARE(grid->text(2, 0), QStringLiteral("甲"));
        // 甲 against 丙: 6 wins, 4 losses, no draws (Zero is off).
        QCOMPARE(grid->text(2, 7), QStringLiteral("6"));
        QCOMPARE(grid->text(2, 8), QStringLiteral("4"));
        QCOMPARE(grid->text(2, 9), QString());
        // 甲 and 乙 have no card: empty, filled with the button face.
        const QColor face = window.palette().color(QPalette::Button);
        QCOMPARE(grid->text(2, 4), QString());
        QCOMPARE(grid->cellBackground(2, 4), face);
        QCOMPARE(grid->cellBackground(2, 1), face);
    }

    // Stored widths were made for a narrower font: every text of the
    // standings columns and of the card grid fits in its cell, at the
    // largest font the settings allow as well as the default one.
    void columnsFitTheirTextWithTheFontInUse()
    {
        auto b = test::SeasonBuilder::oneLeague({u"北海道ファイターズ", u"乙", u"丙"}, 10);
        b.result(1, 2, 10, 0).result(1, 3, 10, 0);
        for (const int size : {9, 16}) {
            want().FontSizeA = static_cast<std::int16_t>(size);
            want().FontSizeB = static_cast<std::int16_t>(size);
            frmMain &window = start();
            QVERIFY(window.openSeason(saved(leagueShown(b), QStringLiteral("s.ptr"))));
            window.FillGrids(1, -1);
            for (FlexGrid *grid : {window.standingsGrid(), window.cardGrid()}) {
                const int lastCol = grid == window.standingsGrid() ? 10 : grid->colCount() - 1;
                const int firstRow = grid == window.standingsGrid() ? 0 : 1;
                for (int col = 0; col <= lastCol; ++col) {
                    for (int row = firstRow; row < grid->rowCount(); ++row) {
                        const int needed =
                            grid->fontMetrics().horizontalAdvance(grid->text(row, col)) + 7;
                        QVERIFY2(grid->cellRect(row, col).width() >= needed,
                                 qPrintable(QStringLiteral("%1 (%2, %3): %4")
                                                .arg(grid->objectName())
                                                .arg(row)
                                                .arg(col)
                                                .arg(grid->text(row, col))));
                    }
                }
            }
            QCOMPARE(window.standingsGrid()->text(1, 6), QStringLiteral("1.000"));
            cleanup();
            init();
        }
    }

    void zeroSettingShowsZerosButNeverOnAMissingCard()
    {
        want().Zero = 1;
        frmMain &window = start();
        QVERIFY(window.openSeason(saved(smallSeason(), QStringLiteral("s.ptr"))));
        FlexGrid *grid = window.cardGrid();
        QCOMPARE(grid->text(2, 9), QStringLiteral("0"));
        QCOMPARE(grid->text(2, 4), QString());
        QCOMPARE(grid->cellBackground(2, 4), QColor());
    }

    void standingsColumnsFollowTheSettings()
    {
        want().Pct = 1;
        frmMain &window = start();
        QVERIFY(window.openSeason(copyOf(sampleA, QStringLiteral("a.ptr"))));
        FlexGrid *grid = window.standingsGrid();
        // The stored width is the least; the header "勝率" needs more.
        QVERIFY(grid->colWidth(6) > 500 - 240);
        QCOMPARE(grid->text(1, 6), QStringLiteral(".6"));
        m_settings.Pct = 15;
        window.FillGrids(1, -1);
        QCOMPARE(grid->colWidth(6), 500 + 1440);
        QCOMPARE(grid->text(0, 1), QStringLiteral("チーム"));
        QCOMPARE(grid->text(1, 11), QStringLiteral("-"));

        // "狭く" on a column of 350 twips leaves it alone; "広く" widens all.
        m_settings.Width = 350;
        window.FillGrids(1, -1);
        auto *menu = window.findChild<QMenu *>(QStringLiteral("cellWidthMenu"));
        click(grid, 2, 12, Qt::RightButton);
        QTRY_VERIFY(menu->isVisible());
        menu->actions().at(1)->trigger();
        menu->hide();
        QCOMPARE(grid->colWidth(13), 350);
        click(grid, 2, 12, Qt::RightButton);
        menu->actions().at(0)->trigger();
        menu->hide();
        QCOMPARE(grid->colWidth(16), 400);
        QCOMPARE(m_settings.Width, 400);
    }

    void magicCellsCarryTheirColours()
    {
        frmMain &window = start();
        QVERIFY(window.openSeason(copyOf(sampleA, QStringLiteral("a.ptr"))));
        FlexGrid *grid = window.standingsGrid();
        const PublishedStandings &published = *window.published();
        const QColor face = window.palette().color(QPalette::Button);
        const QColor base = window.palette().color(QPalette::Base);
        for (int i = 1; i <= published.Rows.size(); ++i) {
            for (int k = 1; k <= published.Rows.size(); ++k) {
                if (k == i) {
                    continue;
                }
                const CardFigures &card = published.Analysis[i].Cards[k];
                const QColor expected = card.MagicKind == MagicKind::PerCard ||
                                                card.MagicKind == MagicKind::ClinchedAbove
                                            ? base
                                        : card.MagicKind == MagicKind::Deciding
                                            ? QColor(192, 255, 192)
                                            : face;
                QCOMPARE(grid->cellBackground(i, 10 + k), expected);
                QCOMPARE(grid->text(i, 10 + k), QString::fromStdU16String(card.MagicText()));
            }
        }
    }

    void clinchedAndDecidingColours()
    {
        // 甲 has clinched: its name is white-blue on blue. In the second
        // season 甲 needs one more win against 乙 only: row and header marked.
        auto b = test::SeasonBuilder::oneLeague({u"甲", u"乙", u"丙"}, 10);
        b.result(1, 2, 9, 0).result(1, 3, 9, 0).result(2, 3, 5, 5);
        const Season clinched = leagueShown(b);
        frmMain &window = start();
        QVERIFY(window.openSeason(saved(clinched, QStringLiteral("c.ptr"))));
        FlexGrid *grid = window.standingsGrid();
        QCOMPARE(grid->text(1, 1), QStringLiteral("甲"));
        QCOMPARE(window.published()->Analysis[1].MagicCountdown, 0);
        QCOMPARE(grid->cellBackground(1, 1), QColor(0, 0, 255));
        QCOMPARE(grid->cellForeground(1, 1), QColor(192, 255, 255));

        auto d = test::SeasonBuilder::oneLeague({u"甲", u"乙", u"丙"}, 10);
        d.result(1, 2, 3, 5).result(1, 3, 9, 0).result(2, 3, 5, 5);
        const Season deciding = leagueShown(d);
        QVERIFY(window.openSeason(saved(deciding, QStringLiteral("d.ptr"))));
        const CardAnalysis &top = window.published()->Analysis[1];
        QVERIFY(top.MagicCountdown > 0);
        QCOMPARE(top.Cards[2].MagicKind, MagicKind::Deciding);
        QCOMPARE(grid->cellBackground(1, 1), QColor(192, 255, 255));
        QCOMPARE(grid->cellBackground(0, 12), QColor(255, 255, 192));
        QCOMPARE(grid->cellBackground(1, 12), QColor(192, 255, 192));
    }

    void rightClickOnAnEmptyCellStaysZero()
    {
        frmMain &window = start();
        QVERIFY(window.openSeason(saved(smallSeason(), QStringLiteral("s.ptr"))));
        click(window.cardGrid(), 4, 10, Qt::RightButton);
        QCOMPARE(m_season.team(3).CardWins[4], 0);
        QCOMPARE(window.cardGrid()->text(4, 10), QString());
    }

    void refusalsAreToldOnlyWithMsgBox()
    {
        frmMain &window = start();
        QVERIFY(window.openSeason(saved(smallSeason(), QStringLiteral("s.ptr"))));
        click(window.cardGrid(), 2, 4); // 甲 against 乙: no card
        QVERIFY(m_prompts->calls().empty());
        m_settings.MsgBox = 1;
        click(window.cardGrid(), 2, 4);
        QCOMPARE(m_prompts->messageTexts(),
                 QStringList{QStringLiteral("このカードは設定されていません")});
        QCOMPARE(m_prompts->messages().back().icon, MessageIcon::Information);
        // 甲 against 丙 is finished at 6-4.
        click(window.cardGrid(), 2, 7);
        QCOMPARE(m_prompts->messageTexts().back(), QStringLiteral("このカードは終了しています"));
        QCOMPARE(m_prompts->messages().back().icon, MessageIcon::Exclamation);
        QCOMPARE(m_season.team(1).CardWins[3], 6);
    }

    void cellStatusNamesTheCardAndWhatIsLeft()
    {
        want().ToolTip = 1;
        frmMain &window = start();
        QVERIFY(window.openSeason(saved(smallSeason(), QStringLiteral("s.ptr"))));
        hover(window.cardGrid(), 3, 11);
        QCOMPARE(window.panelText(1), QStringLiteral("乙 － 丁： 残り 5 試合"));
        QCOMPARE(window.cardGrid()->toolTipText(), QStringLiteral("乙 － 丁 (残り5試合)"));
    }

    void keyboardEditorStoresOnEnterAndNeverOpensOnTheDiagonal()
    {
        want().Enter = 1;
        frmMain &window = start();
        QVERIFY(window.openSeason(saved(smallSeason(), QStringLiteral("s.ptr"))));
        auto *editor = window.findChild<QLineEdit *>(QStringLiteral("MyCells"));
        FlexGrid *grid = window.cardGrid();
        click(grid, 2, 2); // 甲's own group
        QVERIFY(!editor->isVisible());
        click(grid, 4, 10); // 丙 against 丁, wins
        QVERIFY(editor->isVisible());
        QTest::keyClicks(editor, QStringLiteral("3x"));
        QCOMPARE(editor->text(), QStringLiteral("3"));
        QTest::keyClick(editor, Qt::Key_Return);
        QVERIFY(!editor->isVisible());
        QCOMPARE(m_season.team(3).CardWins[4], 3);
        QCOMPARE(grid->text(4, 10), QStringLiteral("3"));
        QCOMPARE(grid->text(5, 8), QStringLiteral("3"));
        click(grid, 4, 11);
        QTest::keyClicks(editor, QStringLiteral("2"));
        QTest::keyClick(editor, Qt::Key_Escape);
        QCOMPARE(m_season.team(3).CardLosses[4], 0);

        // A pasted text that is no number reads as 0 and is accepted.
        want().MsgBox = 1;
        m_settings.MsgBox = 1;
        click(grid, 4, 10);
        editor->setText(QStringLiteral("三"));
        QTest::keyClick(editor, Qt::Key_Return);
        QVERIFY(m_prompts->messageTexts().isEmpty());
        QCOMPARE(m_season.team(3).CardWins[4], 0);
        QCOMPARE(grid->text(4, 10), QString());

        // Too many for an untouched card: the message says how many it
        // holds. Full-width digits from an input method count as typed.
        const auto typeByInputMethod = [editor](const QString &text) {
            QInputMethodEvent commit;
            commit.setCommitString(text);
            QApplication::sendEvent(editor, &commit);
        };
        click(grid, 4, 10);
        QTest::keyClicks(editor, QStringLiteral("30"));
        QTest::keyClick(editor, Qt::Key_Return);
        QCOMPARE(m_prompts->messageTexts(),
                 QStringList{QStringLiteral("このカードは最大10試合です")});
        click(grid, 4, 10);
        typeByInputMethod(QStringLiteral("４"));
        QTest::keyClick(editor, Qt::Key_Return);
        QCOMPARE(m_season.team(3).CardWins[4], 4);
        QCOMPARE(window.panelText(1), QStringLiteral("丙 － 丁： 残り 6 試合"));
        click(grid, 4, 11);
        typeByInputMethod(QStringLiteral("７"));
        QTest::keyClick(editor, Qt::Key_Return);
        QCOMPARE(m_prompts->messageTexts().back(),
                 QStringLiteral("このカードは最大10試合です\r\nこの欄には6まで入力できます"));
        QCOMPARE(m_season.team(3).CardLosses[4], 0);
    }

    void simulationCountsOnTopAndTheClearButtonEmptiesIt()
    {
        frmMain &window = start();
        QVERIFY(window.openSeason(saved(smallSeason(), QStringLiteral("s.ptr"))));
        auto *simulation = window.findChild<QRadioButton *>(QStringLiteral("optMode1"));
        auto *clear = window.findChild<QPushButton *>(QStringLiteral("btnClear"));
        QVERIFY(!clear->isEnabled());
        simulation->setChecked(true);
        QVERIFY(clear->isEnabled());
        QCOMPARE(window.cardGrid()->fixedBackground(), QColor(180, 204, 248));
        QCOMPARE(window.cardGrid()->text(2, 7), QString());
        click(window.cardGrid(), 4, 10);
        QCOMPARE(m_season.SimResults[3].Wins[4], 1);
        QCOMPARE(m_season.team(3).CardWins[4], 0);
        const int wins = window.published()->Rows[1].Wins + window.published()->Rows[2].Wins +
                         window.published()->Rows[3].Wins + window.published()->Rows[4].Wins;
        QCOMPARE(wins, 6 + 4 + 3 + 2 + 1);
        QTest::mouseClick(clear, Qt::LeftButton);
        QCOMPARE(m_season.SimResults[3].Wins[4], 0);
        window.findChild<QRadioButton *>(QStringLiteral("optMode0"))->setChecked(true);
        QCOMPARE(window.cardGrid()->text(2, 7), QStringLiteral("6"));
    }

    void divisionViewAddsTheOtherDivisionsAndLeaguesAsColumns()
    {
        frmMain &window = start();
        QVERIFY(window.openSeason(copyOf(sampleB, QStringLiteral("b.ptr"))));
        // Sample (b) was saved showing league 1, division 1: five rows, and
        // columns for every team (its division, the league's other divisions,
        // then the other league, as interleague games count).
        FlexGrid *grid = window.cardGrid();
        QCOMPARE(grid->rowCount(), 5 + 2);
        QCOMPARE(grid->colCount(), 3 * 30 + 1);
        QCOMPARE(grid->text(0, 1), grid->text(2, 0));
        QCOMPARE(grid->text(0, 3 * 5 + 1), QString::fromStdU16String(m_season.team(6).TeamName));
        QCOMPARE(grid->text(0, 3 * 15 + 1), QString::fromStdU16String(m_season.team(16).TeamName));
        QCOMPARE(window.standingsGrid()->rowCount(), 5 + 1);
        QCOMPARE(window.panelText(3), QStringLiteral("地区勝率"));
        QCOMPARE(window.panelText(4), QStringLiteral("対戦→リーグ内勝数→対戦表"));
        auto *divisions = window.findChild<QComboBox *>(QStringLiteral("cmbgp"));
        QVERIFY(divisions->isEnabled());
        QCOMPARE(divisions->currentIndex(), 1);
        QCOMPARE(divisions->count(), 4);

        // A win against a team of another division changes only the row's
        // cell on screen: the mirror is a column, not a row. Both records change.
        const int before = m_season.team(1).CardWins[6];
        click(grid, 2, 3 * 5 + 1);
        QCOMPARE(m_season.team(1).CardWins[6], before + 1);
        QCOMPARE(m_season.team(6).CardLosses[1], before + 1);
        QCOMPARE(grid->text(2, 3 * 5 + 1), QString::number(before + 1));
    }

    void editorClosesWithoutStoringOnFocusLossAndScrolling()
    {
        want().Enter = 1;
        frmMain &window = start();
        QVERIFY(window.openSeason(saved(smallSeason(), QStringLiteral("s.ptr"))));
        window.activateWindow();
        auto *editor = window.findChild<QLineEdit *>(QStringLiteral("MyCells"));
        FlexGrid *grid = window.cardGrid();
        click(grid, 4, 10);
        QVERIFY(editor->isVisible());
        QTest::keyClicks(editor, QStringLiteral("4"));
        emit grid->scrolled();
        QVERIFY(!editor->isVisible());
        QCOMPARE(m_season.team(3).CardWins[4], 0);
        click(grid, 4, 10);
        QVERIFY(editor->isVisible());
        QTest::keyClicks(editor, QStringLiteral("4"));
        QFocusEvent focusOut(QEvent::FocusOut, Qt::MouseFocusReason);
        QApplication::sendEvent(editor, &focusOut);
        QVERIFY(!editor->isVisible());
        QCOMPARE(m_season.team(3).CardWins[4], 0);
    }

    void aFailedSaveIsReportedAndTheSeasonStaysUnsaved()
    {
        frmMain &window = start();
        QVERIFY(window.openSeason(saved(smallSeason(), QStringLiteral("s.ptr"))));
        click(window.cardGrid(), 4, 10);
        const QString target = path(QStringLiteral("no-such-folder/s.ptr"));
        m_prompts->queueSaveFile(target);
        QVERIFY(!window.SaveAs());
        QCOMPARE(m_prompts->messageTexts(),
                 QStringList{QStringLiteral(
                                 "ファイルを保存できません\r\n%1\r\n保存先のフォルダがありません")
                                 .arg(QDir::toNativeSeparators(target))});
        QVERIFY(!saved());
    }

    // Answering Yes to the save question and then failing to save must not
    // let the close (or an open) go on: the results exist only in memory.
    void aFailedSaveInsideTheSaveQuestionCancelsTheClose()
    {
        QDir(m_dir->path()).mkdir(QStringLiteral("sub"));
        const QString file = saved(smallSeason(), QStringLiteral("sub/s.ptr"));
        frmMain &window = start();
        QVERIFY(window.openSeason(file));
        click(window.cardGrid(), 4, 10);
        QVERIFY(QDir(m_dir->filePath(QStringLiteral("sub"))).removeRecursively());
        m_prompts->queueAnswer(MessageAnswer::Yes);
        QVERIFY(!window.close());
        QVERIFY(window.isVisible());
        QCOMPARE(m_prompts->messageTexts().size(), 2);
        QCOMPARE(m_prompts->messageTexts().front(), QStringLiteral("現在のデータを保存しますか"));
        QVERIFY(m_prompts->messageTexts().back().startsWith(
            QStringLiteral("ファイルを保存できません")));
        QVERIFY(m_season.HasSeason);
        QVERIFY(!saved());
        QCOMPARE(m_season.team(3).CardWins[4], 1);

        // The same for an open: the file asked for is not even chosen.
        m_prompts->queueAnswer(MessageAnswer::Yes);
        m_prompts->queueOpenFile(copyOf(sampleA, QStringLiteral("a.ptr")));
        findAction(&window, QStringLiteral("開く(&O)..."))->trigger();
        QCOMPARE(m_season.team(3).CardWins[4], 1);
        QVERIFY(!saved());
    }

    // Without a season there is nothing to simulate or clear: neither mode
    // nor "クリア" can make an empty season that could then be saved.
    void withoutASeasonTheModeControlsStayDisabled()
    {
        frmMain &window = start();
        auto control = [&window](const char *name) {
            return window.findChild<QWidget *>(QString::fromLatin1(name));
        };
        for (int round = 0; round < 2; ++round) {
            for (const char *name : {"optMode0", "optMode1", "btnClear"}) {
                QVERIFY2(!control(name)->isEnabled(), name);
            }
            QVERIFY(!findAction(&window, QStringLiteral("上書き保存(&S)"))->isEnabled());
            // A failed open clears the season again.
            const QString junk = path(QStringLiteral("junk.ptr"));
            std::ofstream(junk.toStdString()) << "junk";
            QVERIFY(window.openSeason(copyOf(sampleA, QStringLiteral("a.ptr"))));
            QVERIFY(control("optMode1")->isEnabled());
            QVERIFY(!window.openSeason(junk));
        }
        QVERIFY(!m_season.HasSeason);
    }

    // The start applies what the close wrote, so a window keeps its place
    // and size over any number of starts; absurd stored values are brought
    // back onto the screen.
    void windowGeometrySurvivesARestartAndStaysOnScreen()
    {
        frmMain &first = start();
        const QRect placed(20, 30, 750, 500);
        first.setGeometry(placed);
        QVERIFY(first.close());
        cleanup();
        const QRect restored = start().geometry();
        QCOMPARE(restored, placed);
        cleanup();

        writeIni(QStringLiteral("[Window]\r\nState=0\r\nLeft=2000000000\r\nTop=-2000000000\r\n"
                                "Width=400000000\r\nHeight=400000000\r\n"));
        const QRect screen = QGuiApplication::primaryScreen()->availableVirtualGeometry();
        // Within the screen's size, its corner on the screen (the frame
        // around it is the window manager's).
        const QRect bounded = start().geometry();
        QVERIFY(bounded.width() <= screen.width() && bounded.height() <= screen.height());
        QVERIFY(screen.contains(bounded.topLeft()));
    }

    void statusPanelsKeepTheirShareWhateverTheirText()
    {
        frmMain &window = start();
        window.resize(640, 400);
        QVERIFY(window.openSeason(copyOf(sampleA, QStringLiteral("a.ptr"))));
        QApplication::processEvents();
        auto *last = window.findChild<QWidget *>(QStringLiteral("panel5"));
        const QRect before = last->geometry();
        hover(window.standingsGrid(), 1, 6);
        QVERIFY(window.panelText(1).contains(QStringLiteral("0.5")));
        QApplication::processEvents();
        QVERIFY(last->width() >= before.width() - 2);
        QVERIFY(last->mapTo(&window, QPoint(last->width(), 0)).x() <= window.width());
    }

    void theWindowLinesRunUnderTheMenuBar()
    {
        frmMain &window = start();
        for (const char *name : {"WindowLine0", "WindowLine1"}) {
            auto *line = window.findChild<QFrame *>(QString::fromLatin1(name));
            QVERIFY2(line != nullptr, name);
            QCOMPARE(line->height(), 1);
        }
    }

    // The next start reopens the last season that was open, not the one
    // the run began with, also when a later open failed.
    void fileNameNamesTheLastSeasonThatWasOpen()
    {
        const QString a = copyOf(sampleA, QStringLiteral("a.ptr"));
        const QString b = copyOf(sampleB, QStringLiteral("b.ptr"));
        writeIni(QStringLiteral("[Option]\r\nLoad=1\r\nFileName=%1\r\n").arg(a));
        frmMain &window = start();
        QVERIFY(window.openSeason(b));
        const QString junk = path(QStringLiteral("junk.ptr"));
        std::ofstream(junk.toStdString()) << "junk";
        QVERIFY(!window.openSeason(junk));
        QVERIFY(window.close());
        QVERIFY(readIni().contains(QStringLiteral("FileName=") + b));
    }

    void fileDialogsStartAtTheSeasonInUse()
    {
        const QString file = copyOf(sampleA, QStringLiteral("a.ptr"));
        frmMain &window = start();
        QVERIFY(window.openSeason(file));
        findAction(&window, QStringLiteral("開く(&O)..."))->trigger();
        QVERIFY(!window.SaveAs());
        QCOMPARE(m_prompts->calls().size(), std::size_t{2});
        QCOMPARE(m_prompts->calls()[0].file.initialPath, m_dir->path());
        QCOMPARE(m_prompts->calls()[1].file.initialPath, file);
    }

    // What the settings dialog applies reaches the window at once and the
    // next start through "Mgcsm.ini".
    void settingsFromTheDialogReachTheWindowAndTheNextStart()
    {
        want().Magic = 1;
        frmMain &window = start();
        QVERIFY(window.openSeason(copyOf(sampleA, QStringLiteral("a.ptr"))));
        const PublishedStandings &published = *window.published();
        int hiddenRow = 0;
        int hiddenCol = 0;
        for (int i = 1; i <= published.Rows.size() && hiddenRow == 0; ++i) {
            for (int k = 1; k <= published.Rows.size(); ++k) {
                if (k != i && published.Analysis[i].Cards[k].MagicKind == MagicKind::Hidden) {
                    hiddenRow = i;
                    hiddenCol = 10 + k;
                    break;
                }
            }
        }
        QVERIFY(hiddenRow > 0);
        QVERIFY(!window.standingsGrid()->text(hiddenRow, hiddenCol).isEmpty());

        m_dialogs->settingsEdit = [](Settings &settings) {
            settings.Magic = 0;
            settings.Enter = 1;
            settings.MsgBox = 1;
        };
        findAction(&window, QStringLiteral("設定(&S)..."))->trigger();
        QCOMPARE(m_dialogs->settingsShown, 1);
        QVERIFY(window.standingsGrid()->text(hiddenRow, hiddenCol).isEmpty());
        auto *editor = window.findChild<QLineEdit *>(QStringLiteral("MyCells"));
        click(window.cardGrid(), 2, 4);
        QVERIFY(editor->isVisible());
        QTest::keyClicks(editor, QStringLiteral("999"));
        QTest::keyClick(editor, Qt::Key_Return);
        QCOMPARE(m_prompts->messageTexts(),
                 QStringList{
                     QStringLiteral("このカードは最大25試合です\r\nこの欄には17まで入力できます")});

        m_prompts->queueAnswer(MessageAnswer::No);
        QVERIFY(window.close());
        cleanup();
        m_wanted.reset();
        start();
        QCOMPARE(m_settings.Magic, 0);
        QCOMPARE(m_settings.Enter, 1);
        QCOMPARE(m_settings.MsgBox, 1);
    }

    void aSeasonNamedAtStartIsOpenedInsteadOfTheLastOne()
    {
        const QString a = copyOf(sampleA, QStringLiteral("a.ptr"));
        const QString b = copyOf(sampleB, QStringLiteral("b.ptr"));
        writeIni(QStringLiteral("[Option]\r\nLoad=1\r\nFileName=%1\r\n").arg(a));
        start(b);
        QCOMPARE(m_window->windowTitle(), QStringLiteral("b.ptr[*] - ペナリン"));
        QVERIFY(saved());
    }

    // The recent list: newest first, each file once, reopened from the
    // menu; a file that is gone is dropped with the open failure message.
    void recentSeasonsAreListedKeptAndPruned()
    {
        writeIni(QStringLiteral("[Mine]\r\nKeep=1\r\n"));
        const QString a = copyOf(sampleA, QStringLiteral("a.ptr"));
        const QString b = copyOf(sampleB, QStringLiteral("b.ptr"));
        frmMain &window = start();
        QVERIFY(window.openSeason(a));
        QVERIFY(window.openSeason(b));
        QVERIFY(window.openSeason(a));
        QCOMPARE(window.recentFiles(),
                 (std::vector<std::string>{a.toStdString(), b.toStdString()}));
        auto *menu = window.findChild<QMenu *>(QStringLiteral("menuRecent"));
        QCOMPARE(menu->actions().size(), 2);
        menu->actions().at(1)->trigger();
        QCOMPARE(window.windowTitle(), QStringLiteral("b.ptr[*] - ペナリン"));
        QVERIFY(window.close());
        QVERIFY(readIni().contains(QStringLiteral("[Mine]\r\nKeep=1")));
        QVERIFY(readIni().contains(QStringLiteral("File1=") + b));
        cleanup();

        QFile::remove(a);
        frmMain &again = start();
        menu = again.findChild<QMenu *>(QStringLiteral("menuRecent"));
        QCOMPARE(menu->actions().size(), 2);
        menu->actions().at(1)->trigger();
        QCOMPARE(
            m_prompts->messageTexts(),
            QStringList{QStringLiteral("ファイルを開けません\r\n%1\r\nファイルが見つかりません")
                            .arg(QDir::toNativeSeparators(a))});
        QCOMPARE(again.recentFiles(), std::vector<std::string>{b.toStdString()});
    }

    void aDroppedSeasonOpensAfterTheSaveQuestion()
    {
        frmMain &window = start();
        QVERIFY(window.openSeason(saved(smallSeason(), QStringLiteral("s.ptr"))));
        click(window.cardGrid(), 4, 10);
        const QString b = copyOf(sampleB, QStringLiteral("b.ptr"));
        QMimeData data;
        data.setUrls({QUrl::fromLocalFile(b)});
        QDragEnterEvent enter(QPoint(5, 5), Qt::CopyAction, &data, Qt::LeftButton, {});
        QApplication::sendEvent(&window, &enter);
        QVERIFY(enter.isAccepted());
        m_prompts->queueAnswer(MessageAnswer::No);
        QDropEvent drop(QPointF(5, 5), Qt::CopyAction, &data, Qt::LeftButton, {});
        QApplication::sendEvent(&window, &drop);
        QCOMPARE(m_prompts->messageTexts(),
                 QStringList{QStringLiteral("現在のデータを保存しますか")});
        QCOMPARE(window.windowTitle(), QStringLiteral("b.ptr[*] - ペナリン"));

        QMimeData text;
        text.setUrls({QUrl::fromLocalFile(path(QStringLiteral("notes.txt")))});
        QDragEnterEvent refused(QPoint(5, 5), Qt::CopyAction, &text, Qt::LeftButton, {});
        refused.ignore();
        QApplication::sendEvent(&window, &refused);
        QVERIFY(!refused.isAccepted());
    }

    // Undo and redo of card entries from the mouse, the keyboard and the
    // simulation, and of "クリア"; back at the saved state the season
    // counts as saved again.
    void undoAndRedoFollowEveryEntryAndTheSavedState()
    {
        frmMain &window = start();
        QVERIFY(window.openSeason(saved(smallSeason(), QStringLiteral("s.ptr"))));
        QAction *undo = findAction(&window, QStringLiteral("元に戻す(&U)"));
        QVERIFY(undo != nullptr && !undo->isEnabled());
        FlexGrid *grid = window.cardGrid();
        click(grid, 4, 10); // 丙 beats 丁 once
        QVERIFY(undo->isEnabled());
        QCOMPARE(undo->text(), QStringLiteral("元に戻す(&U): 丙 - 丁 勝 0→1"));
        undo->trigger();
        QCOMPARE(m_season.team(3).CardWins[4], 0);
        QCOMPARE(m_season.team(4).CardLosses[3], 0);
        QCOMPARE(grid->text(4, 10), QString());
        QVERIFY(saved());
        QAction *redo = findAction(&window, QStringLiteral("やり直し(&R): 丙 - 丁 勝 0→1"));
        QVERIFY(redo != nullptr);
        redo->trigger();
        QCOMPARE(m_season.team(4).CardLosses[3], 1);
        QCOMPARE(grid->text(5, 8), QStringLiteral("1"));
        QVERIFY(!saved());

        // Keyboard entry, then a simulated one and the clear button.
        m_settings.Enter = 1;
        click(grid, 4, 11);
        auto *editor = window.findChild<QLineEdit *>(QStringLiteral("MyCells"));
        QTest::keyClicks(editor, QStringLiteral("2"));
        QTest::keyClick(editor, Qt::Key_Return);
        QCOMPARE(m_season.team(3).CardLosses[4], 2);
        m_settings.Enter = 0;
        window.findChild<QRadioButton *>(QStringLiteral("optMode1"))->setChecked(true);
        click(grid, 3, 7);
        QCOMPARE(m_season.SimResults[2].Wins[3], 1);
        QTest::mouseClick(window.findChild<QPushButton *>(QStringLiteral("btnClear")),
                          Qt::LeftButton);
        QCOMPARE(m_season.SimResults[2].Wins[3], 0);
        undo = window.undoStack() != nullptr ? findAction(&window, undoText(window)) : nullptr;
        QVERIFY(undo != nullptr);
        undo->trigger(); // the clear
        QCOMPARE(m_season.SimResults[2].Wins[3], 1);
        QCOMPARE(grid->text(3, 7), QStringLiteral("1"));
        window.undoStack()->undo(); // the simulated win
        window.undoStack()->undo(); // the keyboard entry
        QCOMPARE(m_season.SimResults[2].Wins[3], 0);
        QCOMPARE(m_season.team(3).CardLosses[4], 0);
        QVERIFY(!saved());
        window.undoStack()->undo(); // the first click: as saved
        QVERIFY(saved());

        // Opening a season empties the history.
        QVERIFY(window.openSeason(copyOf(sampleA, QStringLiteral("a.ptr"))));
        QVERIFY(!window.undoStack()->canUndo() && !window.undoStack()->canRedo());
    }

    // A games count changed, then a result entered and taken back: the games
    // count is still unsaved, so the title says so and the close asks.
    void anEditUndoneBehindAnotherLeavesTheSeasonUnsaved()
    {
        frmMain &window = start();
        QVERIFY(window.openSeason(saved(smallSeason(), QStringLiteral("s.ptr"))));
        QVERIFY(!window.isWindowModified());
        window.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&window));
        m_dialogs->gamesCount = [](Season &season) {
            season.team(3).CardGames[4] = season.team(4).CardGames[3] = 12;
            return true;
        };
        findAction(&window, QStringLiteral("対戦数(&G)..."))->trigger();
        click(window.cardGrid(), 4, 10);
        QTest::keyClick(&window, Qt::Key_Z, Qt::ControlModifier);
        QCOMPARE(m_season.team(3).CardWins[4], 0);
        QCOMPARE(m_season.team(3).CardGames[4], 12);
        QVERIFY(window.isWindowModified());
        m_prompts->queueAnswer(MessageAnswer::Cancel);
        QVERIFY(!window.close());
        QCOMPARE(m_prompts->messageTexts(),
                 QStringList{QStringLiteral("現在のデータを保存しますか")});
        // Both undone: as saved, and the close asks nothing.
        QTest::keyClick(&window, Qt::Key_Z, Qt::ControlModifier);
        QVERIFY(!window.isWindowModified());
        QVERIFY(window.close());
        QCOMPARE(m_prompts->messages().size(), std::size_t{1});
    }

    // Leaving the simulation empties it as a step of its own: the first undo
    // brings back simulation mode with the win on show, the second the win.
    void leavingTheSimulationIsUndoneBackIntoIt()
    {
        want().Simulation = 0;
        frmMain &window = start();
        QVERIFY(window.openSeason(saved(smallSeason(), QStringLiteral("s.ptr"))));
        auto *result = window.findChild<QRadioButton *>(QStringLiteral("optMode0"));
        auto *simulation = window.findChild<QRadioButton *>(QStringLiteral("optMode1"));
        simulation->setChecked(true);
        click(window.cardGrid(), 3, 7);
        result->setChecked(true);
        QCOMPARE(m_season.SimResults[2].Wins[3], 0);
        QCOMPARE(window.undoStack()->undoText(), QStringLiteral("シミュレーションの終了"));
        window.undoStack()->undo();
        QVERIFY(simulation->isChecked());
        QCOMPARE(window.cardGrid()->text(3, 7), QStringLiteral("1"));
        window.undoStack()->undo();
        QVERIFY(simulation->isChecked());
        QCOMPARE(window.cardGrid()->text(3, 7), QString());
        QCOMPARE(m_season.SimResults[2].Wins[3], 0);
        QVERIFY(!window.isWindowModified());
    }

    // A change made after an undo ends the redo: an undone outcome cannot
    // come back over a schedule it no longer fits.
    void aNewEditEndsTheRedoOfAnUndoneOutcome()
    {
        frmMain &window = start();
        QVERIFY(window.openSeason(saved(smallSeason(), QStringLiteral("s.ptr"))));
        m_dialogs->race = [](const Season &) {
            return race::Certificate{race::CardOutcome{3, 4, 10, 0, 0}};
        };
        findAction(&window, QStringLiteral("優勝・CS争い(&R)..."))->trigger();
        QCOMPARE(m_season.SimResults[3].Wins[4], 10);
        window.undoStack()->undo();
        QVERIFY(window.undoStack()->canRedo());
        m_dialogs->gamesCount = [](Season &season) {
            season.team(3).CardGames[4] = season.team(4).CardGames[3] = 4;
            return true;
        };
        findAction(&window, QStringLiteral("対戦数(&G)..."))->trigger();
        QVERIFY(!window.undoStack()->canRedo());
        QVERIFY(!findAction(&window, QStringLiteral("やり直し(&R)"))->isEnabled());
        QCOMPARE(m_season.SimResults[3].Wins[4], 0);
    }

    // Every menu command that changes the season is one step, and undoing it
    // gives back the very bytes the writer wrote before.
    void everyChangeOfTheSeasonUndoesToTheSameBytes()
    {
        want().Simulation = 0;
        frmMain &window = start();
        QVERIFY(window.openSeason(saved(smallSeason(), QStringLiteral("s.ptr"))));
        auto *simulation = window.findChild<QRadioButton *>(QStringLiteral("optMode1"));
        m_dialogs->gamesCount = [](Season &season) {
            season.team(3).CardGames[4] = season.team(4).CardGames[3] = 12;
            return true;
        };
        m_dialogs->teamDataEdit = [](Season &season) {
            season.team(1).LeagueDrawReplay = 1;
            return true;
        };
        m_dialogs->rankSets = [](Season &season) {
            season.team(2).UserRankA = 1;
            return true;
        };
        m_dialogs->chartData = [](Season &season, Settings &) {
            season.TeamShown[2] = StoredFalse;
            return true;
        };
        m_dialogs->race = [](const Season &) {
            return race::Certificate{race::CardOutcome{3, 4, 2, 0, 0}};
        };
        const std::pair<const char *, std::function<void()>> commands[] = {
            {"card entry", [&] { click(window.cardGrid(), 4, 10); }},
            {"games count",
             [&] { findAction(&window, QStringLiteral("対戦数(&G)..."))->trigger(); }},
            {"team data",
             [&] { findAction(&window, QStringLiteral("チームデータ(&T)..."))->trigger(); }},
            {"rank sets",
             [&] { findAction(&window, QStringLiteral("前年度順位の設定(&R)..."))->trigger(); }},
            {"chart data",
             [&] { findAction(&window, QStringLiteral("グラフデータ(&C)..."))->trigger(); }},
            {"race outcome",
             [&] { findAction(&window, QStringLiteral("優勝・CS争い(&R)..."))->trigger(); }},
            {"clear",
             [&] {
                 simulation->setChecked(true);
                 click(window.cardGrid(), 3, 7);
                 QTest::mouseClick(window.findChild<QPushButton *>(QStringLiteral("btnClear")),
                                   Qt::LeftButton);
             }},
            {"leaving the simulation",
             [&] {
                 simulation->setChecked(true);
                 click(window.cardGrid(), 3, 7);
                 window.findChild<QRadioButton *>(QStringLiteral("optMode0"))->setChecked(true);
             }},
        };
        for (const auto &[name, command] : commands) {
            const Season before = m_season;
            const std::vector<std::uint8_t> bytes = EncodeSeason(m_season);
            const int steps = window.undoStack()->index();
            command();
            QVERIFY2(window.undoStack()->index() > steps, name);
            while (window.undoStack()->index() > steps) {
                window.undoStack()->undo();
            }
            // The mode is the window's, not a change of the season.
            window.findChild<QRadioButton *>(QStringLiteral("optMode0"))->setChecked(true);
            QVERIFY2(EncodeSeason(m_season) == bytes, name);
            QVERIFY2(SameSeasonData(m_season, before), name);
            QVERIFY2(!window.isWindowModified(), name);
        }
    }

    // "新規作成": the save question first, then the wizard's season shown
    // whole and unsaved; a cancelled wizard leaves an empty window.
    void aNewSeasonIsShownUnsavedAndACancelledOneLeavesNothing()
    {
        frmMain &window = start();
        QVERIFY(window.openSeason(saved(smallSeason(), QStringLiteral("s.ptr"))));
        click(window.cardGrid(), 4, 10);
        m_prompts->queueAnswer(MessageAnswer::No);
        m_dialogs->wizard = [](Settings &) {
            return NewSeasonOutcome{
                test::SeasonBuilder::oneLeague({u"東", u"西", u"南"}, 6).build(), false};
        };
        QAction *create = findAction(&window, QStringLiteral("新規作成(&N)..."));
        create->trigger();
        QCOMPARE(m_prompts->messageTexts(),
                 QStringList{QStringLiteral("現在のデータを保存しますか")});
        QCOMPARE(window.standingsGrid()->rowCount(), 4);
        QCOMPARE(window.windowTitle(), QStringLiteral("ペナリン[*]"));
        QVERIFY(window.isWindowModified());
        QVERIFY(m_season.HasSeason && !saved());
        QVERIFY(!findAction(&window, QStringLiteral("公式戦(&P)"))->isEnabled());
        QVERIFY(findAction(&window, QStringLiteral("公式戦(&P)"))->isChecked());
        // Undo cannot make a never-saved season count as saved.
        click(window.cardGrid(), 2, 4);
        window.undoStack()->undo();
        QVERIFY(!saved());

        m_prompts->queueAnswer(MessageAnswer::No);
        m_dialogs->wizard = nullptr;
        create->trigger();
        QVERIFY(!m_season.HasSeason);
        QCOMPARE(window.standingsGrid()->rowCount(), 0);
    }

    void rankSetsThatChangedTheSeasonRebuildTheView()
    {
        frmMain &window = start();
        QVERIFY(window.openSeason(saved(smallSeason(), QStringLiteral("s.ptr"))));
        m_dialogs->rankSets = [](Season &season) {
            season.team(1).TeamName = u"甲改";
            return true;
        };
        findAction(&window, QStringLiteral("前年度順位の設定(&R)..."))->trigger();
        QVERIFY(!saved());
        QCOMPARE(window.cardGrid()->text(2, 0), QStringLiteral("甲改"));
    }

    // "貯金(&B)..." writes the history through the export dialog; without a
    // shown snapshot it says so.
    void historyExportsWriteTheShownSnapshots()
    {
        frmMain &window = start();
        QVERIFY(window.openSeason(copyOf(sampleA, QStringLiteral("a.ptr"))));
        const QString out = path(QStringLiteral("surplus.csv"));
        m_prompts->queueSaveFile(out);
        findAction(&window, QStringLiteral("貯金(&B)..."))->trigger();
        QCOMPARE(m_prompts->calls().back().file.filter,
                 QStringLiteral("カンマ区切り(*.csv);;タブ区切り(*.txt)"));
        QFile file(out);
        QVERIFY(file.open(QIODevice::ReadOnly));
        const QByteArray bytes = file.readAll();
        QCOMPARE(bytes.count("\r\n"), window.published()->Rows.size() + 2);
        QVERIFY(bytes.startsWith("\"\",\""));

        // The results table: 2n + 3 lines of the standings and the cards.
        const QString results = path(QStringLiteral("results.txt"));
        m_prompts->queueSaveFile(results);
        findAction(&window, QStringLiteral("成績(&R)..."))->trigger();
        QFile resultsFile(results);
        QVERIFY(resultsFile.open(QIODevice::ReadOnly));
        QCOMPARE(resultsFile.readAll().count("\r\n"), 2 * window.published()->Rows.size() + 3);

        for (Snapshot &snapshot : m_season.Snapshots) {
            snapshot.Shown = 0;
        }
        findAction(&window, QStringLiteral("勝率(&P)..."))->trigger();
        QCOMPARE(m_prompts->messageTexts(), QStringList{QStringLiteral("データがありません")});
    }

    // The charts and the team data from the menus and the standings grid's
    // double clicks; a chart that cannot be drawn says why in panel 1.
    void chartsAndTeamDataOpenFromMenusAndDoubleClicks()
    {
        frmMain &window = start();
        QVERIFY(window.openSeason(copyOf(sampleA, QStringLiteral("a.ptr"))));
        QAction *progression = findAction(&window, QStringLiteral("推移グラフ(&G)..."));
        for (const auto &[result, text] : {std::pair{0, QStringLiteral("データがありません")},
                                           std::pair{-1, QStringLiteral("データが多すぎます")}}) {
            m_dialogs->progressionChart = [result = result](const Season &) { return result; };
            progression->trigger();
            QCOMPARE(window.panelText(1), text);
        }
        FlexGrid *grid = window.standingsGrid();
        grid->ensureCellVisible(3, 7);
        QTest::mouseDClick(grid->viewport(), Qt::LeftButton, {}, grid->cellRect(3, 7).center());
        grid->ensureCellVisible(2, 13);
        QTest::mouseDClick(grid->viewport(), Qt::LeftButton, {}, grid->cellRect(2, 13).center());
        QCOMPARE(m_dialogs->compositionRows, std::vector<int>{2});
        QCOMPARE(m_dialogs->teamData, (std::vector<std::pair<int, int>>{{1, 2}}));

        QVERIFY(saved());
        // OK without a change leaves nothing to save; a team hidden does.
        m_dialogs->chartData = [](Season &, Settings &) { return true; };
        findAction(&window, QStringLiteral("グラフデータ(&C)..."))->trigger();
        QVERIFY(saved());
        m_dialogs->chartData = [](Season &season, Settings &) {
            season.TeamShown[1] = StoredFalse;
            return true;
        };
        findAction(&window, QStringLiteral("グラフデータ(&C)..."))->trigger();
        QVERIFY(!saved());
    }

    // A loaded outcome becomes the simulated results in simulation mode;
    // in result mode kept ones are replaced only after a question.
    void aRaceOutcomeIsLoadedIntoTheSimulation()
    {
        want().Simulation = 1;
        frmMain &window = start();
        QVERIFY(window.openSeason(saved(smallSeason(), QStringLiteral("s.ptr"))));
        auto *simulation = window.findChild<QRadioButton *>(QStringLiteral("optMode1"));
        simulation->setChecked(true);
        click(window.cardGrid(), 3, 7); // a kept simulated win of 乙 over 丙
        window.findChild<QRadioButton *>(QStringLiteral("optMode0"))->setChecked(true);
        QVERIFY(HasSimulatedResults(m_season));
        m_dialogs->race = [](const Season &) {
            return race::Certificate{race::CardOutcome{3, 4, 2, 0, 0}};
        };
        QAction *raceAction = findAction(&window, QStringLiteral("優勝・CS争い(&R)..."));
        m_prompts->queueAnswer(MessageAnswer::No);
        raceAction->trigger();
        QCOMPARE(m_season.SimResults[2].Wins[3], 1);
        QCOMPARE(m_season.SimMode, 0);
        m_prompts->queueAnswer(MessageAnswer::Yes);
        raceAction->trigger();
        QCOMPARE(m_prompts->messages().size(), std::size_t{2});
        QCOMPARE(m_season.SimResults[2].Wins[3], 0);
        QCOMPARE(m_season.SimResults[3].Wins[4], 2);
        QVERIFY(simulation->isChecked());
        QCOMPARE(window.cardGrid()->text(4, 10), QStringLiteral("2"));
        window.undoStack()->undo();
        QCOMPARE(m_season.SimResults[2].Wins[3], 1);
    }

    // A pasted list with a possible repeat and an error, imported skipping
    // the error and with a snapshot per day, is one step that one undo takes
    // back to the very bytes of the season before.
    void pastedGamesArePreviewedAndImportedAsOneStep()
    {
        Season season = smallSeason();
        season.Snapshots.push_back({toOleDate({2026, 4, 5}), u"開幕", StoredTrue});
        for (TeamSnapshot &values : season.TeamSnapshots) {
            values.Pcts.push_back(0.5F);
            values.Surpluses.push_back(0);
        }
        frmMain &window = start();
        QVERIFY(window.openSeason(saved(season, QStringLiteral("s.ptr"))));
        const std::vector<std::uint8_t> before = EncodeSeason(m_season);
        QGuiApplication::clipboard()->setText(
            QStringLiteral("4/5\t丙\t丁\t3\t1\n4/6\t甲\t乙\t2\t1\n4/6\t乙\t丁\t5\t0\n"));
        m_dialogs->importPreview = [](const Season &, const GameList &list) {
            const std::vector<ImportStatus> statuses = {ImportStatus::PossibleDuplicate,
                                                        ImportStatus::Error, ImportStatus::Import};
            for (std::size_t k = 0; k < statuses.size(); ++k) {
                if (list.lines.size() != statuses.size() || list.lines[k].status != statuses[k]) {
                    return std::optional<ImportChoice>{};
                }
            }
            return std::optional<ImportChoice>{ImportChoice{true, true}};
        };
        findAction(&window, QStringLiteral("試合結果の貼り付け"))->trigger();
        QCOMPARE(m_dialogs->importPreviews, 1);
        QCOMPARE(m_season.team(3).CardWins[4], 1);
        QCOMPARE(m_season.team(2).CardWins[4], 4);
        QCOMPARE(m_season.SnapshotCount(), 3);
        QCOMPARE(window.cardGrid()->text(3, 10), QStringLiteral("4"));
        QVERIFY(window.document()->isModified());
        QCOMPARE(undoText(window), QStringLiteral("元に戻す(&U): 試合結果の取り込み"));

        window.undoStack()->undo();
        QVERIFY(EncodeSeason(m_season) == before);
        QCOMPARE(window.cardGrid()->text(3, 10), QStringLiteral("3"));
        QVERIFY(!window.document()->isModified());
    }

    void previousFormatFileIsConvertedWithItsMessage()
    {
        const QString file = path(QStringLiteral("old.ptr"));
        const std::vector<std::uint8_t> bytes = test::previousFormatFile(1, 1);
        std::ofstream(file.toStdString(), std::ios::binary)
            .write(reinterpret_cast<const char *>(bytes.data()),
                   static_cast<std::streamsize>(bytes.size()));
        frmMain &window = start();
        QVERIFY(window.openSeason(file));
        // The conversion message comes first. The old layout kept no league
        // games count, so until the games are set again the schedule is
        // reported as inconsistent too.
        QVERIFY(!m_prompts->messageTexts().isEmpty());
        QCOMPARE(m_prompts->messageTexts().front(),
                 QStringLiteral("旧バージョンで作成されたファイルです\r\n"
                                "対戦数の再設定が必要です\r\n"
                                "対戦数ダイアログボックスのOKボタンを押してください"));
        QCOMPARE(m_prompts->messages().front().icon, MessageIcon::Exclamation);
        QVERIFY(m_season.HasSeason);
        // The games counts are asked for before the season is shown, and
        // the converted season is not the file on disk.
        QCOMPARE(m_dialogs->gamesCountShown, 1);
        QVERIFY(!saved());
        QCOMPARE(window.standingsGrid()->rowCount(), m_season.RowTeamCount() + 1);

        m_dialogs->winLineFails = true;
        m_prompts->clear();
        findAction(&window, QStringLiteral("優勝ライン(&L)..."))->trigger();
        QCOMPARE(m_prompts->messageTexts(),
                 QStringList{QStringLiteral("優勝ラインを正しく計算できません\r\n"
                                            "対戦数・引分再試合の設定を変更するか、リーグ・地区を選"
                                            "択してください")});
        QCOMPARE(m_prompts->messages().front().icon, MessageIcon::Critical);
    }

    void aScheduleExceededSaysSoOnceWhenOpenedAndAfterEachEntry()
    {
        auto b = test::SeasonBuilder::oneLeague({u"甲", u"乙", u"丙"}, 4);
        b.result(1, 2, 5, 0);
        const Season season = leagueShown(b);
        frmMain &window = start();
        QVERIFY(window.openSeason(saved(season, QStringLiteral("over.ptr"))));
        const QString message =
            QStringLiteral("マジックナンバーを正しく計算できません\r\n"
                           "対戦数・引分再試合の設定を変更するか、リーグ・地区を選択してください");
        QCOMPARE(m_prompts->messageTexts(), QStringList{message});
        QCOMPARE(m_prompts->messages().front().icon, MessageIcon::Critical);
        QCOMPARE(window.standingsGrid()->text(1, 10), QStringLiteral("3"));
        // 乙 against 丙, a card with room: entered, and the message again.
        click(window.cardGrid(), 3, 7);
        QCOMPARE(m_prompts->messageTexts().size(), 2);
    }

    void selectionOffLeavesTheHeadersAlone()
    {
        want().Selection = 0;
        frmMain &window = start();
        QVERIFY(window.openSeason(saved(smallSeason(), QStringLiteral("s.ptr"))));
        hover(window.cardGrid(), 4, 10);
        QCOMPARE(window.cardGrid()->cellBackground(4, 0), QColor());
        m_settings.Selection = 1;
        hover(window.cardGrid(), 3, 10);
        QCOMPARE(window.cardGrid()->cellBackground(3, 0),
                 window.palette().color(QPalette::Highlight));
        QCOMPARE(window.cardGrid()->cellBackground(1, 10),
                 window.palette().color(QPalette::Highlight));
    }
};

QTEST_MAIN(FrmMainTest)
#include "frmmain_test.moc"
