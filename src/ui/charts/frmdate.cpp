#include "ui/charts/frmdate.h"

#include "platform/prompts.h"
#include "season/snapshotinput.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace penarin {

frmDate::frmDate(Prompts &prompts, double today, QWidget *parent)
    : QDialog(parent), m_prompts(prompts)
{
    setObjectName(QStringLiteral("frmDate"));
    setWindowTitle(QStringLiteral("グラフデータを保存しますか"));
    setModal(true);

    m_txtDate = new QLineEdit(QString::fromStdU16String(snapshotDateText(today)), this);
    m_txtDate->setObjectName(QStringLiteral("txtDate"));
    m_txtMemo = new QLineEdit(QString::fromStdU16String(std::u16string(BlankSnapshotMemo)), this);
    m_txtMemo->setObjectName(QStringLiteral("txtMemo"));

    auto *lblDate = new QLabel(QStringLiteral("日付(&D):"), this);
    lblDate->setObjectName(QStringLiteral("lblDate"));
    lblDate->setBuddy(m_txtDate);
    auto *lblMemo = new QLabel(QStringLiteral("メモ(&M):"), this);
    lblMemo->setObjectName(QStringLiteral("lblMemo"));
    lblMemo->setBuddy(m_txtMemo);

    m_btnYes = new QPushButton(QStringLiteral("はい(&Y)"), this);
    m_btnYes->setObjectName(QStringLiteral("btnYes"));
    m_btnYes->setDefault(true);
    m_btnNo = new QPushButton(QStringLiteral("いいえ(&N)"), this);
    m_btnNo->setObjectName(QStringLiteral("btnNo"));

    auto *fields = new QGridLayout;
    fields->addWidget(lblDate, 0, 0);
    fields->addWidget(m_txtDate, 0, 1);
    fields->addWidget(lblMemo, 1, 0);
    fields->addWidget(m_txtMemo, 1, 1);
    fields->setColumnStretch(1, 1);

    auto *buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(m_btnYes);
    buttons->addWidget(m_btnNo);

    auto *layout = new QVBoxLayout(this);
    layout->addLayout(fields);
    layout->addLayout(buttons);
    setMinimumWidth(320);

    connect(m_btnYes, &QPushButton::clicked, this, &frmDate::onYes);
    connect(m_btnNo, &QPushButton::clicked, this, &QDialog::reject);

    // The usual answer is "today", so the date is ready to be confirmed with
    // Enter or overwritten by typing.
    setTabOrder(m_txtDate, m_txtMemo);
    setTabOrder(m_txtMemo, m_btnYes);
    setTabOrder(m_btnYes, m_btnNo);
    m_txtDate->setFocus();
    m_txtDate->selectAll();
}

void frmDate::onYes()
{
    const std::optional<double> date = parseSnapshotDate(m_txtDate->text().toStdU16String());
    if (!date) {
        m_prompts.message(QStringLiteral("日付が正しくありません"), MessageIcon::Exclamation,
                          MessageButtons::Ok);
        m_txtDate->setFocus();
        m_txtDate->selectAll();
        return;
    }
    m_snapshotDate = *date;
    m_snapshotMemo = snapshotMemoText(m_txtMemo->text().toStdU16String());
    accept();
}

} // namespace penarin
