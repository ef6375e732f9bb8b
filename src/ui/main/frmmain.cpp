#include "ui/main/frmmain.h"

#include "platform/elidedlabel.h"
#include "platform/flexgrid.h"
#include "platform/helpviewer.h"
#include "platform/prompts.h"
#include "platform/twips.h"
#include "season/filemodule.h"
#include "season/recentfiles.h"
#include "tables/resultstable.h"
#include "tables/standingstable.h"
#include "ui/dialogs/dialogs.h"
#include "ui/main/cardpane.h"
#include "ui/main/cardundo.h"
#include "ui/main/seasondocument.h"
#include "ui/main/standingspane.h"
#include "ui/main/uitext.h"

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QCloseEvent>
#include <QComboBox>
#include <QDir>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QFileInfo>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>
#include <QMimeData>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>
#include <QStatusBar>
#include <QStyle>
#include <QTimer>
#include <QUndoStack>
#include <QUrl>
#include <QVBoxLayout>
#include <QWindow>

#include <algorithm>

namespace penarin {

namespace {

const QString SeasonFilter = QStringLiteral("ペナリン(*.ptr)");

FileRequest seasonFileRequest(const QString &title, const QString &start)
{
    return FileRequest{title, SeasonFilter, QStringLiteral("ptr"), start};
}

// Stored window values beyond anything a screen shows are brought back into
// range before any arithmetic on them.
constexpr int MaxWindowTwips = 1 << 20;

int boundedTwips(int twips)
{
    return std::clamp(twips, -MaxWindowTwips, MaxWindowTwips);
}

} // namespace

frmMain::frmMain(Season &season, Settings &settings, Prompts &prompts, Dialogs &dialogs,
                 ProgramFiles files, QWidget *parent)
    : QMainWindow(parent), m_season(season), m_settings(settings), m_prompts(prompts),
      m_dialogs(dialogs), m_files(std::move(files))
{
    setObjectName(QStringLiteral("frmMain"));
    m_document = new SeasonDocument(m_season, this);
    setAcceptDrops(true);
    connect(m_document, &SeasonDocument::fileNameChanged, this, [this] { updateTitle(); });
    connect(m_document, &SeasonDocument::changed, this, [this] { updateMenuState(); });
    connect(m_document, &SeasonDocument::modifiedChanged, this, &QWidget::setWindowModified);
    connect(m_document, &SeasonDocument::seasonReplaced, this, [this] { showSeasonAgain(); });
    buildControls();
    buildMenus();
    clearWindow();
}

frmMain::~frmMain()
{
    // The stack announces its last clean state while it is destroyed; by
    // then nothing of the window may listen.
    undoStack()->disconnect(this);
    m_document->disconnect(this);
    if (m_help) {
        m_help->closeHelp();
    }
}

void frmMain::buildControls()
{
    auto *central = new QWidget(this);
    setCentralWidget(central);

    // The two separator lines under the menu bar: a shadow and a light line.
    std::array<QFrame *, 2> windowLines{};
    for (std::size_t i = 0; i < windowLines.size(); ++i) {
        windowLines[i] = new QFrame(central);
        windowLines[i]->setObjectName(QStringLiteral("WindowLine%1").arg(i));
        windowLines[i]->setFixedHeight(1);
        windowLines[i]->setAutoFillBackground(true);
        QPalette linePalette = windowLines[i]->palette();
        linePalette.setColor(QPalette::Window,
                             palette().color(i == 0 ? QPalette::Mid : QPalette::Light));
        windowLines[i]->setPalette(linePalette);
    }

    m_standings = new StandingsPane(m_season, m_settings, central);
    m_cards = new CardPane(m_season, m_settings, m_prompts, central);

    m_modeFrame = new QGroupBox(central);
    m_modeFrame->setObjectName(QStringLiteral("ModeFrame"));
    m_optMode[0] = new QRadioButton(QStringLiteral("対戦成績(&P)"), m_modeFrame);
    m_optMode[0]->setObjectName(QStringLiteral("optMode0"));
    m_optMode[1] = new QRadioButton(QStringLiteral("シミュレーション(&S)"), m_modeFrame);
    m_optMode[1]->setObjectName(QStringLiteral("optMode1"));
    m_optMode[0]->setChecked(true);
    m_btnClear = new QPushButton(QStringLiteral("クリア(&C)"), m_modeFrame);
    m_btnClear->setObjectName(QStringLiteral("btnClear"));
    auto *modeLayout = new QHBoxLayout(m_modeFrame);
    modeLayout->setContentsMargins(6, 2, 6, 4);
    modeLayout->addWidget(m_optMode[0]);
    modeLayout->addWidget(m_optMode[1]);
    modeLayout->addWidget(m_btnClear);

    m_jobFrame = new QGroupBox(central);
    m_jobFrame->setObjectName(QStringLiteral("JobFrame"));
    m_lblLeague = new QLabel(QStringLiteral("リーグ(&L):"), m_jobFrame);
    m_cmbLg = new QComboBox(m_jobFrame);
    m_cmbLg->setObjectName(QStringLiteral("cmbLg"));
    m_lblLeague->setBuddy(m_cmbLg);
    m_lblDivision = new QLabel(QStringLiteral("地区(&G):"), m_jobFrame);
    m_cmbgp = new QComboBox(m_jobFrame);
    m_cmbgp->setObjectName(QStringLiteral("cmbgp"));
    m_lblDivision->setBuddy(m_cmbgp);
    m_btnShow = new QPushButton(QStringLiteral("表示(&V)"), m_jobFrame);
    m_btnShow->setObjectName(QStringLiteral("btnShow"));
    for (QComboBox *selector : {m_cmbLg, m_cmbgp}) {
        selector->setSizeAdjustPolicy(QComboBox::AdjustToContents);
        fitSelector(selector);
    }
    auto *jobLayout = new QHBoxLayout(m_jobFrame);
    jobLayout->setContentsMargins(6, 2, 6, 4);
    jobLayout->addWidget(m_lblLeague);
    jobLayout->addWidget(m_cmbLg);
    jobLayout->addSpacing(4);
    jobLayout->addWidget(m_lblDivision);
    jobLayout->addWidget(m_cmbgp);
    jobLayout->addWidget(m_btnShow);

    auto *frames = new QHBoxLayout;
    frames->setSpacing(0);
    frames->addWidget(m_modeFrame);
    frames->addWidget(m_jobFrame);
    frames->addStretch(1);

    // Both grids share the height that the frames leave, as the stored
    // layout does with about half of the window each.
    auto *layout = new QVBoxLayout(central);
    layout->setContentsMargins(3, 0, 3, 3);
    layout->setSpacing(0);
    layout->addWidget(windowLines[0]);
    layout->addWidget(windowLines[1]);
    layout->addSpacing(8);
    layout->addWidget(m_standings->grid(), 1);
    layout->addSpacing(4);
    layout->addLayout(frames);
    layout->addSpacing(6);
    layout->addWidget(m_cards->grid(), 1);
    for (FlexGrid *grid : {m_standings->grid(), m_cards->grid()}) {
        grid->setMinimumHeight(4 * grid->fontMetrics().height());
    }

    auto *bar = new QStatusBar(this);
    bar->setObjectName(QStringLiteral("stber"));
    bar->setSizeGripEnabled(true);
    for (std::size_t i = 0; i < m_panels.size(); ++i) {
        m_panels[i] = new ElidedLabel(bar);
        m_panels[i]->setObjectName(QStringLiteral("panel%1").arg(i + 1));
        m_panels[i]->setFrameShape(QFrame::Panel);
        m_panels[i]->setFrameShadow(QFrame::Sunken);
        bar->addWidget(m_panels[i], i == 0 ? 3 : i == 4 ? 2 : 1);
    }
    setStatusBar(bar);

    connect(m_optMode[1], &QRadioButton::toggled, this,
            [this](bool simulation) { setSimulationMode(simulation); });
    connect(m_btnClear, &QPushButton::clicked, this, [this] {
        if (!m_season.HasSeason || !HasSimulatedResults(m_season)) {
            return;
        }
        Season cleared = m_season;
        ClearSimulation(cleared);
        m_document->pushEdit(QStringLiteral("シミュレーションのクリア"), std::move(cleared));
    });
    connect(m_cmbLg, &QComboBox::activated, this,
            [this](int index) { fillDivisionSelector(index); });
    connect(m_cmbgp, &QComboBox::activated, this,
            [this](int) { m_cmbgp->setToolTip(m_cmbgp->currentText()); });
    connect(m_btnShow, &QPushButton::clicked, this, [this] { showSelection(); });

    auto toPanel1 = [this](const QString &text) { setPanel(1, text); };
    connect(m_standings, &StandingsPane::statusText, this, toPanel1);
    connect(m_cards, &CardPane::statusText, this, toPanel1);
    connect(m_standings, &StandingsPane::teamDataRequested, this, &frmMain::showTeamData);
    connect(m_standings, &StandingsPane::compositionRequested, this,
            &frmMain::showCompositionChart);
    connect(m_cards, &CardPane::cardChanged, this, [this](const CardChange &change) {
        if (change.before != change.after) {
            m_document->push(
                new CardEntryCommand(m_season, change, [this] { refreshAfterUndo(); }));
        }
        RefreshStandings();
    });
}

QUndoStack *frmMain::undoStack() const
{
    return m_document->undoStack();
}

FlexGrid *frmMain::standingsGrid() const
{
    return m_standings->grid();
}

FlexGrid *frmMain::cardGrid() const
{
    return m_cards->grid();
}

void frmMain::buildMenus()
{
    auto add = [this](QMenu *menu, const QString &caption, const QKeySequence &key, auto handler) {
        QAction *action = menu->addAction(caption);
        if (!key.isEmpty()) {
            action->setShortcut(key);
        }
        connect(action, &QAction::triggered, this, handler);
        return action;
    };
    m_menuFile = menuBar()->addMenu(QStringLiteral("ファイル(&F)"));
    add(m_menuFile, QStringLiteral("新規作成(&N)..."), {}, [this] { newSeason(); });
    add(m_menuFile, QStringLiteral("開く(&O)..."), {}, [this] {
        if (AskToSave()) {
            return;
        }
        const QString path = m_prompts.openFile(
            seasonFileRequest(QStringLiteral("ファイルを開く"), fileDialogStart()));
        if (!path.isEmpty()) {
            openSeason(path);
        }
    });
    m_actImport = add(m_menuFile, QStringLiteral("試合結果の取り込み(&I)..."), {},
                      [this] { importGameFile(); });
    m_menuRecent = m_menuFile->addMenu(QStringLiteral("最近使ったファイル"));
    m_menuRecent->setObjectName(QStringLiteral("menuRecent"));
    m_actSave = add(m_menuFile, QStringLiteral("上書き保存(&S)"),
                    QKeySequence(Qt::CTRL | Qt::Key_S), [this] { save(); });
    m_actSaveAs =
        add(m_menuFile, QStringLiteral("名前を付けて保存(&A)..."), {}, [this] { SaveAs(); });
    QMenu *exportMenu = m_menuFile->addMenu(QStringLiteral("テキストファイルに出力(&T)"));
    m_actExportResults = add(exportMenu, QStringLiteral("成績(&R)..."), {}, [this] {
        if (m_season.HasSeason && m_published) {
            writeExport(BuildResultsTable(m_season,
                                          BuildStandingsTable(m_season, *m_published, m_settings)));
        }
    });
    m_actExportSurplus = add(exportMenu, QStringLiteral("貯金(&B)..."), {},
                             [this] { exportHistory(HistoryKind::Surplus); });
    m_actExportPct = add(exportMenu, QStringLiteral("勝率(&P)..."), {},
                         [this] { exportHistory(HistoryKind::Pct); });
    m_actExportCards = add(exportMenu, QStringLiteral("カード別成績(&G)..."), {}, [this] {
        if (m_season.HasSeason) {
            writeExport(CardTotalsTable(m_season));
        }
    });
    m_menuFile->addSeparator();
    add(m_menuFile, QStringLiteral("終了(&X)"), QKeySequence(Qt::CTRL | Qt::Key_X),
        [this] { close(); });

    QMenu *edit = menuBar()->addMenu(QStringLiteral("編集(&E)"));
    m_actUndo = add(edit, QStringLiteral("元に戻す(&U)"), QKeySequence(Qt::CTRL | Qt::Key_Z),
                    [this] { undoStack()->undo(); });
    m_actRedo = add(edit, QStringLiteral("やり直し(&R)"), QKeySequence(Qt::CTRL | Qt::Key_Y),
                    [this] { undoStack()->redo(); });
    edit->addSeparator();
    m_actPasteGames = add(edit, QStringLiteral("試合結果の貼り付け"), {}, [this] {
        importGames(QGuiApplication::clipboard()->text().toStdU16String());
    });
    auto name = [](const QString &caption, const QString &what) {
        return what.isEmpty() ? caption : caption + QStringLiteral(": ") + what;
    };
    connect(undoStack(), &QUndoStack::canUndoChanged, m_actUndo, &QAction::setEnabled);
    connect(undoStack(), &QUndoStack::canRedoChanged, m_actRedo, &QAction::setEnabled);
    connect(undoStack(), &QUndoStack::undoTextChanged, m_actUndo,
            [this, name](const QString &text) {
                m_actUndo->setText(name(QStringLiteral("元に戻す(&U)"), text));
            });
    connect(undoStack(), &QUndoStack::redoTextChanged, m_actRedo,
            [this, name](const QString &text) {
                m_actRedo->setText(name(QStringLiteral("やり直し(&R)"), text));
            });
    m_actUndo->setEnabled(false);
    m_actRedo->setEnabled(false);

    m_menuOption = menuBar()->addMenu(QStringLiteral("オプション(&O)"));
    m_actSettings = add(m_menuOption, QStringLiteral("設定(&S)..."), QKeySequence(Qt::Key_F2),
                        [this] { editSettings(); });
    m_actGames = add(m_menuOption, QStringLiteral("対戦数(&G)..."), {}, [this] {
        if (m_season.HasSeason) {
            editGamesCount();
        }
    });
    m_actRanks = add(m_menuOption, QStringLiteral("前年度順位の設定(&R)..."), {}, [this] {
        if (m_season.HasSeason) {
            applyEdit(QStringLiteral("前年度順位の設定"), m_dialogs.editRankSets(m_season, this));
        }
    });
    m_menuOption->addSeparator();
    m_actLoad = add(m_menuOption, QStringLiteral("次回起動時ファイルを開く(&F)"), {},
                    [this](bool checked) { m_settings.Load = checked ? 1 : 0; });
    m_actLoad->setCheckable(true);

    m_menuData = menuBar()->addMenu(QStringLiteral("データ(&D)"));
    m_actWinLine = add(m_menuData, QStringLiteral("優勝ライン(&L)..."), QKeySequence(Qt::Key_F3),
                       [this] { showWinLine(); });
    m_actProgression = add(m_menuData, QStringLiteral("推移グラフ(&G)..."),
                           QKeySequence(Qt::CTRL | Qt::Key_G), [this] { showProgressionChart(); });
    m_actSurplus = add(m_menuData, QStringLiteral("貯金構成(&O)..."),
                       QKeySequence(Qt::CTRL | Qt::Key_O), [this] { showCompositionChart(0); });
    m_actChartData = add(m_menuData, QStringLiteral("グラフデータ(&C)..."), {}, [this] {
        if (m_season.HasSeason && m_published) {
            applyEdit(QStringLiteral("グラフデータの変更"),
                      m_dialogs.editChartData(m_season, *m_published, m_settings, this));
        }
    });
    m_actTeamData = add(m_menuData, QStringLiteral("チームデータ(&T)..."), QKeySequence(Qt::Key_F7),
                        [this] { showTeamData(0, -1); });
    m_menuData->addSeparator();
    m_actRace = add(m_menuData, QStringLiteral("優勝・CS争い(&R)..."), {}, [this] { showRace(); });

    m_menuRank = menuBar()->addMenu(QStringLiteral("順位表(&R)"));
    m_actScope[0] = add(m_menuRank, QStringLiteral("公式戦(&P)"),
                        QKeySequence(Qt::CTRL | Qt::Key_P), [this] { chooseScope(ScopeOfficial); });
    m_actScope[1] = add(m_menuRank, QStringLiteral("リーグ戦(&L)"),
                        QKeySequence(Qt::CTRL | Qt::Key_L), [this] { chooseScope(ScopeLeague); });
    m_actScope[2] =
        add(m_menuRank, QStringLiteral("交流戦(&I)"), QKeySequence(Qt::CTRL | Qt::Key_I),
            [this] { chooseScope(ScopeInterleague); });
    for (QAction *action : m_actScope) {
        action->setCheckable(true);
    }
    m_actScope[0]->setChecked(true);

    QMenu *help = menuBar()->addMenu(QStringLiteral("ヘルプ(&H)"));
    add(help, QStringLiteral("トピックの検索(&T)..."), QKeySequence(Qt::Key_F1), [this] {
        if (!m_help) {
            m_help = new HelpViewer();
            m_help->setAttribute(Qt::WA_DeleteOnClose);
        }
        m_help->showContents(QString::fromStdString(m_files.helpFile.string()));
    });
    add(help, QStringLiteral("バージョン情報(&A)..."), {}, [this] {
        m_prompts.message(QString::fromStdU16String(ProgramTitle) + QStringLiteral("\nVer ") +
                              QString::fromStdString(ProgramVersion),
                          MessageIcon::Information, MessageButtons::Ok,
                          QStringLiteral("バージョン情報"));
    });

    for (QMenu *menu : {m_menuFile, m_menuOption, m_menuData, m_menuRank}) {
        connect(menu, &QMenu::aboutToShow, this, [this] { updateMenuState(); });
    }
    updateMenuState();
}

// Entries follow the season: most need one, the exports of snapshot
// histories and the progression chart need snapshots too.
void frmMain::updateMenuState()
{
    const bool hasSeason = m_season.HasSeason;
    const bool hasSnapshots = m_season.SnapshotCount() > 0;
    auto enable = [](QAction *action, bool on) { action->setEnabled(on); };
    enable(m_actSave, hasSeason);
    enable(m_actSaveAs, hasSeason);
    enable(m_actExportResults, hasSeason);
    enable(m_actExportSurplus, hasSnapshots);
    enable(m_actExportPct, hasSnapshots);
    enable(m_actExportCards, hasSeason);
    enable(m_actImport, hasSeason);
    enable(m_actPasteGames, hasSeason);
    enable(m_actGames, hasSeason);
    enable(m_actSettings, hasSeason);
    enable(m_actLoad, hasSeason);
    enable(m_actRanks, hasSeason);
    enable(m_actWinLine, hasSeason);
    enable(m_actChartData, hasSeason);
    enable(m_actSurplus, hasSeason);
    enable(m_actTeamData, hasSeason);
    enable(m_actRace, hasSeason);
    enable(m_actProgression, m_season.GameScope == ScopeOfficial && hasSnapshots);
    for (QAction *action : m_actScope) {
        action->setEnabled(hasSeason && m_scopeMenuEnabled);
    }
}

void frmMain::startUp(const QString &fileToOpen)
{
    m_season.GameScope = ScopeOfficial;
    const SettingsFileContents contents = readSettings(m_files.settingsFile);
    if (contents.unreadable) {
        // The file stays as it is (the close does not write over it); the
        // user learns why the preferences are gone.
        m_prompts.message(QString::fromUtf8(SettingsUnreadable) +
                              QStringLiteral("\r\n既定の設定で起動します"),
                          MessageIcon::Exclamation, MessageButtons::Ok);
    }
    m_settings = contents.settings;
    m_recentFiles = contents.recentFiles;
    rebuildRecentMenu();
    restoreGeometry(contents.window);
    applyFonts();
    m_actLoad->setChecked(m_settings.Load == 1);
    // A path never holds a NUL; one read from an old file ends the name.
    std::string current = contents.fileName;
    current = current.substr(0, current.find('\0'));
    m_season.CurrentFile = current;
    m_document->setLastFile(current);
    // A season named on the command line (the launcher, the file manager)
    // comes instead of the last one.
    if (!fileToOpen.isEmpty()) {
        // Kept whole, so the recent list and the next start find it from
        // any folder.
        openSeason(QFileInfo(fileToOpen).absoluteFilePath());
        return;
    }
    if (current.empty() || m_settings.Load != 1) {
        return;
    }
    std::error_code error;
    if (!std::filesystem::is_regular_file(std::filesystem::u8path(current), error)) {
        return;
    }
    openSeason(QString::fromStdString(current));
}

void frmMain::rebuildRecentMenu()
{
    m_menuRecent->clear();
    int number = 1;
    for (const std::string &file : m_recentFiles) {
        const QString path = QString::fromStdString(file);
        // An "&" in a path is text, not an access key.
        QAction *action = m_menuRecent->addAction(QStringLiteral("&%1 %2").arg(number++).arg(
            QString(path).replace(QLatin1Char('&'), QLatin1String("&&"))));
        connect(action, &QAction::triggered, this, [this, path] { openRecent(path); });
    }
    m_menuRecent->setEnabled(!m_recentFiles.empty());
}

void frmMain::openRecent(const QString &path)
{
    if (AskToSave()) {
        return;
    }
    std::error_code error;
    if (!std::filesystem::is_regular_file(std::filesystem::u8path(path.toStdString()), error)) {
        m_recentFiles = withoutRecentFile(std::move(m_recentFiles), path.toStdString());
        rebuildRecentMenu();
        reportUnloadable(path);
        return;
    }
    openSeason(path);
}

void frmMain::rememberFile(const QString &path)
{
    m_recentFiles = withRecentFile(std::move(m_recentFiles), path.toStdString());
    rebuildRecentMenu();
}

// The season files among dropped things: local files ending in ".ptr".
static QString droppedSeason(const QMimeData *data)
{
    if (data == nullptr || !data->hasUrls() || data->urls().size() != 1) {
        return QString();
    }
    const QUrl url = data->urls().front();
    const QString path = url.isLocalFile() ? url.toLocalFile() : QString();
    return path.endsWith(QStringLiteral(".ptr"), Qt::CaseInsensitive) ? path : QString();
}

void frmMain::dragEnterEvent(QDragEnterEvent *event)
{
    if (!droppedSeason(event->mimeData()).isEmpty()) {
        event->acceptProposedAction();
    }
}

void frmMain::dropEvent(QDropEvent *event)
{
    const QString path = droppedSeason(event->mimeData());
    if (path.isEmpty()) {
        return;
    }
    event->acceptProposedAction();
    if (!AskToSave()) {
        openSeason(path);
    }
}

// After a card entry is undone or redone: both grids show the season's
// cards again, in the mode the entry was made in.
void frmMain::refreshAfterUndo()
{
    if (!m_season.HasSeason) {
        return;
    }
    syncModeControls();
    m_cards->fill();
    RefreshStandings();
}

// After a whole-season step is done, undone or redone: the season is shown
// again from its stored view, in the mode the step left.
void frmMain::showSeasonAgain()
{
    if (!m_season.HasSeason) {
        return;
    }
    syncModeControls();
    SelectView(m_season.Header.ViewLeague, m_season.Header.ViewDivision);
}

// The mode controls follow a season switched by a command.
void frmMain::syncModeControls()
{
    {
        const QSignalBlocker blockResult(m_optMode[0]);
        const QSignalBlocker blockSimulation(m_optMode[1]);
        m_optMode[m_season.SimMode == 1 ? 1 : 0]->setChecked(true);
    }
    m_btnClear->setEnabled(m_season.SimMode == 1);
}

void frmMain::restoreGeometry(const WindowValues &window)
{
    if (window.State == WindowValues::Maximized) {
        setWindowState(Qt::WindowMaximized);
        return;
    }
    if (window.State == WindowValues::Minimized) {
        setWindowState(Qt::WindowMinimized);
        return;
    }
    if (window.State != WindowValues::Normal) {
        return;
    }
    // The position is the window's outer corner, title bar included, and the
    // size its inner area, as the close writes them, so the window keeps its
    // place and size from one start to the next. They are kept within the
    // screen: a hand-edited file must not put the window where nobody can
    // reach it, and the title bar, which the window system adds above the
    // inner area, must stay on the screen too.
    QRect pixels = twipsToPixels(QRect(boundedTwips(window.Left), boundedTwips(window.Top),
                                       boundedTwips(window.Width), boundedTwips(window.Height)),
                                 *this);
    if (const QScreen *screen = QGuiApplication::primaryScreen()) {
        const QRect available = screen->availableVirtualGeometry();
        const int titleBar = style()->pixelMetric(QStyle::PM_TitleBarHeight, nullptr, this);
        const int tallest = std::max(available.height() - titleBar, minimumSizeHint().height());
        pixels.setWidth(std::clamp(pixels.width(), minimumSizeHint().width(),
                                   std::max(available.width(), minimumSizeHint().width())));
        pixels.setHeight(std::clamp(pixels.height(), minimumSizeHint().height(), tallest));
        pixels.moveLeft(std::clamp(pixels.left(), available.left(),
                                   std::max(available.left(), available.right() - pixels.width())));
        pixels.moveTop(
            std::clamp(pixels.top(), available.top(),
                       std::max(available.top(), available.bottom() - pixels.height() - titleBar)));
    }
    resize(pixels.size());
    move(pixels.topLeft());
}

void frmMain::reportUnloadable(const QString &path, const std::string &reason)
{
    // The file and what is wrong with it, so the user knows what to fix: the
    // loader's own reason where it gave one (a file too large to be a
    // season), else what a look at the file finds.
    const std::string why =
        reason.empty() ? LoadFailureReason(std::filesystem::u8path(path.toStdString())) : reason;
    m_prompts.message(QStringLiteral("ファイルを開けません\r\n%1\r\n%2")
                          .arg(QDir::toNativeSeparators(path), QString::fromStdString(why)),
                      MessageIcon::Critical, MessageButtons::Ok);
}

bool frmMain::openSeason(const QString &path)
{
    if (m_season.HasSeason) {
        clearWindow();
    }
    std::string reason;
    const LoadStatus status = m_document->open(path, &reason);
    if (status == LoadStatus::Failed) {
        reportUnloadable(path, reason);
        return false;
    }
    updateTitle();
    if (status == LoadStatus::LoadedConverted) {
        m_prompts.message(QStringLiteral("旧バージョンで作成されたファイルです\r\n"
                                         "対戦数の再設定が必要です\r\n"
                                         "対戦数ダイアログボックスのOKボタンを押してください"),
                          MessageIcon::Exclamation, MessageButtons::Ok);
        // The previous layout kept no games counts: they are set before the
        // season is shown, and the season then differs from its file.
        m_document->markChangedOutsideHistory();
        applyEdit(QStringLiteral("対戦数の変更"),
                  m_dialogs.editGamesCount(m_season, m_settings, this));
    }
    FillGrids(m_season.Header.ViewLeague, m_season.Header.ViewDivision);
    rememberFile(QString::fromStdString(m_season.CurrentFile));
    return true;
}

// "[*]" is where the title shows that the season has unsaved changes.
void frmMain::updateTitle()
{
    const QString program = QString::fromStdU16String(ProgramTitle);
    if (m_season.CurrentFile.empty()) {
        setWindowTitle(m_season.HasSeason ? program + QStringLiteral("[*]") : program);
    } else {
        const QString name = QFileInfo(QString::fromStdString(m_season.CurrentFile)).fileName();
        setWindowTitle(name + QStringLiteral("[*] - ") + program);
    }
    setWindowModified(m_document->isModified());
}

// The window as after clearing the season: empty grids, selectors and
// panels, result mode, and no mode to switch to until a season is shown.
void frmMain::clearWindow()
{
    updateTitle();
    m_cmbLg->clear();
    m_cmbgp->clear();
    {
        const QSignalBlocker block(m_optMode[0]);
        const QSignalBlocker blockSim(m_optMode[1]);
        m_optMode[0]->setChecked(true);
    }
    m_season.SimMode = 0;
    m_optMode[0]->setEnabled(false);
    m_optMode[1]->setEnabled(false);
    m_btnClear->setEnabled(false);
    for (ElidedLabel *panel : m_panels) {
        panel->clear();
    }
    m_standings->clear();
    m_cards->clear();
    m_scopeMenuEnabled = false;
    updateMenuState();
}

void frmMain::setPanel(int panel, const QString &text)
{
    m_panels[static_cast<std::size_t>(panel - 1)]->setText(text);
}

QString frmMain::panelText(int panel) const
{
    return m_panels[static_cast<std::size_t>(panel - 1)]->text();
}

bool frmMain::AskToSave()
{
    if (!m_document->isModified()) {
        return false;
    }
    switch (m_prompts.message(QStringLiteral("現在のデータを保存しますか"),
                              MessageIcon::Exclamation, MessageButtons::YesNoCancel)) {
    case MessageAnswer::Yes:
        // A save that failed or was not done leaves the results only in
        // memory: the close or open that asked must not go on.
        return !save();
    case MessageAnswer::Cancel:
        return true;
    default:
        return false;
    }
}

bool frmMain::save()
{
    if (m_season.CurrentFile.empty()) {
        return SaveAs();
    }
    return saveTo(QString::fromStdString(m_season.CurrentFile));
}

bool frmMain::SaveAs()
{
    const QString start = m_season.CurrentFile.empty()
                              ? fileDialogStart()
                              : QString::fromStdString(m_season.CurrentFile);
    const QString path =
        m_prompts.saveFile(seasonFileRequest(QStringLiteral("名前を付けて保存"), start));
    return !path.isEmpty() && saveTo(path);
}

// Where the file dialogs start: the folder of the season in use, or of the
// last one.
QString frmMain::fileDialogStart() const
{
    const std::string &file =
        m_season.CurrentFile.empty() ? m_document->lastFile() : m_season.CurrentFile;
    if (file.empty()) {
        return QString();
    }
    return QFileInfo(QString::fromStdString(file)).absolutePath();
}

// The save sequence: the snapshot question, then the file.
bool frmMain::saveTo(const QString &path)
{
    const double now = systemNow();
    const std::optional<SnapshotRequest> snapshot = m_dialogs.askSnapshot(now, this);
    std::string reason;
    if (!m_document->saveTo(
            path, snapshot, [now] { return now; }, &reason)) {
        // The old file is untouched; say so, and why, rather than pretend
        // the data is safe.
        QString text =
            QStringLiteral("ファイルを保存できません\r\n") + QDir::toNativeSeparators(path);
        if (!reason.empty()) {
            text += QStringLiteral("\r\n") + QString::fromStdString(reason);
        }
        m_prompts.message(text, MessageIcon::Critical, MessageButtons::Ok);
        return false;
    }
    rememberFile(QString::fromStdString(m_season.CurrentFile));
    updateTitle();
    setPanel(5, QStringLiteral("更新日時：") + generalDateTimeText(m_season.Header.UpdatedAt));
    return true;
}

void frmMain::chooseScope(int scope)
{
    m_season.GameScope = scope;
    FillGrids(m_cmbLg->currentIndex(), m_cmbgp->currentIndex());
}

void frmMain::showSelection()
{
    const int league = m_cmbLg->currentIndex();
    const int division = m_cmbgp->currentIndex();
    if (league < 1) {
        m_season.GameScope = ScopeInterleague;
    }
    if (league < 0) {
        return;
    }
    // The file keeps the view on show: another one is a change to save,
    // though not one to undo.
    const auto stored = [this] {
        return std::tuple(m_season.Header.ViewLeague, m_season.Header.ViewDivision,
                          m_season.ViewRows, m_season.ViewCols);
    };
    const auto before = stored();
    SelectView(league, division);
    if (stored() != before) {
        m_document->markChangedOutsideHistory();
    }
}

// Some window managers put the inner area, not the frame, where the window
// asked to be, which leaves the title bar above the screen's top edge. Once
// the frame is known the window moves down until the whole of it shows.
void frmMain::showEvent(QShowEvent *event)
{
    QMainWindow::showEvent(event);
    if (m_placed) {
        return;
    }
    m_placed = true;
    QTimer::singleShot(250, this, [this] {
        const QScreen *screen = this->screen();
        if (screen == nullptr || isMaximized() || isMinimized()) {
            return;
        }
        const QRect available = screen->availableGeometry();
        const QRect frame = frameGeometry();
        const QPoint shift(std::max(0, available.left() - frame.left()),
                           std::max(0, available.top() - frame.top()));
        if (!shift.isNull()) {
            move(pos() + shift);
        }
    });
}

void frmMain::closeEvent(QCloseEvent *event)
{
    const bool cancelled = AskToSave();
    writeSettingsFile();
    if (cancelled) {
        event->ignore();
        return;
    }
    if (m_help) {
        m_help->closeHelp();
    }
    event->accept();
}

void frmMain::writeSettingsFile()
{
    WindowValues window;
    if (isMinimized()) {
        window.State = WindowValues::Minimized;
    } else if (isMaximized()) {
        window.State = WindowValues::Maximized;
    }
    // The outer corner and the inner size, which the start applies as they
    // are: the frame's offset is the same whether or not the window is
    // maximized now.
    const QRect inner = normalGeometry().isValid() ? normalGeometry() : geometry();
    const QPoint corner = inner.topLeft() - (geometry().topLeft() - frameGeometry().topLeft());
    window.Left = pixelsToTwips(corner.x(), *this, Qt::Horizontal);
    window.Top = pixelsToTwips(corner.y(), *this, Qt::Vertical);
    window.Width = pixelsToTwips(inner.width(), *this, Qt::Horizontal);
    window.Height = pixelsToTwips(inner.height(), *this, Qt::Vertical);
    // What the next start reopens: the last season that was open, even when
    // a later open failed.
    (void)penarin::writeSettings(m_files.settingsFile, m_settings, window, m_document->lastFile(),
                                 nullptr, &m_recentFiles);
}

} // namespace penarin
