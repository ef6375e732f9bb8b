#pragma once

#include "platform/prompts.h"

#include <QPointer>

class QWidget;

namespace penarin {

// The prompts of the running program: QMessageBox, QFileDialog and
// QColorDialog, modal to the given window (or, without one, to whichever
// window is active when the question is asked).
class QtPrompts final : public Prompts
{
public:
    explicit QtPrompts(QWidget *parent = nullptr);

    void setParentWidget(QWidget *parent);

    // The title of a message box that is given none.
    [[nodiscard]] static QString defaultTitle();

    using Prompts::message;
    MessageAnswer message(const QString &text, MessageIcon icon, MessageButtons buttons,
                          const QString &title, MessageAnswer defaultAnswer) override;
    QString openFile(const FileRequest &request) override;
    QString saveFile(const FileRequest &request) override;
    std::optional<QColor> chooseColor(const QColor &initial) override;

private:
    [[nodiscard]] QWidget *owner() const;
    [[nodiscard]] QString runFileDialog(const FileRequest &request, bool save) const;

    QPointer<QWidget> m_parent;
};

} // namespace penarin
