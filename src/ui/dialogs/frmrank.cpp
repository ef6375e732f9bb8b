#include "ui/dialogs/frmrank.h"

#include "magic/calcodule.h"
#include "magic/winline.h"
#include "platform/flexgrid.h"
#include "platform/prompts.h"
#include "platform/twips.h"
#include "season/gamescount.h"
#include "season/tablewriter.h"
#include "standings/viewlists.h"
#include "ui/dialogs/tableexport.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFile>
#include <QFrame>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRegularExpressionValidator>
#include <QScrollBar>
#include <QVBoxLayout>

#include <algorithm>
#include <filesystem>

namespace penarin {

namespace {

const QString GamesCaption = QStringLiteral("対戦数");
const QString WinLineCaption = QStringLiteral("優勝ライン");

constexpr int HeaderColumnWidth = 500;   // twips
constexpr int InitialColumnWidth = 2021; // twips
constexpr int MaxDigits = 15;

QString fromText(const std::u16string &text)
{
    return QString::fromStdU16String(text);
}

QPushButton *makeButton(const QString &text, const char *name, QWidget *parent)
{
    auto *button = new QPushButton(text, parent);
    button->setObjectName(QString::fromLatin1(name));
    // Enter belongs to the grid and its editor, never to a button.
    button->setAutoDefault(false);
    return button;
}

} // namespace

frmRank::frmRank(Mode mode, Season &season, Settings &settings, Prompts &prompts,
                 const PublishedStandings *published, QWidget *parent)
    : QDialog(parent), m_mode(mode), m_season(season), m_settings(settings), m_prompts(prompts),
      m_published(published)
{
    setObjectName(QStringLiteral("frmRank"));
    setModal(true);
    setSizeGripEnabled(true);

    m_grdLine = new FlexGrid(this);
    m_grdLine->setObjectName(QStringLiteral("GrdLine"));
    m_grdLine->setFixedRows(1);
    m_grdLine->setFixedCols(1);

    buildWinLineControls();
    buildGamesControls();

    auto *top = new QHBoxLayout;
    top->addWidget(m_lblLine, 1, Qt::AlignBottom | Qt::AlignLeft);
    top->addWidget(m_frmov);
    top->addWidget(m_frmSel, 1);

    // The grid takes whatever the window gives beyond the controls, and the
    // option frame stays flush with the grid's right edge.
    auto *layout = new QVBoxLayout(this);
    layout->addLayout(top);
    layout->addWidget(m_grdLine, 1);

    if (m_mode == Mode::WinLine) {
        openWinLine();
    } else {
        openGamesCount();
    }
}

frmRank::~frmRank() = default;

// --- Entry points ---

bool frmRank::showWinLine(const Season &season, const PublishedStandings &published,
                          Settings &settings, Prompts &prompts, QWidget *opener)
{
    // The win line only reads; it works on a copy so the class serves both
    // uses with one season member.
    Season shown = season;
    frmRank form(Mode::WinLine, shown, settings, prompts, &published, opener);
    return form.ShowRankForm(opener != nullptr ? opener->geometry() : QRect()) == 1;
}

std::optional<Season> frmRank::showGamesCount(const Season &season, Settings &settings,
                                              Prompts &prompts, QWidget *parent)
{
    Season edited = season;
    frmRank form(Mode::GamesCount, edited, settings, prompts, nullptr, parent);
    form.ShowRankForm();
    if (!form.edited()) {
        return std::nullopt;
    }
    return edited;
}

bool frmRank::showTeamGamesCount(Season &season, Settings &settings, Prompts &prompts, int team,
                                 QWidget *parent)
{
    frmRank form(Mode::GamesCount, season, settings, prompts, nullptr, parent);
    form.restrictToTeam(team);
    form.ShowRankForm();
    return form.edited();
}

int frmRank::ShowRankForm(const QRect &geometry)
{
    if (m_mode == Mode::WinLine && geometry.isValid()) {
        setGeometry(geometry);
    }
    exec();
    return m_calculationFailed ? 1 : 0;
}

void frmRank::keyPressEvent(QKeyEvent *event)
{
    // Escape would throw away every card typed so far; in the matrix only
    // the close box does that.
    if (m_mode == Mode::GamesCount && event->key() == Qt::Key_Escape) {
        event->accept();
        return;
    }
    QDialog::keyPressEvent(event);
}

// --- Win line ---

void frmRank::buildWinLineControls()
{
    m_frmov = new QGroupBox(this);
    m_frmov->setObjectName(QStringLiteral("frmov"));
    m_lblLine = new QLabel(this);
    m_lblLine->setObjectName(QStringLiteral("LblLine"));

    auto *label1 = new QLabel(QStringLiteral("表示桁数(&R):"), m_frmov);
    label1->setObjectName(QStringLiteral("Label1"));
    m_cmbAVG = new QComboBox(m_frmov);
    m_cmbAVG->setObjectName(QStringLiteral("cmbAVG"));
    for (int digits = 1; digits <= MaxDigits; ++digits) {
        m_cmbAVG->addItem(QString::number(digits));
    }
    label1->setBuddy(m_cmbAVG);
    m_chkZanAVG = new QCheckBox(QStringLiteral("最終勝率のみ表示(&E)"), m_frmov);
    m_chkZanAVG->setObjectName(QStringLiteral("ChkZanAVG"));
    m_btnReShow = makeButton(QStringLiteral("再表示(&V)"), "BtnReShow", m_frmov);
    m_btnCsv = makeButton(QStringLiteral("データ出力(&S)..."), "btnCsv", m_frmov);
    m_btnCan = makeButton(QStringLiteral("閉じる(&C)"), "btnCan", m_frmov);

    m_scrBer = new QScrollBar(Qt::Horizontal, m_frmov);
    m_scrBer->setObjectName(QStringLiteral("scrBer"));
    m_scrBer->setRange(500, 5000);
    m_scrBer->setSingleStep(100);
    m_scrBer->setPageStep(300);
    m_scrBer->setValue(InitialColumnWidth);

    auto *options = new QGridLayout(m_frmov);
    options->addWidget(label1, 0, 0);
    options->addWidget(m_cmbAVG, 0, 1);
    options->addWidget(m_chkZanAVG, 0, 2);
    options->addWidget(m_btnReShow, 0, 3);
    options->addWidget(m_btnCsv, 0, 4);
    options->addWidget(m_btnCan, 0, 5);
    options->addWidget(m_scrBer, 1, 0, 1, 6);

    connect(m_btnReShow, &QPushButton::clicked, this, &frmRank::reShow);
    connect(m_btnCsv, &QPushButton::clicked, this, &frmRank::exportTable);
    connect(m_btnCan, &QPushButton::clicked, this, &QDialog::reject);
    connect(m_scrBer, &QScrollBar::valueChanged, this, &frmRank::setDataColumnWidths);

    m_frmov->hide();
    m_lblLine->hide();
}

void frmRank::openWinLine()
{
    setWindowTitle(WinLineCaption);
    m_frmov->show();
    m_lblLine->show();
    m_cmbAVG->setCurrentIndex(std::clamp<int>(m_settings.Line, 1, MaxDigits) - 1);
    m_chkZanAVG->setChecked(m_settings.ZanAvg != 0);
    updateLineLabel();
    connect(m_grdLine, &FlexGrid::mouseMovedOverCell, this,
            [this](int row, int col, QPoint) { winLineMouseMoved(row, col); });
    m_calculationFailed =
        FillWinLineGrid(*m_grdLine, m_cmbAVG->currentIndex() + 1, m_settings.ZanAvg != 0);
    resize(900, 560);
    m_btnCan->setFocus();
}

bool frmRank::FillWinLineGrid(FlexGrid &grid, int digits, bool finalOnly)
{
    const PublishedStandings none;
    const PublishedStandings &published = m_published != nullptr ? *m_published : none;
    WinLineTable table =
        BuildWinLineTable(m_season, published, digits, finalOnly, m_settings.NameLen);
    m_table = std::move(table.Cells);
    const int lines = m_table.lineCount();
    const int cells = m_table.cellCount();

    FlexGrid::UpdateGuard guard(grid);
    grid.clear();
    grid.setRowCount(lines);
    grid.setColCount(cells);
    grid.setFixedRows(1);
    grid.setFixedCols(1);
    grid.setColWidth(0, HeaderColumnWidth);
    // The scroll bar's width, so a re-show keeps the width the user chose.
    for (int col = 1; col < cells; ++col) {
        grid.setColWidth(col, m_scrBer->value());
    }
    for (int line = 0; line < lines; ++line) {
        for (int cell = 0; cell < cells; ++cell) {
            grid.setText(line, cell, fromText(m_table.at(line, cell)));
            if (cell > 0) {
                grid.setCellAlignment(line, cell, Qt::AlignLeft | Qt::AlignVCenter);
            }
        }
    }
    grid.setCellAlignment(0, 0, Qt::AlignCenter);
    grid.setCellAlignment(lines - 1, 0, Qt::AlignCenter);
    grid.setCurrentCell(0, 0);
    return table.CalculationFailed;
}

void frmRank::updateLineLabel()
{
    m_lblLine->setText(m_chkZanAVG->isChecked()
                           ? QStringLiteral("勝 - 敗(最終勝率)")
                           : QStringLiteral("勝 - 敗(残り試合の勝率 / 最終勝率)"));
}

void frmRank::reShow()
{
    m_settings.ZanAvg = m_chkZanAVG->isChecked() ? 1 : 0;
    m_settings.Line = static_cast<std::int16_t>(m_cmbAVG->currentIndex() + 1);
    m_calculationFailed = FillWinLineGrid(*m_grdLine, m_settings.Line, m_settings.ZanAvg != 0);
    updateLineLabel();
}

void frmRank::setDataColumnWidths(int twips)
{
    FlexGrid::UpdateGuard guard(*m_grdLine);
    for (int col = 1; col < m_grdLine->colCount(); ++col) {
        m_grdLine->setColWidth(col, twips);
    }
}

void frmRank::winLineMouseMoved(int row, int col)
{
    (void)row;
    // Over a team's column, the cards it still has to play; over the
    // header column nothing, rather than the last team's cards.
    const int last = m_table.lineCount() - 1;
    m_grdLine->setToolTipText(col > 0 && col < m_table.cellCount() ? fromText(m_table.at(last, col))
                                                                   : QString());
}

void frmRank::exportTable()
{
    // The table as the grid shows it, hidden columns included.
    (void)ExportTable(m_prompts, m_table, QString());
    m_btnCan->setFocus();
}

// --- Games count ---

void frmRank::buildGamesControls()
{
    // A plain strip, not a box: restricted to one team it holds only "&OK".
    m_frmSel = new QFrame(this);
    m_frmSel->setObjectName(QStringLiteral("frmSel"));
    m_lblGame[0] = new QLabel(QStringLiteral("リーグ(&L):"), m_frmSel);
    m_lblGame[0]->setObjectName(QStringLiteral("lblGame0"));
    m_lblGame[1] = new QLabel(QStringLiteral("地区(&G):"), m_frmSel);
    m_lblGame[1]->setObjectName(QStringLiteral("lblGame1"));
    m_cmbL = new QComboBox(m_frmSel);
    m_cmbL->setObjectName(QStringLiteral("cmbL"));
    m_cmbL->setSizeAdjustPolicy(QComboBox::AdjustToContents);
    m_cmbG = new QComboBox(m_frmSel);
    m_cmbG->setObjectName(QStringLiteral("cmbG"));
    m_cmbG->setSizeAdjustPolicy(QComboBox::AdjustToContents);
    m_lblGame[0]->setBuddy(m_cmbL);
    m_lblGame[1]->setBuddy(m_cmbG);
    m_btnVew = makeButton(QStringLiteral("表示(&V)"), "btnVew", m_frmSel);
    m_btnpok = makeButton(QStringLiteral("&OK"), "btnpok", m_frmSel);

    auto *row = new QHBoxLayout(m_frmSel);
    row->setContentsMargins(0, 0, 0, 0);
    row->addWidget(m_lblGame[0]);
    row->addWidget(m_cmbL);
    row->addWidget(m_lblGame[1]);
    row->addWidget(m_cmbG);
    row->addWidget(m_btnVew);
    row->addStretch(1);
    row->addWidget(m_btnpok);

    m_rng = new QLineEdit(m_grdLine->viewport());
    m_rng->setObjectName(QStringLiteral("rng"));
    m_rng->setValidator(
        new QRegularExpressionValidator(QRegularExpression(QStringLiteral("[0-9]*")), m_rng));
    m_rng->setFrame(false);
    m_rng->installEventFilter(this);
    m_rng->hide();

    connect(m_cmbL, &QComboBox::currentIndexChanged, this, &frmRank::leagueChosen);
    connect(m_btnVew, &QPushButton::clicked, this, &frmRank::applyFilter);
    connect(m_btnpok, &QPushButton::clicked, this, &frmRank::writeGames);

    m_frmSel->hide();
}

void frmRank::openGamesCount()
{
    setWindowTitle(GamesCaption);
    m_frmSel->show();
    {
        const QSignalBlocker blocker(m_cmbL);
        for (const Text &entry : LeagueSelectorEntries(m_season)) {
            m_cmbL->addItem(fromText(entry));
        }
    }
    m_cmbL->setCurrentIndex(0);
    leagueChosen(0);

    connect(m_grdLine, &FlexGrid::cellPressed, this, &frmRank::gamesCellPressed);
    connect(m_grdLine, &FlexGrid::scrolled, this, [this] { discardEditor(false); });
    connect(m_grdLine, &FlexGrid::keyPressed, this, [this](QKeyEvent *event) {
        if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) {
            gamesCellPressed(m_grdLine->currentRow(), m_grdLine->currentCol(), Qt::LeftButton);
        }
    });
    FillGamesGrid(*m_grdLine);

    // As much of the matrix as a screen comfortably shows.
    const GridGeometry &geometry = m_grdLine->gridGeometry();
    const QSize wanted(geometry.totalWidth() + 40,
                       geometry.totalHeight() + m_frmSel->sizeHint().height() + 60);
    resize(std::clamp(wanted.width(), std::max(480, sizeHint().width()), 1100),
           std::clamp(wanted.height(), 320, 720));
}

int frmRank::gamesColumnWidth() const
{
    // Wide enough for the longest name, as every column shares the width of
    // the header column when the filter is applied.
    const QFontMetrics metrics(m_grdLine->font());
    int pixels = 0;
    for (const TeamRecord &team : m_season.Teams) {
        pixels = std::max(pixels, metrics.horizontalAdvance(fromText(team.TeamName)));
    }
    return std::max(pixelsToTwips(pixels + 12, *m_grdLine), 600);
}

void frmRank::FillGamesGrid(FlexGrid &grid)
{
    m_table = BuildGamesTable(m_season);
    const int size = m_table.lineCount();

    FlexGrid::UpdateGuard guard(grid);
    grid.clear();
    grid.setRowCount(size);
    grid.setColCount(size);
    grid.setFixedRows(1);
    grid.setFixedCols(1);
    const int width = gamesColumnWidth();
    for (int k = 0; k < size; ++k) {
        grid.setColWidth(k, width);
        grid.setRowHeight(k, -1);
    }
    const QColor fixedBackground = grid.shownBackground(0, 0);
    for (int r = 0; r < size; ++r) {
        for (int c = 0; c < size; ++c) {
            grid.setText(r, c, fromText(m_table.at(r, c)));
        }
        if (r > 0) {
            grid.setCellBackground(r, r, fixedBackground);
        }
    }
}

void frmRank::restrictToTeam(int team)
{
    if (m_mode != Mode::GamesCount) {
        return;
    }
    for (int row = 1; row < m_grdLine->rowCount(); ++row) {
        if (row != team) {
            m_grdLine->setRowHeight(row, 0);
        }
    }
    m_cmbL->hide();
    m_cmbG->hide();
    m_lblGame[0]->hide();
    m_lblGame[1]->hide();
    m_btnVew->hide();
    // One row to edit: the grid holds just that row and its header.
    const int frame = 2 * m_grdLine->frameWidth();
    m_grdLine->setFixedHeight(m_grdLine->gridGeometry().totalHeight() + frame +
                              m_grdLine->horizontalScrollBar()->sizeHint().height());
    resize(width(), sizeHint().height());
}

void frmRank::leagueChosen(int entry)
{
    m_cmbG->clear();
    const std::vector<Text> divisions = GamesDivisionEntries(m_season, entry);
    for (const Text &division : divisions) {
        m_cmbG->addItem(fromText(division));
    }
    if (!divisions.empty()) {
        m_cmbG->setCurrentIndex(0);
    }
    // An empty list offers nothing to choose.
    m_cmbG->setEnabled(!divisions.empty());
    m_lblGame[1]->setEnabled(!divisions.empty());
}

void frmRank::applyFilter()
{
    const int width = m_grdLine->colWidth(0);
    const int height = m_grdLine->rowHeight(0);
    const int league = m_cmbL->currentIndex();
    const int division = m_cmbG->currentIndex();
    const Text divisionName = m_cmbG->currentText().toStdU16String();
    FlexGrid::UpdateGuard guard(*m_grdLine);
    for (int team = 1; team < m_grdLine->rowCount(); ++team) {
        const bool shown = GamesFilterShows(m_season, team, league, division, divisionName);
        m_grdLine->setColWidth(team, shown ? width : 0);
        m_grdLine->setRowHeight(team, shown ? height : 0);
    }
}

void frmRank::gamesCellPressed(int row, int col, Qt::MouseButton button)
{
    if (button != Qt::LeftButton || row < 0 || col < 0 || row >= m_grdLine->rowCount() ||
        col >= m_grdLine->colCount()) {
        return;
    }
    m_editRow = row;
    m_editCol = col;
    if (m_grdLine->rowHeight(row) == 0 || m_grdLine->colWidth(col) == 0) {
        return;
    }
    const bool card = row != 0 && col != 0 && row != col;
    setWindowTitle(card ? GamesCaption + QStringLiteral(" - ") + m_grdLine->text(row, 0) +
                              QStringLiteral(" × ") + m_grdLine->text(0, col)
                        : GamesCaption);
    // A team has no card against itself, so its own cell is not edited.
    if (card) {
        openEditor();
    }
}

void frmRank::openEditor()
{
    m_grdLine->ensureCellVisible(m_editRow, m_editCol);
    const QRect rect = m_grdLine->cellRect(m_editRow, m_editCol);
    if (rect.isEmpty()) {
        return;
    }
    m_rng->setGeometry(rect);
    m_startText = m_grdLine->text(m_editRow, m_editCol);
    m_rng->setText(m_startText);
    m_rng->show();
    m_rng->setFocus();
    m_rng->selectAll();
}

void frmRank::commitEditor()
{
    const GamesEntry entry =
        CheckGamesEntry(m_season, m_table, m_editRow, m_editCol, m_rng->text().toStdU16String());
    if (entry.Result != GamesEntryResult::Accepted) {
        const bool refused = entry.Result != GamesEntryResult::NotInterleague;
        QString text = QString::fromUtf8(NotInterleagueMessage);
        if (entry.Result == GamesEntryResult::TooLarge) {
            text = QString::fromUtf8(GamesTooLargeMessage);
        } else if (entry.Result == GamesEntryResult::BelowPlayed) {
            text = QString::fromStdU16String(
                GamesBelowPlayedMessage(m_season, m_editRow, m_editCol, entry.Played));
        }
        m_prompting = true;
        m_prompts.message(text, MessageIcon::Exclamation, MessageButtons::Ok);
        m_prompting = false;
        if (refused) {
            // The number is refused, not replaced: the user corrects it.
            m_rng->setFocus();
            m_rng->selectAll();
            return;
        }
    }
    const QString value = fromText(entry.Value);
    for (const auto &[r, c] : {std::pair{m_editRow, m_editCol}, std::pair{m_editCol, m_editRow}}) {
        m_table.set(r, c, entry.Value);
        m_grdLine->setText(r, c, value);
    }
    discardEditor(true);
    m_grdLine->setFocus();
    moveAfterEntry();
}

// Ready for the next card: the next column, or the first card of the next row.
void frmRank::moveAfterEntry()
{
    const int lastRow = m_grdLine->rowCount() - 1;
    const int lastCol = m_grdLine->colCount() - 1;
    if (m_editCol < lastCol) {
        m_grdLine->setCurrentCell(m_editRow, m_editCol + 1);
    } else if (m_editRow < lastRow) {
        m_grdLine->setCurrentCell(m_editRow + 1, 1);
    }
}

void frmRank::discardEditor(bool forgetStart)
{
    if (m_rng->isHidden()) {
        return;
    }
    const bool hadFocus = m_rng->hasFocus();
    m_rng->clear();
    if (forgetStart) {
        m_startText.clear();
    }
    setWindowTitle(GamesCaption);
    // Hidden first, so the focus leaving it finds nothing more to discard.
    m_rng->hide();
    if (hadFocus) {
        m_grdLine->setFocus();
    }
}

bool frmRank::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == m_rng) {
        if (event->type() == QEvent::KeyPress) {
            auto *key = static_cast<QKeyEvent *>(event);
            switch (key->key()) {
            case Qt::Key_Return:
            case Qt::Key_Enter:
                commitEditor();
                return true;
            case Qt::Key_Escape:
                discardEditor(false);
                m_grdLine->setFocus();
                return true;
            case Qt::Key_Backspace:
                return false;
            default:
                break;
            }
            // Digits only; keys that type nothing (arrows, Home, Delete)
            // keep working inside the box.
            const QString text = key->text();
            return !text.isEmpty() &&
                   !(text.size() == 1 && text[0].isDigit() && text[0].unicode() < 128);
        }
        // Focus moving elsewhere in the window ends the edit; switching to
        // another program or opening the box's context menu does not.
        if (event->type() == QEvent::FocusOut && !m_prompting) {
            const Qt::FocusReason reason = static_cast<QFocusEvent *>(event)->reason();
            if (reason != Qt::ActiveWindowFocusReason && reason != Qt::PopupFocusReason) {
                discardEditor(true);
            }
        }
    }
    return QDialog::eventFilter(watched, event);
}

void frmRank::writeGames()
{
    discardEditor(true);
    if (WriteGamesBack(m_season, m_table)) {
        m_edited = true;
    }
    m_gamesWritten = true;
    accept();
}

} // namespace penarin
