#include "ui/dialogs/dlgset.h"

#include "platform/flexgrid.h"
#include "platform/prompts.h"
#include "season/settings.h"
#include "season/typedtext.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QRegularExpressionValidator>
#include <QScrollBar>
#include <QStyle>
#include <QTabWidget>
#include <QVBoxLayout>

#include <algorithm>
#include <utility>

namespace penarin {

namespace {

QString qtext(std::u16string_view text)
{
    return QString::fromStdU16String(std::u16string(text));
}

template <typename Widget, typename... Args> Widget *named(const QString &name, Args &&...args)
{
    auto *widget = new Widget(std::forward<Args>(args)...);
    widget->setObjectName(name);
    return widget;
}

QLabel *label(const QString &name, const QString &text, QWidget *buddy = nullptr)
{
    QLabel *result = named<QLabel>(name, text);
    result->setBuddy(buddy);
    return result;
}

void setPointSize(QWidget *widget, int size)
{
    if (widget == nullptr) {
        return;
    }
    QFont font = widget->font();
    font.setPointSize(size);
    widget->setFont(font);
}

int checked(const QCheckBox *box)
{
    return box->isChecked() ? 1 : 0;
}

} // namespace

DlgSet::DlgSet(Settings &settings, Prompts &prompts, FontPreview preview, QWidget *parent)
    : QDialog(parent), m_settings(settings), m_prompts(prompts), m_preview(std::move(preview))
{
    setObjectName(QStringLiteral("DlgSet"));
    setWindowTitle(QStringLiteral("設定"));
    setModal(true);

    m_opTab = named<QTabWidget>(QStringLiteral("OpTab"), this);
    auto *page1 = named<QWidget>(QStringLiteral("FrmOpt1"));
    auto *page2 = named<QWidget>(QStringLiteral("FrmOpt2"));
    buildStandingsPage(page1);
    buildCardsPage(page2);
    m_opTab->addTab(page1, QStringLiteral("順位表"));
    m_opTab->addTab(page2, QStringLiteral("対戦成績"));

    m_okButton = named<QPushButton>(QStringLiteral("OKButton"), QStringLiteral("&OK"), this);
    m_okButton->setDefault(true);
    m_cancelButton =
        named<QPushButton>(QStringLiteral("CancelButton"), QStringLiteral("キャンセル"), this);
    m_btnSet = named<QPushButton>(QStringLiteral("btnSet"), QStringLiteral("適用(&A)"), this);

    auto *buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(m_okButton);
    buttons->addWidget(m_cancelButton);
    buttons->addWidget(m_btnSet);

    auto *layout = new QVBoxLayout(this);
    layout->addWidget(m_opTab);
    layout->addLayout(buttons);
    layout->setSizeConstraint(QLayout::SetMinimumSize);

    connect(m_okButton, &QPushButton::clicked, this, [this] {
        if (ApplySettings()) {
            accept();
        }
    });
    connect(m_btnSet, &QPushButton::clicked, this, [this] { (void)ApplySettings(); });
    connect(m_cancelButton, &QPushButton::clicked, this, &QDialog::reject);

    QWidget *order[] = {m_sclFnt[0], m_txtZero,  m_chkMagic,    m_optrnk[2], m_optrnk[1],
                        m_optrnk[0], m_chkRank,  m_cmbGame,     m_sclFnt[1], m_chkZero,
                        m_chkBkc,    m_optOn[0], m_optOn[1],    m_chkCells,  m_chkToolTip,
                        m_chkSel,    m_chkMsg,   m_chkSimClear, m_okButton,  m_cancelButton,
                        m_btnSet};
    for (std::size_t i = 1; i < std::size(order); ++i) {
        setTabOrder(order[i - 1], order[i]);
    }

    loadSettings();
}

QLayout *DlgSet::fontRow(QWidget *page, int entry)
{
    const QString suffix = QString::number(entry);
    QScrollBar *bar = named<QScrollBar>(QStringLiteral("SclFnt") + suffix, Qt::Horizontal, page);
    bar->setRange(LeastFontSize, GreatestFontSize);
    bar->setSingleStep(1);
    bar->setPageStep(4);
    // A scroll bar takes no focus by default; this one is a setting the
    // keyboard must reach like any other.
    bar->setFocusPolicy(Qt::StrongFocus);
    // A scroll bar's keys are turned around for scrolling a view; here the
    // right arrow must mean a larger font.
    bar->setInvertedControls(false);
    bar->setMinimumWidth(fontMetrics().horizontalAdvance(QLatin1Char('0')) * 24);
    QLabel *value = named<QLabel>(QStringLiteral("LblFnt") + suffix, page);
    value->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    value->setMinimumWidth(fontMetrics().horizontalAdvance(QStringLiteral("000")));
    m_sclFnt[static_cast<std::size_t>(entry)] = bar;
    m_lblFnt[static_cast<std::size_t>(entry)] = value;
    connect(bar, &QScrollBar::valueChanged, this,
            [this, entry](int size) { previewFont(entry, size); });

    auto *row = new QHBoxLayout;
    row->addWidget(
        label(QStringLiteral("lblFntCaption") + suffix, QStringLiteral("フォントサイズ:")));
    row->addWidget(bar, 1);
    row->addWidget(value);
    return row;
}

void DlgSet::buildStandingsPage(QWidget *page)
{
    m_txtZero = named<QLineEdit>(QStringLiteral("txtZero"), page);
    m_txtZero->setValidator(new QRegularExpressionValidator(
        QRegularExpression(QStringLiteral("[%1]*").arg(QString::fromUtf8(TypedDigitClass))),
        m_txtZero));
    m_txtZero->setMaximumWidth(fontMetrics().horizontalAdvance(QStringLiteral("00000")) +
                               2 * style()->pixelMetric(QStyle::PM_DefaultFrameWidth) + 8);
    auto *digits = new QHBoxLayout;
    digits->addWidget(label(QStringLiteral("lblZero"),
                            QStringLiteral("勝率の小数点以下表示桁数(&F):"), m_txtZero));
    digits->addWidget(m_txtZero);
    digits->addWidget(label(QStringLiteral("lblZeroRange"), QStringLiteral("(1～15)")));
    digits->addStretch();

    m_chkMagic = named<QCheckBox>(QStringLiteral("chkMagic"),
                                  QStringLiteral("隠れマジックを表示する(&Q)"), page);

    auto *sort = named<QGroupBox>(QStringLiteral("frmSort"), QStringLiteral("ソート"), page);
    const QString orderCaptions[] = {QStringLiteral("勝率順(&V)"), QStringLiteral("勝数順(&W)"),
                                     QStringLiteral("優勝判定適用(&J)")};
    for (int entry = 0; entry < 3; ++entry) {
        QRadioButton *option = named<QRadioButton>(
            QStringLiteral("optrnk") + QString::number(entry), orderCaptions[entry], sort);
        m_optrnk[static_cast<std::size_t>(entry)] = option;
        connect(option, &QRadioButton::toggled, this, [this, entry](bool on) {
            if (on) {
                chooseOrder(entry);
            }
        });
    }
    m_chkRank = named<QCheckBox>(QStringLiteral("chkRank"), qtext(TieBreakByWinsCaption), sort);
    m_cmbGame = named<QComboBox>(QStringLiteral("cmbGame"), sort);
    auto *games = new QHBoxLayout;
    games->addWidget(
        label(QStringLiteral("lblGame"), QStringLiteral("試合数比較(&G):"), m_cmbGame));
    games->addWidget(m_cmbGame);
    games->addStretch();
    auto *sortLayout = new QVBoxLayout(sort);
    sortLayout->addWidget(m_optrnk[2]);
    sortLayout->addWidget(m_optrnk[1]);
    sortLayout->addWidget(m_optrnk[0]);
    sortLayout->addWidget(m_chkRank);
    sortLayout->addLayout(games);

    auto *layout = new QVBoxLayout(page);
    layout->addLayout(fontRow(page, 0));
    layout->addLayout(digits);
    layout->addWidget(m_chkMagic);
    layout->addWidget(sort);
}

void DlgSet::buildCardsPage(QWidget *page)
{
    const auto check = [page](const char *name, const QString &caption) {
        return named<QCheckBox>(QString::fromLatin1(name), caption, page);
    };
    m_chkZero = check("chkZero", QStringLiteral("対戦表のゼロ(0)を表示する(&Z)"));
    m_chkBkc = check("chkBkc", QStringLiteral("対戦の無いセルを塗りつぶす(&B)"));

    auto *input = named<QGroupBox>(QStringLiteral("frmInput"), QStringLiteral("入力"), page);
    m_optOn[0] = named<QRadioButton>(QStringLiteral("optOn0"), QStringLiteral("マウス(&M)"), input);
    m_optOn[1] =
        named<QRadioButton>(QStringLiteral("optOn1"), QStringLiteral("キーボード(&K)"), input);
    for (int entry = 0; entry < 2; ++entry) {
        connect(m_optOn[static_cast<std::size_t>(entry)], &QRadioButton::toggled, this,
                [this, entry](bool on) {
                    if (on) {
                        chooseInput(entry);
                    }
                });
    }
    m_chkCells =
        named<QCheckBox>(QStringLiteral("chkCells"), QStringLiteral("ダブルクリック(&C)"), input);
    auto *doubleClick = new QHBoxLayout;
    // Indented under "キーボード(&K)", the only input method it belongs to.
    doubleClick->addSpacing(style()->pixelMetric(QStyle::PM_ExclusiveIndicatorWidth) +
                            style()->pixelMetric(QStyle::PM_RadioButtonLabelSpacing));
    doubleClick->addWidget(m_chkCells);
    auto *inputLayout = new QVBoxLayout(input);
    inputLayout->addWidget(m_optOn[0]);
    inputLayout->addWidget(m_optOn[1]);
    inputLayout->addLayout(doubleClick);

    m_chkToolTip = check("chkToolTip", QStringLiteral("ツールチップを表示する(&T)"));
    m_chkSel = check("ChkSel", QStringLiteral("行列を強調表示する(&F)"));
    m_chkMsg = check("chkMsg", QStringLiteral("対戦なしを通知する(&E)"));
    m_chkSimClear = check("chkSimClear", QStringLiteral("シミュレーションデータを保持する(&S)"));

    auto *layout = new QVBoxLayout(page);
    layout->addLayout(fontRow(page, 1));
    layout->addWidget(m_chkZero);
    layout->addWidget(m_chkBkc);
    layout->addWidget(input);
    layout->addWidget(m_chkToolTip);
    layout->addWidget(m_chkSel);
    layout->addWidget(m_chkMsg);
    layout->addWidget(m_chkSimClear);
    layout->addStretch();
}

void DlgSet::loadSettings()
{
    const SettingsChoices shown = settingsChoices(m_settings);
    m_chkRank->setChecked(shown.Sub != 0);
    m_optrnk[static_cast<std::size_t>(std::clamp(shown.Main, 0, 2))]->setChecked(true);
    chooseOrder(shown.Main);
    m_optOn[static_cast<std::size_t>(std::clamp(shown.Enter, 0, 1))]->setChecked(true);
    chooseInput(shown.Enter);

    m_chkZero->setChecked(shown.Zero != 0);
    m_chkSimClear->setChecked(shown.Simulation != 0);
    m_txtZero->setText(QString::fromStdU16String(shown.pctDigits));
    m_chkBkc->setChecked(shown.Cells != 0);
    m_chkMagic->setChecked(shown.Magic != 0);
    m_chkSel->setChecked(shown.Selection != 0);
    m_chkMsg->setChecked(shown.MsgBox != 0);

    m_fontSize = {shown.FontSizeA, shown.FontSizeB};
    for (std::size_t entry = 0; entry < 2; ++entry) {
        // Filling the bar must not preview anything: the grids already show
        // the size in force.
        const QSignalBlocker quiet(m_sclFnt[entry]);
        m_sclFnt[entry]->setValue(m_fontSize[entry]);
        m_lblFnt[entry]->setText(QString::number(m_fontSize[entry]));
    }

    m_chkCells->setChecked(shown.DblClick != 0);
    m_chkToolTip->setChecked(shown.ToolTip != 0);

    m_cmbGame->clear();
    m_cmbGame->addItems({QStringLiteral("比較しない"), QStringLiteral("試合数の少ない方が上"),
                         QStringLiteral("試合数の多い方が上")});
    m_cmbGame->setCurrentIndex(std::clamp(shown.Game, 0, 2));

    m_opTab->setCurrentIndex(m_settings.Tabs == 2 ? 1 : 0);
}

void DlgSet::chooseOrder(int main)
{
    const TieBreakBox box = tieBreakBox(main);
    m_chkRank->setEnabled(box.enabled);
    if (box.caption) {
        m_chkRank->setText(qtext(*box.caption));
    }
}

void DlgSet::chooseInput(int enter)
{
    m_chkCells->setEnabled(doubleClickChoosable(enter));
}

void DlgSet::previewFont(int entry, int size)
{
    m_fontSize[static_cast<std::size_t>(entry)] = size;
    m_lblFnt[static_cast<std::size_t>(entry)]->setText(QString::number(size));
    setPointSize(entry == 0 ? static_cast<QWidget *>(m_preview.standings)
                            : static_cast<QWidget *>(m_preview.cards),
                 size);
}

void DlgSet::setGridFonts(int standingsSize, int cardsSize, bool editorToo)
{
    setPointSize(m_preview.standings, standingsSize);
    setPointSize(m_preview.cards, cardsSize);
    if (editorToo) {
        setPointSize(m_preview.cellEditor, cardsSize);
    }
}

int DlgSet::selectedOrder() const
{
    for (int entry = 0; entry < 3; ++entry) {
        if (m_optrnk[static_cast<std::size_t>(entry)]->isChecked()) {
            return entry;
        }
    }
    return 0;
}

SettingsChoices DlgSet::choices() const
{
    SettingsChoices c;
    c.pctDigits = m_txtZero->text().toStdU16String();
    c.Main = selectedOrder();
    c.Sub = checked(m_chkRank);
    c.Game = m_cmbGame->currentIndex();
    c.Enter = m_optOn[1]->isChecked() ? 1 : 0;
    c.Zero = checked(m_chkZero);
    c.Simulation = checked(m_chkSimClear);
    c.Cells = checked(m_chkBkc);
    c.Magic = checked(m_chkMagic);
    c.FontSizeA = m_fontSize[0];
    c.FontSizeB = m_fontSize[1];
    c.DblClick = checked(m_chkCells);
    c.ToolTip = checked(m_chkToolTip);
    c.Selection = checked(m_chkSel);
    c.MsgBox = checked(m_chkMsg);
    return c;
}

bool DlgSet::ApplySettings()
{
    const SettingsChoices c = choices();
    const bool digitsRefused = !parsePctDigits(c.pctDigits);
    if (digitsRefused) {
        // The box goes back to the value in force, in view and ready to be
        // typed over, before the user is told.
        m_txtZero->setText(QString::number(m_settings.Pct));
        m_opTab->setCurrentWidget(m_opTab->widget(0));
        m_txtZero->setFocus();
        m_txtZero->selectAll();
    }
    if (!applySettingsChoices(m_settings, c)) {
        m_prompts.message(qtext(digitsRefused ? PctDigitsRefusedText : SettingsRefusedText),
                          MessageIcon::Exclamation, MessageButtons::Ok);
        return false;
    }
    if (m_preview.cards) {
        m_preview.cards->setFocusMark(m_settings.Enter == 1 ? FlexGrid::FocusMark::Heavy
                                                            : FlexGrid::FocusMark::Light);
    }
    setGridFonts(m_settings.FontSizeA, m_settings.FontSizeB, true);
    m_applied = true;
    emit settingsApplied();
    return true;
}

bool DlgSet::ShowSettings()
{
    (void)exec();
    return m_applied;
}

void DlgSet::done(int result)
{
    // Whatever closes the dialog takes back a size previewed but not applied.
    setGridFonts(m_settings.FontSizeA, m_settings.FontSizeB, true);
    m_settings.Tabs = static_cast<std::int16_t>(m_opTab->currentIndex() + 1);
    QDialog::done(result);
}

} // namespace penarin
