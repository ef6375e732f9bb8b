#include "ui/main/frmmain.h"

#include "charts/frmdate.h"
#include "platform/flexgrid.h"
#include "platform/helpviewer.h"
#include "platform/prompts.h"
#include "platform/twips.h"
#include "season/filemodule.h"
#include "season/textcodec.h"
#include "ui/main/uitext.h"

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QComboBox>
#include <QFileInfo>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>
#include <QPushButton>
#include <QRadioButton>
#include <QStatusBar>
#include <QWindow>

namespace penarin {

namespace {

const QString SeasonFilter = QStringLiteral("ペナリン(*.ptr)");

FileRequest seasonFileRequest(const QString &title)
{
    return FileRequest{title, SeasonFilter, QStringLiteral("ptr"), QString()};
}

} // namespace

frmMain::frmMain(Season &season, Settings &settings, Prompts &prompts, ProgramFiles files,
                 QWidget *parent)
    : QMainWindow(parent), m_season(season), m_settings(settings), m_prompts(prompts),
      m_files(std::move(files))
{
    setObjectName(QStringLiteral("frmMain"));
    buildControls();
    buildMenus();
    clearWindow();
}

frmMain::~frmMain()
{
    if (m_help) {
        m_help->closeHelp();
    }
}

void frmMain::buildControls()
{
    auto *central = new QWidget(this);
    setCentralWidget(central);

    m_rnkG = new FlexGrid(central);
    m_rnkG->setObjectName(QStringLiteral("RnkG"));

    m_modeFrame = new QGroupBox(central);
    m_modeFrame->setObjectName(QStringLiteral("ModeFrame"));
    m_optMode[0] = new QRadioButton(QStringLiteral("対戦成績(&P)"), m_modeFrame);
    m_optMode[0]->setObjectName(QStringLiteral("optMode0"));
    m_optMode[1] = new QRadioButton(QStringLiteral("シミュレーション(&S)"), m_modeFrame);
    m_optMode[1]->setObjectName(QStringLiteral("optMode1"));
    m_optMode[0]->setChecked(true);
    m_btnClear = new QPushButton(QStringLiteral("クリア(&C)"), m_modeFrame);
    m_btnClear->setObjectName(QStringLiteral("btnClear"));

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

    m_myG = new FlexGrid(central);
    m_myG->setObjectName(QStringLiteral("MyG"));
    m_myCells = new QLineEdit(m_myG->viewport());
    m_myCells->setObjectName(QStringLiteral("MyCells"));
    m_myCells->hide();
    m_myCells->installEventFilter(this);

    auto *bar = new QStatusBar(this);
    bar->setObjectName(QStringLiteral("stber"));
    bar->setSizeGripEnabled(true);
    for (std::size_t i = 0; i < m_panels.size(); ++i) {
        m_panels[i] = new QLabel(bar);
        m_panels[i]->setObjectName(QStringLiteral("panel%1").arg(i + 1));
        m_panels[i]->setFrameShape(QFrame::Panel);
        m_panels[i]->setFrameShadow(QFrame::Sunken);
        bar->addWidget(m_panels[i], i == 0 ? 3 : i == 4 ? 2 : 1);
    }
    setStatusBar(bar);

    connect(m_optMode[1], &QRadioButton::toggled, this,
            [this](bool simulation) { setSimulationMode(simulation); });
    connect(m_btnClear, &QPushButton::clicked, this, [this] {
        ClearSimulation();
        SelectView(m_season.Header.ViewLeague, m_season.Header.ViewDivision);
    });
    connect(m_cmbLg, &QComboBox::activated, this,
            [this](int index) { fillDivisionSelector(index); });
    connect(m_cmbgp, &QComboBox::activated, this,
            [this](int) { m_cmbgp->setToolTip(m_cmbgp->currentText()); });
    connect(m_btnShow, &QPushButton::clicked, this, [this] { showSelection(); });

    connect(m_rnkG, &FlexGrid::mouseMovedOverCell, this,
            [this](int row, int col, QPoint) { standingsMouseMoved(row, col); });
    connect(m_rnkG, &FlexGrid::cellPressed, this, &frmMain::standingsPressed);

    connect(m_myG, &FlexGrid::cellPressed, this, &frmMain::cardPressed);
    connect(m_myG, &FlexGrid::cellReleased, this,
            [this](int row, int col, Qt::MouseButton) { cardReleased(row, col); });
    connect(m_myG, &FlexGrid::mouseMovedOverCell, this,
            [this](int row, int col, QPoint) { cardMouseMoved(row, col); });
    connect(m_myG, &FlexGrid::cellDoubleClicked, this,
            [this](int row, int col, Qt::MouseButton) { cardDoubleClicked(row, col); });
    connect(m_myG, &FlexGrid::keyPressed, this, &frmMain::cardKeyPressed);
    connect(m_myG, &FlexGrid::scrolled, this, [this] {
        if (m_myCells->isVisible()) {
            hideCellEditor();
        }
    });
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
    // Entries whose dialog the program does not have yet stay disabled.
    auto later = [](QAction *action) {
        action->setEnabled(false);
        action->setProperty("pending", true);
        return action;
    };

    m_menuFile = menuBar()->addMenu(QStringLiteral("ファイル(&F)"));
    later(add(m_menuFile, QStringLiteral("新規作成(&N)..."), {}, [] {}));
    add(m_menuFile, QStringLiteral("開く(&O)..."), {}, [this] {
        if (AskToSave()) {
            return;
        }
        const QString path =
            m_prompts.openFile(seasonFileRequest(QStringLiteral("ファイルを開く")));
        if (!path.isEmpty()) {
            openSeason(path);
        }
    });
    m_actSave = add(m_menuFile, QStringLiteral("上書き保存(&S)"),
                    QKeySequence(Qt::CTRL | Qt::Key_S), [this] { save(); });
    m_actSaveAs =
        add(m_menuFile, QStringLiteral("名前を付けて保存(&A)..."), {}, [this] { SaveAs(); });
    QMenu *exportMenu = m_menuFile->addMenu(QStringLiteral("テキストファイルに出力(&T)"));
    m_actExportResults = later(add(exportMenu, QStringLiteral("成績(&R)..."), {}, [] {}));
    m_actExportSurplus = later(add(exportMenu, QStringLiteral("貯金(&B)..."), {}, [] {}));
    m_actExportPct = later(add(exportMenu, QStringLiteral("勝率(&P)..."), {}, [] {}));
    m_menuFile->addSeparator();
    add(m_menuFile, QStringLiteral("終了(&X)"), QKeySequence(Qt::CTRL | Qt::Key_X),
        [this] { close(); });

    m_menuOption = menuBar()->addMenu(QStringLiteral("オプション(&O)"));
    m_actSettings =
        later(add(m_menuOption, QStringLiteral("設定(&S)..."), QKeySequence(Qt::Key_F2), [] {}));
    m_actGames = later(add(m_menuOption, QStringLiteral("対戦数(&G)..."), {}, [] {}));
    m_actRanks = later(add(m_menuOption, QStringLiteral("前年度順位の設定(&R)..."), {}, [] {}));
    m_menuOption->addSeparator();
    m_actLoad = add(m_menuOption, QStringLiteral("次回起動時ファイルを開く(&F)"), {},
                    [this](bool checked) { m_settings.Load = checked ? 1 : 0; });
    m_actLoad->setCheckable(true);

    m_menuData = menuBar()->addMenu(QStringLiteral("データ(&D)"));
    m_actWinLine = later(
        add(m_menuData, QStringLiteral("優勝ライン(&L)..."), QKeySequence(Qt::Key_F3), [] {}));
    m_actProgression = later(add(m_menuData, QStringLiteral("推移グラフ(&G)..."),
                                 QKeySequence(Qt::CTRL | Qt::Key_G), [] {}));
    m_actSurplus = later(add(m_menuData, QStringLiteral("貯金構成(&O)..."),
                             QKeySequence(Qt::CTRL | Qt::Key_O), [] {}));
    m_actChartData = later(add(m_menuData, QStringLiteral("グラフデータ(&C)..."), {}, [] {}));
    m_actTeamData = later(
        add(m_menuData, QStringLiteral("チームデータ(&T)..."), QKeySequence(Qt::Key_F7), [] {}));

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
        m_prompts.message(
            QStringLiteral("Ver %1.%2.%3").arg(ProgramMajor).arg(ProgramMinor).arg(ProgramRevision),
            MessageIcon::Information, MessageButtons::Ok, QStringLiteral("バージョン情報"));
    });

    m_cellWidthMenu = new QMenu(QStringLiteral("セル幅"), this);
    m_cellWidthMenu->setObjectName(QStringLiteral("cellWidthMenu"));
    add(m_cellWidthMenu, QStringLiteral("広く"), {},
        [this] { changeRivalColumnWidth(CellWidthChange::Wider); });
    add(m_cellWidthMenu, QStringLiteral("狭く"), {},
        [this] { changeRivalColumnWidth(CellWidthChange::Narrower); });
    add(m_cellWidthMenu, QStringLiteral("既定値"), {},
        [this] { changeRivalColumnWidth(CellWidthChange::Standard); });

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
    auto enable = [](QAction *action, bool on) {
        if (!action->property("pending").toBool()) {
            action->setEnabled(on);
        }
    };
    enable(m_actSave, hasSeason);
    enable(m_actSaveAs, hasSeason);
    enable(m_actExportResults, hasSeason);
    enable(m_actExportSurplus, hasSnapshots);
    enable(m_actExportPct, hasSnapshots);
    enable(m_actGames, hasSeason);
    enable(m_actSettings, hasSeason);
    enable(m_actLoad, hasSeason);
    enable(m_actRanks, hasSeason);
    enable(m_actWinLine, hasSeason);
    enable(m_actChartData, hasSeason);
    enable(m_actSurplus, hasSeason);
    enable(m_actTeamData, hasSeason);
    enable(m_actProgression, m_season.GameScope == ScopeOfficial && hasSnapshots);
    for (QAction *action : m_actScope) {
        action->setEnabled(hasSeason && m_scopeMenuEnabled);
    }
}

void frmMain::startUp()
{
    m_season.GameScope = ScopeOfficial;
    const SettingsFileContents contents = readSettings(m_files.settingsFile);
    m_settings = contents.settings;
    const WindowValues &window = contents.window;
    if (window.State == WindowValues::Maximized) {
        setWindowState(Qt::WindowMaximized);
    } else if (window.State == WindowValues::Minimized) {
        setWindowState(Qt::WindowMinimized);
    } else if (window.State == WindowValues::Normal) {
        const QRect twips(window.Left, window.Top, window.Width, window.Height);
        const QRect pixels = twipsToPixels(twips, *this);
        resize(pixels.size());
        move(pixels.topLeft());
    }
    applyFonts();
    m_actLoad->setChecked(m_settings.Load == 1);
    // A path never holds a NUL; one read from an old file ends the name.
    std::string current = contents.fileName;
    current = current.substr(0, current.find('\0'));
    m_season.CurrentFile = current;
    if (current.empty() || m_settings.Load != 1) {
        m_season.IsSaved = true;
        return;
    }
    std::error_code error;
    if (!std::filesystem::is_regular_file(std::filesystem::u8path(current), error)) {
        m_season.IsSaved = true;
        return;
    }
    openSeason(QString::fromStdString(current));
}

void frmMain::applyFonts()
{
    QFont standings = font();
    standings.setPointSize(m_settings.FontSizeA);
    m_rnkG->setFont(standings);
    QFont cards = font();
    cards.setPointSize(m_settings.FontSizeB);
    m_myG->setFont(cards);
    m_myCells->setFont(cards);
    m_myG->setFocusMark(m_settings.Enter == 1 ? FlexGrid::FocusMark::Heavy
                                              : FlexGrid::FocusMark::Light);
}

bool frmMain::openSeason(const QString &path)
{
    if (m_season.HasSeason) {
        ClearSeason(m_season);
        clearWindow();
    }
    // A failed load leaves the season cleared; the window was cleared above
    // when a season was shown, and is empty otherwise.
    const LoadStatus status = LoadSeason(m_season, std::filesystem::u8path(path.toStdString()));
    if (status == LoadStatus::Failed) {
        m_prompts.message(QStringLiteral("ファイルを開けません"), MessageIcon::Critical,
                          MessageButtons::Ok);
        return false;
    }
    if (status == LoadStatus::LoadedConverted) {
        m_prompts.message(QStringLiteral("旧バージョンで作成されたファイルです\r\n"
                                         "対戦数の再設定が必要です\r\n"
                                         "対戦数ダイアログボックスのOKボタンを押してください"),
                          MessageIcon::Exclamation, MessageButtons::Ok);
    }
    updateTitle();
    FillGrids(m_season.Header.ViewLeague, m_season.Header.ViewDivision);
    m_season.IsSaved = true;
    return true;
}

void frmMain::updateTitle()
{
    if (m_season.CurrentFile.empty()) {
        setWindowTitle(QString::fromStdU16String(ProgramTitle));
        return;
    }
    const QString name = QFileInfo(QString::fromStdString(m_season.CurrentFile)).fileName();
    setWindowTitle(name + QStringLiteral(" - ") + QString::fromStdU16String(ProgramTitle));
}

// The window as after clearing the season: empty grids, selectors and panels.
void frmMain::clearWindow()
{
    setWindowTitle(QString::fromStdU16String(ProgramTitle));
    m_cmbLg->clear();
    m_cmbgp->clear();
    {
        const QSignalBlocker block(m_optMode[0]);
        const QSignalBlocker blockSim(m_optMode[1]);
        m_optMode[0]->setChecked(true);
    }
    m_season.SimMode = 0;
    m_btnClear->setEnabled(false);
    for (QLabel *panel : m_panels) {
        panel->clear();
    }
    for (FlexGrid *grid : {m_rnkG, m_myG}) {
        grid->clear();
        grid->setRowCount(0);
        grid->setColCount(0);
    }
    m_myG->setFixedBackground(QColor());
    m_highlightedRow = m_highlightedCol = m_highlightedGroupCol = 0;
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
    if (!m_season.HasSeason || m_season.IsSaved) {
        return false;
    }
    switch (m_prompts.message(QStringLiteral("現在のデータを保存しますか"),
                              MessageIcon::Exclamation, MessageButtons::YesNoCancel)) {
    case MessageAnswer::Yes:
        save();
        return false;
    case MessageAnswer::Cancel:
        return true;
    default:
        return false;
    }
}

void frmMain::save()
{
    m_season.AddSnapshot = false;
    if (m_season.CurrentFile.empty()) {
        SaveAs();
        return;
    }
    saveTo(QString::fromStdString(m_season.CurrentFile));
}

void frmMain::SaveAs()
{
    m_season.AddSnapshot = false;
    const QString path = m_prompts.saveFile(seasonFileRequest(QStringLiteral("名前を付けて保存")));
    if (!path.isEmpty()) {
        saveTo(path);
    }
}

// The save sequence: the snapshot question, then the file.
void frmMain::saveTo(const QString &path)
{
    const double now = systemNow();
    frmDate prompt(m_prompts, now, this);
    if (prompt.exec() == QDialog::Accepted) {
        m_season.SnapshotDate = prompt.snapshotDate();
        m_season.SnapshotMemo = prompt.snapshotMemo();
        m_season.AddSnapshot = true;
    } else {
        m_season.AddSnapshot = false;
    }
    if (!SaveSeason(m_season, std::filesystem::u8path(path.toStdString()), [now] { return now; })) {
        // The old file is untouched; say so rather than pretend the data is safe.
        m_prompts.message(QStringLiteral("ファイルを保存できません"), MessageIcon::Critical,
                          MessageButtons::Ok);
        return;
    }
    updateTitle();
    setPanel(5, QStringLiteral("更新日時:") + generalDateTimeText(m_season.Header.UpdatedAt));
    updateMenuState();
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
    if (league >= 0) {
        SelectView(league, division);
    }
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
    const QRect frame = frameGeometry();
    window.Left = pixelsToTwips(frame.left(), *this, Qt::Horizontal);
    window.Top = pixelsToTwips(frame.top(), *this, Qt::Vertical);
    window.Width = pixelsToTwips(frame.width(), *this, Qt::Horizontal);
    window.Height = pixelsToTwips(frame.height(), *this, Qt::Vertical);
    (void)penarin::writeSettings(m_files.settingsFile, m_settings, window, m_season.CurrentFile);
}

void frmMain::resizeEvent(QResizeEvent *event)
{
    QMainWindow::resizeEvent(event);
    if (!isMinimized()) {
        layoutControls();
    }
}

// Places the controls as the stored layout does, stretching both grids with
// the window: each takes about half of the height.
void frmMain::layoutControls()
{
    const int width = pixelsToTwips(frameGeometry().width(), *this, Qt::Horizontal);
    const int height = pixelsToTwips(frameGeometry().height(), *this, Qt::Vertical);
    auto place = [this](QWidget *widget, int left, int top, int w, int h) {
        widget->setGeometry(twipsToPixels(QRect(left, top, std::max(w, 0), std::max(h, 0)), *this));
    };
    const int rnkHeight = height / 2 - 1100;
    place(m_rnkG, 45, 150, width - 190, rnkHeight);
    const int frameTop = 150 + rnkHeight + 100;
    place(m_modeFrame, 30, frameTop, 4230, 540);
    place(m_jobFrame, 4260, frameTop, 5160, 540);
    place(m_optMode[0], 105, 195, 1260, 300);
    place(m_optMode[1], 1365, 195, 1725, 300);
    place(m_btnClear, 3120, 150, 1005, 330);
    place(m_lblLeague, 135, 225, 735, 180);
    place(m_cmbLg, 885, 165, 1230, 300);
    place(m_lblDivision, 2175, 225, 645, 180);
    place(m_cmbgp, 2820, 165, 1230, 300);
    place(m_btnShow, 4125, 150, 930, 330);
    place(m_myG, 45, frameTop + 540 + 150, width - 190, height / 2 - 930);
}

} // namespace penarin
