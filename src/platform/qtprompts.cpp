#include "platform/qtprompts.h"

#include <QApplication>
#include <QColorDialog>
#include <QComboBox>
#include <QFileDialog>
#include <QLabel>
#include <QMessageBox>
#include <QRegularExpression>
#include <QTimer>

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

QMessageBox::StandardButton buttonOf(MessageAnswer answer)
{
    switch (answer) {
    case MessageAnswer::Ok:
        return QMessageBox::Ok;
    case MessageAnswer::Cancel:
        return QMessageBox::Cancel;
    case MessageAnswer::Yes:
        return QMessageBox::Yes;
    case MessageAnswer::No:
        break;
    }
    return QMessageBox::No;
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

// The extension of a filter entry with a single pattern, "タブ区切り(*.txt)"
// giving "txt"; empty for any other entry.
QString filterSuffix(const QString &filter)
{
    static const QRegularExpression single(QStringLiteral("\\(\\*\\.([A-Za-z0-9]+)\\)$"));
    const QRegularExpressionMatch match = single.match(filter);
    return match.hasMatch() ? match.captured(1) : QString();
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
                                 const QString &title, MessageAnswer defaultAnswer)
{
    QMessageBox box(boxIcon(icon), title.isEmpty() ? defaultTitle() : title, text,
                    boxButtons(buttons), owner());
    box.setDefaultButton(
        buttonOf(answerFits(defaultAnswer, buttons) ? defaultAnswer : firstAnswer(buttons)));
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
    // A name typed without an extension takes the chosen type's: "タブ区切り
    // (*.txt)" gives "name.txt", which is also what makes the text tabbed.
    const auto followFilter = [&dialog, &request](const QString &filter) {
        const QString suffix = filterSuffix(filter);
        dialog.setDefaultSuffix(suffix.isEmpty() ? request.defaultSuffix : suffix);
    };
    QObject::connect(&dialog, &QFileDialog::filterSelected, &dialog, followFilter);
    // Qt's own dialog reports a type chosen in its list only through the
    // list, which exists once the dialog is on the screen.
    QTimer::singleShot(0, &dialog, [&dialog, followFilter] {
        if (auto *types = dialog.findChild<QComboBox *>(QStringLiteral("fileTypeCombo"))) {
            QObject::connect(types, &QComboBox::currentTextChanged, &dialog, followFilter);
        }
    });
    if (dialog.exec() != QDialog::Accepted) {
        return {};
    }
    const QStringList files = dialog.selectedFiles();
    return files.isEmpty() ? QString() : files.constFirst();
}

} // namespace penarin
