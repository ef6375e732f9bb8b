#pragma once

#include "season/settingsinput.h"

#include <QDialog>
#include <QPointer>

#include <array>

class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;
class QScrollBar;
class QTabWidget;

namespace penarin {

class FlexGrid;
class Prompts;
struct Settings;

// The main window's widgets the dialog acts on directly: the font sizes are
// shown on the real grids while a scroll bar moves, and taken back when the
// dialog closes without applying them. Any of them may be missing.
struct FontPreview
{
    QPointer<FlexGrid> standings; // RnkG: FontSizeA
    QPointer<FlexGrid> cards;     // MyG: FontSizeB, and its focus mark follows Enter
    QPointer<QWidget> cellEditor; // MyCells: FontSizeB, never previewed
};

// The settings dialog: display, ordering and input options of the main
// window on two pages, "順位表" and "対戦成績". Applying ("&OK" or
// "適用(&A)") stores the options in the settings at once and announces it
// with settingsApplied(); the main window then rebuilds its view. Closing in
// any way undoes an unapplied font preview and remembers the page shown.
class DlgSet : public QDialog
{
    Q_OBJECT

public:
    // Fills the controls from the settings; the settings are changed only
    // by a successful apply and by closing (the page shown, "Tabs").
    DlgSet(Settings &settings, Prompts &prompts, FontPreview preview, QWidget *parent = nullptr);

    // Shows the dialog modally; true when settings were applied while it
    // was open (also when it was then cancelled).
    bool ShowSettings();

    // Validates and stores the controls' values: false (and a message, and
    // nothing stored) when they are refused.
    bool ApplySettings();

    [[nodiscard]] bool settingsChanged() const { return m_applied; }

    void done(int result) override;

signals:
    void settingsApplied();

private:
    void buildStandingsPage(QWidget *page);
    void buildCardsPage(QWidget *page);
    QLayout *fontRow(QWidget *page, int entry);
    void loadSettings();
    void chooseOrder(int main);
    void chooseInput(int enter);
    void previewFont(int entry, int size);
    void setGridFonts(int standingsSize, int cardsSize, bool editorToo);
    [[nodiscard]] SettingsChoices choices() const;
    [[nodiscard]] int selectedOrder() const;

    Settings &m_settings;
    Prompts &m_prompts;
    FontPreview m_preview;
    std::array<int, 2> m_fontSize{}; // working copy: FontSizeA, FontSizeB
    bool m_applied = false;

    QTabWidget *m_opTab = nullptr;
    std::array<QScrollBar *, 2> m_sclFnt{};
    std::array<QLabel *, 2> m_lblFnt{};
    QLineEdit *m_txtZero = nullptr;
    QCheckBox *m_chkMagic = nullptr;
    std::array<QRadioButton *, 3> m_optrnk{};
    QCheckBox *m_chkRank = nullptr;
    QComboBox *m_cmbGame = nullptr;
    QCheckBox *m_chkZero = nullptr;
    QCheckBox *m_chkBkc = nullptr;
    std::array<QRadioButton *, 2> m_optOn{};
    QCheckBox *m_chkCells = nullptr;
    QCheckBox *m_chkToolTip = nullptr;
    QCheckBox *m_chkSel = nullptr;
    QCheckBox *m_chkMsg = nullptr;
    QCheckBox *m_chkSimClear = nullptr;
    QPushButton *m_okButton = nullptr;
    QPushButton *m_cancelButton = nullptr;
    QPushButton *m_btnSet = nullptr;
};

} // namespace penarin
