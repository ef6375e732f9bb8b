#pragma once

#include <QFrame>
#include <QString>

namespace penarin {

// A status-bar panel: shows as much of its text as fits, ending in "…", and
// never asks the bar for more room, so one long text cannot push the other
// panels out of the window. The whole text stays readable as its tooltip.
class ElidedLabel : public QFrame
{
    Q_OBJECT

public:
    explicit ElidedLabel(QWidget *parent = nullptr);

    void setText(const QString &text);
    void clear() { setText(QString()); }
    [[nodiscard]] QString text() const { return m_text; }
    [[nodiscard]] QString shownText() const;

    [[nodiscard]] QSize sizeHint() const override;
    [[nodiscard]] QSize minimumSizeHint() const override;

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    QString m_text;
};

} // namespace penarin
