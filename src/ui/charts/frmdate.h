#pragma once

#include <QDialog>

#include <string>

class QLineEdit;
class QPushButton;

namespace penarin {

class Prompts;

// The question asked at every save: whether to add a dated snapshot of the
// standings to the progression charts, and under which date and memo.
// Accepted means "add a snapshot"; the caller then reads the date and memo
// and applies them to the season.
class frmDate : public QDialog
{
    Q_OBJECT

public:
    // today: an OLE date; its day is the preset of the date box.
    frmDate(Prompts &prompts, double today, QWidget *parent = nullptr);

    // Valid after the dialog was accepted.
    [[nodiscard]] double snapshotDate() const { return m_snapshotDate; }
    [[nodiscard]] std::u16string snapshotMemo() const { return m_snapshotMemo; }

private:
    void onYes();

    Prompts &m_prompts;
    QLineEdit *m_txtDate = nullptr;
    QLineEdit *m_txtMemo = nullptr;
    QPushButton *m_btnYes = nullptr;
    QPushButton *m_btnNo = nullptr;
    double m_snapshotDate = 0.0;
    std::u16string m_snapshotMemo;
};

} // namespace penarin
