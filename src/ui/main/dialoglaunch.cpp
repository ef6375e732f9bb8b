// The menu entries that open a dialog, and what the window does with the
// dialog's outcome: the dialogs themselves come through the Dialogs seam.

#include "ui/main/frmmain.h"

#include "magic/winline.h"
#include "platform/flexgrid.h"
#include "platform/prompts.h"
#include "race/race.h"
#include "season/cellsfunction.h"
#include "tables/chartmodule.h"
#include "tables/historytable.h"
#include "ui/dialogs/dialogs.h"
#include "ui/dialogs/dlgset.h"
#include "ui/dialogs/tableexport.h"
#include "ui/main/cardpane.h"
#include "ui/main/seasondocument.h"
#include "ui/main/standingspane.h"

#include <QComboBox>
#include <QFile>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSignalBlocker>

namespace penarin {

void frmMain::newSeason()
{
    if (m_season.SimMode == 1) {
        m_optMode[0]->setChecked(true);
    }
    if (AskToSave()) {
        return;
    }
    m_document->clear();
    clearWindow();
    m_season.GameScope = ScopeOfficial;
    NewSeasonOutcome outcome = m_dialogs.newSeason(m_settings, this);
    if (!outcome.season) {
        return;
    }
    m_document->adopt(std::move(*outcome.season));
    m_season.GameScope = ScopeOfficial;
    if (outcome.setGamesCount) {
        applyEdit(QStringLiteral("対戦数の変更"),
                  m_dialogs.editGamesCount(m_season, m_settings, this));
    }
    FillGrids(0, -1);
    updateTitle();
}

// A dialog's changed season becomes one step of the edit menu; a dialog
// closed without a change leaves nothing to undo.
void frmMain::applyEdit(const QString &text, std::optional<Season> edited)
{
    if (edited && !SameSeasonData(*edited, m_season)) {
        m_document->pushEdit(text, std::move(*edited));
    }
}

void frmMain::editGamesCount()
{
    applyEdit(QStringLiteral("対戦数の変更"), m_dialogs.editGamesCount(m_season, m_settings, this));
}

void frmMain::showTeamData(int position, int rivalPosition)
{
    if (!m_season.HasSeason || !m_published || m_published->Rows.size() == 0) {
        return;
    }
    applyEdit(
        QStringLiteral("チームデータの変更"),
        m_dialogs.showTeamData(m_season, *m_published, m_settings, position, rivalPosition, this));
}

void frmMain::showProgressionChart()
{
    if (!m_season.HasSeason || !m_published) {
        return;
    }
    ChartOutcome outcome = m_dialogs.showProgressionChart(m_season, *m_published, m_settings, this);
    if (outcome.result <= 0) {
        setPanel(1, QString::fromStdU16String(std::u16string(DrawResultMessage(outcome.result))));
    }
    applyEdit(QStringLiteral("グラフデータの変更"), std::move(outcome.edited));
}

void frmMain::showCompositionChart(int position)
{
    if (!m_season.HasSeason || !m_published || m_published->Rows.size() == 0) {
        return;
    }
    m_dialogs.showCompositionChart(m_season, *m_published, m_settings, position, this);
}

// "優勝・CS争い": the outcome the user picked becomes the simulated results,
// shown in simulation mode; one undo takes it back.
void frmMain::showRace()
{
    if (!m_season.HasSeason || !m_published) {
        return;
    }
    const std::optional<race::Certificate> outcome = m_dialogs.raceOutcome(
        m_season, *m_published, m_settings, m_cmbLg->currentIndex(), m_cmbgp->currentIndex(), this);
    if (!outcome) {
        return;
    }
    // In simulation mode the outcome was found on top of the simulated
    // results and goes on top of them; in result mode it replaces any kept.
    if (m_season.SimMode == 0 && HasSimulatedResults(m_season) &&
        m_prompts.message(
            QStringLiteral("入力済みのシミュレーションの成績をこの結果で置き換えますか"),
            MessageIcon::Question, MessageButtons::YesNo) != MessageAnswer::Yes) {
        return;
    }
    Season loaded = m_season;
    race::ApplyCertificate(loaded, *outcome);
    m_document->pushEdit(QStringLiteral("優勝・CS争いの結果"), std::move(loaded));
}

void frmMain::showWinLine()
{
    if (!m_season.HasSeason || !m_published) {
        return;
    }
    if (m_dialogs.showWinLine(m_season, *m_published, m_settings, this)) {
        m_prompts.message(QString::fromUtf8(WinLineFailureMessage), MessageIcon::Critical,
                          MessageButtons::Ok);
    }
}

// "貯金(&B)..." and "勝率(&P)...": the shown snapshots of the teams in the
// standings, as a file a spreadsheet opens.
void frmMain::exportHistory(HistoryKind kind)
{
    if (!m_published) {
        return;
    }
    const std::optional<TextTable> table = BuildHistoryTable(m_season, *m_published, kind);
    if (!table) {
        m_prompts.message(QStringLiteral("データがありません"), MessageIcon::Exclamation,
                          MessageButtons::Ok);
        return;
    }
    writeExport(*table);
}

// "試合結果の取り込み(&I)...": a game list from a file, taken as the
// clipboard's text is once its encoding is known.
void frmMain::importGameFile()
{
    if (!m_season.HasSeason) {
        return;
    }
    const QString path = m_prompts.openFile(FileRequest{
        QStringLiteral("試合結果の取り込み"),
        QStringLiteral("カンマ区切り(*.csv);;タブ区切り(*.txt *.tsv);;すべてのファイル(*)"),
        QString(), fileDialogStart()});
    if (path.isEmpty()) {
        return;
    }
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        m_prompts.message(QStringLiteral("ファイルを開けません"), MessageIcon::Exclamation,
                          MessageButtons::Ok);
        return;
    }
    const QByteArray bytes = file.readAll();
    importGames(DecodeListText(std::string_view(bytes.constData(), bytes.size())));
}

// The preview decides; the import is one step of the edit history, so one
// undo takes the whole list back.
void frmMain::importGames(const std::u16string &text)
{
    if (!m_season.HasSeason) {
        return;
    }
    const GameList list = ReadGameList(m_season, text);
    if (list.lines.empty()) {
        m_prompts.message(QStringLiteral("データがありません"), MessageIcon::Exclamation,
                          MessageButtons::Ok);
        return;
    }
    const std::optional<ImportChoice> choice = m_dialogs.previewImport(m_season, list, this);
    if (!choice) {
        return;
    }
    std::optional<ImportOutcome> outcome = ApplyGameList(m_season, list, *choice);
    if (!outcome) {
        return;
    }
    m_document->pushEdit(QStringLiteral("試合結果の取り込み"), std::move(outcome->season));
}

void frmMain::writeExport(const TextTable &table)
{
    (void)ExportTable(m_prompts, table, fileDialogStart());
}

void frmMain::editSettings()
{
    if (!m_season.HasSeason) {
        return;
    }
    const FontPreview preview{standingsGrid(), cardGrid(), m_cards->cellEditor()};
    m_dialogs.editSettings(
        m_settings, preview,
        [this] {
            applyFonts();
            SelectView(m_season.Header.ViewLeague, m_season.Header.ViewDivision);
        },
        this);
}

void frmMain::applyFonts()
{
    m_standings->applyFont();
    m_cards->applySettings();
}

} // namespace penarin
