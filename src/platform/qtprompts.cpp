#include "platform/qtprompts.h"

#include <QApplication>
#include <QColorDialog>
#include <QFileDialog>
#include <QLabel>
#include <QMessageBox>

namespace penarin {

namespace {

QMessageBox::Icon boxIcon(MessageIcon icon)
{
    switch (icon) {
    case MessageIcon::Information:
        return QMessageBox::Information;
    case MessageIcon::Exclamation:
        return QMessageBox::Warning;
    case MessageIcon::Question:
        return QMessageBox::Question;
    case MessageIcon::Critical:
        break;
    }
    return QMessageBox::Critical;
}

QMessageBox::StandardButtons boxButtons(MessageButtons buttons)
{
    switch (buttons) {
    case MessageButtons::Ok:
        return QMessageBox::Ok;
    case MessageButtons::OkCancel:
        return QMessageBox::Ok | QMessageBox::Cancel;
    case MessageButtons::YesNo:
        return QMessageBox::Yes | QMessageBox::No;
    case MessageButtons::YesNoCancel:
        break;
    }
    return QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel;
}

// The first button is the default one, as users of the program expect from
// its boxes: Enter confirms.
QMessageBox::StandardButton firstButton(MessageButtons buttons)
{
    return buttons == MessageButtons::Ok || buttons == MessageButtons::OkCancel ? QMessageBox::Ok
                                                                                : QMessageBox::Yes;
}

MessageAnswer answerOf(QMessageBox::StandardButton button, MessageButtons buttons)
{
    switch (button) {
    case QMessageBox::Ok:
        return MessageAnswer::Ok;
    case QMessageBox::Cancel:
        return MessageAnswer::Cancel;
    case QMessageBox::Yes:
        return MessageAnswer::Yes;
    case QMessageBox::No:
        return MessageAnswer::No;
    default:
        return dismissedAnswer(buttons);
    }
}

} // namespace

QtPrompts::QtPrompts(QWidget *parent) : m_parent(parent) {}

void QtPrompts::setParentWidget(QWidget *parent)
{
    m_parent = parent;
}

QString QtPrompts::defaultTitle()
{
    return QStringLiteral("ペナリン");
}

MessageAnswer QtPrompts::message(const QString &text, MessageIcon icon, MessageButtons buttons,
                                 const QString &title)
{
    QMessageBox box(boxIcon(icon), title.isEmpty() ? defaultTitle() : title, text,
                    boxButtons(buttons), owner());
    box.setDefaultButton(firstButton(buttons));
    // A box is only as wide as its text, so a short one (the about box's two
    // lines) would cut its own title off in the title bar. The title bar's
    // font is often bold, and its buttons take room of their own.
    if (auto *label = box.findChild<QLabel *>(QStringLiteral("qt_msgbox_label"))) {
        QFont titleFont = box.font();
        titleFont.setBold(true);
        const QFontMetrics metrics(titleFont);
        label->setMinimumWidth(metrics.horizontalAdvance(box.windowTitle()) + 6 * metrics.height());
    }
    box.exec();
    return answerOf(box.standardButton(box.clickedButton()), buttons);
}

QString QtPrompts::openFile(const FileRequest &request)
{
    return runFileDialog(request, false);
}

QString QtPrompts::saveFile(const FileRequest &request)
{
    return runFileDialog(request, true);
}

std::optional<QColor> QtPrompts::chooseColor(const QColor &initial)
{
    // Every colour choice starts with sixteen white custom colours: the
    // program never remembers custom colours between choices.
    for (int i = 0; i < QColorDialog::customCount(); ++i) {
        QColorDialog::setCustomColor(i, QColor(Qt::white));
    }
    QColorDialog dialog(initial.isValid() ? initial : QColor(Qt::white), owner());
    if (dialog.exec() != QDialog::Accepted) {
        return std::nullopt;
    }
    return dialog.selectedColor();
}

QWidget *QtPrompts::owner() const
{
    return m_parent ? m_parent.data() : QApplication::activeWindow();
}

QString QtPrompts::runFileDialog(const FileRequest &request, bool save) const
{
    QFileDialog dialog(owner(), request.title, request.initialPath, request.filter);
    dialog.setAcceptMode(save ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
    dialog.setFileMode(save ? QFileDialog::AnyFile : QFileDialog::ExistingFile);
    dialog.setDefaultSuffix(request.defaultSuffix);
    if (dialog.exec() != QDialog::Accepted) {
        return {};
    }
    const QStringList files = dialog.selectedFiles();
    return files.isEmpty() ? QString() : files.constFirst();
}

} // namespace penarin
